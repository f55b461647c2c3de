// Fuzzes the command-line text: whatever the bytes, the result is a tail of
// the line (up to its first zero), never starts with a character 1 to 32,
// and never reaches inside a quoted program name.

#include "app/CommandLine.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {
bool OddLeadBytes(unsigned char byte) {
    return byte >= 0x81 && (byte & 1);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string raw(reinterpret_cast<const char*>(data), size);
    const std::string line = raw.substr(0, raw.find('\0'));
    const std::string text = app::CommandLineText(raw, OddLeadBytes);
    if (text.size() > line.size() || line.compare(line.size() - text.size(), text.size(), text) != 0) std::abort();
    if (!text.empty() && static_cast<unsigned char>(text[0]) <= ' ') std::abort();
    if (!line.empty() && line[0] == '"' && text.size() == line.size()) std::abort();
    return 0;
}
