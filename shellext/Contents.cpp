#include "shellext/Contents.h"

#include "shellext/MenuItem.h"

#include <functional>
#include <string_view>

namespace shellext {
namespace {

constexpr std::size_t kWord = sizeof(std::uint64_t);

std::size_t WordsFor(const Entry& entry) {
    return (MenuItemSize(entry) + sizeof(USHORT) + kWord - 1) / kWord;
}

}  // namespace

Contents::Contents(std::vector<Entry> entries) : m_entries(std::move(entries)) {
    std::size_t words = 0;
    m_itemAt.reserve(m_entries.size());
    for (const Entry& entry : m_entries) {
        m_itemAt.push_back(static_cast<std::uint32_t>(words));
        words += WordsFor(entry);
    }
    m_items.assign(words, 0);  // the zeros after each item end its list
    for (std::size_t index = 0; index < m_entries.size(); ++index)
        WriteMenuItem(m_entries[index], &m_items[m_itemAt[index]]);

    std::size_t size = 16;
    while (size < 2 * m_entries.size()) size *= 2;
    m_slots.assign(size, 0);
    for (std::size_t index = 0; index < m_entries.size(); ++index) {
        std::uint32_t& slot = m_slots[SlotOf(Item(index))];
        if (slot == 0) slot = static_cast<std::uint32_t>(index + 1);
    }
}

LPCITEMIDLIST Contents::Item(std::size_t index) const {
    return reinterpret_cast<LPCITEMIDLIST>(&m_items[m_itemAt[index]]);
}

// The slot holding the item equal to the first item of `list`, else the empty
// slot where it would go.
std::size_t Contents::SlotOf(LPCITEMIDLIST list) const {
    const std::string_view key = FirstItemKey(list);
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = std::hash<std::string_view>()(key) & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t held = m_slots[slot];
        if (held == 0 || FirstItemKey(Item(held - 1)) == key) return slot;
    }
}

const Entry* Contents::Find(LPCITEMIDLIST list) const {
    const std::uint32_t held = m_slots[SlotOf(list)];
    return held == 0 ? nullptr : &m_entries[held - 1];
}

}  // namespace shellext
