#pragma once
// The bytes of the item IDs the extension hands out, free of Windows so that
// the reader runs natively under a fuzzer: the item's size, a signature, its
// group, a pad byte, its attributes, size and last write time, then its name
// in UTF-16 and a terminating zero; every field at its natural offset, the
// name at an even one. An item ID may come from any program: the reader
// takes one only when every field is in range and its name is a plain one.

#include "listing/Listing.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace shellext {

// The longest name an item carries: MAX_PATH less its terminator.
inline constexpr std::size_t kLongestItemName = 259;
// Where the name starts, in bytes from the item's start.
inline constexpr std::size_t kItemNameAt = 28;

struct ItemFields {
    listing::Group group = listing::Group::kFile;
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
    std::uint64_t lastWriteTime = 0;
    std::size_t nameLength = 0;  // UTF-16 units at kItemNameAt, the terminator not counted
};

// Bytes of an item whose name has `nameLength` units, its terminator counted.
std::size_t ItemSize(std::size_t nameLength);

// The fields of the `size` bytes at `item` (the item's own size field, which
// the caller reads); nothing unless they are one of our items whose name,
// exactly filling the rest but for its terminator, passes IsPlainName.
std::optional<ItemFields> ReadItem(const unsigned char* item, std::size_t size);

// Writes the item of `fields` with the name's units at `name`
// (fields.nameLength of them) to `to`: ItemSize(fields.nameLength) bytes.
void WriteItem(const ItemFields& fields, const void* name, unsigned char* to);

}  // namespace shellext
