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

// Adds and removals take turns under the mutex of this name, so that no run
// finds a marker or item of the levels they share half written, or held
// open, by another.
inline constexpr char kMenusLockName[] = "RootCaster menus";

// The checks a directory passes before its menus are touched, made the same
// for an add and a removal: kAdded when the work may go ahead, with
// `menuBase` set to the menu root's path and a backslash; else the refusal.
AddStatus CheckDirectory(const std::string& path, std::string& menuBase);

// Makes the directory reachable as a cascading menu below the user's Start
// Menu. Appends a closing backslash to `path` when it has none. A refused
// path adds nothing and stays as it is.
AddStatus AddDirectory(std::string& path);

}  // namespace menubuilder
