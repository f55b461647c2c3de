#pragma once
// The path of one of the shell's special folders (CSIDL_ values), asked the
// way shell 4.00 (Windows 95, NT 4.0) answers it.

#include "framework/PlatformText.h"
#include "framework/RuntimeLink.h"
#include "framework/UniqueHandle.h"
#include "framework/WideText.h"

#include <shlobj.h>

#include <string>

namespace fw {

// Empty when the shell can't tell, or when the path may have been cut to fit
// the shell's buffer.
inline std::string SpecialFolderPath(int folder) {
    UniqueItemList items;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, folder, items.put()))) return std::string();
    char path[MAX_PATH] = {};
    if (!::SHGetPathFromIDListA(items.get(), path)) return std::string();
    return WholeText(path).value_or(std::string());
}

// The same in UTF-16: read wide on NT, where any name can stand in it; from
// the ANSI path elsewhere.
inline std::wstring SpecialFolderPathWide(int folder) {
    using PathFromListW = BOOL WINAPI(LPCITEMIDLIST, LPWSTR);
    auto* pathFromList = IsNt() ? LookUp<PathFromListW>("shell32.dll", "SHGetPathFromIDListW") : nullptr;
    if (!pathFromList) return Widen(SpecialFolderPath(folder).c_str());
    UniqueItemList items;
    wchar_t path[MAX_PATH] = {};
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, folder, items.put())) || !pathFromList(items.get(), path)) {
        return std::wstring();
    }
    return path;
}

}  // namespace fw
