#pragma once
// Where the tray finds the menus: the menu root below the user's Start Menu.

#include <string>

namespace tray {

// Start Menu\RootCaster\ in full, with closing backslash; empty when the
// shell can't tell where the Start Menu is.
std::wstring MenuRootFolder();

}  // namespace tray
