#pragma once
// What the folder-menu shell extension checks of a menu folder: whether it
// carries the marker its depth calls for.

#include <string>
#include <string_view>

namespace menureader {

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
