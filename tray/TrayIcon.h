#pragma once
// The program's icon in the notification area, removed when the object goes.

#include <windows.h>

namespace tray {

class TrayIcon {
public:
    // Mouse events on the icon come to `window` as `callbackMessage` with
    // the mouse message in lParam.
    TrayIcon(HWND window, UINT callbackMessage, HICON icon, const char* tip);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Shows the icon, again after the taskbar was made anew.
    bool Add() const;

private:
    bool Notify(DWORD action) const;

    HWND m_window;
    UINT m_callbackMessage;
    HICON m_icon;
    const char* m_tip;
};

}  // namespace tray
