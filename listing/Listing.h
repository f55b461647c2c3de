#pragma once
// What a menu of a directory shows, free of Windows: the items lying in its
// menu folder, then the directory's subfolders, then its files, each group in
// the order of the names' sort keys. Names are opaque (any character type):
// wide on NT, ANSI on Windows 95, whatever a test chooses.

#include "menubuilder/MenuPath.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace listing {

// File attribute bits, with the values the platform reports.
inline constexpr std::uint32_t kAttributeHidden = 0x2;
inline constexpr std::uint32_t kAttributeSystem = 0x4;
inline constexpr std::uint32_t kAttributeDirectory = 0x10;

inline bool IsDirectoryAttribute(std::uint32_t attributes) {
    return (attributes & kAttributeDirectory) != 0;
}

// The groups a menu shows, in this order.
enum class Group { kItem, kFolder, kFile };

template <class Char>
struct Entry {
    std::basic_string<Char> name;  // as the file system spells it
    std::string sortKey;           // compared bytewise; equal keys fall back to the name's code units
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
    std::uint64_t lastWriteTime = 0;  // FILETIME: 100-ns ticks since 1601, UTC
    Group group = Group::kFile;       // set by Arrange
};

namespace detail {

using menubuilder::EqualsAsciiIgnoringCase;

template <class Char>
bool IsDotName(std::basic_string_view<Char> name) {
    return (name.size() == 1 || name.size() == 2) && name.find_first_not_of(static_cast<Char>('.')) == name.npos;
}

template <class Char>
bool IsShown(const Entry<Char>& entry) {
    return (entry.attributes & (kAttributeHidden | kAttributeSystem)) == 0 && !IsDotName<Char>(entry.name);
}

// A menu folder's subfolders are the menus of deeper levels, which the
// directory's own subfolders already show; its marker is never an item.
template <class Char>
bool IsMenuItem(const Entry<Char>& entry) {
    return IsShown(entry) && !IsDirectoryAttribute(entry.attributes) &&
           !EqualsAsciiIgnoringCase<Char>(entry.name, "desktop.ini");
}

// An entry's place in the sort, its key at hand: sorting these moves no
// strings, and most comparisons end at the first eight bytes of the keys,
// held in the slot, without reaching for the keys themselves.
template <class Char>
struct SortSlot {
    explicit SortSlot(Entry<Char>& sorted) : key(sorted.sortKey), entry(&sorted) {
        for (std::size_t i = 0; i < sizeof(head); ++i)
            head = head << 8 | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0U);
    }

    std::uint64_t head = 0;  // the key's first bytes, the first the highest, zeros past its end
    std::string_view key;
    Entry<Char>* entry;
};

// A total order: the sort keys as bytes (memcmp, then the shorter first),
// then the names' code units. Heads that differ order as their keys do:
// zeros stand past a key's end only where the other key has a zero or ends.
template <class Char>
bool SortsBefore(const SortSlot<Char>& a, const SortSlot<Char>& b) {
    if (a.head != b.head) return a.head < b.head;
    const int byKey = a.key.compare(b.key);
    return byKey != 0 ? byKey < 0 : a.entry->name < b.entry->name;
}

// Each entry is moved once, into its place.
template <class Char>
void AppendSorted(std::vector<SortSlot<Char>>& group, Group kind, std::vector<Entry<Char>>& arranged) {
    std::sort(group.begin(), group.end(), SortsBefore<Char>);
    for (const SortSlot<Char>& slot : group) {
        slot.entry->group = kind;
        arranged.push_back(std::move(*slot.entry));
    }
}

}  // namespace detail

// Where one entry lying in the menu folder (`inMenuFolder`) or in the
// directory stands in the menu; nothing when the menu leaves it out.
template <class Char>
std::optional<Group> GroupInMenu(const Entry<Char>& entry, bool inMenuFolder) {
    if (inMenuFolder) return detail::IsMenuItem(entry) ? std::optional<Group>(Group::kItem) : std::nullopt;
    if (!detail::IsShown(entry)) return std::nullopt;
    return IsDirectoryAttribute(entry.attributes) ? Group::kFolder : Group::kFile;
}

