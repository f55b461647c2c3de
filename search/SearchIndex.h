#pragma once
// Every entry below the directories that have menus, as the menus show them
// (listing's rules: items, subfolders, files, hidden and system left out),
// free of Windows. Each folder's entries lie together in menu order in one
// array of fixed-size records, their names in one arena of characters:
// 16 bytes per entry plus its name's code units, no heap node per entry. A
// folder read again gets a fresh block; blocks left behind are reclaimed
// once they outweigh the live ones.

#include "listing/Listing.h"
#include "menubuilder/MenuPath.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace search {

inline constexpr std::uint32_t kNone = 0xFFFFFFFF;

// One entry; `folder` is the folder it lies in, `depth` its folder's depth
// plus one (a root's own entries are at depth 1).
struct IndexEntry {
    std::uint32_t nameOffset;
    std::uint16_t nameLength;
    std::uint8_t group;  // listing::Group
    std::uint8_t depth;
    std::uint32_t folder;
    std::uint32_t attributes;
};
static_assert(sizeof(IndexEntry) == 16, "an entry's record stays 16 bytes");

// A folder whose entries are indexed or wait to be: a root (a directory with
// a menu) or a subfolder entry of an indexed folder.
struct IndexFolder {
    std::uint32_t parent = kNone;       // kNone for a root
    std::uint32_t entry = kNone;        // its own entry in the parent's block; a root's place among the roots
    std::uint32_t firstChild = kNone;   // its subfolders indexed as folders, linked
    std::uint32_t nextSibling = kNone;  // through their next sibling
    std::uint32_t first = 0;            // its block
    std::uint32_t count = 0;
    std::uint64_t stamp = 0;  // what its last reading saw of the folder's change time
    std::uint8_t depth = 0;
    bool live = true;  // false once its entry went away
};

template <class Char>
class SearchIndex {
public:
    using Text = std::basic_string<Char>;
    using View = std::basic_string_view<Char>;

    // A directory with a menu and its menu folder, both with closing
    // separator; roots added first come first in the menus' order.
    std::uint32_t AddRoot(Text directory, Text menuFolder) {
        IndexFolder root;
        root.entry = static_cast<std::uint32_t>(m_roots.size());
        m_roots.push_back({std::move(directory), std::move(menuFolder)});
        m_folders.push_back(root);
        ++m_version;
        return static_cast<std::uint32_t>(m_folders.size() - 1);
    }
    std::size_t RootCount() const { return m_roots.size(); }

    // Puts `arranged` (as listing::Arrange gives it) in place of what
    // `folder` held. Subfolders that stay keep their own entries; those gone
    // go with theirs. Returns the folders that are new, to be read.
    std::vector<std::uint32_t> Replace(std::uint32_t folder, const std::vector<listing::Entry<Char>>& arranged,
                                       std::uint64_t stamp) {
        ++m_version;
        std::vector<std::uint32_t> kept = ChildFolders(folder);
        const auto first = static_cast<std::uint32_t>(m_entries.size());
        m_garbage += m_folders[folder].count;
        m_folders[folder].first = first;
        m_folders[folder].count = static_cast<std::uint32_t>(arranged.size());
        m_folders[folder].stamp = stamp;
        const auto depth = static_cast<std::uint8_t>(std::min<int>(m_folders[folder].depth + 1, 255));
        for (const listing::Entry<Char>& entry : arranged) {
            const auto length = static_cast<std::uint16_t>(std::min<std::size_t>(entry.name.size(), 0xFFFF));
            m_entries.push_back({static_cast<std::uint32_t>(m_names.size()), length,
                                 static_cast<std::uint8_t>(entry.group), depth, folder, entry.attributes});
            m_names.insert(m_names.end(), entry.name.begin(), entry.name.begin() + length);
        }
        std::vector<std::uint32_t> added = Reattach(folder, kept);
        if (m_garbage > m_entries.size() / 2) Compact();
        return added;
    }

    // A root whose directory has no menu any more goes with everything below it.
    void DropRoot(std::uint32_t root) {
        ++m_version;
        Drop(root);
    }

