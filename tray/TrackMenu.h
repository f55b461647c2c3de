#pragma once
// A popup menu tracked from a window of the notification area.

#include <windows.h>

namespace tray {

// The chosen command, 0 for none. The owner comes to the foreground first and
// gets a message after, or the menu would not close when the user clicks
// elsewhere.
inline UINT TrackMenu(HWND owner, HMENU menu, POINT at, UINT flags) {
    ::SetForegroundWindow(owner);
    const BOOL command = ::TrackPopupMenu(menu, flags | TPM_RETURNCMD, at.x, at.y, 0, owner, nullptr);
    ::PostMessageA(owner, WM_NULL, 0, 0);
    return static_cast<UINT>(command);
}

}  // namespace tray
