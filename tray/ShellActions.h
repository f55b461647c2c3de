#pragma once
// What the shell does with a menu entry: opening it with its default verb,
// and its own context menu.

#include "framework/ComPtr.h"

#include <windows.h>
#include <shlobj.h>

#include <string>

namespace tray {

// Opens a file, a shortcut or a folder (with closing backslash) as Explorer
// does on a double click. The shell reports its own failures.
void OpenWithShell(HWND owner, const std::wstring& path);

// The shell's context menu of one file or folder. While it is tracked, the
// owner window hands it the menu messages of the shell's own submenus
// ("Send To" and the like).
class ShellContextMenu {
public:
    // False when the shell has no context menu for `path`.
    bool Create(const std::wstring& path);

    // Shows the menu at `at` and runs what the user chooses.
    void Track(HWND owner, POINT at) const;

    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const;

private:
    fw::ComPtr<IContextMenu> m_menu;
    fw::ComPtr<IContextMenu2> m_menu2;
};

}  // namespace tray
