#pragma once
// The folder-menu builder's single entry.

#include <string>

namespace menubuilder {

// What one add did. Command-line mode ends with this number as its exit
// status, so the numbers stay as they are.
enum class AddStatus {
    kAdded = 0,            // every folder, marker and item is in place
    kIncomplete = 1,       // some folder, marker or item could not be made; the rest was
    kNoStartMenu = 2,      // refused, like every status below: nothing was made
    kInsideStartMenu = 3,  // the directory lies in the Start Menu
    kRelative = 4,         // neither a drive path nor a network path
    kUnsafeName = 5,       // a folder or item would not land, under its own name, below the menu root
    kTooLong = 6,          // a folder, marker or item path would not fit the platform's buffers
};

// Makes the directory reachable as a cascading menu below the user's Start
// Menu. Appends a closing backslash to `path` when it has none. A refused
// path adds nothing and stays as it is.
AddStatus AddDirectory(std::string& path);

}  // namespace menubuilder
