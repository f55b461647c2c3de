#pragma once
// The folder-menu builder's single entry.

#include <string>

namespace menubuilder {

// Makes the directory reachable as a cascading menu below the user's Start
// Menu. Appends a closing backslash to `path` when it has none. A path inside
// the Start Menu, or one whose folders, markers or items would not all land
// under their own names below the menu root, adds nothing and stays as it is;
// so does any path when the Start Menu folder can't be found.
void AddDirectory(std::string& path);

}  // namespace menubuilder
