#pragma once
// The program's icon in the notification area, at the small-icon size for
// the DPI, removed when the object goes.

#include "framework/UniqueHandle.h"

#include <windows.h>

namespace tray {

class TrayIcon {
public:
    // Mouse events on the icon come to `window` as `callbackMessage` with
    // the mouse message in lParam; `icon` is the resource shown.
    TrayIcon(HWND window, UINT callbackMessage, int icon, const char* tip);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Shows the icon loaded afresh for the DPI now: changed where the
    // taskbar has it, else added (again after the taskbar was made anew).
    bool Show();

private:
    bool Notify(DWORD action) const;

    HWND m_window;
    UINT m_callbackMessage;
    int m_resource;
    const char* m_tip;
    fw::UniqueIcon m_icon;
};

}  // namespace tray
