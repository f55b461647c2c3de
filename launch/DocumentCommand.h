#pragma once
// Putting a document into the command line that opens documents of its type.
// Portable: the lead-byte test of the ANSI code page is passed in.

#include "framework/LeadByte.h"

#include <string>
#include <string_view>

namespace launch {

using fw::LeadByteTest;

// The first "%1" of `command` (case-sensitive, found stepping by whole
// characters, so a double-byte character's trail byte never starts it)
// replaced by `document`; without one, `command`, a blank and `document`.
// The document goes in unchanged: nothing is quoted, escaped or expanded.
std::string InsertDocument(std::string_view command, std::string_view document, LeadByteTest isLeadByte);

}  // namespace launch
