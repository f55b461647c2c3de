// Times the search index and the search window: building the index of every
// directory below a menu root (a drive holding one tree) against a bare
// recursive FindFirstFileW/FindNextFileW walk of the same tree, taking turns;
// then, in the real search window over that index, each keystroke of words
// and their prefixes from WM_CHAR until the list has drawn its rows, in
// several passes.
//
//   search_bench MENU_ROOT DRIVE N   MENU_ROOT\<letter> names DRIVE, which holds N entries
//
// Its last line: search-bench n=N index_ms=I walk_ms=W index_over_walk=R query_p95_ms=Q spread=S,
// Q the median of the passes' 95th percentiles.

#include "bench/Timing.h"
#include "framework/UniqueHandle.h"
#include "framework/WideText.h"
#include "search/Indexer.h"
#include "tray/DarkMode.h"
#include "tray/SearchWindow.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using bench::Stopwatch;

constexpr int kRuns = 11;  // a round takes about a second
constexpr int kTypingPasses = 5;

// The entries below `folder` (with closing backslash), as the bare loop finds them.
size_t Walk(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    const fw::UniqueFind search(::FindFirstFileW((folder + L"*").c_str(), &entry));
    if (!search) return 0;
    size_t count = 0;
    do {
        const bool dots = entry.cFileName[0] == L'.' &&
                          (entry.cFileName[1] == 0 || (entry.cFileName[1] == L'.' && entry.cFileName[2] == 0));
        if (dots) continue;
        ++count;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) count += Walk(folder + entry.cFileName + L'\\');
    } while (::FindNextFileW(search.get(), &entry));
    return count;
}

search::IndexerOptions Options(const std::wstring& menuRoot) {
    search::IndexerOptions options;
    options.menuRoot = menuRoot;
    options.entryLimit = 10000000;
    return options;
}

// Milliseconds until the index holds every entry; `entries` what it holds.
double TimeIndex(const std::wstring& menuRoot, size_t& entries) {
    const Stopwatch watch;
    search::Indexer index(Options(menuRoot));
    index.Start();
    while (index.Progress().building) ::Sleep(1);
    const double milliseconds = watch.Milliseconds();
    entries = index.Progress().entries;
    return milliseconds;
}

void PumpMessages() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
}

// What a user types: words of the tree's names and their prefixes, and
// pairs of words.
std::vector<std::string> TypedTexts() {
    std::vector<std::string> texts;
    const char* const words[] = {"older", "ir", "a", "b older", "z", "older 1", "q", "7", "m ir", "99", "k", "holder"};
    for (const char* word : words) texts.push_back(word);
    for (int number = 11; number < 400; number += 7) texts.push_back(std::to_string(number * 7919 % 100003));
    return texts;
}

// Each keystroke's time from WM_CHAR until the list has drawn, for every
// text typed into an emptied box.
std::vector<double> TimeKeystrokes(HWND edit, HWND list) {
    std::vector<double> times;
    for (const std::string& text : TypedTexts()) {
        ::SetWindowTextA(edit, "");
        PumpMessages();
        for (const char character : text) {
            const Stopwatch watch;
            ::SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(character), 1);
            ::UpdateWindow(list);
            times.push_back(watch.Milliseconds());
            PumpMessages();
        }
    }
    return times;
}

double Percentile95(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, values.size() * 95 / 100)];
}

// The 95th percentile of the keystrokes' times in each pass over the texts,
// all in one real search window. A pass's tail is what a few slow moments of
// the machine decide, so the figure is the median of the passes'.
std::vector<double> TimeTypingPasses(const search::Indexer& index) {
    tray::ShellIcons icons;
    tray::DarkMode light;
    tray::SearchWindow window(index, icons, light);
    std::vector<double> percentiles;
    if (!window.Show({0, 0})) return percentiles;
    const HWND edit = ::GetDlgItem(window.Hwnd(), tray::kSearchEditId);
    const HWND list = ::GetDlgItem(window.Hwnd(), tray::kSearchListId);
    for (int pass = 0; pass < kTypingPasses; ++pass) percentiles.push_back(Percentile95(TimeKeystrokes(edit, list)));
    return percentiles;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: search_bench MENU_ROOT DRIVE N\n");
        return 2;
    }
    const std::wstring menuRoot = fw::Widen(argv[1]);
    const std::wstring drive = fw::Widen(argv[2]);
    const size_t expected = static_cast<size_t>(std::atol(argv[3]));
    Walk(drive);           // the same file system cache for both
    bench::Rounds rounds;  // indexes against bare walks
    for (int run = 0; run < kRuns; ++run) {
        size_t indexed = 0;
        const double build = TimeIndex(menuRoot, indexed);
        const Stopwatch watch;
        const size_t walked = Walk(drive);
        rounds.Add(build, watch.Milliseconds());
        if (indexed != expected || walked != expected) {
            std::fprintf(stderr, "search_bench: indexed %zu, walked %zu, expected %zu\n", indexed, walked, expected);
            return 1;
        }
    }
    search::Indexer index(Options(menuRoot));
    index.Start();
    while (index.Progress().building) ::Sleep(1);
    std::printf("search index: %zu entries in %zu bytes (%.1f per entry)\n", index.Progress().entries,
                index.ArenaBytes(), static_cast<double>(index.ArenaBytes()) / static_cast<double>(expected));
    const std::vector<double> percentiles = TimeTypingPasses(index);
    if (percentiles.empty()) {
        std::fprintf(stderr, "search_bench: no search window\n");
        return 1;
    }
    std::printf("search-bench n=%zu index_ms=%.0f walk_ms=%.0f index_over_walk=%.2f query_p95_ms=%.1f spread=%.2f\n",
                expected, rounds.Program(), rounds.Floor(), rounds.Ratio(), bench::Median(percentiles),
                rounds.Spread());
    size_t keystrokes = 0;
    for (const std::string& text : TypedTexts()) keystrokes += text.size();
    std::fprintf(stderr,
                 "search_bench: %zu keystrokes timed in each of %d passes, their 95th percentiles (ms):", keystrokes,
                 kTypingPasses);
    for (const double percentile : percentiles) std::fprintf(stderr, " %.1f", percentile);
    std::fprintf(stderr, "\n");
    return 0;
}
