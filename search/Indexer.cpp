#include "search/Indexer.h"

#include "framework/CriticalSection.h"
#include "framework/RuntimeLink.h"
#include "framework/WideText.h"
#include "menubuilder/MenuPath.h"
#include "search/ChangeWatch.h"
#include "search/Query.h"
#include "search/SearchIndex.h"

#include <algorithm>
#include <deque>
#include <optional>
#include <utility>

namespace search {
namespace {

using WideIndex = SearchIndex<wchar_t>;

// Changes come in bursts (a program unpacking files): one pass after them.
constexpr DWORD kSettleMs = 200;
// WaitForMultipleObjects watches this many handles, the stop event among them.
constexpr std::size_t kMostWatches = MAXIMUM_WAIT_OBJECTS - 1;

// The case folding of every UTF-16 code unit, in the locale whose sort keys
// order the menus (they ignore case the same way).
std::vector<wchar_t> FoldTable() {
    std::vector<wchar_t> table(0x10000);
    for (std::size_t c = 0; c < table.size(); ++c) table[c] = static_cast<wchar_t>(c);
    std::vector<wchar_t> upper(table.size());
    if (fw::IsNt() &&
        ::LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, table.data() + 1, static_cast<int>(table.size() - 1),
                       upper.data() + 1, static_cast<int>(upper.size() - 1)) == static_cast<int>(table.size() - 1)) {
        upper[0] = 0;
        return upper;
    }
    // Windows 95: the ANSI code page's letters, which are all its names hold.
    for (int byte = 1; byte < 0x100; ++byte) {
        char letter[2] = {static_cast<char>(byte), '\0'};
        const std::wstring wide = fw::Widen(letter);
        ::CharUpperBuffA(letter, 1);
        const std::wstring folded = fw::Widen(letter);
        if (wide.size() == 1 && folded.size() == 1) table[static_cast<std::uint16_t>(wide[0])] = folded[0];
    }
    return table;
}

bool IsWatchable(const std::wstring& directory) {
    const UINT type = listing::DriveTypeOf(directory);
    return type == DRIVE_FIXED || type == DRIVE_RAMDISK;
}

// The change time of the folder at `path` (with closing backslash); nothing
// for a drive or share root, which has none, or a folder gone.
std::optional<std::uint64_t> ChangeTimeOf(const std::wstring& path) {
    const size_t end = path.size() - 1;
    const size_t separator = end > 0 ? path.rfind(L'\\', end - 1) : std::wstring::npos;
    if (separator == std::wstring::npos) return std::nullopt;
    const std::optional<listing::WideEntry> entry =
        listing::EntryLookup().Read(path.substr(0, separator + 1), path.substr(separator + 1, end - separator - 1));
    if (!entry) return std::nullopt;
    return entry->lastWriteTime;
}

}  // namespace

struct Indexer::State {
    explicit State(IndexerOptions indexerOptions)
        : options(std::move(indexerOptions)),
          stop(::CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          menusChanged(::CreateEventA(nullptr, FALSE, FALSE, nullptr)),
          fold(FoldTable()) {}

    const IndexerOptions options;
    const fw::UniqueEvent stop;
    const fw::UniqueEvent menusChanged;  // resets itself when the thread sees it
    const std::vector<wchar_t> fold;

    // Written by the thread only, under the lock; read by queries under it.
    mutable fw::CriticalSection lock;
    WideIndex index;
    Search<wchar_t> search;  // narrows as the user types on
    volatile LONG generation = 0;
    volatile LONG building = 1;
    volatile LONG entries = 0;
};

namespace {

// The thread's own work on the shared state. Only the thread changes the
// index, so it reads it without the lock.
class IndexWork {
public:
    explicit IndexWork(Indexer::State& state) : m_state(state) {}

    // Until stopped: reads, waits for changes, reads again what changed.
    // Each tree is watched from before its first reading on: what changes
    // meanwhile is seen next time.
    void Run() {
        m_menuWatch = ChangeWatch::Open(m_state.options.menuRoot);
        for (;;) {
            UpdateRoots();
            if (m_comparePass) QueueChanged();
            m_comparePass = false;
            if (!ReadPending()) return;
            ::InterlockedExchange(&m_state.building, 0);
            if (!WaitForChange()) return;
        }
    }

private:
    struct Root {
        std::wstring directory;
        std::uint32_t folder;
        std::unique_ptr<ChangeWatch> watch;  // none: the periodic pass looks
    };

    bool Stopped(DWORD waitMs = 0) const { return ::WaitForSingleObject(m_state.stop.get(), waitMs) == WAIT_OBJECT_0; }

    bool MenusChanged() const { return ::WaitForSingleObject(m_state.menusChanged.get(), 0) == WAIT_OBJECT_0; }

