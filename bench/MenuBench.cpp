// Times listing an added directory's menu folder as a start menu lists it,
// through the shell's namespace (parse the menu folder from the desktop,
// bind, enumerate, ask every entry for its display name and attributes),
// against the bare FindFirstFileA/FindNextFileA loop over the directory, the
// floor of a listing made with the usual calls.
//
//   menu_bench BASE N...   BASE\dN holds N entries and was added, for every N
//
// One line per directory, each figure the median of several runs, with the
// listing's steps; the last line sums up the largest, with the listing's
// growth from the second largest.

#include "bench/Timing.h"
#include "framework/ComPtr.h"
#include "framework/OleSession.h"
#include "framework/ShellText.h"
#include "framework/SpecialFolder.h"
#include "framework/UniqueHandle.h"
#include "menubuilder/MenuPath.h"
#include "tests/shellext/ShellListing.h"
#include "tests/support/WineTest.h"

#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kRuns = 15;

// Entries the loop saw, "." and ".." included: it only has to read them.
size_t FindAll(const std::string& directory) {
    size_t count = 0;
    WIN32_FIND_DATAA entry;
    const fw::UniqueFind search(::FindFirstFileA((directory + "\\*.*").c_str(), &entry));
    if (!search) return 0;
    do {
        ++count;
    } while (::FindNextFileA(search.get(), &entry));
    return count;
}

// One listing of the menu, each step timed: parse and bind, EnumObjects,
// Next over every entry, then every entry's display name and attributes, as a
// start menu asks them.
struct Listing {
    double steps[5] = {};
    double Total() const { return steps[0] + steps[1] + steps[2] + steps[3] + steps[4]; }
};
const char* const kStepNames[] = {"bind", "enum_call", "next", "names", "attributes"};

Listing ListMenu(const std::wstring& menuFolder) {
    Listing listing;
    bench::Stopwatch watch;
    const testing_support::ShellFolderAt menu(menuFolder);
    listing.steps[0] = watch.Milliseconds();
    watch = bench::Stopwatch();
    fw::ComPtr<IEnumIDList> enumerator;
    if (menu.Status() != S_OK ||
        menu.Folder()->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, enumerator.put()) != S_OK) {
        return listing;
    }
    listing.steps[1] = watch.Milliseconds();
    watch = bench::Stopwatch();
    std::vector<fw::UniqueItemList> entries;
    LPITEMIDLIST raw = nullptr;
    while (enumerator->Next(1, &raw, nullptr) == S_OK) entries.emplace_back(raw);
    listing.steps[2] = watch.Milliseconds();
    watch = bench::Stopwatch();
    for (const fw::UniqueItemList& entry : entries) {
        STRRET name{};
        if (SUCCEEDED(menu.Folder()->GetDisplayNameOf(entry.get(), SHGDN_INFOLDER, &name)))
            fw::TakeText(name, entry.get());
    }
    listing.steps[3] = watch.Milliseconds();
    watch = bench::Stopwatch();
    for (const fw::UniqueItemList& entry : entries) {
        SFGAOF attributes = SFGAO_FOLDER | SFGAO_FILESYSTEM;
        LPCITEMIDLIST asked = entry.get();
        menu.Folder()->GetAttributesOf(1, &asked, &attributes);
    }
    listing.steps[4] = watch.Milliseconds();
    return listing;
}

// Entries of the menu that lie in `directory` (the rest are the menu
// folder's items), hidden ones such as its desktop.ini left out.
size_t DirectoryEntriesListed(const std::wstring& menuFolder, const std::string& directory) {
    const std::wstring prefix = testing_support::Wide(directory) + L"\\";
    size_t count = 0;
    for (const testing_support::Listed& entry : testing_support::ShellFolderAt(menuFolder).List()) {
        if (entry.parsing.compare(0, prefix.size(), prefix) == 0) ++count;
    }
    return count;
}

struct Timing {
    int count = 0;
    bench::Rounds rounds;  // listings against bare loops
    double steps[5] = {};
};

// Rounds of a listing and a bare loop, and the medians of each step.
void TimeListingAndFind(const std::wstring& menuFolder, const std::string& directory, Timing& timing) {
    std::vector<double> steps[5];
    for (int run = 0; run < kRuns; ++run) {
        const Listing listing = ListMenu(menuFolder);
        for (int step = 0; step < 5; ++step) steps[step].push_back(listing.steps[step]);
        const bench::Stopwatch watch;
        FindAll(directory);
        timing.rounds.Add(listing.Total(), watch.Milliseconds());
    }
    for (int step = 0; step < 5; ++step) timing.steps[step] = bench::Median(steps[step]);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: menu_bench BASE N...\n");
        return 2;
    }
    const fw::OleSession ole;
    const std::string base = argv[1];
    const std::string menuBase = menubuilder::MenuBase(fw::SpecialFolderPath(CSIDL_STARTMENU));

    std::vector<Timing> timings;
    for (int i = 2; i < argc; ++i) {
        Timing timing;
        timing.count = std::atoi(argv[i]);
        const std::string directory = base + "\\d" + std::to_string(timing.count);
        const std::wstring menuFolder = testing_support::Wide(menuBase + menubuilder::EncodeMenuPath(directory));
        // Both read the directory once first, so that both meet the same cache.
        FindAll(directory);
        const size_t listed = DirectoryEntriesListed(menuFolder, directory);
        if (listed != static_cast<size_t>(timing.count)) {
            std::fprintf(stderr, "menu_bench: the menu of %s lists %u of its entries, not %d\n", directory.c_str(),
                         static_cast<unsigned>(listed), timing.count);
            return 1;
        }
        TimeListingAndFind(menuFolder, directory, timing);
        std::printf("n=%d enum_ms=%.0f find_ms=%.0f enum_over_find=%.2f (", timing.count, timing.rounds.Program(),
                    timing.rounds.Floor(), timing.rounds.Ratio());
        for (int step = 0; step < 5; ++step)
            std::printf("%s%s_ms=%.1f", step ? " " : "", kStepNames[step], timing.steps[step]);
        std::printf(")\n");
        std::fflush(stdout);
        timings.push_back(timing);
    }

    const Timing& last = timings.back();
    const Timing& before = timings.size() > 1 ? timings[timings.size() - 2] : last;
    std::printf("menu-bench n=%d enum_ms=%.0f find_ms=%.0f enum_over_find=%.2f growth_%dk_over_%dk=%.2f spread=%.2f\n",
                last.count, last.rounds.Program(), last.rounds.Floor(), last.rounds.Ratio(), last.count / 1000,
                before.count / 1000, bench::Ratio(last.rounds.Program(), before.rounds.Program()),
                last.rounds.Spread());
    return 0;
}