    // The folder at `relative` (names each with closing separator, "" for
    // the root itself) below `root`, compared without regard to ASCII case
    // as the file system compares; kNone when it is not indexed as a folder.
    std::uint32_t FolderAt(std::uint32_t root, View relative) const {
        std::uint32_t folder = root;
        while (!relative.empty() && folder != kNone) {
            const std::size_t end = std::min(relative.find(kSeparator), relative.size());
            const View name = relative.substr(0, end);
            relative.remove_prefix(std::min(end + 1, relative.size()));
            std::uint32_t child = m_folders[folder].firstChild;
            while (child != kNone &&
                   !menubuilder::EqualIgnoringAsciiCase(NameOf(m_entries[m_folders[child].entry]), name)) {
                child = m_folders[child].nextSibling;
            }
            folder = child;
        }
        return folder;
    }

    // The stamp of the folder's last reading; its directory and menu folder.
    std::uint64_t Stamp(std::uint32_t folder) const { return m_folders[folder].stamp; }
    bool IsLive(std::uint32_t folder) const { return m_folders[folder].live; }
    std::size_t FolderCount() const { return m_folders.size(); }
    Text Directory(std::uint32_t folder) const { return Located(folder, &Root::directory); }
    Text MenuFolder(std::uint32_t folder) const { return Located(folder, &Root::menuFolder); }
    std::uint32_t Depth(std::uint32_t folder) const { return m_folders[folder].depth; }

    std::size_t EntryCount() const { return m_entries.size() - m_garbage; }
    std::size_t ArenaBytes() const {
        return m_entries.capacity() * sizeof(IndexEntry) + m_names.capacity() * sizeof(Char) +
               m_folders.capacity() * sizeof(IndexFolder);
    }

    // Calls `visit(index)` for every live entry, folder by folder.
    template <class Visit>
    void ForEachEntry(Visit visit) const {
        for (const IndexFolder& folder : m_folders) {
            if (!folder.live) continue;
            for (std::uint32_t i = folder.first; i < folder.first + folder.count; ++i) visit(i);
        }
    }

    const IndexEntry& EntryAt(std::uint32_t index) const { return m_entries[index]; }
    View NameOf(const IndexEntry& entry) const { return View(m_names.data() + entry.nameOffset, entry.nameLength); }
    View DisplayNameOf(const IndexEntry& entry) const {
        return listing::DisplayName(NameOf(entry), static_cast<listing::Group>(entry.group));
    }

    // The full path of an entry: an item in its menu folder, the rest in its
    // directory; a folder with closing separator.
    Text PathOf(const IndexEntry& entry) const {
        const auto group = static_cast<listing::Group>(entry.group);
        Text path = group == listing::Group::kItem ? MenuFolder(entry.folder) : Directory(entry.folder);
        path += NameOf(entry);
        if (group == listing::Group::kFolder) path += kSeparator;
        return path;
    }

    // Changes with every change of what the index holds.
    std::uint64_t Version() const { return m_version; }

    // Each folder's place in the menus among the folders of its depth, by
    // folder: roots in the order they were added, then level by level each
    // folder's subfolders in its block's order. Entries of equal depth then
    // stand in the menus' order by their folder's place, then their own.
    std::vector<std::uint32_t> MenuOrderRanks() const {
        std::vector<std::uint32_t> order;
        order.reserve(m_folders.size());
        for (std::uint32_t folder = 0; folder < m_folders.size(); ++folder) {
            if (m_folders[folder].parent == kNone) order.push_back(folder);
        }
        std::sort(order.begin(), order.end(),
                  [&](std::uint32_t a, std::uint32_t b) { return m_folders[a].entry < m_folders[b].entry; });
        for (std::size_t next = 0; next < order.size(); ++next) {
            for (std::uint32_t child = m_folders[order[next]].firstChild; child != kNone;
                 child = m_folders[child].nextSibling) {
                order.push_back(child);
            }
        }
        std::vector<std::uint32_t> ranks(m_folders.size(), kNone);
        for (std::size_t rank = 0; rank < order.size(); ++rank) ranks[order[rank]] = static_cast<std::uint32_t>(rank);
        return ranks;
    }

private:
    static constexpr Char kSeparator = static_cast<Char>('\\');

    struct Root {
        Text directory;
        Text menuFolder;
    };

