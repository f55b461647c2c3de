#include "shellext/EntryReader.h"

#include "framework/UniqueHandle.h"

#include <algorithm>

namespace shellext {
namespace {

bool IsNt() {
    return (::GetVersion() & 0x80000000u) == 0;
}

std::string SortKey(const std::wstring& name) {
    std::string key;
    for (wchar_t c : name) {
        const wchar_t upper = c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
        key += static_cast<char>(upper >> 8);
        key += static_cast<char>(upper & 0xFF);
    }
    return key;
}

Entry FromFound(const WIN32_FIND_DATAW& found) {
    Entry entry;
    entry.name = found.cFileName;
    entry.sortKey = SortKey(entry.name);
    entry.attributes = found.dwFileAttributes;
    entry.size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    entry.lastWriteTime =
        (static_cast<std::uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) | found.ftLastWriteTime.dwLowDateTime;
    entry.group = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? Group::kFolder : Group::kFile;
    return entry;
}

std::vector<Entry> ReadFolder(const std::wstring& pattern) {
    std::vector<Entry> entries;
    WIN32_FIND_DATAW found;
    fw::UniqueFind find(::FindFirstFileW(pattern.c_str(), &found));
    if (!find) return entries;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") entries.push_back(FromFound(found));
    } while (::FindNextFileW(find.get(), &found));
    return entries;
}

bool Hidden(const Entry& entry) {
    return (entry.attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
}

void Sort(std::vector<Entry>& entries) {
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.group != b.group ? a.group < b.group : a.sortKey < b.sortKey;
    });
}

}  // namespace

std::vector<Entry> ReadFirstLevels(const std::wstring& menuRoot) {
    std::vector<Entry> entries = ReadFolder(menuRoot + L"\\*");
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [](const Entry& e) { return Hidden(e) || e.group != Group::kFolder; }),
                  entries.end());
    Sort(entries);
    return entries;
}

std::vector<Entry> ReadMenu(const std::wstring& menuFolder, const std::wstring& directory) {
    std::vector<Entry> entries;
    if (::GetFileAttributesW(directory.c_str()) == INVALID_FILE_ATTRIBUTES) return entries;
    for (Entry& item : ReadFolder(menuFolder + L"\\*")) {
        if (item.group == Group::kFile && !Hidden(item) && !(item.attributes & FILE_ATTRIBUTE_SYSTEM)) {
            item.group = Group::kItem;
            entries.push_back(item);
        }
    }
    for (Entry& entry : ReadFolder(directory + L"*")) {
        if (!Hidden(entry) && !(entry.attributes & FILE_ATTRIBUTE_SYSTEM)) entries.push_back(entry);
    }
    Sort(entries);
    (void)IsNt;
    return entries;
}

std::optional<Entry> ReadEntry(const std::wstring& path) {
    std::vector<Entry> found = ReadFolder(path);
    if (found.size() != 1) return std::nullopt;
    return found.front();
}

}  // namespace shellext
