#pragma once
// What the folder-menu shell extension reads from a menu folder: the
// directory its path below the menu root stands for, and whether it carries
// the marker its depth calls for.

#include <string>
#include <string_view>

namespace menureader {

// The naming rule read backwards: the first name is a drive when it is a
// single letter (C -> C:\), otherwise a server (srv -> \\srv\); the rest
// follows with backslashes. Every result ends with a backslash; the menu
// root itself (empty path) stands for no directory and gives empty text.
std::string DirectoryOfMenuFolder(std::string_view relative);

// What a menu folder carries, as read from the file system.
struct MarkerFacts {
    bool folderIsSystem = false;
    bool markerExists = false;
    bool markerIsHidden = false;
    std::string markerBytes;
};

// Empty when the folder at `depth` below the menu root (0: the root) carries
// exactly the marker its depth calls for; otherwise what is wrong.
std::string MarkerProblem(const MarkerFacts& facts, int depth);

}  // namespace menureader
