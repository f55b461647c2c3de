#include "shellext/Contents.h"

namespace shellext {

Contents::Contents(std::size_t expected) {
    m_entries.reserve(expected);
    m_items.reserve(expected);
    m_byItem.reserve(expected);
}

void Contents::Add(Entry entry, UniqueItemList item) {
    m_items.push_back(std::move(item));
    m_entries.push_back(std::move(entry));
    m_byItem.emplace(FirstItemKey(m_items.back().get()), m_entries.size() - 1);
}

const Entry* Contents::Find(LPCITEMIDLIST list) const {
    const auto found = m_byItem.find(FirstItemKey(list));
    return found == m_byItem.end() ? nullptr : &m_entries[found->second];
}

}  // namespace shellext
