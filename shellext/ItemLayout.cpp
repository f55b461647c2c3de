#include "shellext/ItemLayout.h"

#include <cstring>
#include <string_view>

namespace shellext {
namespace {

constexpr char kSignature[4] = {'R', 'c', 'M', '1'};
constexpr std::size_t kSignatureAt = 2;
constexpr std::size_t kGroupAt = 6;
constexpr std::size_t kPadAt = 7;
constexpr std::size_t kAttributesAt = 8;
constexpr std::size_t kSizeAt = 12;
constexpr std::size_t kTimeAt = 20;
constexpr std::size_t kUnit = sizeof(char16_t);

template <class Value>
Value ReadAt(const unsigned char* item, std::size_t at) {
    Value value;
    std::memcpy(&value, item + at, sizeof(value));
    return value;
}

template <class Value>
void WriteAt(unsigned char* item, std::size_t at, Value value) {
    std::memcpy(item + at, &value, sizeof(value));
}

// The name's units, copied: in the item they need not lie aligned.
bool IsPlainNameAt(const unsigned char* name, std::size_t length) {
    char16_t units[kLongestItemName];
    std::memcpy(units, name, length * kUnit);
    return menubuilder::IsPlainName(std::u16string_view(units, length));
}

}  // namespace

std::size_t ItemSize(std::size_t nameLength) {
    return kItemNameAt + (nameLength + 1) * kUnit;
}

std::optional<ItemFields> ReadItem(const unsigned char* item, std::size_t size) {
    if (size < ItemSize(1) || size > ItemSize(kLongestItemName) || (size - kItemNameAt) % kUnit != 0 ||
        std::memcmp(item + kSignatureAt, kSignature, sizeof(kSignature)) != 0 ||
        item[kGroupAt] > static_cast<unsigned char>(listing::Group::kFile) || item[kPadAt] != 0) {
        return std::nullopt;
    }
    ItemFields fields;
    fields.nameLength = (size - kItemNameAt) / kUnit - 1;
    if (ReadAt<char16_t>(item, size - kUnit) != u'\0' || !IsPlainNameAt(item + kItemNameAt, fields.nameLength)) {
        return std::nullopt;
    }
    fields.group = static_cast<listing::Group>(item[kGroupAt]);
    fields.attributes = ReadAt<std::uint32_t>(item, kAttributesAt);
    fields.size = ReadAt<std::uint64_t>(item, kSizeAt);
    fields.lastWriteTime = ReadAt<std::uint64_t>(item, kTimeAt);
    return fields;
}

void WriteItem(const ItemFields& fields, const void* name, unsigned char* to) {
    const std::size_t size = ItemSize(fields.nameLength);
    WriteAt(to, 0, static_cast<std::uint16_t>(size));
    std::memcpy(to + kSignatureAt, kSignature, sizeof(kSignature));
    to[kGroupAt] = static_cast<unsigned char>(fields.group);
    to[kPadAt] = 0;
    WriteAt(to, kAttributesAt, fields.attributes);
    WriteAt(to, kSizeAt, fields.size);
    WriteAt(to, kTimeAt, fields.lastWriteTime);
    std::memcpy(to + kItemNameAt, name, fields.nameLength * kUnit);
    WriteAt(to, size - kUnit, u'\0');
}

}  // namespace shellext
