#pragma once
// The item IDs this extension hands out for its entries: its own, each
// carrying the facts its entry was read with (where it lies, attributes,
// size, time and name), so that names, attributes and binding are answered
// from the item alone. Where the shell's own folder acts on an entry (icons,
// context menus, data objects, opening a file), it gets that folder's item,
// made from these facts.

#include "shellext/Contents.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace shellext {

class MenuItem {
public:
    // The facts of the first item of `list`, when it is one of ours.
    static std::optional<MenuItem> Read(LPCITEMIDLIST list);
    // The facts the item of `entry` carries.
    static MenuItem Of(const Entry& entry);

    Group group = Group::kFile;
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
    std::uint64_t lastWriteTime = 0;

    std::wstring_view Name() const { return m_inPlace ? std::wstring_view(m_inPlace, m_length) : m_copy; }

private:
    const wchar_t* m_inPlace = nullptr;  // in the item, when it lies aligned there
    std::size_t m_length = 0;
    std::wstring m_copy;  // else a copy
};

// Bytes of the item of `entry`, its terminator not counted.
std::size_t MenuItemSize(const Entry& entry);
// Writes the item of `entry` at `to`, MenuItemSize(entry) bytes.
void WriteMenuItem(const Entry& entry, void* to);
UniqueItemList MakeMenuItem(const Entry& entry);

}  // namespace shellext
