#include "shellext/MenuItem.h"

#include "shellext/ItemLayout.h"

#include <algorithm>
#include <cstring>

namespace shellext {
namespace {

ItemFields FieldsOf(const Entry& entry) {
    ItemFields fields;
    fields.group = entry.group;
    fields.attributes = entry.attributes;
    fields.size = entry.size;
    fields.lastWriteTime = entry.lastWriteTime;
    fields.nameLength = std::min(entry.name.size(), kLongestItemName);
    return fields;
}

}  // namespace

std::optional<MenuItem> MenuItem::Read(LPCITEMIDLIST list) {
    if (!list) return std::nullopt;
    const auto* item = reinterpret_cast<const unsigned char*>(list);
    const std::optional<ItemFields> fields = ReadItem(item, list->mkid.cb);
    if (!fields) return std::nullopt;
    MenuItem read;
    read.group = fields->group;
    read.attributes = fields->attributes;
    read.size = fields->size;
    read.lastWriteTime = fields->lastWriteTime;
    const unsigned char* name = item + kItemNameAt;
    read.m_length = fields->nameLength;
    if (reinterpret_cast<std::uintptr_t>(name) % alignof(wchar_t) == 0) {
        read.m_inPlace = reinterpret_cast<const wchar_t*>(name);
    } else {
        read.m_copy.resize(read.m_length);
        std::memcpy(&read.m_copy[0], name, read.m_length * sizeof(wchar_t));
    }
    return read;
}

MenuItem MenuItem::Of(const Entry& entry) {
    MenuItem facts;
    facts.group = entry.group;
    facts.attributes = entry.attributes;
    facts.size = entry.size;
    facts.lastWriteTime = entry.lastWriteTime;
    facts.m_copy = entry.name;
    return facts;
}

std::size_t MenuItemSize(const Entry& entry) {
    return ItemSize(FieldsOf(entry).nameLength);
}

void WriteMenuItem(const Entry& entry, void* to) {
    WriteItem(FieldsOf(entry), entry.name.data(), static_cast<unsigned char*>(to));
}

UniqueItemList MakeMenuItem(const Entry& entry) {
    const std::size_t size = MenuItemSize(entry);
    auto* list = static_cast<unsigned char*>(::CoTaskMemAlloc(size + sizeof(USHORT)));
    if (!list) return UniqueItemList();
    WriteMenuItem(entry, list);
    std::memset(list + size, 0, sizeof(USHORT));
    return UniqueItemList(reinterpret_cast<LPITEMIDLIST>(list));
}

}  // namespace shellext
