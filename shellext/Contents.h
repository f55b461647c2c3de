#pragma once
// What one enumeration of a menu folder found: its entries in menu order,
// each with the item ID the shell's own folder gives that file or folder, so
// that later questions about an item are answered from what was read.

#include "listing/DirectoryReader.h"
#include "shellext/ItemList.h"

#include <cstdint>
#include <vector>

namespace shellext {

using Entry = listing::WideEntry;
using listing::Group;

class Contents {
public:
    // `items[i]` is the item of `entries[i]`.
    Contents(std::vector<Entry> entries, std::vector<UniqueItemList> items);

    std::size_t Count() const { return m_entries.size(); }
    LPCITEMIDLIST Item(std::size_t index) const { return m_items[index].get(); }

    // The entry whose item is the first item of `list`, if it is one of ours.
    const Entry* Find(LPCITEMIDLIST list) const;

private:
    std::size_t SlotOf(LPCITEMIDLIST list) const;

    std::vector<Entry> m_entries;
    std::vector<UniqueItemList> m_items;
    // An open-addressed table of the items' first items: each slot holds an
    // index into m_items plus one, 0 when empty. Made once, no allocation per
    // entry; at most half full, so a probe ends soon at an empty slot.
    std::vector<std::uint32_t> m_slots;
};

}  // namespace shellext
