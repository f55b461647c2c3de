#pragma once
// What each menu of the tray shows, free of Windows: its lines (entries,
// notes, separators, ranges), the ranges a large folder splits into, and the
// answer to a typed letter. A folder of more than kPageSize entries (besides
// its menu items, which stay at its top) is indexed like a phone book: its
// menu shows ranges of its listing, each named by its first and last names
// as far as they tell it apart from its neighbours ("Aal – Ber"), each a
// submenu showing that range's entries, or ranges of ranges where one level
// is not enough. Each level splits into about as many ranges as each range
// holds entries, so any entry of a folder of up to 22,500 shows in the
// folder's own menu or one of its ranges, of up to 3.4 million in a range of
// a range.

#include "listing/Listing.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tray {

inline constexpr size_t kPageSize = 150;
inline constexpr int kIconNotLookedUp = -2;
inline constexpr int kNoIcon = -1;

using Entry = listing::Entry<wchar_t>;

// One reading of a folder, shared by the menus of its ranges.
struct FolderReading {
    std::wstring directory;   // with closing backslash
    std::wstring menuFolder;  // with closing backslash
    std::vector<Entry> entries;
};

// What a submenu shows when it opens.
struct Source {
    enum class Kind {
        kMenuFolders,  // the menu folders in `menuFolder`: drives and servers, or a server's shares
        kFolder,       // `directory` as it is now, with the items of `menuFolder`
        kRange,        // the entries [first, end) of an earlier reading
    };
    Kind kind = Kind::kFolder;
    std::wstring directory;   // with closing backslash; empty at the menu root
    std::wstring menuFolder;  // with closing backslash; need not exist
    std::shared_ptr<const FolderReading> reading;
    size_t first = 0;
    size_t end = 0;
};

// What one item of a menu stands for.
struct Line {
    enum class Kind { kFile, kFolder, kOpenFolder, kRange, kNote, kSeparator, kSearch };
    Kind kind = Kind::kNote;
    std::wstring text;
    std::wstring path;        // the file, or the directory with closing backslash
    std::wstring menuFolder;  // a folder's menu folder
    std::uint32_t attributes = 0;
    size_t first = 0;  // a range's entries [first, end) in its menu's reading
    size_t end = 0;
    unsigned id = 0;  // the command of a line that opens no submenu
    int icon = kIconNotLookedUp;
};

Line NoteLine(const wchar_t* text);
Line SeparatorLine();
Line OpenFolderLine(const std::wstring& directory);
Line SearchLine(unsigned command);
Line FolderLine(std::wstring text, std::wstring directory, std::wstring menuFolder, std::uint32_t attributes);

bool OpensSubmenu(const Line& line);
// Lines the shell knows no icon or context menu of.
bool IsShellEntry(const Line& line);

// The lines of a folder's reading; `listed` false when it could not be read.
std::vector<Line> FolderLines(const std::shared_ptr<const FolderReading>& reading, bool listed);
// The entries [first, end) of `reading`: a page of them, or ranges of them
// splitting them evenly.
void AppendEntries(const FolderReading& reading, size_t first, size_t end, std::vector<Line>& lines);
// Into how many ranges a menu splits `count` entries.
size_t RangeCount(size_t count);

// What a menu answers a typed character, as WM_MENUCHAR wants it.
struct MenuCharAnswer {
    enum class Action { kIgnore, kSelect, kExecute };
    Action action = Action::kIgnore;
    size_t position = 0;
};
// A character goes to the next entry it starts after the highlighted one
// (none: `highlighted` past the end), or the next range holding an entry it
// starts; one that is the only one is chosen (or opened) at once. "Search..."
// takes an "s" no entry takes.
MenuCharAnswer AnswerMenuChar(const std::vector<Line>& lines, const FolderReading* reading, size_t highlighted,
                              wchar_t character);

// How the system draws a menu's items.
enum class MenuLook {
    kOwnerDrawn,      // Windows 95 and NT 4.0: no bitmaps in items
    kBitmapCallback,  // 98, Me, 2000, XP: the system draws the text, the program the icon
    kThemed,          // Vista on: string items with alpha bitmaps, in the system's theme
};
// By the Windows version reported (major, minor; `nt` for the NT family).
MenuLook MenuLookFor(unsigned major, unsigned minor, bool nt);

}  // namespace tray
