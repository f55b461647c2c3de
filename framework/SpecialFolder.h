#pragma once
// The path of one of the shell's special folders (CSIDL_ values), asked the
// way shell 4.00 (Windows 95, NT 4.0) answers it.

#include "framework/UniqueHandle.h"

#include <shlobj.h>

#include <string>

namespace fw {

// Empty when the shell can't tell.
inline std::string SpecialFolderPath(int folder) {
    UniqueItemList items;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, folder, items.put()))) return std::string();
    char path[MAX_PATH] = {};
    if (!::SHGetPathFromIDListA(items.get(), path)) return std::string();
    return path;
}

}  // namespace fw
