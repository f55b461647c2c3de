#pragma once
// What one enumeration of a menu folder found: its entries in menu order,
// each with the item ID the shell's own folder gives that file or folder, so
// that later questions about an item are answered from what was read.

#include "listing/DirectoryReader.h"
#include "shellext/ItemList.h"

#include <string_view>
#include <unordered_map>
#include <vector>

namespace shellext {

using Entry = listing::WideEntry;
using listing::Group;

class Contents {
public:
    explicit Contents(std::size_t expected);
    void Add(Entry entry, UniqueItemList item);

    std::size_t Count() const { return m_entries.size(); }
    LPCITEMIDLIST Item(std::size_t index) const { return m_items[index].get(); }

    // The entry whose item is the first item of `list`, if it is one of ours.
    const Entry* Find(LPCITEMIDLIST list) const;

private:
    std::vector<Entry> m_entries;
    std::vector<UniqueItemList> m_items;
    // Keys are views of the items in m_items, which never move.
    std::unordered_map<std::string_view, std::size_t> m_byItem;
};

}  // namespace shellext
