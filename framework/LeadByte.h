#pragma once
// Whether a byte leads a double-byte character of the ANSI code page. The
// portable text logic takes this test as a parameter, so that it runs and is
// tested without Windows; on Windows the code page answers it.

#include <cstddef>
#include <string_view>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fw {

using LeadByteTest = bool (*)(unsigned char byte);

// Bytes taken by the character at `position`: 2 for a lead byte followed by
// its trail byte, otherwise 1. Stepping by this never splits a character, so
// a trail byte is never read as a quote, a backslash or a percent sign.
inline std::size_t CharacterLength(std::string_view text, std::size_t position, LeadByteTest isLeadByte) {
    const bool hasTrailByte = position + 1 < text.size() && text[position + 1] != '\0';
    return isLeadByte(static_cast<unsigned char>(text[position])) && hasTrailByte ? 2 : 1;
}

#ifdef _WIN32
inline bool AnsiLeadByte(unsigned char byte) {
    return ::IsDBCSLeadByte(byte) != FALSE;
}
#endif

}  // namespace fw
