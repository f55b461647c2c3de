#include "launch/DocumentCommand.h"

namespace launch {
namespace {

constexpr std::string_view kPlaceholder = "%1";

size_t FindPlaceholder(std::string_view command, LeadByteTest isLeadByte) {
    size_t position = 0;
    while (position < command.size()) {
        if (command.substr(position, kPlaceholder.size()) == kPlaceholder) return position;
        position += fw::CharacterLength(command, position, isLeadByte);
    }
    return std::string_view::npos;
}

}  // namespace

std::string InsertDocument(std::string_view command, std::string_view document, LeadByteTest isLeadByte) {
    const size_t placeholder = FindPlaceholder(command, isLeadByte);
    std::string line;
    if (placeholder == std::string_view::npos) {
        line.append(command).append(" ").append(document);
    } else {
        line.append(command.substr(0, placeholder))
            .append(document)
            .append(command.substr(placeholder + kPlaceholder.size()));
    }
    return line;
}

}  // namespace launch
