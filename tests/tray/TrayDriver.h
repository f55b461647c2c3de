#pragma once
// Working the running tray program from outside, as the shell and the user
// do: the icon's mouse messages to its window, and keys that its open menu
// reads from the window's queue. Wine keeps menus inside their process, so
// what a menu shows is seen through what choosing its entries does.

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace tray_driver {

// The tray program's window; none when it did not appear in time.
HWND WaitForTray(DWORD timeoutMs = 30000);

// The visible popup menu windows, of any process.
std::vector<HWND> MenuWindows();
// Waits until `count` menu windows are visible; false when they were not in time.
bool WaitForMenus(size_t count, DWORD timeoutMs = 20000);

// A click on the icon: the left button opens the folder menus, the right one
// the program's own menu. True once the menu is visible.
bool ClickIcon(HWND tray, UINT buttonUp);

// A key pressed in the open menu: a virtual key (VK_RIGHT ...) or a typed
// character.
void PressKey(HWND tray, WPARAM virtualKey);
void TypeCharacter(HWND tray, char character);

// The visible search window; none when it did not appear in time.
HWND WaitForSearchWindow(DWORD timeoutMs = 20000);
// Characters typed into the search window's edit box, as the keyboard would.
void TypeIntoSearch(HWND search, const std::string& text);
// A key pressed in the search window's edit box.
void PressSearchKey(HWND search, WPARAM virtualKey);
// The search window's rows, as its list shows them: name, then folder.
std::vector<std::pair<std::string, std::string>> SearchRows(HWND search);

// The screen rectangle around every visible menu window, as WxH+X+Y.
std::string MenusGeometry();

}  // namespace tray_driver
