#include "app/CommandLine.h"

namespace app {
namespace {

constexpr std::string_view kRemoveSwitch = "/remove ";

unsigned char At(std::string_view text, size_t position) {
    return static_cast<unsigned char>(text[position]);
}

size_t EndOfQuotedName(std::string_view line, LeadByteTest isLeadByte) {
    size_t position = 1;
    while (position < line.size() && line[position] != '\0') {
        if (line[position] == '"') return position + 1;
        position += fw::CharacterLength(line, position, isLeadByte);
    }
    return position;
}

size_t EndOfPlainName(std::string_view line) {
    size_t position = 0;
    while (position < line.size() && At(line, position) > ' ') ++position;
    return position;
}

}  // namespace

std::string CommandLineText(std::string_view commandLine, LeadByteTest isLeadByte) {
    const size_t zero = commandLine.find('\0');
    if (zero != std::string_view::npos) commandLine = commandLine.substr(0, zero);
    size_t position = !commandLine.empty() && commandLine[0] == '"' ? EndOfQuotedName(commandLine, isLeadByte)
                                                                    : EndOfPlainName(commandLine);
    while (position < commandLine.size() && At(commandLine, position) >= 1 && At(commandLine, position) <= ' ') {
        ++position;
    }
    return std::string(commandLine.substr(position));
}

Request ReadRequest(std::string_view text) {
    if (text.empty()) return {Request::Task::kShowDialog, {}};
    if (text.substr(0, kRemoveSwitch.size()) == kRemoveSwitch) {
        return {Request::Task::kRemove, std::string(text.substr(kRemoveSwitch.size()))};
    }
    return {Request::Task::kAdd, std::string(text)};
}

}  // namespace app
