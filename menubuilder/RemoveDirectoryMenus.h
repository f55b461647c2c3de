#pragma once
// Taking a directory's menus off the Start Menu again.

#include <string>

namespace menubuilder {

// What one removal did; command-line mode ends with this number as its exit
// status. 2 to 6 are the refusals of an add of the same directory
// (AddStatus), with nothing removed.
enum class RemoveStatus {
    kRemoved = 0,     // every object of RootCaster's that was found is gone
    kIncomplete = 1,  // some object could not be removed (in use); the rest was
    kNoSuchMenu = 7,  // the directory has no menu folder
};

// Takes RootCaster's own objects (its markers, "Open" and "MS-DOS Prompt"
// items) out of the directory's menu folder and every menu folder below it,
// removing each such folder that is then empty; then removes every parent
// level, up to and including the menu root, that holds nothing else. Nothing
// else is deleted, no reparse point is followed, and nothing outside the
// menu root is touched. A path that names no menu folder of its own ("",
// "\\") is refused as relative.
RemoveStatus RemoveDirectoryMenus(const std::string& path);

}  // namespace menubuilder
