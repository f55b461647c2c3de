#pragma once
// The folder-menu builder's single entry.

#include <string>

namespace menubuilder {

// Makes the directory reachable as a cascading menu below the user's Start
// Menu. Appends a closing backslash to `path` when it has none.
void AddDirectory(std::string& path);

}  // namespace menubuilder
