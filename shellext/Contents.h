#pragma once
// What one enumeration of a menu folder found: its entries in menu order,
// each with the item ID the shell's own folder gives that file or folder, so
// that later questions about an item are answered from what was read.

#include "listing/DirectoryReader.h"
#include "shellext/ItemList.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace shellext {

using Entry = listing::WideEntry;
using listing::Group;

class Contents {
public:
    void Add(Entry entry, UniqueItemList item);

    std::size_t Count() const { return m_entries.size(); }
    LPCITEMIDLIST Item(std::size_t index) const { return m_items[index].get(); }

    // The entry whose item is the first item of `list`, if it is one of ours.
    const Entry* Find(LPCITEMIDLIST list) const;

private:
    std::vector<Entry> m_entries;
    std::vector<UniqueItemList> m_items;
    std::unordered_map<std::string, std::size_t> m_byItem;
};

}  // namespace shellext