    std::vector<std::uint32_t> ChildFolders(std::uint32_t folder) const {
        std::vector<std::uint32_t> children;
        for (std::uint32_t child = m_folders[folder].firstChild; child != kNone; child = m_folders[child].nextSibling) {
            children.push_back(child);
        }
        return children;
    }

    // Points the subfolders that stay at their new entries, drops the rest
    // with everything below them, and adds folders for the new ones.
    std::vector<std::uint32_t> Reattach(std::uint32_t folder, const std::vector<std::uint32_t>& kept) {
        std::vector<std::uint32_t> added;
        std::vector<std::uint32_t> children;
        std::vector<bool> stays(kept.size(), false);
        const IndexFolder block = m_folders[folder];
        for (std::uint32_t i = block.first; i < block.first + block.count; ++i) {
            if (m_entries[i].group != static_cast<std::uint8_t>(listing::Group::kFolder)) continue;
            const View name = NameOf(m_entries[i]);
            const auto same = std::find_if(kept.begin(), kept.end(), [&](std::uint32_t child) {
                return NameOf(m_entries[m_folders[child].entry]) == name;
            });
            if (same != kept.end()) {
                stays[static_cast<std::size_t>(same - kept.begin())] = true;
                m_folders[*same].entry = i;
                children.push_back(*same);
                continue;
            }
            IndexFolder child;
            child.parent = folder;
            child.entry = i;
            child.depth = m_entries[i].depth;
            m_folders.push_back(child);
            added.push_back(static_cast<std::uint32_t>(m_folders.size() - 1));
            children.push_back(added.back());
        }
        for (std::size_t i = 0; i < kept.size(); ++i) {
            if (!stays[i]) Drop(kept[i]);
        }
        Link(folder, children);
        return added;
    }

    void Link(std::uint32_t folder, const std::vector<std::uint32_t>& children) {
        std::uint32_t next = kNone;
        for (auto child = children.rbegin(); child != children.rend(); ++child) {
            m_folders[*child].nextSibling = next;
            next = *child;
        }
        m_folders[folder].firstChild = next;
    }

    void Drop(std::uint32_t folder) {
        for (const std::uint32_t child : ChildFolders(folder)) Drop(child);
        m_garbage += m_folders[folder].count;
        m_folders[folder].count = 0;
        m_folders[folder].live = false;
        m_folders[folder].firstChild = kNone;
    }

    // A folder's path below its root, joined to the root's `part`.
    Text Located(std::uint32_t folder, Text Root::*part) const {
        std::vector<View> names;
        for (; m_folders[folder].parent != kNone; folder = m_folders[folder].parent) {
            names.push_back(NameOf(m_entries[m_folders[folder].entry]));
        }
        Text path = m_roots[m_folders[folder].entry].*part;
        for (auto name = names.rbegin(); name != names.rend(); ++name) {
            path += *name;
            path += kSeparator;
        }
        return path;
    }

    // Copies the live blocks into fresh arrays, in folder order.
    void Compact() {
        std::vector<IndexEntry> entries;
        std::vector<Char> names;
        entries.reserve(EntryCount());
        std::vector<std::uint32_t> oldFirst(m_folders.size());
        for (std::size_t f = 0; f < m_folders.size(); ++f) {
            IndexFolder& folder = m_folders[f];
            oldFirst[f] = folder.first;
            const auto first = static_cast<std::uint32_t>(entries.size());
            for (std::uint32_t i = folder.first; i < folder.first + folder.count; ++i) {
                IndexEntry entry = m_entries[i];
                const View name = NameOf(entry);
                entry.nameOffset = static_cast<std::uint32_t>(names.size());
                names.insert(names.end(), name.begin(), name.end());
                entries.push_back(entry);
            }
            folder.first = first;
        }
        for (IndexFolder& folder : m_folders) {
            if (folder.live && folder.parent != kNone) {
                folder.entry = folder.entry - oldFirst[folder.parent] + m_folders[folder.parent].first;
            }
        }
        m_entries = std::move(entries);
        m_names = std::move(names);
        m_garbage = 0;
    }

    std::vector<Root> m_roots;  // the first folders, in the same order
    std::vector<IndexFolder> m_folders;
    std::vector<IndexEntry> m_entries;
    std::vector<Char> m_names;
    std::size_t m_garbage = 0;  // entries of blocks left behind
    std::uint64_t m_version = 0;
};

}  // namespace search
