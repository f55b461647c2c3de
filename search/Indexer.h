#pragma once
// The search index of every directory that has a menu, built and kept
// current on a thread of its own at low priority. The directories are the
// menu root's drives and servers' shares, each with all its subfolders,
// read breadth first with listing's reader (a slow network directory is
// given up within the menus' wait and read again later) until the index
// holds `entryLimit` entries. Afterwards each local directory tree and the
// menu root are watched (ChangeWatch): a folder a watch names is read
// again; a change it cannot place, and a periodic pass for what cannot be
// watched, read again every folder whose change time moved and every folder
// that could not be read. The menu root's new directories are added, those
// whose menus went are dropped. Queries never wait for the thread: they
// search what is indexed.

#include "framework/UniqueHandle.h"
#include "listing/DirectoryReader.h"

#include <windows.h>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace search {

struct IndexerOptions {
    std::wstring menuRoot;  // with closing backslash
    // Protects against indexing a whole disk by accident (a menu of C:\):
    // no further folder is read once the index holds this many entries.
    std::size_t entryLimit = 0;
    // The periodic pass, which compares change times only. It finds what no
    // notification reports: network and removable directories, and changes
    // below a tree's top folder where a system reports only those in it
    // (Wine does).
    DWORD rereadMs = 30 * 1000;
    listing::ReadOptions read;  // tests put a slow reader in
    // Never in the way of a menu opening. Wine lowers such a thread's Unix
    // priority too, which a busy machine may starve for minutes.
    int threadPriority = THREAD_PRIORITY_LOWEST;
};

// One entry found, as the search window shows it.
struct FoundRow {
    std::wstring name;    // as the menu shows it
    std::wstring path;    // what opening it opens; a folder with closing backslash
    std::wstring folder;  // the directory it lies in, with closing backslash
    DWORD attributes = 0;
};

struct IndexProgress {
    std::size_t entries = 0;
    bool building = true;  // false once every folder within the limit was read
};

class Indexer {
public:
    explicit Indexer(IndexerOptions options);
    // Tells the thread to end; a thread inside a slow read ends after it.
    ~Indexer();
    Indexer(const Indexer&) = delete;
    Indexer& operator=(const Indexer&) = delete;

    bool Start();

    // Says that menus went or came (the tray removed one): the thread drops
    // and adds directories before it reads another folder, rather than when
    // the menu root's watch or the periodic pass finds out.
    void MenusChanged() const;

    IndexProgress Progress() const;
    // Changes whenever what is indexed did.
    long Generation() const;

    // The best `limit` entries whose names hold every word of `text`, in the
    // order search shows them, and how many there are in all.
    std::vector<FoundRow> Find(std::wstring_view text, std::size_t limit, std::size_t& total) const;

    // The entries' share of memory now: records, names and folders.
    std::size_t ArenaBytes() const;

    struct State;

private:
    std::shared_ptr<State> m_state;  // the thread holds it too, so it may outlive this object
    fw::UniqueThread m_thread;
};

}  // namespace search