    // False when told to stop.
    bool WaitForChange() {
        std::vector<HANDLE> handles = {m_state.stop.get(), m_state.menusChanged.get()};
        if (m_menuWatch) handles.push_back(m_menuWatch->Event());
        for (const Root& root : m_roots) {
            if (root.watch) handles.push_back(root.watch->Event());
        }
        const DWORD woke = ::WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE,
                                                    m_state.options.rereadMs);
        if (woke == WAIT_OBJECT_0) return false;
        if (woke == WAIT_OBJECT_0 + 1) return true;  // the roots are updated first
        if (woke == WAIT_TIMEOUT || woke == WAIT_FAILED) {
            m_comparePass = true;
            return !Stopped();
        }
        if (Stopped(kSettleMs)) return false;
        TakeChanges();
        return true;
    }

    static bool IsSignalled(const std::unique_ptr<ChangeWatch>& watch) {
        return watch && ::WaitForSingleObject(watch->Event(), 0) == WAIT_OBJECT_0;
    }

    // Queues the folders the watches name; a watch that cannot say where
    // (and the menu root's, whose changes reach every menu) asks for a pass
    // over every folder.
    void TakeChanges() {
        if (IsSignalled(m_menuWatch)) {
            m_menuWatch->TakeChanges();
            m_comparePass = true;
        }
        for (Root& root : m_roots) {
            if (!IsSignalled(root.watch)) continue;
            const std::optional<std::vector<std::wstring>> folders = root.watch->TakeChanges();
            if (!folders) {
                m_comparePass = true;
                continue;
            }
            for (const std::wstring& relative : *folders) {
                const std::uint32_t folder = m_state.index.FolderAt(root.folder, relative);
                if (folder != kNone && m_state.index.IsLive(folder)) m_pending.push_back(folder);
            }
        }
    }

    // Indexes the menu root's drives and servers' shares that are new, and
    // forgets those whose menus are gone.
    void UpdateRoots() {
        const std::vector<std::pair<std::wstring, std::wstring>> menus = MenuDirectories();
        for (auto root = m_roots.begin(); root != m_roots.end();) {
            const bool stays = std::any_of(menus.begin(), menus.end(),
                                           [&](const auto& menu) { return menu.first == root->directory; });
            if (stays) {
                ++root;
                continue;
            }
            {
                const fw::CriticalSectionLock hold(m_state.lock);
                m_state.index.DropRoot(root->folder);
                m_state.entries = static_cast<LONG>(m_state.index.EntryCount());
            }
            ::InterlockedIncrement(&m_state.generation);
            root = m_roots.erase(root);
        }
        for (const auto& [directory, menuFolder] : menus) AddRoot(directory, menuFolder);
    }

    // Every directory with a menu and its menu folder, as the menu root holds them.
    std::vector<std::pair<std::wstring, std::wstring>> MenuDirectories() const {
        const std::wstring& menuRoot = m_state.options.menuRoot;
        std::vector<std::pair<std::wstring, std::wstring>> menus;
        for (const listing::WideEntry& first : listing::ReadMenuFolders(menuRoot)) {
            const std::wstring directory = menubuilder::DirectoryOfMenuFolder(std::wstring_view(first.name));
            const std::wstring menuFolder = menuRoot + first.name + L'\\';
            if (!listing::IsServerDirectory<wchar_t>(directory)) {
                menus.emplace_back(directory, menuFolder);
                continue;
            }
            for (const listing::WideEntry& share : listing::ReadMenuFolders(menuFolder)) {
                menus.emplace_back(directory + share.name + L'\\', menuFolder + share.name + L'\\');
            }
        }
        return menus;
    }

    void AddRoot(const std::wstring& directory, const std::wstring& menuFolder) {
        const bool known =
            std::any_of(m_roots.begin(), m_roots.end(), [&](const Root& root) { return root.directory == directory; });
        if (known) return;
        // The rest have the periodic pass.
        const bool watched = IsWatchable(directory) && WatchCount() < kMostWatches;
        Root root{directory, kNone, watched ? ChangeWatch::Open(directory) : nullptr};
        {
            const fw::CriticalSectionLock hold(m_state.lock);
            root.folder = m_state.index.AddRoot(directory, menuFolder);
        }
        m_pending.push_back(root.folder);
        m_roots.push_back(std::move(root));
    }

    std::size_t WatchCount() const {
        return (m_menuWatch ? 1 : 0) +
               static_cast<std::size_t>(std::count_if(m_roots.begin(), m_roots.end(),
                                                      [](const Root& root) { return root.watch != nullptr; }));
    }

    // What a pass reads again: every folder whose change time (or its menu
    // folder's) moved, every root (which has none), and what failed before.
    void QueueChanged() {
        const WideIndex& index = m_state.index;
        m_read.resize(index.FolderCount(), false);
        for (std::uint32_t folder = 0; folder < index.FolderCount(); ++folder) {
            if (Stopped()) return;
            if (!index.IsLive(folder) || !m_read[folder]) continue;
            const std::uint64_t stamp = StampOf(folder);
            if (stamp == 0 || stamp != index.Stamp(folder)) m_pending.push_back(folder);
        }
        m_pending.insert(m_pending.end(), m_unreadable.begin(), m_unreadable.end());
        m_unreadable.clear();
    }

