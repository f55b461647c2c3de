#include "menubuilder/RemoveDirectoryMenus.h"

#include "framework/NamedMutexLock.h"
#include "framework/UniqueHandle.h"
#include "menubuilder/AddDirectory.h"
#include "menubuilder/MenuFolders.h"
#include "menubuilder/MenuPath.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace menubuilder {
namespace {

struct Entry {
    std::string name;
    DWORD attributes;
};

// The entries of the folder without "." and ".."; none when it can't be read.
std::optional<std::vector<Entry>> FolderEntries(const std::string& folder) {
    WIN32_FIND_DATAA found;
    const fw::UniqueFind find(::FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!find) return std::nullopt;
    std::vector<Entry> entries;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") entries.push_back({name, found.dwFileAttributes});
    } while (::FindNextFileA(find.get(), &found));
    return entries;
}

bool IsEmptyFolder(const std::string& folder) {
    const std::optional<std::vector<Entry>> entries = FolderEntries(folder);
    return entries && entries->empty();
}

// A folder that is no reparse point: a junction or link may lead anywhere,
// so it is never followed, nor removed.
bool IsPlainFolder(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// An item, or a marker byte for byte as RootCaster writes it.
bool IsOwnFile(const std::string& folder, const Entry& entry) {
    if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    return IsItemFileName(entry.name) ||
           (EqualIgnoringAsciiCase<char>(entry.name, kMarkerFileName) && IsOwnMarker(folder + '\\' + entry.name));
}

// What taking RootCaster's objects out of one folder came to.
struct Cleared {
    bool complete = true;  // every object of RootCaster's found is gone
    bool held = false;     // the folder held one, itself or below: it is a menu folder
};

// Takes RootCaster's objects out of the folder and, depth first, out of every
// folder below it; a folder below that held some and is then empty goes too.
// A folder that held none of them is the user's and stays, even when empty.
Cleared ClearFolder(const std::string& folder) {
    Cleared cleared;
    for (const Entry& entry : FolderEntries(folder).value_or(std::vector<Entry>())) {
        const std::string path = folder + '\\' + entry.name;
        if (IsPlainFolder(entry.attributes)) {
            const Cleared below = ClearFolder(path);
            cleared.held = below.held || cleared.held;
            cleared.complete = below.complete && cleared.complete;
            if (below.held && IsEmptyFolder(path))
                cleared.complete = ::RemoveDirectoryA(path.c_str()) && cleared.complete;
        } else if (IsOwnFile(folder, entry)) {
            cleared.held = true;
            cleared.complete = ::DeleteFileA(path.c_str()) && cleared.complete;
        }
    }
    return cleared;
}

// Removes a parent level that holds nothing but RootCaster's objects; false
// when it holds anything else or could not be removed, which `complete`
// then records.
bool RemoveSpentLevel(const std::string& folder, bool& complete) {
    const std::optional<std::vector<Entry>> entries = FolderEntries(folder);
    if (!entries ||
        !std::all_of(entries->begin(), entries->end(), [&](const Entry& entry) { return IsOwnFile(folder, entry); })) {
        return false;
    }
    for (const Entry& entry : *entries) complete = ::DeleteFileA((folder + '\\' + entry.name).c_str()) && complete;
    const bool removed = ::RemoveDirectoryA(folder.c_str());
    complete = removed && complete;
    return removed;
}

}  // namespace

RemoveStatus RemoveDirectoryMenus(const std::string& path) {
    // "" and "\\" name no directory, only the menu root with every menu in it.
    if (EncodeMenuPath(path).empty()) return static_cast<RemoveStatus>(AddStatus::kRelative);
    std::string menuBase;
    const AddStatus verdict = CheckDirectory(path, menuBase);
    if (verdict != AddStatus::kAdded) return static_cast<RemoveStatus>(verdict);
    const fw::NamedMutexLock lock(kMenusLockName);

    const std::string menuFolder = WithoutClosingBackslash(menuBase + EncodeMenuPath(path));
    // The menu root, the levels above the directory's menu folder and that
    // folder itself, top down: each must be a plain folder.
    std::vector<FolderStep> levels = MenuFolderWalk(menuFolder, menuBase, fw::AnsiLeadByte);
    levels.erase(std::remove_if(levels.begin(), levels.end(), [](const FolderStep& step) { return step.depth < 0; }),
                 levels.end());
    if (!std::all_of(levels.begin(), levels.end(),
                     [](const FolderStep& step) { return IsPlainFolder(::GetFileAttributesA(step.folder.c_str())); })) {
        return RemoveStatus::kNoSuchMenu;
    }

    bool complete = ClearFolder(menuFolder).complete;
    bool removed = false;
    if (IsEmptyFolder(menuFolder)) {
        removed = ::RemoveDirectoryA(menuFolder.c_str());
        complete = removed && complete;
    }
    // A level that still holds what a removal left holds it up, and every
    // level above it.
    for (auto level = levels.rbegin() + 1; removed && level != levels.rend(); ++level) {
        removed = RemoveSpentLevel(level->folder, complete);
    }
    return complete ? RemoveStatus::kRemoved : RemoveStatus::kIncomplete;
}

}  // namespace menubuilder
