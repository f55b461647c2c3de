#pragma once
// The path logic of the folder-menu builder, free of Windows: how a directory
// path names its menu folders below the menu root, which levels get items,
// which folders get which marker, and which paths are refused.

#include "framework/LeadByte.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace menubuilder {

using fw::LeadByteTest;

inline constexpr char kMenuRootName[] = "RootCaster";
inline constexpr char kMarkerFileName[] = "desktop.ini";

// The two item kinds and the file names their items have in a menu folder.
inline constexpr char kOpenKind[] = "Open";
inline constexpr char kDOSPromptKind[] = "MS-DOS Prompt";
inline constexpr char kOpenItemFileName[] = "Open.lnk";
inline constexpr char kDOSPromptItemFileName[] = "MS-DOS Prompt.lnk";

// Whether `name` is the file name of an item, in any letter case.
bool IsItemFileName(std::string_view name);

// The folder-menu shell extension's class identifiers: menu root, first level
// (a drive letter or a server name), every deeper level.
inline constexpr char kRootClassId[] = "{5A3C71E4-2B90-11D1-A4F6-00C04F7B3E28}";
inline constexpr char kFirstLevelClassId[] = "{5A3C71E4-2B90-11D3-A4F6-00C04F7B3E28}";
inline constexpr char kDeeperClassId[] = "{5A3C71E4-2B90-11D2-A4F6-00C04F7B3E28}";

// Longest path the platform's 260-character buffers hold, without the zero.
inline constexpr std::size_t kMaxPathLength = 259;

// The menu folder's path below the menu root: every ":" removed, then two
// leading backslashes removed.
std::string EncodeMenuPath(std::string_view path);

// The letters that name drives, A to Z in either case, in ANSI or wide text.
template <class Char>
constexpr bool IsDriveLetter(Char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// `c` with a to z as A to Z and every other character as it is: how paths
// and names are compared without case here, in ANSI or wide text.
template <class Char>
constexpr Char FoldAsciiCase(Char c) {
    return c >= 'a' && c <= 'z' ? static_cast<Char>(c - 'a' + 'A') : c;
}

// Whether two texts are the same as paths and names compare (FoldAsciiCase).
template <class Char>
constexpr bool EqualIgnoringAsciiCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](Char x, Char y) { return FoldAsciiCase(x) == FoldAsciiCase(y); });
}

// Whether `name` is the ASCII text `ascii` as names compare (FoldAsciiCase),
// in ANSI or wide text.
template <class Char>
constexpr bool EqualsAsciiIgnoringCase(std::basic_string_view<Char> name, std::string_view ascii) {
    return name.size() == ascii.size() && std::equal(name.begin(), name.end(), ascii.begin(), [](Char n, char a) {
               return FoldAsciiCase(static_cast<std::uint32_t>(n)) ==
                      FoldAsciiCase(static_cast<std::uint32_t>(static_cast<unsigned char>(a)));
           });
}

namespace detail {

// A character's code unit, never negative.
template <class Char>
constexpr std::uint32_t CodeUnit(Char c) {
    return static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<Char>>(c));
}

// A port number the platform reserves: a digit, or a superscript 1, 2 or 3,
// which are U+00B9, U+00B2, U+00B3 in wide text, the bytes B9, B2, B3 in the
// Western code page and C2 B9, C2 B2, C2 B3 in UTF-8.
template <class Char>
constexpr bool IsPortNumber(std::basic_string_view<Char> number) {
    const auto isSuperscript = [](Char c) {
        const std::uint32_t unit = CodeUnit(c);
        return unit == 0xB9 || unit == 0xB2 || unit == 0xB3;
    };
    if (number.size() == 2) return sizeof(Char) == 1 && CodeUnit(number[0]) == 0xC2 && isSuperscript(number[1]);
    return number.size() == 1 && ((number[0] >= '0' && number[0] <= '9') || isSuperscript(number[0]));
}

