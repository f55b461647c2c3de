#pragma once
// Parts of ANSI paths, found by whole characters: the trail byte of a
// double-byte character is never taken for a separator or a dot.

#include "framework/LeadByte.h"

#include <string>
#include <string_view>

namespace fw {

// The file name without directory and extension: what follows the last
// backslash, slash or colon, up to the name's last dot.
inline std::string FileBaseName(std::string_view path, LeadByteTest isLeadByte) {
    std::size_t nameStart = 0;
    std::size_t extensionStart = std::string_view::npos;
    for (std::size_t i = 0; i < path.size(); i += CharacterLength(path, i, isLeadByte)) {
        const char character = path[i];
        if (character == '\\' || character == '/' || character == ':') {
            nameStart = i + 1;
            extensionStart = std::string_view::npos;
        } else if (character == '.') {
            extensionStart = i;
        }
    }
    const std::size_t nameEnd = extensionStart == std::string_view::npos ? path.size() : extensionStart;
    return std::string(path.substr(nameStart, nameEnd - nameStart));
}

}  // namespace fw
