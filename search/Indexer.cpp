#include "search/Indexer.h"

#include "framework/CriticalSection.h"
#include "framework/RuntimeLink.h"
#include "framework/WideText.h"
#include "menubuilder/MenuPath.h"
#include "search/Query.h"
#include "search/SearchIndex.h"

#include <algorithm>
#include <deque>
#include <optional>
#include <utility>

namespace search {
namespace {

using WideIndex = SearchIndex<wchar_t>;

// What moves a directory's change time or a menu's listing.
constexpr DWORD kWatchedChanges =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_ATTRIBUTES;
// Changes come in bursts (a program unpacking files): one pass after them.
constexpr DWORD kSettleMs = 200;
// WaitForMultipleObjects watches this many handles, the stop event among them.
constexpr std::size_t kMostWatches = MAXIMUM_WAIT_OBJECTS - 1;

using FindFirstChangeNotificationWide = HANDLE WINAPI(LPCWSTR, BOOL, DWORD);

struct ChangeNotificationTraits : fw::InvalidHandleTraits {
    static void Close(HANDLE handle) { ::FindCloseChangeNotification(handle); }
};
using UniqueChangeNotification = fw::UniqueHandle<ChangeNotificationTraits>;

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
    if (directory.size() < 3 || directory[1] != L':' || directory[0] > 0x7F) return false;
    const char root[] = {static_cast<char>(directory[0]), ':', '\\', '\0'};
    const UINT type = ::GetDriveTypeA(root);
    return type == DRIVE_FIXED || type == DRIVE_RAMDISK;
}

UniqueChangeNotification WatchTree(const std::wstring& directory) {
    if (fw::IsNt()) {
        if (auto* watch = fw::LookUp<FindFirstChangeNotificationWide>("kernel32.dll", "FindFirstChangeNotificationW")) {
            return UniqueChangeNotification(watch(directory.c_str(), TRUE, kWatchedChanges));
        }
    }
    return UniqueChangeNotification(
        ::FindFirstChangeNotificationA(fw::Narrow(directory).c_str(), TRUE, kWatchedChanges));
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
        : options(std::move(indexerOptions)), stop(::CreateEventA(nullptr, TRUE, FALSE, nullptr)), fold(FoldTable()) {}

    const IndexerOptions options;
    const fw::UniqueEvent stop;
    const std::vector<wchar_t> fold;

    // Written by the thread only, under the lock; read by queries under it.
    mutable fw::CriticalSection lock;
    WideIndex index;
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

    // Until stopped: reads, watches, waits, reads again what changed.
    void Run() {
        for (;;) {
            // Watching before reading: what changes meanwhile is seen next time.
            const std::vector<UniqueChangeNotification> watches = WatchAll();
            AddNewRoots();
            QueueChanged();
            if (!ReadPending()) return;
            ::InterlockedExchange(&m_state.building, 0);
            if (!WaitForChange(watches)) return;
        }
    }

private:
    bool Stopped(DWORD waitMs = 0) const { return ::WaitForSingleObject(m_state.stop.get(), waitMs) == WAIT_OBJECT_0; }

    std::vector<UniqueChangeNotification> WatchAll() const {
        std::vector<UniqueChangeNotification> watches;
        if (UniqueChangeNotification menus = WatchTree(m_state.options.menuRoot)) watches.push_back(std::move(menus));
        for (const std::wstring& root : m_roots) {
            if (watches.size() == kMostWatches) break;  // the rest have the periodic pass
            if (!IsWatchable(root)) continue;
            if (UniqueChangeNotification watch = WatchTree(root)) watches.push_back(std::move(watch));
        }
        return watches;
    }

    // False when told to stop.
    bool WaitForChange(const std::vector<UniqueChangeNotification>& watches) const {
        std::vector<HANDLE> handles = {m_state.stop.get()};
        for (const UniqueChangeNotification& watch : watches) handles.push_back(watch.get());
        const DWORD woke = ::WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE,
                                                    m_state.options.rereadMs);
        return woke != WAIT_OBJECT_0 && !Stopped(woke == WAIT_TIMEOUT ? 0 : kSettleMs);
    }

    // The menu root's drives and servers' shares that are not indexed yet.
    void AddNewRoots() {
        const std::wstring& menuRoot = m_state.options.menuRoot;
        for (const listing::WideEntry& first : listing::ReadMenuFolders(menuRoot)) {
            const std::wstring directory = menubuilder::DirectoryOfMenuFolder(std::wstring_view(first.name));
            const std::wstring menuFolder = menuRoot + first.name + L'\\';
            if (directory.compare(0, 2, L"\\\\") != 0) {
                AddRoot(directory, menuFolder);
                continue;
            }
            for (const listing::WideEntry& share : listing::ReadMenuFolders(menuFolder)) {
                AddRoot(directory + share.name + L'\\', menuFolder + share.name + L'\\');
            }
        }
    }

    void AddRoot(const std::wstring& directory, const std::wstring& menuFolder) {
        if (std::find(m_roots.begin(), m_roots.end(), directory) != m_roots.end()) return;
        m_roots.push_back(directory);
        const fw::CriticalSectionLock hold(m_state.lock);
        m_pending.push_back(m_state.index.AddRoot(directory, menuFolder));
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
    std::vector<std::wstring> m_roots;
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

long Indexer::Generation() const {
    return m_state->generation;
}

std::vector<FoundRow> Indexer::Find(std::wstring_view text, std::size_t limit, std::size_t& total) const {
    const State& state = *m_state;
    const auto fold = [&](wchar_t c) { return state.fold[static_cast<std::uint16_t>(c)]; };
    const fw::CriticalSectionLock hold(state.lock);
    const Found found = Query(state.index, text, fold, limit);
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
