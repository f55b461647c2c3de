#pragma once
// The three classes the extension serves: the menu root, a first level, and
// every deeper level. One implementation serves all three.

#include <objbase.h>

namespace shellext {

inline constexpr int kServedClassCount = 3;

// The identifier text of served class `index`, with braces.
const char* ServedClassText(int index);

// Whether `classId` is one of the three.
bool IsServedClass(REFCLSID classId);

// The class a menu folder `depth` levels below the menu root is marked
// with (0: the root itself).
CLSID ClassOfDepth(int depth);

}  // namespace shellext