// A menu folder lying in another (or in the menu root): a subfolder, not
// hidden; the System attribute is its marker's and does not hide it.
template <class Char>
bool IsMenuFolder(const Entry<Char>& entry) {
    return IsDirectoryAttribute(entry.attributes) && (entry.attributes & kAttributeHidden) == 0 &&
           !detail::IsDotName<Char>(entry.name);
}

// What the menu root shows: its first-level menu folders (one per drive
// letter or server), as folders, in the order of their sort keys.
template <class Char>
std::vector<Entry<Char>> ArrangeMenuRoot(std::vector<Entry<Char>> menuRoot) {
    std::vector<detail::SortSlot<Char>> folders;
    for (Entry<Char>& entry : menuRoot) {
        if (IsMenuFolder(entry)) folders.emplace_back(entry);
    }
    std::vector<Entry<Char>> arranged;
    arranged.reserve(folders.size());
    detail::AppendSorted(folders, Group::kFolder, arranged);
    return arranged;
}

// Whether `directory` is a bare server ("\\srv" or "\\srv\"), which lists no
// directory of its own: its menu shows the shares that have menu folders.
template <class Char>
bool IsServerDirectory(std::basic_string_view<Char> directory) {
    if (!menubuilder::IsNetworkPath(directory)) return false;
    const std::size_t separator = directory.find(static_cast<Char>('\\'), 2);
    return directory.size() > 2 && separator != 2 && (separator == directory.npos || separator == directory.size() - 1);
}

// What the menu root shows for its menu folder `name`: the directory it
// stands for without the closing backslash ("C:" for C, "\\srv" for srv).
template <class Char>
std::basic_string<Char> MenuRootEntryText(std::basic_string_view<Char> name) {
    std::basic_string<Char> text = menubuilder::DirectoryOfMenuFolder<Char>(name);
    if (!text.empty()) text.pop_back();
    return text;
}

// What the menu shows, given everything the menu folder and the directory
// hold: the menu folder's files (never its subfolders or its desktop.ini),
// then the directory's subfolders, then its files; hidden and system entries,
// "." and ".." left out.
template <class Char>
std::vector<Entry<Char>> Arrange(std::vector<Entry<Char>> menuFolder, std::vector<Entry<Char>> directory) {
    std::vector<detail::SortSlot<Char>> items;
    std::vector<detail::SortSlot<Char>> folders;
    std::vector<detail::SortSlot<Char>> files;
    items.reserve(menuFolder.size());
    folders.reserve(directory.size());
    files.reserve(directory.size());
    for (Entry<Char>& entry : menuFolder) {
        if (GroupInMenu(entry, true)) items.emplace_back(entry);
    }
    for (Entry<Char>& entry : directory) {
        const std::optional<Group> group = GroupInMenu(entry, false);
        if (group) (*group == Group::kFolder ? folders : files).emplace_back(entry);
    }
    std::vector<Entry<Char>> arranged;
    arranged.reserve(items.size() + folders.size() + files.size());
    detail::AppendSorted(items, Group::kItem, arranged);
    detail::AppendSorted(folders, Group::kFolder, arranged);
    detail::AppendSorted(files, Group::kFile, arranged);
    return arranged;
}

// The name a menu item shows: its file name without the ".lnk" extension.
template <class Char>
std::basic_string_view<Char> ItemDisplayName(std::basic_string_view<Char> fileName) {
    constexpr std::size_t kExtensionLength = 4;
    if (fileName.size() > kExtensionLength &&
        detail::EqualsAsciiIgnoringCase(fileName.substr(fileName.size() - kExtensionLength), ".lnk")) {
        fileName.remove_suffix(kExtensionLength);
    }
    return fileName;
}

// The name an entry of `group` shows: items without ".lnk", the rest as named.
template <class Char>
std::basic_string_view<Char> DisplayName(std::basic_string_view<Char> name, Group group) {
    return group == Group::kItem ? ItemDisplayName(name) : name;
}

template <class Char>
std::basic_string_view<Char> DisplayName(const Entry<Char>& entry) {
    return DisplayName(std::basic_string_view<Char>(entry.name), entry.group);
}

}  // namespace listing