// Names the platform takes for devices, whatever folder they stand in and
// whatever extension follows them (on Windows 95 even c:\con\con hangs the
// system).
template <class Char>
constexpr bool IsDeviceName(std::basic_string_view<Char> name) {
    name = name.substr(0, name.find(static_cast<Char>('.')));
    while (!name.empty() && name.back() == static_cast<Char>(' ')) name.remove_suffix(1);
    constexpr std::array<std::string_view, 8> kPlainDevices = {"CON",    "PRN",     "AUX",    "NUL",
                                                               "CONIN$", "CONOUT$", "CLOCK$", "CONFIG$"};
    if (std::any_of(kPlainDevices.begin(), kPlainDevices.end(),
                    [&](std::string_view device) { return EqualsAsciiIgnoringCase(name, device); })) {
        return true;
    }
    const std::basic_string_view<Char> port = name.substr(0, 3);
    return (EqualsAsciiIgnoringCase(port, "COM") || EqualsAsciiIgnoringCase(port, "LPT")) &&
           IsPortNumber(name.substr(port.size()));
}

}  // namespace detail

// Whether `name` is one name that the platform keeps as it is, in ANSI or
// wide text: not empty; no control character (NUL among them), separator,
// drive colon or wildcard; no trailing dot or blank, which the platform
// strips (turning ".", ".." and ".. " into steps up or nowhere); and no
// device name. A name from elsewhere (an item ID any program may hand over,
// a level of a directory to add) is joined into a path only when it passes.
template <class Char>
constexpr bool IsPlainName(std::basic_string_view<Char> name) {
    constexpr std::string_view kRefused = "\\/:*?\"<>|";
    const auto isRefused = [&](Char c) {
        const std::uint32_t unit = detail::CodeUnit(c);
        return unit < 0x20 || (unit < 0x80 && kRefused.find(static_cast<char>(unit)) != kRefused.npos);
    };
    return !name.empty() && name.back() != static_cast<Char>('.') && name.back() != static_cast<Char>(' ') &&
           std::none_of(name.begin(), name.end(), isRefused) && !detail::IsDeviceName(name);
}

// Whether `path` is a network path: "\\server" and what follows.
template <class Char>
constexpr bool IsNetworkPath(std::basic_string_view<Char> path) {
    return path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
}

// The naming rule read backwards: the first name of a menu folder's path below
// the menu root is a drive when it is a single letter (C -> C:\), otherwise a
// server (srv -> \\srv\); the rest follows with backslashes. Every result ends
// with a backslash; the menu root itself (empty path) stands for no directory
// and gives empty text. One rule for ANSI and wide text.
template <class Char>
std::basic_string<Char> DirectoryOfMenuFolder(std::basic_string_view<Char> relative) {
    constexpr Char kBackslash = static_cast<Char>('\\');
    if (relative.empty()) return {};
    const std::basic_string_view<Char> first = relative.substr(0, relative.find(kBackslash));
    std::basic_string<Char> directory;
    directory.reserve(relative.size() + 3);
    if (first.size() == 1 && IsDriveLetter(first[0])) {
        directory += first[0];
        directory += static_cast<Char>(':');
        directory += relative.substr(1);
    } else {
        directory.assign(2, kBackslash);
        directory += relative;
    }
    if (directory.back() != kBackslash) directory += kBackslash;
    return directory;
}

// The two text types the program and its companions use; string literals and
// strings of either pick theirs.
inline std::string DirectoryOfMenuFolder(std::string_view relative) {
    return DirectoryOfMenuFolder<char>(relative);
}
inline std::wstring DirectoryOfMenuFolder(std::wstring_view relative) {
    return DirectoryOfMenuFolder<wchar_t>(relative);
}

// The Start Menu path followed by "\RootCaster\", in ANSI or wide text.
std::string MenuBase(std::string_view startMenu);
std::wstring MenuBase(std::wstring_view startMenu);

