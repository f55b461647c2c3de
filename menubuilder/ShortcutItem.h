#pragma once
// Shortcut items: "Open" (a window on the level's directory) and
// "MS-DOS Prompt" (the command interpreter started in it).

#include <windows.h>

#include <string>

namespace menubuilder {

// Saves the link file `linkFile` for the directory `level`. `kind` equal to
// "Open" in any letter case makes an "Open" item, any other text an
// "MS-DOS Prompt" item, which starts the interpreter that %ComSpec% names
// when the item is made; the text itself becomes the description. Icons come
// from the shell extension's installation directory, read anew each time.
// Returns the status of the last COM step; a link file path that does not fit
// the 260-character wide buffer gives no item and a failure. Needs OLE.
HRESULT CreateShortcutItem(const std::string& level, const std::string& linkFile, const std::string& kind);

// The icon file an item of `kind` shows, below the installation directory.
std::string ItemIconFile(const std::string& kind);

}  // namespace menubuilder
