#pragma once
// Resources of the running program.

#include <windows.h>

#include <string>

namespace fw {

// A string resource; empty when there is none.
inline std::string LoadResourceString(UINT id) {
    char text[512];
    const int length = ::LoadStringA(::GetModuleHandleA(nullptr), id, text, sizeof(text));
    return std::string(text, static_cast<size_t>(length > 0 ? length : 0));
}

}  // namespace fw
