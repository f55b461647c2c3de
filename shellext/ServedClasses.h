#pragma once
// The three classes the extension serves: the menu root, a first level, and
// every deeper level. One implementation serves all three.

#include <objbase.h>

#include <string>

namespace shellext {

inline constexpr int kServedClassCount = 3;

// The identifier text of served class `index`, with braces.
const char* ServedClassText(int index);

// Whether `classId` is one of the three.
bool IsServedClass(REFCLSID classId);

// The identifier of the menu root's class, given to folders made below it.
CLSID RootClass();

std::wstring Widen(const char* ascii);

}  // namespace shellext
