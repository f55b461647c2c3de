#pragma once
// Text between the ANSI code page and UTF-16, and which of the two the
// system's own functions speak: NT has the wide functions, Windows 95/98
// only the ANSI ones.

#include "framework/WindowsVersion.h"

#include <windows.h>

#include <string>

namespace fw {

inline bool IsNt() {
    return ReportedVersion().dwPlatformId == VER_PLATFORM_WIN32_NT;
}

inline std::wstring Widen(const char* text) {
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 1) return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    wide.pop_back();
    return wide;
}

inline std::string Narrow(const std::wstring& text) {
    const int length = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return std::string();
    std::string narrow(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, narrow.data(), length, nullptr, nullptr);
    narrow.pop_back();
    return narrow;
}

}  // namespace fw
