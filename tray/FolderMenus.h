#pragma once
// The tray's cascading menus, read live: a submenu is filled when it opens
// (WM_INITMENUPOPUP) and emptied when it closes (WM_UNINITMENUPOPUP). What
// each shows is MenuPages' lines; ranges are filled from the folder's one
// reading when they open, and only the submenus of open menus exist, so a
// folder of any size costs a page's worth of menu handles. Every item is
// known by its data, which points at its line. A right click on an entry,
// or the keys that ask for its context menu (the Applications key,
// Shift+F10), end the menus and leave the entry for the shell's context menu.

#include "framework/UniqueHandle.h"
#include "tray/ContextMenuWatch.h"
#include "tray/MenuItems.h"
#include "tray/MenuPages.h"
#include "tray/ShellIcons.h"

#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tray {

class FolderMenus {
public:
    // `owner` tracks the menus; while this object lives, it watches the
    // thread's menu loop for right clicks and context-menu keys.
    FolderMenus(ShellIcons& icons, HWND owner, MenuLook look = ReportedMenuLook());
    FolderMenus(const FolderMenus&) = delete;
    FolderMenus& operator=(const FolderMenus&) = delete;

    // A popup showing `source`, filled now; its submenus fill as they open.
    fw::UniqueMenu CreateMenu(const Source& source);
    // The popup of the menu root (Start Menu\RootCaster\): "Search...", then
    // its drives and servers.
    fw::UniqueMenu CreateRootMenu(const std::wstring& menuRoot);

    // The menu messages of the window that tracks these menus. True when
    // handled, with the message's result in `result`.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // The line that the command a tracking returned stands for: the last one
    // highlighted (its menu is gone by then). None for another command.
    std::optional<Line> Chosen(UINT command) const;
    // The line whose context menu was asked for, which ended the tracking.
    const std::optional<Line>& ContextMenuAsked() const { return m_contextMenuAsked; }

    const MenuItems& Items() const { return m_items; }

    // The line an item of these menus stands for; none for a separator.
    static const Line* LineAt(HMENU menu, UINT position);

private:
    struct Page {
        std::vector<Line> lines;  // items point at them: never resized once inserted
        std::shared_ptr<const FolderReading> reading;
        ItemImages images;
    };

    void Fill(HMENU menu);
    void Empty(HMENU menu);
    static Page PageOf(const Source& source);
    void Insert(HMENU menu, Page& page);
    static Source SubmenuSource(const Line& line, const Page& page);
    UINT NextId();

    void OnMenuSelect(UINT item, UINT flags, HMENU menu);
    LRESULT OnMenuChar(wchar_t character, HMENU menu) const;
    static bool OnContextMenuAsked(void* menus) noexcept;

    HWND m_owner;
    MenuItems m_items;
    std::map<HMENU, Source> m_sources;  // every submenu that exists, by handle
    std::map<HMENU, Page> m_pages;      // the menus filled now
    std::optional<Line> m_highlighted;
    std::optional<Line> m_contextMenuAsked;
    UINT m_nextId = 0;
    ContextMenuWatch m_contextMenuWatch;  // last: watches the rest
};

}  // namespace tray
