#pragma once
// Reads what a menu of a directory shows, live from the file system each
// time: the items in its menu folder and the directory's entries, arranged.
// On NT the wide functions read every name; on Windows 95/98 the ANSI ones,
// with names widened from the ANSI code page, so every caller sees one type.

#include "listing/Listing.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace listing {

using WideEntry = Entry<wchar_t>;

enum class State {
    kListed,        // the directory was read and the menu shows something
    kEmpty,         // the directory was read and the menu shows nothing
    kNotAvailable,  // missing, access denied, or a server that did not answer in time
};

struct Listing {
    State state = State::kNotAvailable;
    std::vector<WideEntry> entries;  // arranged; empty unless listed
};

// What the file system gave, before arranging. Sort keys are filled in.
struct RawListing {
    bool directoryRead = false;
    std::vector<WideEntry> menuFolder;
    std::vector<WideEntry> directory;
};

// Reads both folders as they are now. A missing or empty menu folder path
// gives no items (a level where no menu folder was made).
RawListing ReadRaw(const std::wstring& menuFolder, const std::wstring& directory);

// The type of the drive `path` lies on (GetDriveType's answer, at most a
// second old); DRIVE_UNKNOWN for a path without a drive letter.
UINT DriveTypeOf(const std::wstring& path);

// Whether reading `path` may wait long: a network path (a \\server path or a
// drive letter mapped to one), or a drive of removable media, which may spin
// up or lack its medium. What reads such a path goes through the bounded
// worker, or does without it.
bool MayBlock(const std::wstring& path);

// The reader ReadListing uses; tests put a slow one in its place.
using RawReader = RawListing (*)(const std::wstring& menuFolder, const std::wstring& directory);

// Reads the one entry at `path`, as the directory's only entry.
RawListing ReadNamed(const std::wstring& unused, const std::wstring& path);

struct ReadOptions {
    DWORD networkWaitMs = 2000;  // longest wait for a network directory
    RawReader reader = ReadRaw;
};

// The arranged listing of `directory` (as DirectoryOfMenuFolder gives it)
// with the items of `menuFolder`; for a bare server (IsServerDirectory), the
// menu folders in `menuFolder`: its shares that have menus. When either lies on a network (a \\server
// path or a drive letter mapped to one) or a removable medium, both are read
// on a worker thread: when it takes longer than the wait, the caller gets
// kNotAvailable at once and the worker finishes on its own, owning all it
// touches; a request for the same read meanwhile waits for that worker.
// Never shows a message box.
Listing ReadListing(const std::wstring& menuFolder, const std::wstring& directory, const ReadOptions& options = {});

// The menu folders lying in `folder` now, arranged (ArrangeMenuRoot): the
// menu root's drives and servers, or a server's shares; none when it cannot
// be read (a Start Menu on a server: within the network wait).
std::vector<WideEntry> ReadMenuFolders(const std::wstring& folder);

// The sort key of `name`, as the entries read here get theirs.
std::string SortKeyOf(const std::wstring& name);

// Whether the directory at `path` answers within the network wait (found or
// not): at once where it may not block, else asked on the bounded worker.
// What touches it without a bound of its own (the shell parsing its path)
// asks this first. `options.reader` reads the one entry at a path (ReadNamed;
// tests put a slow one in its place).
bool AnswersWithinWait(const std::wstring& path, const ReadOptions& options = {ReadOptions().networkWaitMs, ReadNamed});

// Entries looked up by name, all within one network wait: each lookup waits
// only for what the ones before left of it.
class EntryLookup {
public:
    // `options.reader` reads the one entry at the path it gets as its
    // directory (ReadNamed; tests put a slow one in its place).
    explicit EntryLookup(const ReadOptions& options = {ReadOptions().networkWaitMs, ReadNamed});

    // The entry `name` of `folder` as it is now, sort key filled in; nothing
    // when there is none, when `name` is not one plain name (IsPlainName),
    // or when its medium does not answer within what is left of the wait.
    std::optional<WideEntry> Read(const std::wstring& folder, const std::wstring& name) const;

private:
    ReadOptions m_options;
    DWORD m_start;  // GetTickCount
};

}  // namespace listing
