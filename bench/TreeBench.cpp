// Times the directory tree on folders with many subfolders: expanding and
// collapsing each folder in a real, visible tree control (painting included),
// against the shell calls alone that an expansion cannot do without (the
// directory search and two SHGetFileInfoA queries per subfolder).
//
//   tree_bench BASE N...   BASE\dN holds N subfolders, for every N given
//
// One line per folder, medians of rounds that take turns with the shell
// calls: five, or fewer where a folder's rounds outlast kRoundBudgetMs (at
// 20,000 subfolders one round takes minutes under Wine), and never fewer than
// two. The folders take turns as well, round by round, so that the growth
// from one to the next compares rounds of the same stretch of time rather
// than of minutes apart. The last line sums up the largest folder, with the
// growth of expand + collapse time from the second largest to it, the shell
// calls' own growth, and the spread of the rounds' ratios.

#include "bench/Timing.h"
#include "framework/HostWindow.h"
#include "framework/UniqueHandle.h"
#include "tests/tree/TreeProbe.h"
#include "tree/DirTreeCtrl.h"

#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using bench::Ratio;
using bench::Stopwatch;

constexpr UINT kShellQuery = SHGFI_ICON | SHGFI_DISPLAYNAME | SHGFI_SMALLICON;
constexpr int kMostRounds = 5;
constexpr int kLeastRounds = 2;
constexpr double kRoundBudgetMs = 6 * 60 * 1000;

void QueryShell(const std::string& path, UINT extra) {
    SHFILEINFOA info{};
    ::SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info), kShellQuery | extra);
    const fw::UniqueIcon icon(info.hIcon);
}

// Both passes of the search an expansion makes; the first one finds the
// listed subfolders.
std::vector<std::string> SearchFolder(const std::string& folder) {
    std::vector<std::string> names;
    for (int pass = 0; pass < 2; ++pass) {
        WIN32_FIND_DATAA entry;
        const fw::UniqueFind search(::FindFirstFileA((folder + "\\*.*").c_str(), &entry));
        if (!search) break;
        do {
            const bool directory = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            const bool hidden = (entry.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
            if (pass == 0 && directory && !hidden && entry.cFileName[0] != '.') names.emplace_back(entry.cFileName);
        } while (::FindNextFileA(search.get(), &entry));
    }
    return names;
}

// What an expansion asks of the system: the search, and the shell's name and
// two icons for every listed subfolder.
double TimeShellCalls(const std::string& folder) {
    const Stopwatch watch;
    for (const std::string& name : SearchFolder(folder)) {
        QueryShell(folder + "\\" + name, 0);
        QueryShell(folder + "\\" + name, SHGFI_OPENICON);
    }
    return watch.Milliseconds();
}

struct Timing {
    int count = 0;
    HTREEITEM folder = nullptr;
    std::string path;
    double spentMs = 0;
    bench::Rounds rounds;  // expansions against the shell calls
    std::vector<double> collapses;

    double Collapse() const { return bench::Median(collapses); }
    bool WantsRound() const {
        const int done = static_cast<int>(collapses.size());
        return done < kMostRounds && (done < kLeastRounds || spentMs <= kRoundBudgetMs);
    }
};

// Expanded and collapsed as the user does it, each time until painted.
bool TimeTree(const CDirTreeCtrl& tree, HTREEITEM folder, double& expanded, Timing& timing) {
    const Stopwatch expand;
    tree_probe::ExpandAsUser(tree, folder);
    ::UpdateWindow(tree.Hwnd());
    expanded = expand.Milliseconds();
    const bool complete = tree_probe::Children(tree, folder).size() == static_cast<size_t>(timing.count);

    const Stopwatch collapse;
    tree_probe::CollapseAsUser(tree, folder);
    ::UpdateWindow(tree.Hwnd());
    timing.collapses.push_back(collapse.Milliseconds());
    return complete && tree_probe::HoldsOnlyPlaceholder(tree, folder);
}

bool TimeRound(const CDirTreeCtrl& tree, Timing& timing) {
    const Stopwatch round;
    double expanded = 0;
    if (!TimeTree(tree, timing.folder, expanded, timing)) return false;
    timing.rounds.Add(expanded, TimeShellCalls(timing.path));
    timing.spentMs += round.Milliseconds();
    return true;
}

// Round by round, every folder that still wants one. The result is the
// folder that did not open and close as expected, if one did not.
const Timing* TimeAllRounds(const CDirTreeCtrl& tree, std::vector<Timing>& timings) {
    for (bool any = true; any;) {
        any = false;
        for (Timing& timing : timings) {
            if (!timing.WantsRound()) continue;
            if (!TimeRound(tree, timing)) return &timing;
            any = true;
        }
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: tree_bench BASE N...\n");
        return 2;
    }
    const std::string base = argv[1];
    fw::HostWindow host;
    CDirTreeCtrl tree;
    host.Bind(tree);
    const RECT area{0, 0, 600, 900};
    if (!host.Create("tree bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 620, 960) ||
        !tree.Create(WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, area,
                     host.Hwnd(), 1005)) {
        std::fprintf(stderr, "tree_bench: no window\n");
        return 1;
    }
    const HTREEITEM baseItem = tree_probe::OpenPath(tree, base);
    if (!baseItem) {
        std::fprintf(stderr, "tree_bench: %s not in the tree\n", base.c_str());
        return 1;
    }

    std::vector<Timing> timings;
    for (int i = 2; i < argc; ++i) {
        Timing timing;
        timing.count = std::atoi(argv[i]);
        const std::string name = "d" + std::to_string(timing.count);
        timing.path = base + "\\" + name;
        timing.folder = tree_probe::FindChild(tree, baseItem, name);
        if (!timing.folder) {
            std::fprintf(stderr, "tree_bench: %s not in the tree\n", timing.path.c_str());
            return 1;
        }
        SearchFolder(timing.path);  // the same file system cache for both
        timings.push_back(timing);
    }
    if (const Timing* failed = TimeAllRounds(tree, timings)) {
        std::fprintf(stderr, "tree_bench: %s did not open and close as expected\n", failed->path.c_str());
        return 1;
    }
    for (const Timing& timing : timings) {
        std::printf("n=%d expand_ms=%.0f collapse_ms=%.0f shell_ms=%.0f rounds=%u\n", timing.count,
                    timing.rounds.Program(), timing.Collapse(), timing.rounds.Floor(),
                    static_cast<unsigned>(timing.collapses.size()));
    }

    const Timing& last = timings.back();
    const Timing& before = timings.size() > 1 ? timings[timings.size() - 2] : last;
    const double expand = last.rounds.Program();
    std::printf(
        "tree-bench n=%d expand_ms=%.0f collapse_ms=%.0f shell_ms=%.0f expand_over_shell=%.2f "
        "collapse_over_expand=%.2f growth_%dk_over_%dk=%.2f floor_growth_%dk_over_%dk=%.2f spread=%.2f\n",
        last.count, expand, last.Collapse(), last.rounds.Floor(), last.rounds.Ratio(), Ratio(last.Collapse(), expand),
        last.count / 1000, before.count / 1000,
        Ratio(expand + last.Collapse(), before.rounds.Program() + before.Collapse()), last.count / 1000,
        before.count / 1000, Ratio(last.rounds.Floor(), before.rounds.Floor()), last.rounds.Spread());
    return 0;
}