// Whether `path` begins with the text of `folder`, the letters A to Z
// compared without case and every other character exactly.
bool BeginsWithFolder(std::string_view path, std::string_view folder);

// The one rule for joining paths and for a folder's closing backslash.
// `folder` and `name` with one backslash between them; no folder gives
// `name` alone.
template <class Char>
std::basic_string<Char> JoinPath(std::basic_string_view<Char> folder, std::basic_string_view<Char> name) {
    std::basic_string<Char> path(folder);
    if (!path.empty() && path.back() != static_cast<Char>('\\')) path += static_cast<Char>('\\');
    path += name;
    return path;
}
inline std::string JoinPath(std::string_view folder, std::string_view name) {
    return JoinPath<char>(folder, name);
}
inline std::wstring JoinPath(std::wstring_view folder, std::wstring_view name) {
    return JoinPath<wchar_t>(folder, name);
}

// A folder's path as it is listed or joined, with a closing backslash (an
// empty one becomes the root's, "\\").
template <class Char>
void EnsureClosingBackslash(std::basic_string<Char>& path) {
    if (path.empty() || path.back() != static_cast<Char>('\\')) path += static_cast<Char>('\\');
}

// A folder's path as it names the folder itself, without a closing
// backslash; a drive root keeps it ("C:" alone is the drive's current folder).
template <class Char>
std::basic_string<Char> WithoutClosingBackslash(std::basic_string_view<Char> path) {
    const bool driveRoot = path.size() == 3 && path[1] == static_cast<Char>(':');
    if (!driveRoot && !path.empty() && path.back() == static_cast<Char>('\\')) path.remove_suffix(1);
    return std::basic_string<Char>(path);
}
inline std::string WithoutClosingBackslash(std::string_view path) {
    return WithoutClosingBackslash<char>(path);
}
inline std::wstring WithoutClosingBackslash(std::wstring_view path) {
    return WithoutClosingBackslash<wchar_t>(path);
}

// The levels that get items, top down: every prefix of `path` (which ends with
// a backslash) ending with a backslash at position 1 or later, except the bare
// "\\" that starts a network path.
std::vector<std::string> ItemLevels(std::string_view path);

// Depth below the menu root of a folder given without closing backslash: 0
// for the menu root, 1 for a first level; -1 when the folder is neither the
// menu root nor below it.
int MenuDepth(std::string_view folder, std::string_view menuBase);

// The marker identifier a folder at `depth` below the menu root calls for.
const char* ClassIdForDepth(int depth);

// The exact 65 bytes of a desktop.ini naming `classId`.
std::string DesktopIniText(std::string_view classId);

// One folder of the walk down a full menu folder path: created always, marked
// (where the system marks at all) only when it is the menu root or below it.
struct FolderStep {
    std::string folder;
    int depth;  // MenuDepth; -1: above the menu root, never marked
};

// The folders along `menuFolder` (the menu base followed by an encoded path),
// top down: the text before every backslash from position 4 on, then the whole
// path when it has no closing backslash. Only a backslash that is a character
// of its own separates; a double-byte character's trail byte never does.
std::vector<FolderStep> MenuFolderWalk(std::string_view menuFolder, std::string_view menuBase, LeadByteTest isLeadByte);

enum class PathVerdict {
    kAccepted,
    kInsideStartMenu,  // would put the Start Menu into itself
    kRelative,         // neither a drive path ("X:" then a backslash or the end) nor a network path
    kUnsafeName,       // a folder or item would not land, under its own name, below the menu root
    kTooLong,          // a folder, marker or item path would not fit the platform's buffers
};

// Whether adding `path` below `startMenu` may go ahead. Every path the add
// would touch below the menu root is judged before anything is created, so a
// refused path changes nothing at all. The empty path stands for the menu
// root alone.
PathVerdict CheckDirectoryPath(std::string_view startMenu, std::string_view path, LeadByteTest isLeadByte);

}  // namespace menubuilder
