#include "menubuilder/MenuPath.h"

#include <algorithm>
#include <iterator>

namespace menubuilder {
namespace {

// The first four characters of a full menu folder path are never separators:
// no drive root and no "\\server" start is ever created.
constexpr std::size_t kFirstSeparatorPosition = 4;

constexpr char kNetworkStart[] = "\\\\";

// A relative path would name a menu folder that the naming rule reads back
// as a server, while its items point below whatever the current directory
// was: only a drive path ("X:" then a backslash or the end) or a network
// path names the same directory everywhere.
bool IsAbsolutePath(std::string_view path) {
    if (IsNetworkPath(path)) return true;
    return path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':' && (path.size() == 2 || path[2] == '\\');
}

bool EndsWith(std::string_view text, char c) {
    return !text.empty() && text.back() == c;
}

// A menu folder of that name would take the place of a file its parent holds.
bool IsMenuFileName(std::string_view name) {
    return EqualIgnoringAsciiCase<char>(name, kMarkerFileName) || IsItemFileName(name);
}

// A name that lands as one folder under its own name (IsPlainName) and does
// not take the place of a file that the parent menu folder holds.
bool IsPlainFolderName(std::string_view name) {
    return IsPlainName(name) && !IsMenuFileName(name);
}

// In a double-byte code page a backslash can be the second byte of a
// character; the platform then sees one name where the text shows two.
bool HidesSeparatorInCharacter(std::string_view text, LeadByteTest isLeadByte) {
    for (std::size_t i = 0; i < text.size(); i += fw::CharacterLength(text, i, isLeadByte)) {
        if (fw::CharacterLength(text, i, isLeadByte) == 2 && text[i + 1] == '\\') return true;
    }
    return false;
}

// An encoded path, with or without its closing backslash, whose every name is
// plain: appended to the menu base it stays below the menu root, under the
// names it shows.
bool IsPlainRelativePath(std::string_view encoded) {
    if (encoded.empty()) return true;
    if (EndsWith(encoded, '\\')) encoded.remove_suffix(1);
    for (;;) {
        const std::size_t separator = encoded.find('\\');
        if (!IsPlainFolderName(encoded.substr(0, separator))) return false;
        if (separator == std::string_view::npos) return true;
        encoded.remove_prefix(separator + 1);
    }
}

bool FitsPlatformBuffer(std::string_view path) {
    return path.size() <= kMaxPathLength;
}

// Every item goes into a menu folder below the root that the folder walk made.
PathVerdict CheckItemLevels(const std::string& menuBase, std::string_view encoded, std::string path) {
    EnsureClosingBackslash(path);
    std::string encodedFolder(encoded);
    if (!encodedFolder.empty()) EnsureClosingBackslash(encodedFolder);
    for (const std::string& level : ItemLevels(path)) {
        const std::string folder = EncodeMenuPath(level);
        if (folder.empty() || !IsPlainRelativePath(folder) || encodedFolder.compare(0, folder.size(), folder) != 0) {
            return PathVerdict::kUnsafeName;
        }
        for (const char* name : {kOpenItemFileName, kDOSPromptItemFileName}) {
            if (!FitsPlatformBuffer(menuBase + folder + name)) return PathVerdict::kTooLong;
        }
    }
    return PathVerdict::kAccepted;
}

PathVerdict CheckFolderWalk(const std::string& menuBase, std::string_view encoded, LeadByteTest isLeadByte) {
    for (const FolderStep& step : MenuFolderWalk(menuBase + std::string(encoded), menuBase, isLeadByte)) {
        if (!FitsPlatformBuffer(step.folder)) return PathVerdict::kTooLong;
        if (step.depth >= 0 && !FitsPlatformBuffer(JoinPath(step.folder, kMarkerFileName)))
            return PathVerdict::kTooLong;
    }
    return PathVerdict::kAccepted;
}

}  // namespace

bool IsItemFileName(std::string_view name) {
    return EqualIgnoringAsciiCase<char>(name, kOpenItemFileName) ||
           EqualIgnoringAsciiCase<char>(name, kDOSPromptItemFileName);
}

std::string EncodeMenuPath(std::string_view path) {
    std::string encoded;
    encoded.reserve(path.size());
    std::copy_if(path.begin(), path.end(), std::back_inserter(encoded), [](char c) { return c != ':'; });
    if (IsNetworkPath<char>(encoded)) encoded.erase(0, 2);
    return encoded;
}

std::string MenuBase(std::string_view startMenu) {
    return JoinPath(startMenu, kMenuRootName) + '\\';
}

std::wstring MenuBase(std::wstring_view startMenu) {
    const std::string_view name(kMenuRootName);  // ASCII
    return JoinPath(startMenu, std::wstring(name.begin(), name.end())) + L'\\';
}

bool BeginsWithFolder(std::string_view path, std::string_view folder) {
    return EqualIgnoringAsciiCase<char>(path.substr(0, folder.size()), folder);
}

std::vector<std::string> ItemLevels(std::string_view path) {
    std::vector<std::string> levels;
    for (std::size_t i = 1; i < path.size(); ++i) {
        if (path[i] != '\\') continue;
        const std::string_view level = path.substr(0, i + 1);
        if (level != kNetworkStart) levels.emplace_back(level);
    }
    return levels;
}

int MenuDepth(std::string_view folder, std::string_view menuBase) {
    const std::string_view menuRoot = menuBase.substr(0, menuBase.size() - 1);
    if (folder == menuRoot) return 0;
    if (folder.size() <= menuBase.size() || folder.compare(0, menuBase.size(), menuBase) != 0) return -1;
    const std::string_view below = folder.substr(menuBase.size());
    return 1 + static_cast<int>(std::count(below.begin(), below.end(), '\\'));
}

const char* ClassIdForDepth(int depth) {
    if (depth == 0) return kRootClassId;
    return depth == 1 ? kFirstLevelClassId : kDeeperClassId;
}

std::string DesktopIniText(std::string_view classId) {
    std::string text = "[.ShellClassInfo]\r\nCLSID=";
    text += classId;
    text += "\r\n";
    return text;
}

std::vector<FolderStep> MenuFolderWalk(std::string_view menuFolder, std::string_view menuBase,
                                       LeadByteTest isLeadByte) {
    std::vector<FolderStep> steps;
    const auto add = [&](std::string_view folder) {
        steps.push_back({std::string(folder), MenuDepth(folder, menuBase)});
    };
    // Stepped from the start: the Start Menu's own path may hold double-byte
    // characters whose trail byte is a backslash.
    for (std::size_t i = 0; i < menuFolder.size(); i += fw::CharacterLength(menuFolder, i, isLeadByte)) {
        if (i >= kFirstSeparatorPosition && menuFolder[i] == '\\') add(menuFolder.substr(0, i));
    }
    if (!EndsWith(menuFolder, '\\')) add(menuFolder);
    return steps;
}

PathVerdict CheckDirectoryPath(std::string_view startMenu, std::string_view path, LeadByteTest isLeadByte) {
    if (BeginsWithFolder(path, startMenu)) return PathVerdict::kInsideStartMenu;
    if (!path.empty() && !IsAbsolutePath(path)) return PathVerdict::kRelative;
    const std::string encoded = EncodeMenuPath(path);
    if (!IsPlainRelativePath(encoded) || HidesSeparatorInCharacter(encoded + '\\', isLeadByte)) {
        return PathVerdict::kUnsafeName;
    }
    const std::string menuBase = MenuBase(startMenu);
    const PathVerdict items = CheckItemLevels(menuBase, encoded, std::string(path));
    return items != PathVerdict::kAccepted ? items : CheckFolderWalk(menuBase, encoded, isLeadByte);
}

}  // namespace menubuilder
