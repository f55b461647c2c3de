#pragma once
// What one enumeration of a menu folder found: its entries in menu order,
// each with its item, all items in one block, so that later questions about
// an item are answered from what was read.

#include "listing/DirectoryReader.h"
#include "framework/ItemList.h"

#include <cstdint>
#include <vector>

namespace shellext {

using Entry = listing::WideEntry;
using fw::Clone;
using fw::CloneFirst;
using fw::Combine;
using fw::FirstItemKey;
using fw::IsEmpty;
using fw::IsSingle;
using fw::Rest;
using fw::UniqueItemList;
using listing::Group;

class Contents {
public:
    explicit Contents(std::vector<Entry> entries);

    std::size_t Count() const { return m_entries.size(); }
    // The item of entry `index`, a list of one item.
    LPCITEMIDLIST Item(std::size_t index) const;

    // The entry whose item is the first item of `list`, if it is one of these.
    const Entry* Find(LPCITEMIDLIST list) const;

private:
    std::size_t SlotOf(LPCITEMIDLIST list) const;

    std::vector<Entry> m_entries;
    std::vector<std::uint64_t> m_items;   // each item and its terminator, at an 8-byte boundary
    std::vector<std::uint32_t> m_itemAt;  // entry i's item starts at m_items[m_itemAt[i]]
    // An open-addressed table of the items: each slot holds an index into
    // m_entries plus one, 0 when empty. Made once, no allocation per entry;
    // at most half full, so a probe ends soon at an empty slot.
    std::vector<std::uint32_t> m_slots;
};

}  // namespace shellext
