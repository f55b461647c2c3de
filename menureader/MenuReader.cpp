#include "menureader/MenuReader.h"

#include "framework/ComPtr.h"
#include "framework/UniqueHandle.h"
#include "menubuilder/MenuPath.h"
#include "menureader/MenuContract.h"

#include <shlobj.h>

#include <algorithm>

namespace menureader {
namespace {

struct DirectoryEntry {
    std::string name;
    DWORD attributes;
};

std::vector<DirectoryEntry> ListFolder(const std::string& folder) {
    std::vector<DirectoryEntry> entries;
    WIN32_FIND_DATAA found;
    fw::UniqueFind find(::FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!find) return entries;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") entries.push_back({name, found.dwFileAttributes});
    } while (::FindNextFileA(find.get(), &found));
    std::sort(entries.begin(), entries.end(), [](const DirectoryEntry& a, const DirectoryEntry& b) {
        return ::lstrcmpiA(a.name.c_str(), b.name.c_str()) < 0;
    });
    return entries;
}

bool IsFolder(const DirectoryEntry& entry) {
    return (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsLinkFile(const std::string& name) {
    return name.size() > 4 && ::lstrcmpiA(name.c_str() + name.size() - 4, ".lnk") == 0;
}

std::string ReadBytes(const std::string& path) {
    std::string bytes;
    fw::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    char chunk[512];
    DWORD read = 0;
    while (file && ::ReadFile(file.get(), chunk, sizeof(chunk), &read, nullptr) && read > 0) bytes.append(chunk, read);
    return bytes;
}

MarkerFacts ReadMarker(const std::string& folder) {
    MarkerFacts facts;
    const DWORD folderAttributes = ::GetFileAttributesA(folder.c_str());
    facts.folderIsSystem = folderAttributes != INVALID_FILE_ATTRIBUTES && (folderAttributes & FILE_ATTRIBUTE_SYSTEM);
    const std::string marker = folder + '\\' + menubuilder::kMarkerFileName;
    const DWORD markerAttributes = ::GetFileAttributesA(marker.c_str());
    facts.markerExists = markerAttributes != INVALID_FILE_ATTRIBUTES;
    facts.markerIsHidden = facts.markerExists && (markerAttributes & FILE_ATTRIBUTE_HIDDEN);
    if (facts.markerExists) facts.markerBytes = ReadBytes(marker);
    return facts;
}

void ReadFolder(const std::string& path, const std::string& relative, int depth, std::vector<MenuFolder>& tree) {
    MenuFolder folder;
    folder.relative = relative;
    folder.depth = depth;
    folder.directory = menubuilder::DirectoryOfMenuFolder(relative);
    folder.markerProblem = MarkerProblem(ReadMarker(path), depth);
    const std::vector<DirectoryEntry> entries = ListFolder(path);
    for (const DirectoryEntry& entry : entries) {
        if (!IsFolder(entry) && IsLinkFile(entry.name)) {
            folder.items.push_back({entry.name, ReadShortcut(path + '\\' + entry.name)});
        }
    }
    tree.push_back(std::move(folder));
    for (const DirectoryEntry& entry : entries) {
        if (!IsFolder(entry)) continue;
        ReadFolder(path + '\\' + entry.name, relative.empty() ? entry.name : relative + '\\' + entry.name, depth + 1,
                   tree);
    }
}

std::string Quoted(const std::string& text) {
    return '"' + text + '"';
}

}  // namespace

ShortcutFacts ReadShortcut(const std::string& linkFile) {
    ShortcutFacts facts;
    WCHAR widePath[MAX_PATH];
    if (!::MultiByteToWideChar(CP_ACP, 0, linkFile.c_str(), -1, widePath, MAX_PATH)) return facts;
    fw::ComPtr<IShellLinkA> link;
    facts.loaded = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.put_void());
    if (FAILED(facts.loaded)) return facts;
    fw::ComPtr<IPersistFile> file;
    facts.loaded = link.QueryInterface(IID_IPersistFile, file);
    if (SUCCEEDED(facts.loaded)) facts.loaded = file->Load(widePath, STGM_READ);
    if (FAILED(facts.loaded)) return facts;
    char text[MAX_PATH] = {};
    link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
    facts.target = text;
    text[0] = '\0';
    link->GetWorkingDirectory(text, MAX_PATH);
    facts.workingDirectory = text;
    text[0] = '\0';
    link->GetDescription(text, MAX_PATH);
    facts.description = text;
    link->GetShowCmd(&facts.showCommand);
    text[0] = '\0';
    link->GetIconLocation(text, MAX_PATH, &facts.iconIndex);
    facts.iconFile = text;
    return facts;
}

std::vector<MenuFolder> ReadMenuTree(const std::string& startMenu) {
    std::vector<MenuFolder> tree;
    const std::string menuRoot = startMenu + '\\' + menubuilder::kMenuRootName;
    const DWORD attributes = ::GetFileAttributesA(menuRoot.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return tree;
    ReadFolder(menuRoot, std::string(), 0, tree);
    return tree;
}

std::string FormatMenuTree(const std::vector<MenuFolder>& tree) {
    std::string text;
    for (const MenuFolder& folder : tree) {
        text += folder.depth == 0 ? "menu root" : "folder " + folder.relative + " -> " + folder.directory;
        text += folder.markerProblem.empty() ? ": marker ok\n" : ": marker WRONG: " + folder.markerProblem + "\n";
        for (const MenuItem& item : folder.items) {
            const ShortcutFacts& link = item.shortcut;
            text += "  item " + item.fileName + ": ";
            if (FAILED(link.loaded)) {
                text += "cannot be loaded\n";
                continue;
            }
            text += "target " + Quoted(link.target) + " directory " + Quoted(link.workingDirectory) + " icon " +
                    Quoted(link.iconFile) + "," + std::to_string(link.iconIndex) + "\n";
        }
    }
    return text;
}

}  // namespace menureader
