#include "tests/tray/TrayDriver.h"

#include "tray/TrayWindow.h"

#include <algorithm>
#include <cstdio>

namespace tray_driver {
namespace {

constexpr char kMenuClass[] = "#32768";

template <class Find>
auto Poll(Find find, DWORD timeoutMs) {
    for (DWORD waited = 0;; waited += 50) {
        if (auto found = find(); found || waited >= timeoutMs) return found;
        ::Sleep(50);
    }
}

BOOL CALLBACK CollectMenu(HWND window, LPARAM found) {
    char name[16] = {};
    ::GetClassNameA(window, name, sizeof(name));
    if (::IsWindowVisible(window) && lstrcmpA(name, kMenuClass) == 0) {
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    }
    return TRUE;
}

}  // namespace

HWND WaitForTray(DWORD timeoutMs) {
    return Poll([] { return ::FindWindowA(tray::kTrayWindowClass, nullptr); }, timeoutMs);
}

std::vector<HWND> MenuWindows() {
    std::vector<HWND> found;
    ::EnumWindows(CollectMenu, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool WaitForMenus(size_t count, DWORD timeoutMs) {
    return Poll([&] { return MenuWindows().size() == count; }, timeoutMs);
}

bool ClickIcon(HWND tray, UINT buttonUp) {
    ::PostMessageA(tray, tray::kIconMessage, 0, buttonUp);
    return WaitForMenus(1);
}

void PressKey(HWND tray, WPARAM virtualKey) {
    ::PostMessageA(tray, WM_KEYDOWN, virtualKey, 1);
    ::PostMessageA(tray, WM_KEYUP, virtualKey, 0xC0000001);
}

void TypeCharacter(HWND tray, char character) {
    ::PostMessageA(tray, WM_CHAR, static_cast<unsigned char>(character), 1);
}

std::string MenusGeometry() {
    RECT all{0, 0, 0, 0};
    for (HWND menu : MenuWindows()) {
        RECT rect;
        ::GetWindowRect(menu, &rect);
        ::UnionRect(&all, &all, &rect);
    }
    char text[64];
    std::snprintf(text, sizeof(text), "%ldx%ld+%ld+%ld", all.right - all.left, all.bottom - all.top, all.left, all.top);
    return text;
}

}  // namespace tray_driver
