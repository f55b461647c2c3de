#pragma once
// How the tray's menu items look, drawn by the system where it allows: on
// Vista and later string items with their icons as alpha bitmaps, in the
// theme; on 98, Me, 2000 and XP string items whose icons the program draws
// (HBMMENU_CALLBACK); on 95 and NT 4.0 items the program draws whole, their
// names told to screen readers (MSAAMENUINFO). Everything scales with the
// DPI of the menus' owner.

#include "framework/UniqueHandle.h"
#include "tray/MenuPages.h"
#include "tray/ShellIcons.h"

#include <windows.h>
#include <oleacc.h>

#include <map>
#include <vector>

namespace tray {

// What a menu item's data points at: the name for screen readers first, as
// they read an owner-drawn item's data, then the line it stands for.
struct ItemData {
    MSAAMENUINFO accessible;
    Line* line;
};
ItemData ItemDataOf(Line& line);

// The look for the Windows version this program is told it runs on.
MenuLook ReportedMenuLook();

// Sizes in pixels at one DPI.
struct MenuMetrics {
    int dpi = 96;
    int icon = 16;  // the small-icon size
    int gap = 4;
    int textStart = 28;  // where an owner-drawn item's text begins

    static MenuMetrics ForWindow(HWND window);
};

// One open menu's items: their data, and the icons of the themed look.
struct ItemImages {
    std::vector<ItemData> data;               // items point at them: never resized once inserted
    std::map<int, fw::UniqueBitmap> bitmaps;  // by icon index
};

class MenuItems {
public:
    MenuItems(ShellIcons& icons, HWND owner, MenuLook look);

    MenuLook Look() const { return m_look; }
    const MenuMetrics& Metrics() const { return m_metrics; }

    // Appends the item of `data`'s line to `menu`, opening `submenu` (which
    // it then owns) or else giving its line's command.
    bool Append(HMENU menu, ItemData& data, ItemImages& images, HMENU submenu);

    bool Measure(MEASUREITEMSTRUCT& item) const;
    bool Draw(const DRAWITEMSTRUCT& item);

    // The line an item stands for, by its data; none for a separator.
    static Line* LineOf(ULONG_PTR itemData);

private:
    HBITMAP ThemedBitmap(Line& line, ItemImages& images);
    int IconOf(Line& line);
    void DrawIcon(Line& line, HDC dc, int left, int top);
    void DrawWhole(const DRAWITEMSTRUCT& item, Line& line);

    ShellIcons& m_icons;
    MenuLook m_look;
    MenuMetrics m_metrics;
    fw::UniqueFont m_font;
    fw::UniqueDC m_measuring;  // holds m_font selected; goes first
};

}  // namespace tray
