// Times listing an added directory's menu folder as a start menu lists it,
// through the shell's namespace (parse the menu folder from the desktop,
// bind, enumerate, ask every entry for its display name and attributes),
// against the bare FindFirstFileA/FindNextFileA loop over the directory, the
// floor no listing can beat.
//
//   menu_bench BASE N...   BASE\dN holds N entries and was added, for every N
//
// One line per directory, each figure the median of several runs; the last
// line sums up the largest, with the listing's growth from the second largest.

#include "bench/Timing.h"
#include "framework/ComPtr.h"
#include "framework/OleSession.h"
#include "framework/SpecialFolder.h"
#include "framework/UniqueHandle.h"
#include "menubuilder/MenuPath.h"
#include "tests/shellext/ShellListing.h"

#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kRuns = 7;

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

void FreeName(STRRET& name) {
    if (name.uType == STRRET_WSTR) ::CoTaskMemFree(name.pOleStr);
}

// Entries the menu listed, each asked what a start menu asks; 0 when the
// folder cannot be reached.
size_t ListMenu(const std::wstring& menuFolder) {
    const testing_support::ShellFolderAt menu(menuFolder);
    fw::ComPtr<IEnumIDList> entries;
    if (menu.Status() != S_OK ||
        menu.Folder()->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, entries.put()) != S_OK) {
        return 0;
    }
    size_t count = 0;
    LPITEMIDLIST raw = nullptr;
    while (entries->Next(1, &raw, nullptr) == S_OK) {
        const fw::UniqueItemList entry(raw);
        STRRET name{};
        if (SUCCEEDED(menu.Folder()->GetDisplayNameOf(entry.get(), SHGDN_INFOLDER, &name))) FreeName(name);
        SFGAOF attributes = SFGAO_FOLDER | SFGAO_FILESYSTEM;
        LPCITEMIDLIST asked = entry.get();
        menu.Folder()->GetAttributesOf(1, &asked, &attributes);
        ++count;
    }
    return count;
}

struct Timing {
    int count = 0;
    double listing = 0;
    double find = 0;
};

template <class Step>
double MedianOfRuns(Step step) {
    std::vector<double> runs;
    for (int run = 0; run < kRuns; ++run) {
        const bench::Stopwatch watch;
        step();
        runs.push_back(watch.Milliseconds());
    }
    return bench::Median(runs);
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
        const size_t listed = ListMenu(menuFolder);
        if (listed < static_cast<size_t>(timing.count)) {
            std::fprintf(stderr, "menu_bench: the menu of %s lists %u entries, not %d\n", directory.c_str(),
                         static_cast<unsigned>(listed), timing.count);
            return 1;
        }
        timing.listing = MedianOfRuns([&] { ListMenu(menuFolder); });
        timing.find = MedianOfRuns([&] { FindAll(directory); });
        std::printf("n=%d enum_ms=%.0f find_ms=%.0f enum_over_find=%.2f\n", timing.count, timing.listing, timing.find,
                    bench::Ratio(timing.listing, timing.find));
        std::fflush(stdout);
        timings.push_back(timing);
    }

    const Timing& last = timings.back();
    const Timing& before = timings.size() > 1 ? timings[timings.size() - 2] : last;
    std::printf("menu-bench n=%d enum_ms=%.0f find_ms=%.0f enum_over_find=%.2f growth_%dk_over_%dk=%.2f\n", last.count,
                last.listing, last.find, bench::Ratio(last.listing, last.find), last.count / 1000, before.count / 1000,
                bench::Ratio(last.listing, before.listing));
    return 0;
}
