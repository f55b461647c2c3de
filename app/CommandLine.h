#pragma once
// The command-line text: the process command line without the program's own
// name. Portable: the lead-byte test of the ANSI code page is passed in.

#include "framework/LeadByte.h"

#include <string>
#include <string_view>

namespace app {

using fw::LeadByteTest;

// The program name is a quoted run up to and including the next quote (a
// double-byte character's trail byte is never taken for a quote), or else
// runs up to the first character of code 32 or less. Characters 1 to 32 after
// it are skipped; the rest is returned unchanged, quotes and blanks included.
std::string CommandLineText(std::string_view commandLine, LeadByteTest isLeadByte);

// What a command-line text asks for: the empty text the main dialog, a text
// that begins with "/remove " (no directory path begins so) the removal of
// the directory that follows, any other text the add of that directory.
struct Request {
    enum class Task { kShowDialog, kAdd, kRemove };
    Task task;
    std::string directory;
};

Request ReadRequest(std::string_view text);

}  // namespace app
