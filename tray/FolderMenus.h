#pragma once
// The tray's cascading menus, read live: a submenu is filled when it opens
// (WM_INITMENUPOPUP) and emptied when it closes (WM_UNINITMENUPOPUP). A
// folder of more than kPageSize entries (besides its menu items, which stay
// at its top) is indexed like a phone book: its menu shows ranges of its
// listing, each named by its first and last names as far as they tell it
// apart from its neighbours ("Aal – Ber"), each a submenu showing that
// range's entries, or ranges of ranges where one level is not enough. Each
// level splits into about as many ranges as each range holds entries, so any
// entry of a folder of up to 22,500 shows in the folder's own menu or one of
// its ranges, of up to 3.4 million in a range of a range. Ranges are
// filled from the folder's one reading when they open, and only the submenus
// of open menus exist, so a folder of any size costs a page's worth of menu
// handles. Items are owner-drawn with the shell's small icons, each looked up
// when first drawn. A right click on an entry, or the keys that ask for its
// context menu (the Applications key, Shift+F10), end the menus and leave the
// entry for the shell's context menu.

#include "framework/UniqueHandle.h"
#include "listing/DirectoryReader.h"
#include "tray/ShellIcons.h"

#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tray {

inline constexpr size_t kPageSize = 150;

// One reading of a folder, shared by the menus of its ranges.
struct FolderReading {
    std::wstring directory;   // with closing backslash
    std::wstring menuFolder;  // with closing backslash
    std::vector<listing::WideEntry> entries;
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
    enum class Kind { kFile, kFolder, kOpenFolder, kRange, kNote, kSeparator };
    Kind kind = Kind::kNote;
    std::wstring text;
    std::wstring path;        // the file, or the directory with closing backslash
    std::wstring menuFolder;  // a folder's menu folder
    DWORD attributes = 0;
    size_t first = 0;  // a range's entries [first, end) in its menu's reading
    size_t end = 0;
    UINT id = 0;  // the command of a line that opens no submenu
    int icon = kIconNotLookedUp;
};

class FolderMenus {
public:
    // `owner` tracks the menus; while this object lives, it watches the
    // thread's menu loop for right clicks and context-menu keys.
    FolderMenus(ShellIcons& icons, HWND owner);
    ~FolderMenus();
    FolderMenus(const FolderMenus&) = delete;
    FolderMenus& operator=(const FolderMenus&) = delete;

    // A popup showing `source`, filled now; its submenus fill as they open.
    fw::UniqueMenu CreateMenu(const Source& source);
    // The popup of the menu root (Start Menu\RootCaster\): its drives and servers.
    fw::UniqueMenu CreateRootMenu(const std::wstring& menuRoot);

    // The menu messages of the window that tracks these menus. True when
    // handled, with the message's result in `result`.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // The line that the command a tracking returned stands for: the last one
    // highlighted (its menu is gone by then). None for another command.
    std::optional<Line> Chosen(UINT command) const;
    // The line whose context menu was asked for, which ended the tracking.
    const std::optional<Line>& ContextMenuAsked() const { return m_contextMenuAsked; }

    // The line an item of these menus stands for; none for a separator.
    static const Line* LineAt(HMENU menu, UINT position);

private:
    struct Page {
        std::vector<Line> lines;  // items point at them: never resized once inserted
        std::shared_ptr<const FolderReading> reading;
    };

    void Fill(HMENU menu);
    void Empty(HMENU menu);
    Page PageOf(const Source& source) const;
    void Insert(HMENU menu, Page& page);
    Source SubmenuSource(const Line& line, const Page& page) const;
    UINT NextId();

    bool Measure(MEASUREITEMSTRUCT& item) const;
    bool Draw(const DRAWITEMSTRUCT& item);
    void OnMenuSelect(UINT item, UINT flags, HMENU menu);
    LRESULT OnMenuChar(wchar_t character, HMENU menu) const;
    static LRESULT CALLBACK FilterMenuMessage(int code, WPARAM wParam, LPARAM lParam);
    bool OnContextMenuAsked() noexcept;

    ShellIcons& m_icons;
    HWND m_owner;
    fw::UniqueHook m_contextMenuWatch;
    fw::UniqueFont m_font;
    fw::UniqueDC m_measuring;           // holds m_font selected; goes first
    std::map<HMENU, Source> m_sources;  // every submenu that exists, by handle
    std::map<HMENU, Page> m_pages;      // the menus filled now
    std::optional<Line> m_highlighted;
    std::optional<Line> m_contextMenuAsked;
    UINT m_nextId = 0;
};

}  // namespace tray