    // 0 when unknown: such a folder is read on every pass.
    std::uint64_t StampOf(std::uint32_t folder) const {
        const std::optional<std::uint64_t> directory = ChangeTimeOf(m_state.index.Directory(folder));
        if (!directory) return 0;
        return *directory * 3 + ChangeTimeOf(m_state.index.MenuFolder(folder)).value_or(0);
    }

    // Breadth first, so that the limit leaves out the deepest folders; what
    // the limit leaves waits for a pass when there is room. False when stopped.
    bool ReadPending() {
        while (!m_pending.empty()) {
            if (Stopped()) return false;
            if (MenusChanged()) UpdateRoots();
            if (m_state.index.EntryCount() >= m_state.options.entryLimit) return true;
            const std::uint32_t folder = m_pending.front();
            m_pending.pop_front();
            if (m_state.index.IsLive(folder)) Read(folder);
        }
        return true;
    }

    void Read(std::uint32_t folder) {
        WideIndex& index = m_state.index;
        const std::wstring directory = index.Directory(folder);
        const std::wstring menuFolder = index.MenuFolder(folder);
        const std::uint64_t stamp = StampOf(folder);
        listing::Listing listing = listing::ReadListing(menuFolder, directory, m_state.options.read);
        if (listing.state == listing::State::kNotAvailable) {
            m_unreadable.push_back(folder);
            return;
        }
        std::vector<std::uint32_t> added;
        {
            const fw::CriticalSectionLock hold(m_state.lock);
            added = index.Replace(folder, listing.entries, stamp);
            m_state.entries = static_cast<LONG>(index.EntryCount());
        }
        ::InterlockedIncrement(&m_state.generation);
        m_read.resize(index.FolderCount(), false);
        m_read[folder] = true;
        m_pending.insert(m_pending.end(), added.begin(), added.end());
    }

    Indexer::State& m_state;
    std::unique_ptr<ChangeWatch> m_menuWatch;
    std::vector<Root> m_roots;
    bool m_comparePass = true;  // every folder's change time to be compared
    std::deque<std::uint32_t> m_pending;
    std::vector<std::uint32_t> m_unreadable;
    std::vector<bool> m_read;  // by folder: read at least once
};

DWORD WINAPI IndexOnThread(void* parameter) {
    const std::unique_ptr<std::shared_ptr<Indexer::State>> state(
        static_cast<std::shared_ptr<Indexer::State>*>(parameter));
    ::SetThreadPriority(::GetCurrentThread(), (*state)->options.threadPriority);
    IndexWork(**state).Run();
    return 0;
}

}  // namespace

Indexer::Indexer(IndexerOptions options) : m_state(std::make_shared<State>(std::move(options))) {}

Indexer::~Indexer() {
    ::SetEvent(m_state->stop.get());
    // A thread inside a slow read keeps the state alive until it ends.
    if (m_thread) ::WaitForSingleObject(m_thread.get(), 2000);
}

bool Indexer::Start() {
    if (m_thread || !m_state->stop) return false;
    auto handedOver = std::make_unique<std::shared_ptr<State>>(m_state);
    DWORD threadId = 0;
    m_thread.reset(::CreateThread(nullptr, 0, IndexOnThread, handedOver.get(), 0, &threadId));
    if (!m_thread) return false;
    static_cast<void>(handedOver.release());  // the thread's now
    return true;
}

IndexProgress Indexer::Progress() const {
    return {static_cast<std::size_t>(m_state->entries), m_state->building != 0};
}

void Indexer::MenusChanged() const {
    ::SetEvent(m_state->menusChanged.get());
}

long Indexer::Generation() const {
    return m_state->generation;
}

std::vector<FoundRow> Indexer::Find(std::wstring_view text, std::size_t limit, std::size_t& total) const {
    State& state = *m_state;  // its search remembers what was typed
    const auto fold = [&](wchar_t c) { return state.fold[static_cast<std::uint16_t>(c)]; };
    const fw::CriticalSectionLock hold(state.lock);
    const Found found = state.search.Find(state.index, text, fold, limit);
    total = found.total;
    std::vector<FoundRow> rows;
    rows.reserve(found.entries.size());
    for (const std::uint32_t index : found.entries) {
        const IndexEntry& entry = state.index.EntryAt(index);
        rows.push_back({std::wstring(state.index.DisplayNameOf(entry)), state.index.PathOf(entry),
                        state.index.Directory(entry.folder), entry.attributes});
    }
    return rows;
}

std::size_t Indexer::ArenaBytes() const {
    const fw::CriticalSectionLock hold(m_state->lock);
    return m_state->index.ArenaBytes();
}

}  // namespace search
