#include "listing/DirectoryReader.h"

#include "framework/CriticalSection.h"
#include "framework/PlatformText.h"
#include "framework/RuntimeLink.h"
#include "framework/ThreadErrorMode.h"
#include "framework/UniqueHandle.h"
#include "framework/WideText.h"

#include <winternl.h>

#include <algorithm>
#include <optional>
#include <type_traits>
#include <utility>

namespace listing {
namespace {

std::uint64_t Combine(DWORD high, DWORD low) {
    return static_cast<std::uint64_t>(high) << 32 | low;
}

constexpr DWORD kSortKeyFlags = LCMAP_SORTKEY | NORM_IGNORECASE;

// A name's sort key as bytes, without its closing zero. `map` is the
// platform's LCMapString for that name: (destination, size in bytes) ->
// bytes written, or the size needed when the destination is null.
template <class Map>
std::string SortKey(Map map) {
    char buffer[256];
    int size = map(buffer, sizeof(buffer));
    std::string key;
    if (size > 0) {
        key.assign(buffer, size);
    } else if ((size = map(nullptr, 0)) > 0) {
        key.resize(size);
        key.resize(std::max(map(key.data(), size), 0));
    }
    if (!key.empty() && key.back() == '\0') key.pop_back();
    return key;
}

// `length` code units of `name`, or up to its closing zero when -1.
std::string WideSortKey(LPCWSTR name, int length = -1) {
    return SortKey([&](char* key, int bytes) {
        return ::LCMapStringW(LOCALE_USER_DEFAULT, kSortKeyFlags, name, length, reinterpret_cast<LPWSTR>(key), bytes);
    });
}

std::string AnsiSortKey(LPCSTR name) {
    return SortKey(
        [&](char* key, int bytes) { return ::LCMapStringA(LOCALE_USER_DEFAULT, kSortKeyFlags, name, -1, key, bytes); });
}

// The wide functions: called only on NT.
struct WideFunctions {
    using FindData = WIN32_FIND_DATAW;
    using Text = std::wstring;
    static Text PathText(const std::wstring& path) { return path; }
    static HANDLE FindFirst(const Text& pattern, FindData* found) { return ::FindFirstFileW(pattern.c_str(), found); }
    static BOOL FindNext(HANDLE find, FindData* found) { return ::FindNextFileW(find, found); }
    static DWORD Attributes(const Text& path) { return ::GetFileAttributesW(path.c_str()); }
    static std::wstring Name(const FindData& found) { return found.cFileName; }
    static std::string SortKeyOf(const FindData& found) { return WideSortKey(found.cFileName); }
};

// The ANSI functions of Windows 95/98, names widened from the ANSI code page.
struct AnsiFunctions {
    using FindData = WIN32_FIND_DATAA;
    using Text = std::string;
    static Text PathText(const std::wstring& path) { return fw::Narrow(path); }
    static HANDLE FindFirst(const Text& pattern, FindData* found) { return ::FindFirstFileA(pattern.c_str(), found); }
    static BOOL FindNext(HANDLE find, FindData* found) { return ::FindNextFileA(find, found); }
    static DWORD Attributes(const Text& path) { return ::GetFileAttributesA(path.c_str()); }
    static std::wstring Name(const FindData& found) { return fw::Widen(found.cFileName); }
    static std::string SortKeyOf(const FindData& found) { return AnsiSortKey(found.cFileName); }
};

bool IsDirectory(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && IsDirectoryAttribute(attributes);
}

template <class Functions>
WideEntry EntryOf(const typename Functions::FindData& found) {
    return {Functions::Name(found), Functions::SortKeyOf(found), found.dwFileAttributes,
            Combine(found.nFileSizeHigh, found.nFileSizeLow),
            Combine(found.ftLastWriteTime.dwHighDateTime, found.ftLastWriteTime.dwLowDateTime)};
}

// NT's own directory query. One call fills a buffer of 64 KB (what servers
// accept) with as many entries as fit, where FindNextFileW hands them out one
// by one from a smaller one, and it leaves out the short names, which no menu
// shows: a fifth less time for a large folder under Wine.
using QueryDirectoryFile = NTSTATUS NTAPI(HANDLE, HANDLE, PIO_APC_ROUTINE, PVOID, PIO_STATUS_BLOCK, PVOID, ULONG,
                                          FILE_INFORMATION_CLASS, BOOLEAN, PUNICODE_STRING, BOOLEAN);
QueryDirectoryFile* const g_queryDirectoryFile =
    fw::IsNt() ? fw::LookUp<QueryDirectoryFile>("ntdll.dll", "NtQueryDirectoryFile") : nullptr;
// Looked up as well: Windows 95's kernel32 has no CreateFileW to import.
decltype(::CreateFileW)* const g_createFileW =
    g_queryDirectoryFile ? fw::LookUp<decltype(::CreateFileW)>("kernel32.dll", "CreateFileW") : nullptr;

constexpr NTSTATUS kNoMoreFiles = static_cast<NTSTATUS>(0x80000006);  // STATUS_NO_MORE_FILES
constexpr NTSTATUS kNoSuchFile = static_cast<NTSTATUS>(0xC000000F);   // STATUS_NO_SUCH_FILE: an empty root
constexpr ULONG kQueryBufferBytes = 64 * 1024;

WideEntry EntryOf(const FILE_DIRECTORY_INFORMATION& found) {
    const int length = static_cast<int>(found.FileNameLength / sizeof(WCHAR));
    return {std::wstring(found.FileName, length), WideSortKey(found.FileName, length), found.FileAttributes,
            static_cast<std::uint64_t>(found.EndOfFile.QuadPart),
            static_cast<std::uint64_t>(found.LastWriteTime.QuadPart)};
}

// Appends the entries of one filled buffer.
void AppendQueried(const std::uint64_t* buffer, std::vector<WideEntry>& entries) {
    const char* at = reinterpret_cast<const char*>(buffer);
    for (;;) {
        const auto& found = *reinterpret_cast<const FILE_DIRECTORY_INFORMATION*>(at);
        entries.push_back(EntryOf(found));
        if (found.NextEntryOffset == 0) return;
        at += found.NextEntryOffset;
    }
}

// Every entry of `folder` (with closing backslash) through the NT query, or
// nothing when it cannot be read or the listing was cut short.
std::optional<std::vector<WideEntry>> QueryFolder(const std::wstring& folder) {
    const fw::UniqueFile directory(g_createFileW(folder.c_str(), FILE_LIST_DIRECTORY,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!directory) return std::nullopt;
    std::vector<std::uint64_t> buffer(kQueryBufferBytes / sizeof(std::uint64_t));
    std::vector<WideEntry> entries;
    for (BOOLEAN first = TRUE;; first = FALSE) {
        IO_STATUS_BLOCK status{};
        const NTSTATUS queried =
            g_queryDirectoryFile(directory.get(), nullptr, nullptr, nullptr, &status, buffer.data(), kQueryBufferBytes,
                                 FileDirectoryInformation, FALSE, nullptr, first);
        if (queried == kNoMoreFiles || (first && queried == kNoSuchFile)) return entries;
        if (queried < 0) return std::nullopt;
        AppendQueried(buffer.data(), entries);
    }
}

// Every entry of `folder`, or nothing when it cannot be read.
// On NT through the NT query where the system has it.
template <class Functions>
std::optional<std::vector<WideEntry>> ReadFolder(const std::wstring& folder) {
    typename Functions::Text path = Functions::PathText(folder);
    if (path.empty()) return std::nullopt;
    menubuilder::EnsureClosingBackslash(path);
    if constexpr (std::is_same_v<Functions, WideFunctions>) {
        if (g_queryDirectoryFile && g_createFileW) return QueryFolder(path);
    }
    typename Functions::FindData found;
    typename Functions::Text pattern = path;
    pattern += '*';
    fw::UniqueFind find(Functions::FindFirst(pattern, &found));
    if (!find) {
        // An empty drive root has not even "." and "..".
        if (::GetLastError() == ERROR_FILE_NOT_FOUND && IsDirectory(Functions::Attributes(path))) {
            return std::vector<WideEntry>();
        }
        return std::nullopt;
    }
    std::vector<WideEntry> entries;
    do {
        entries.push_back(EntryOf<Functions>(found));
    } while (Functions::FindNext(find.get(), &found));
    // Anything but the normal end means the listing was cut short (a server gone).
    if (::GetLastError() != ERROR_NO_MORE_FILES) return std::nullopt;
    return entries;
}

template <class Functions>
std::optional<WideEntry> ReadOne(const std::wstring& path) {
    typename Functions::FindData found;
    fw::UniqueFind find(Functions::FindFirst(Functions::PathText(path), &found));
    if (!find) return std::nullopt;
    return EntryOf<Functions>(found);
}

template <class Functions>
RawListing ReadWith(const std::wstring& menuFolder, const std::wstring& directory) {
    RawListing raw;
    std::optional<std::vector<WideEntry>> entries = ReadFolder<Functions>(directory);
    if (!entries) return raw;
    raw.directoryRead = true;
    raw.directory = std::move(*entries);
    if (!menuFolder.empty()) raw.menuFolder = ReadFolder<Functions>(menuFolder).value_or(std::vector<WideEntry>());
    return raw;
}

// A read that throws (out of memory on a huge share) is one that failed:
// nothing unwinds out of the worker's thread procedure, nor into the shell.
RawListing ReadOrFail(RawReader reader, const std::wstring& menuFolder, const std::wstring& directory) noexcept {
    try {
        return reader(menuFolder, directory);
    } catch (...) {
        return RawListing();
    }
}

// One worker's read, shared by the callers waiting for it and the worker.
// Whoever lets go last frees it, so a worker that outlives its callers
// touches only this.
struct SharedRead {
    SharedRead(const std::wstring& menu, const std::wstring& read, RawReader readWith, fw::UniqueEvent doneEvent,
               HMODULE module)
        : menuFolder(menu), directory(read), reader(readWith), done(std::move(doneEvent)), pinnedModule(module) {}

    bool Reads(RawReader readWith, const std::wstring& menu, const std::wstring& read) const {
        return reader == readWith && directory == read && menuFolder == menu;
    }

    std::wstring menuFolder;
    std::wstring directory;
    RawReader reader;
    fw::UniqueEvent done;  // set once `result` is written; it stays as written
    HMODULE pinnedModule;  // the worker frees it as it ends; null: nothing to free
    RawListing result;
    LONG references = 1;
};

// Owns one reference to a SharedRead.
class SharedReadReference {
public:
    // Takes over a reference already counted.
    explicit SharedReadReference(SharedRead* read) : m_read(read) {}
    ~SharedReadReference() {
        if (m_read && ::InterlockedDecrement(&m_read->references) == 0) delete m_read;
    }
    SharedReadReference(SharedReadReference&& other) noexcept : m_read(std::exchange(other.m_read, nullptr)) {}
    SharedReadReference(const SharedReadReference&) = delete;
    SharedReadReference& operator=(const SharedReadReference&) = delete;
    SharedReadReference& operator=(SharedReadReference&&) = delete;

    SharedRead* operator->() const { return m_read; }
    SharedRead* get() const { return m_read; }
    SharedReadReference Share() const {
        ::InterlockedIncrement(&m_read->references);
        return SharedReadReference(m_read);
    }
    // Hands the reference over (to a worker thread).
    SharedRead* release() { return std::exchange(m_read, nullptr); }

private:
    SharedRead* m_read;
};

HMODULE ModuleOfThisCode() {
    MEMORY_BASIC_INFORMATION memory{};
    ::VirtualQuery(reinterpret_cast<const void*>(&ModuleOfThisCode), &memory, sizeof(memory));
    return static_cast<HMODULE>(memory.AllocationBase);
}

HMODULE LoadByFileName(HMODULE module) {
    if (fw::IsNt()) {
        const std::wstring path = fw::WideModuleFilePath(module);
        return path.empty() ? nullptr : ::LoadLibraryW(path.c_str());
    }
    const std::string path = fw::ModuleFilePath(module);
    return path.empty() ? nullptr : ::LoadLibraryA(path.c_str());
}

// A reference of its own to the DLL holding this code (the shell extension),
// which the shell may unload while a worker that outlived its caller still
// runs. A program's own module never unloads and needs none. Nothing when a
// DLL could not be pinned. (GetModuleHandleEx, which pins by address, is newer
// than Windows 95 and NT 4.0; loading the module by its own file name is not.)
std::optional<fw::UniqueModule> PinModuleOfThisCode() {
    const HMODULE module = ModuleOfThisCode();
    if (module == ::GetModuleHandleA(nullptr)) return fw::UniqueModule();
    fw::UniqueModule pinned(LoadByFileName(module));
    if (!pinned) return std::nullopt;
    return pinned;
}

// The reads whose workers still run. A request for a read that runs
// already waits for that one instead of starting another worker: a server
// that does not answer holds one blocked worker per directory, however often
// its menus are opened.
class OutstandingReads {
public:
    // The running read of `directory` (with `menuFolder`, by `reader`), or a
    // new one; none when it cannot start.
    std::optional<SharedReadReference> JoinOrStart(RawReader reader, const std::wstring& menuFolder,
                                                   const std::wstring& directory);
    // Called by the worker once its result is written.
    void Remove(const SharedRead* read) noexcept;

private:
    fw::CriticalSection m_guard;
    std::vector<SharedRead*> m_running;  // under m_guard; each holds its worker's reference
};

OutstandingReads g_outstandingReads;

DWORD WINAPI ReadOnWorker(void* parameter) {
    HMODULE pinned = nullptr;
    {
        SharedReadReference shared(static_cast<SharedRead*>(parameter));
        const fw::CriticalErrorsFailQuietly quiet;
        shared->result = ReadOrFail(shared->reader, shared->menuFolder, shared->directory);
        pinned = shared->pinnedModule;
        g_outstandingReads.Remove(shared.get());
        ::SetEvent(shared->done.get());
    }
    // Lets go of the module and ends the thread in one step, so no code of an
    // unloaded DLL runs (Windows 95 and NT 3.5 export it already).
    if (pinned) ::FreeLibraryAndExitThread(pinned, 0);
    return 0;
}

// A read on a worker thread of its own, which holds the DLL loaded.
std::optional<SharedReadReference> StartRead(RawReader reader, const std::wstring& menuFolder,
                                             const std::wstring& directory) {
    std::optional<fw::UniqueModule> pin = PinModuleOfThisCode();
    fw::UniqueEvent done(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!pin || !done) return std::nullopt;
    SharedReadReference caller(new SharedRead(menuFolder, directory, reader, std::move(done), pin->get()));
    SharedReadReference worker = caller.Share();
    DWORD threadId = 0;
    const fw::UniqueThread thread(::CreateThread(nullptr, 0, ReadOnWorker, worker.get(), 0, &threadId));
    if (!thread) return std::nullopt;
    worker.release();  // the thread's now
    pin->release();    // the worker lets go of it
    return caller;
}

std::optional<SharedReadReference> OutstandingReads::JoinOrStart(RawReader reader, const std::wstring& menuFolder,
                                                                 const std::wstring& directory) {
    const fw::CriticalSectionLock lock(m_guard);
    for (SharedRead* running : m_running) {
        if (!running->Reads(reader, menuFolder, directory)) continue;
        ::InterlockedIncrement(&running->references);
        return SharedReadReference(running);
    }
    m_running.reserve(m_running.size() + 1);  // so that adding a started read cannot fail
    std::optional<SharedReadReference> started = StartRead(reader, menuFolder, directory);
    if (started) m_running.push_back(started->get());
    return started;
}

void OutstandingReads::Remove(const SharedRead* read) noexcept {
    const fw::CriticalSectionLock lock(m_guard);
    m_running.erase(std::remove(m_running.begin(), m_running.end(), read), m_running.end());
}

// The raw listing when the read (this caller's, or one running already)
// finishes within the wait; nothing when it does not (its worker then ends on
// its own) or cannot start.
std::optional<RawListing> ReadWithinWait(const std::wstring& menuFolder, const std::wstring& directory,
                                         const ReadOptions& options) {
    const std::optional<SharedReadReference> read =
        g_outstandingReads.JoinOrStart(options.reader, menuFolder, directory);
    if (!read || ::WaitForSingleObject((*read)->done.get(), options.networkWaitMs) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    return (*read)->result;
}

// What `options.reader` gives for the two paths: on a worker within the wait
// when either may block (its thread fails quietly on a drive without its
// medium), else here.
std::optional<RawListing> ReadAsMediumAllows(const std::wstring& menuFolder, const std::wstring& directory,
                                             const ReadOptions& options) {
    if (MayBlock(directory) || MayBlock(menuFolder)) return ReadWithinWait(menuFolder, directory, options);
    return ReadOrFail(options.reader, menuFolder, directory);
}

// The drives' types, each asked of the system at most once a second: under
// Wine one question costs more than reading a folder of a thousand names, and
// every read asks for two paths. A type changes only when a volume or a
// network connection comes or goes under that letter.
class DriveTypes {
public:
    UINT Of(char letter) {
        const char upper = menubuilder::FoldAsciiCase(letter);
        if (upper < 'A' || upper > 'Z') return DRIVE_UNKNOWN;
        Known& known = m_known[upper - 'A'];
        const DWORD now = ::GetTickCount();
        {
            const fw::CriticalSectionLock lock(m_guard);
            if (known.asked && now - known.askedAt < kFreshMs) return known.type;
        }
        const char root[] = {upper, ':', '\\', '\0'};
        const UINT type = ::GetDriveTypeA(root);
        const fw::CriticalSectionLock lock(m_guard);
        known = {type, now, true};
        return type;
    }

private:
    static constexpr DWORD kFreshMs = 1000;
    struct Known {
        UINT type;
        DWORD askedAt;
        bool asked;
    };
    fw::CriticalSection m_guard;
    Known m_known['Z' - 'A' + 1] = {};
};

DriveTypes g_driveTypes;

// A reader of one folder's entries, as the directory's.
RawListing ReadFolderAlone(const std::wstring&, const std::wstring& folder) {
    std::optional<std::vector<WideEntry>> entries =
        fw::IsNt() ? ReadFolder<WideFunctions>(folder) : ReadFolder<AnsiFunctions>(folder);
    RawListing raw;
    raw.directoryRead = entries.has_value();
    if (entries) raw.directory = std::move(*entries);
    return raw;
}

}  // namespace

UINT DriveTypeOf(const std::wstring& path) {
    if (path.size() < 2 || path[1] != L':' || path[0] > 0x7F) return DRIVE_UNKNOWN;
    return g_driveTypes.Of(static_cast<char>(path[0]));
}

bool MayBlock(const std::wstring& path) {
    if (menubuilder::IsNetworkPath<wchar_t>(path)) return true;
    switch (DriveTypeOf(path)) {
        case DRIVE_REMOTE:
        case DRIVE_REMOVABLE:
        case DRIVE_CDROM: return true;
        default: return false;
    }
}

RawListing ReadNamed(const std::wstring&, const std::wstring& path) {
    std::optional<WideEntry> entry = fw::IsNt() ? ReadOne<WideFunctions>(path) : ReadOne<AnsiFunctions>(path);
    RawListing raw;
    raw.directoryRead = entry.has_value();
    if (entry) raw.directory.push_back(std::move(*entry));
    return raw;
}

RawListing ReadRaw(const std::wstring& menuFolder, const std::wstring& directory) {
    return fw::IsNt() ? ReadWith<WideFunctions>(menuFolder, directory) : ReadWith<AnsiFunctions>(menuFolder, directory);
}

std::string SortKeyOf(const std::wstring& name) {
    return fw::IsNt() ? WideSortKey(name.c_str()) : AnsiSortKey(fw::Narrow(name).c_str());
}

std::vector<WideEntry> ReadMenuFolders(const std::wstring& folder) {
    ReadOptions options;
    options.reader = ReadFolderAlone;
    std::optional<RawListing> raw = ReadAsMediumAllows(std::wstring(), folder, options);
    return ArrangeMenuRoot(raw ? std::move(raw->directory) : std::vector<WideEntry>());
}

bool AnswersWithinWait(const std::wstring& path, const ReadOptions& options) {
    if (!MayBlock(path)) return true;
    std::wstring entry = path;
    if (entry.size() > 1 && entry.back() == L'\\') entry.pop_back();
    return ReadAsMediumAllows(std::wstring(), entry, options).has_value();
}

EntryLookup::EntryLookup(const ReadOptions& options) : m_options(options), m_start(::GetTickCount()) {}

std::optional<WideEntry> EntryLookup::Read(const std::wstring& folder, const std::wstring& name) const {
    if (!menubuilder::IsPlainName<wchar_t>(name)) return std::nullopt;
    std::wstring path = folder;
    if (!path.empty()) menubuilder::EnsureClosingBackslash(path);
    ReadOptions options = m_options;
    options.networkWaitMs -= std::min(options.networkWaitMs, ::GetTickCount() - m_start);
    std::optional<RawListing> raw = ReadAsMediumAllows(std::wstring(), path + name, options);
    if (!raw || raw->directory.empty()) return std::nullopt;
    return std::move(raw->directory.front());
}

Listing ReadListing(const std::wstring& menuFolder, const std::wstring& directory, const ReadOptions& options) {
    Listing listing;
    if (IsServerDirectory<wchar_t>(directory)) {
        listing.entries = ReadMenuFolders(menuFolder);
    } else {
        std::optional<RawListing> raw = ReadAsMediumAllows(menuFolder, directory, options);
        if (!raw || !raw->directoryRead) return listing;
        listing.entries = Arrange(std::move(raw->menuFolder), std::move(raw->directory));
    }
    listing.state = listing.entries.empty() ? State::kEmpty : State::kListed;
    return listing;
}

}  // namespace listing
