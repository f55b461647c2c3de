#pragma once
// The tray's dark mode on Windows: the entry points it calls (found on this
// system, or given by a test), the choice they report and what follows from
// it for a window: its menus, its caption, its controls' themes and colours.
// One object serves the tray window and the search window.

#include "framework/UniqueHandle.h"

#include <windows.h>
#include <commctrl.h>

namespace tray {

inline constexpr wchar_t kDarkListTheme[] = L"DarkMode_Explorer";  // a list and its scroll bars
inline constexpr wchar_t kDarkEditTheme[] = L"DarkMode_CFD";
inline constexpr wchar_t kDarkHeaderTheme[] = L"DarkMode_ItemsView";
inline constexpr COLORREF kDarkBack = RGB(32, 32, 32);
inline constexpr COLORREF kDarkText = RGB(255, 255, 255);

// Every entry point, all present or the mode unavailable.
struct DarkModeEntries {
    bool(WINAPI* shouldAppsUseDarkMode)() = nullptr;                          // uxtheme 132
    bool(WINAPI* allowDarkModeForWindow)(HWND window, bool allow) = nullptr;  // uxtheme 133
    // uxtheme 135: AllowDarkModeForApp(BOOL) or SetPreferredAppMode(mode),
    // one argument of an int's size either way; the answer is unused.
    int(WINAPI* setAppMode)(int allowOrMode) = nullptr;
    void(WINAPI* flushMenuThemes)() = nullptr;                   // uxtheme 136
    void(WINAPI* refreshImmersiveColorPolicyState)() = nullptr;  // uxtheme 104
    HRESULT(WINAPI* setWindowTheme)(HWND window, LPCWSTR appName, LPCWSTR idList) = nullptr;
    HRESULT(WINAPI* dwmSetWindowAttribute)(HWND window, DWORD attribute, LPCVOID value, DWORD size) = nullptr;

    bool AllFound() const;
};

class DarkMode {
public:
    // Never available: what a system without the means gets.
    DarkMode() = default;
    // Entry points given for a system of `build` (not Wine).
    DarkMode(const DarkModeEntries& entries, unsigned build);
    // Found on this system; nothing is loaded or looked up under Wine or
    // before Windows 10 1809.
    static DarkMode ForThisSystem();

    bool Available() const { return m_available; }
    bool IsDark() const { return m_dark; }
    // Asks the system's choice again and passes it on to its menus; whether
    // the windows turn dark or light.
    bool Refresh();

    // A window whose menus (and those of the shell it tracks) may turn dark.
    void AllowMenus(HWND window) const;
    // A control drawn in the theme `darkTheme` when dark, its own when light.
    void ApplyTo(HWND control, const wchar_t* darkTheme) const;
    void ApplyToCaption(HWND window) const;
    // A report list: its theme, its header's and its colours, dark or the
    // system's. The list must not outlive this object.
    void ApplyToList(HWND list) const;
    // For WM_CTLCOLOREDIT and WM_CTLCOLORSTATIC: the brush, with the
    // colours set in `dc`; null when light, where the default is right.
    HBRUSH ColorControl(HDC dc) const;
    // For a header's NM_CUSTOMDRAW: light titles on the dark theme's
    // header, whose own text stays black.
    LRESULT ColorHeader(const NMCUSTOMDRAW& draw) const;
    // For WM_ERASEBKGND: whether it painted `window`'s background.
    bool EraseBackground(HWND window, HDC dc) const;

private:
    DarkMode(const DarkModeEntries& entries, unsigned build, fw::UniqueModule uxtheme, fw::UniqueModule dwmapi);
    void ColorList(HWND list) const;
    void WatchHeaderOf(HWND list) const;

    fw::UniqueModule m_uxtheme;
    fw::UniqueModule m_dwmapi;
    DarkModeEntries m_entries;
    unsigned m_build = 0;
    bool m_available = false;
    bool m_dark = false;
    fw::UniqueBrush m_back;
};

}  // namespace tray
