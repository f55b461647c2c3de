#pragma once
// Text the platform writes into fixed ANSI buffers. The platform keeps names
// in UTF-16 and converts them into the ANSI code page on the way out; a text
// that does not fit comes back cut at a character boundary, with or without a
// terminating zero (measured under Wine: the shell fills 259 or 260 bytes and
// writes no zero; the directory search writes 255 bytes of a 270-byte name and
// a zero). A character takes up to four bytes in UTF-8, so a cut text always
// reaches into the room of one character and a zero at the buffer's end: only
// a text that ends before it is whole.

#include <windows.h>

#include <cstddef>
#include <cstring>
#include <optional>
#include <string>

namespace fw {

// Most bytes one character takes in any ANSI code page (UTF-8).
inline constexpr std::size_t kMaxCharacterBytes = 4;

// Bytes a path of MAX_PATH UTF-16 units takes at most in the ANSI code page:
// three for each unit in UTF-8, where a pair of units takes four.
inline constexpr std::size_t kAnsiPathBytes = 3 * MAX_PATH;

// The text the platform wrote into `buffer`; nothing when it may have been cut.
template <std::size_t N>
std::optional<std::string> WholeText(const char (&buffer)[N]) {
    static_assert(N > 1 + kMaxCharacterBytes, "a buffer with room for more than one character");
    const void* end = std::memchr(buffer, '\0', N - 1 - kMaxCharacterBytes);
    if (!end) return std::nullopt;
    return std::string(buffer, static_cast<const char*>(end));
}

// The full path of `module` (null: the program) in UTF-16, of any length
// (NT only); empty when it can't be read.
inline std::wstring WideModuleFilePath(HMODULE module = nullptr) {
    constexpr std::size_t kLongestPath = 32768;
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(module, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0) return std::wstring();
        if (length < path.size()) return path.substr(0, length);
        // Cut to the buffer: read again into a larger one.
        if (path.size() >= kLongestPath) return std::wstring();
        path.resize(path.size() * 2);
    }
}

// The full path of `module` (null: the program) in the ANSI code page; empty
// when it can't be read whole.
inline std::string ModuleFilePath(HMODULE module = nullptr) {
    char path[kAnsiPathBytes] = {};
    const DWORD length = ::GetModuleFileNameA(module, path, sizeof(path));
    return length > 0 && length < sizeof(path) ? std::string(path, length) : std::string();
}

}  // namespace fw
