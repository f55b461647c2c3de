// Times what a user of the tray waits for when a folder's submenu opens: from
// the submenu's WM_INITMENUPOPUP until its window is shown and the menu loop
// is idle again (WM_ENTERIDLE), in a real menu tracked by TrackPopupMenu,
// against the bare FindFirstFileA/FindNextFileA loop over the same folder.
//
//   tray_bench BASE N...   BASE\nN\d holds N entries, for every N given
//
// One line per folder (medians of five rounds); then a line sums up the
// largest folder, with the growth of the opening time from the second largest
// and the spread of the rounds' ratios,
// and the last says how many menus a user opens at most to see any of its
// entries, the folder's own counted, read from its real range menus.

#include "bench/Timing.h"
#include "framework/UniqueHandle.h"
#include "framework/WideText.h"
#include "tray/FolderMenus.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

using bench::Ratio;
using bench::Stopwatch;

constexpr int kRuns = 11;

// One opening of one submenu, watched through its owner window's messages.
struct Opening {
    tray::FolderMenus* menus = nullptr;
    HMENU root = nullptr;
    std::optional<Stopwatch> clock;
    double milliseconds = -1;
    bool shown = false;
};
Opening* g_opening = nullptr;

void OnEnterIdle(HWND owner, HWND menuWindow) {
    if (!g_opening->clock || g_opening->milliseconds >= 0) return;
    g_opening->milliseconds = g_opening->clock->Milliseconds();
    g_opening->shown = menuWindow && ::IsWindowVisible(menuWindow);
    for (int i = 0; i < 2; ++i) ::PostMessageA(owner, WM_KEYDOWN, VK_ESCAPE, 1);
}

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_opening) {
        if (message == WM_INITMENUPOPUP && reinterpret_cast<HMENU>(wParam) != g_opening->root)
            g_opening->clock.emplace();
        if (message == WM_ENTERIDLE) OnEnterIdle(window, reinterpret_cast<HWND>(lParam));
        LRESULT result = 0;
        if (g_opening->menus->HandleMessage(message, wParam, lParam, result)) return result;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateOwner() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = OwnerProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "tray bench";
    ::RegisterClassA(&windowClass);
    return ::CreateWindowExA(0, "tray bench", "tray bench", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                             windowClass.hInstance, nullptr);
}

// The menu of `folder`, filled as its opening fills it.
fw::UniqueMenu FolderMenu(tray::FolderMenus& menus, const std::string& folder) {
    tray::Source source;
    source.directory = fw::Widen((folder + "\\").c_str());
    return menus.CreateMenu(source);
}

// BASE\nN\ shows "Open this folder", a separator and d; End selects d and
// Right opens it, as a user would with the keyboard.
double TimeOpening(HWND owner, const std::string& parent) {
    tray::ShellIcons icons;
    tray::FolderMenus menus(icons, owner);
    const fw::UniqueMenu root = FolderMenu(menus, parent);
    Opening opening;
    opening.menus = &menus;
    opening.root = root.get();
    g_opening = &opening;
    ::PostMessageA(owner, WM_KEYDOWN, VK_END, 1);
    ::PostMessageA(owner, WM_KEYDOWN, VK_RIGHT, 1);
    ::SetForegroundWindow(owner);
    ::TrackPopupMenu(root.get(), TPM_RETURNCMD, 100, 100, 0, owner, nullptr);
    g_opening = nullptr;
    return opening.shown ? opening.milliseconds : -1;
}

double TimeFind(const std::string& folder) {
    const Stopwatch watch;
    WIN32_FIND_DATAA entry;
    const fw::UniqueFind search(::FindFirstFileA((folder + "\\*").c_str(), &entry));
    if (!search) return -1;
    while (::FindNextFileA(search.get(), &entry)) {
    }
    return watch.Milliseconds();
}

void Send(tray::FolderMenus& menus, UINT message, HMENU menu) {
    LRESULT result = 0;
    menus.HandleMessage(message, reinterpret_cast<WPARAM>(menu), 0, result);
}

struct Reach {
    size_t entries = 0;
    size_t menus = 0;  // the most open to see one
};

// Every range below `menu` (`depth` menus open) opened as the menu loop
// opens it, its entries counted, and closed again.
void ReadRanges(tray::FolderMenus& menus, HMENU menu, size_t depth, Reach& reach) {
    for (int position = 0; position < ::GetMenuItemCount(menu); ++position) {
        const tray::Line* line = tray::FolderMenus::LineAt(menu, static_cast<UINT>(position));
        if (!line || line->kind == tray::Line::Kind::kOpenFolder || line->kind == tray::Line::Kind::kNote) continue;
        if (line->kind != tray::Line::Kind::kRange) {
            ++reach.entries;
            reach.menus = std::max(reach.menus, depth);
            continue;
        }
        const HMENU range = ::GetSubMenu(menu, position);
        Send(menus, WM_INITMENUPOPUP, range);
        ReadRanges(menus, range, depth + 1, reach);
        Send(menus, WM_UNINITMENUPOPUP, range);
    }
}

Reach ReachEveryEntry(HWND owner, const std::string& folder) {
    tray::ShellIcons icons;
    tray::FolderMenus menus(icons, owner);
    const fw::UniqueMenu menu = FolderMenu(menus, folder);
    Reach reach;
    if (menu) ReadRanges(menus, menu.get(), 1, reach);
    return reach;
}

struct Timing {
    int count;
    bench::Rounds rounds;  // openings against bare loops
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: tray_bench BASE N...\n");
        return 2;
    }
    const HWND owner = CreateOwner();
    if (!owner) {
        std::fprintf(stderr, "tray_bench: no window\n");
        return 1;
    }
    std::vector<Timing> timings;
    for (int i = 2; i < argc; ++i) {
        Timing timing{std::atoi(argv[i]), {}};
        const std::string parent = std::string(argv[1]) + "\\n" + argv[i];
        TimeFind(parent + "\\d");  // the same file system cache for both
        for (int run = 0; run < kRuns; ++run) {
            const double open = TimeOpening(owner, parent);
            timing.rounds.Add(open, TimeFind(parent + "\\d"));
        }
        if (!timing.rounds.AllFinished()) {
            std::fprintf(stderr, "tray_bench: %s\\d did not open as expected\n", parent.c_str());
            return 1;
        }
        std::printf("n=%d open_ms=%.0f find_ms=%.0f\n", timing.count, timing.rounds.Program(), timing.rounds.Floor());
        std::fflush(stdout);
        timings.push_back(timing);
    }
    const Timing& last = timings.back();
    const Timing& before = timings.size() > 1 ? timings[timings.size() - 2] : last;
    std::printf("tray-bench n=%d open_ms=%.0f find_ms=%.0f open_over_find=%.2f growth_%dk_over_%dk=%.2f spread=%.2f\n",
                last.count, last.rounds.Program(), last.rounds.Floor(), last.rounds.Ratio(), last.count / 1000,
                before.count / 1000, Ratio(last.rounds.Program(), before.rounds.Program()), last.rounds.Spread());
    // The folder also lists its desktop.ini.
    const Reach reach = ReachEveryEntry(owner, std::string(argv[1]) + "\\n" + argv[argc - 1] + "\\d");
    if (reach.entries < static_cast<size_t>(last.count)) {
        std::fprintf(stderr, "tray_bench: its menus show %u of %d entries\n", static_cast<unsigned>(reach.entries),
                     last.count);
        return 1;
    }
    std::printf("tray-reach n=%d max_menus=%u\n", last.count, static_cast<unsigned>(reach.menus));
    ::DestroyWindow(owner);
    return 0;
}
