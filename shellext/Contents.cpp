#include "shellext/Contents.h"

#include <functional>
#include <string_view>

namespace shellext {

Contents::Contents(std::vector<Entry> entries, std::vector<UniqueItemList> items)
    : m_entries(std::move(entries)), m_items(std::move(items)) {
    std::size_t size = 16;
    while (size < 2 * m_items.size()) size *= 2;
    m_slots.assign(size, 0);
    for (std::size_t index = 0; index < m_items.size(); ++index) {
        std::uint32_t& slot = m_slots[SlotOf(m_items[index].get())];
        if (slot == 0) slot = static_cast<std::uint32_t>(index + 1);
    }
}

// The slot holding the item equal to the first item of `list`, else the empty
// slot where it would go.
std::size_t Contents::SlotOf(LPCITEMIDLIST list) const {
    const std::string_view key = FirstItemKey(list);
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = std::hash<std::string_view>()(key) & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t held = m_slots[slot];
        if (held == 0 || FirstItemKey(m_items[held - 1].get()) == key) return slot;
    }
}

const Entry* Contents::Find(LPCITEMIDLIST list) const {
    const std::uint32_t held = m_slots[SlotOf(list)];
    return held == 0 ? nullptr : &m_entries[held - 1];
}

}  // namespace shellext
