#include "shellext/Contents.h"

namespace shellext {

void Contents::Add(Entry entry, UniqueItemList item) {
    m_byItem.emplace(FirstItemKey(item.get()), m_entries.size());
    m_entries.push_back(std::move(entry));
    m_items.push_back(std::move(item));
}

const Entry* Contents::Find(LPCITEMIDLIST list) const {
    const auto found = m_byItem.find(FirstItemKey(list));
    return found == m_byItem.end() ? nullptr : &m_entries[found->second];
}

}  // namespace shellext
