#pragma once
// Whether a byte leads a double-byte character of the ANSI code page. The
// portable text logic takes this test as a parameter, so that it runs and is
// tested without Windows; on Windows the code page answers it.

#ifdef _WIN32
#include <windows.h>
#endif

namespace fw {

using LeadByteTest = bool (*)(unsigned char byte);

#ifdef _WIN32
inline bool AnsiLeadByte(unsigned char byte) {
    return ::IsDBCSLeadByte(byte) != FALSE;
}
#endif

}  // namespace fw
