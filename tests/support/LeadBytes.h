#pragma once
// Lead-byte tests that stand in for the ANSI code page, so that the portable
// text logic is checked for single-byte and double-byte code pages alike,
// without Windows.

namespace testing_support {

// A single-byte code page.
inline bool NoLeadBytes(unsigned char) {
    return false;
}

// Code page 932 (Japanese), whose trail bytes include '\\', '"' and '%'.
inline bool Cp932LeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

}  // namespace testing_support
