#include "tray/MenuItems.h"

#include "framework/Dpi.h"
#include "framework/RuntimeLink.h"
#include "framework/WideText.h"
#include "framework/WindowsVersion.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

namespace tray {
namespace {

// MENUITEMINFO as Windows 95 and NT 4.0 know it: everything before
// hbmpItem, padding included (44 bytes on x86, 80 on x64, sizes Windows
// accepts; cch's end alone would make 68 on x64, which none does).
constexpr UINT kOldMenuItemInfoSize = offsetof(MENUITEMINFOA, hbmpItem);

// At 96 DPI; scaled to the menus' DPI.
constexpr int kGap = 4;
constexpr int kMostTextWidth = 400;

using InsertMenuItemWFunction = BOOL WINAPI(HMENU, UINT, BOOL, LPCMENUITEMINFOW);

// A name as a menu string shows it: an ampersand marks no letter.
std::wstring MenuString(const std::wstring& text) {
    std::wstring escaped;
    for (const wchar_t c : text) {
        escaped += c;
        if (c == L'&') escaped += L'&';
    }
    return escaped;
}

// Through the wide function where the system has one, else in ANSI.
bool InsertItem(HMENU menu, MENUITEMINFOW& item, const std::wstring& text) {
    const auto position = static_cast<UINT>(::GetMenuItemCount(menu));
    if (auto* insertW = fw::IsNt() ? fw::LookUp<InsertMenuItemWFunction>("user32.dll", "InsertMenuItemW") : nullptr) {
        return insertW(menu, position, TRUE, &item) != FALSE;
    }
    std::string narrow = fw::Narrow(text);
    MENUITEMINFOA ansi{};
    static_assert(sizeof(ansi) == sizeof(item));
    std::memcpy(&ansi, &item, sizeof(ansi));
    if (item.dwTypeData) ansi.dwTypeData = narrow.data();
    return ::InsertMenuItemA(menu, position, TRUE, &ansi) != FALSE;
}

// A 32-bpp top-down DIB section of `size` pixels square; `bits` its pixels.
fw::UniqueBitmap CreateArgbBitmap(int size, DWORD*& bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    fw::UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    bits = static_cast<DWORD*>(pixels);
    return bitmap;
}

void DrawOnto(HBITMAP bitmap, HICON icon, int size) {
    const fw::UniqueDC dc(::CreateCompatibleDC(nullptr));
    if (!dc) return;
    const HGDIOBJ previous = ::SelectObject(dc.get(), bitmap);
    ::DrawIconEx(dc.get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    ::SelectObject(dc.get(), previous);
    ::GdiFlush();
}

// The icon scaled to `size` as premultiplied ARGB, whether it carries alpha
// or only a mask: drawn on black and on white, how much of the white shows
// through is how transparent a pixel is, and on black it is premultiplied.
fw::UniqueBitmap AlphaBitmapOf(HICON icon, int size) {
    DWORD* onBlack = nullptr;
    DWORD* onWhite = nullptr;
    fw::UniqueBitmap black = CreateArgbBitmap(size, onBlack);
    const fw::UniqueBitmap white = CreateArgbBitmap(size, onWhite);
    if (!black || !white) return fw::UniqueBitmap();
    const auto pixels = static_cast<size_t>(size) * static_cast<size_t>(size);
    std::fill(onBlack, onBlack + pixels, 0u);
    std::fill(onWhite, onWhite + pixels, 0xFFFFFFFFu);
    DrawOnto(black.get(), icon, size);
    DrawOnto(white.get(), icon, size);
    for (size_t i = 0; i < pixels; ++i) {
        const DWORD shown = (onWhite[i] >> 8 & 0xFF) - (onBlack[i] >> 8 & 0xFF);
        onBlack[i] = (onBlack[i] & 0x00FFFFFF) | (0xFF - std::min<DWORD>(shown, 0xFF)) << 24;
    }
    return black;
}

}  // namespace

ItemData ItemDataOf(Line& line) {
    return ItemData{{static_cast<DWORD>(MSAA_MENU_SIG), static_cast<DWORD>(line.text.size()), line.text.data()}, &line};
}

MenuLook ReportedMenuLook() {
    const OSVERSIONINFOA version = fw::ReportedVersion();
    return MenuLookFor(version.dwMajorVersion, version.dwMinorVersion, version.dwPlatformId == VER_PLATFORM_WIN32_NT);
}

MenuMetrics MenuMetrics::ForWindow(HWND window) {
    MenuMetrics metrics;
    metrics.dpi = fw::DpiOf(window);
    metrics.icon = fw::MetricAt(SM_CXSMICON, metrics.dpi);
    metrics.gap = fw::Scaled(kGap, metrics.dpi);
    metrics.textStart = metrics.gap + metrics.icon + 2 * metrics.gap;
    return metrics;
}

MenuItems::MenuItems(ShellIcons& icons, HWND owner, MenuLook look)
    : m_icons(icons),
      m_look(look),
      m_metrics(MenuMetrics::ForWindow(owner)),
      m_font(fw::NonClientFontAt(&NONCLIENTMETRICSA::lfMenuFont, m_metrics.dpi)),
      m_measuring(::CreateCompatibleDC(nullptr)) {
    if (m_measuring && m_font) ::SelectObject(m_measuring.get(), m_font.get());
}

Line* MenuItems::LineOf(ULONG_PTR itemData) {
    return itemData ? reinterpret_cast<ItemData*>(itemData)->line : nullptr;
}

bool MenuItems::Append(HMENU menu, ItemData& data, ItemImages& images, HMENU submenu) {
    Line& line = *data.line;
    const bool separator = line.kind == Line::Kind::kSeparator;
    MENUITEMINFOW item{};
    item.cbSize = m_look == MenuLook::kOwnerDrawn ? kOldMenuItemInfoSize : sizeof(item);
    item.fMask = MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_SUBMENU;
    item.fState = line.kind == Line::Kind::kNote ? MFS_DISABLED : MFS_ENABLED;
    item.wID = line.id;
    item.hSubMenu = submenu;
    item.dwItemData = separator ? 0 : reinterpret_cast<ULONG_PTR>(&data);
    const std::wstring text = MenuString(line.text);
    if (m_look == MenuLook::kOwnerDrawn || separator) {
        item.fMask |= MIIM_TYPE;
        item.fType = separator ? MFT_SEPARATOR : MFT_OWNERDRAW;
    } else {
        item.fMask |= MIIM_FTYPE | MIIM_STRING | MIIM_BITMAP;
        item.fType = MFT_STRING;
        item.dwTypeData = const_cast<wchar_t*>(text.c_str());
        if (IsShellEntry(line)) {
            item.hbmpItem = m_look == MenuLook::kThemed ? ThemedBitmap(line, images) : HBMMENU_CALLBACK;
        }
    }
    return InsertItem(menu, item, text);
}

// Looked up when first shown: most entries of a large folder never are.
int MenuItems::IconOf(Line& line) {
    if (line.icon == kIconNotLookedUp)
        line.icon = IsShellEntry(line) ? m_icons.IndexOf(line.path, line.attributes) : kNoIcon;
    return line.icon;
}

// Entries of one type share their type's bitmap.
HBITMAP MenuItems::ThemedBitmap(Line& line, ItemImages& images) {
    const int icon = IconOf(line);
    if (icon < 0) return nullptr;
    auto& bitmap = images.bitmaps[icon];
    if (!bitmap) {
        const fw::UniqueIcon shellIcon(::ImageList_GetIcon(m_icons.Images(), icon, ILD_TRANSPARENT));
        if (shellIcon) bitmap = AlphaBitmapOf(shellIcon.get(), m_metrics.icon);
    }
    return bitmap.get();
}

// The shell's small icon, scaled where its image list holds another size.
void MenuItems::DrawIcon(Line& line, HDC dc, int left, int top) {
    const int icon = IconOf(line);
    if (icon < 0) return;
    const HIMAGELIST images = m_icons.Images();
    int width = 0;
    int height = 0;
    ::ImageList_GetIconSize(images, &width, &height);
    if (width == m_metrics.icon) {
        ::ImageList_Draw(images, icon, dc, left, top, ILD_TRANSPARENT);
        return;
    }
    const fw::UniqueIcon scaled(::ImageList_GetIcon(images, icon, ILD_TRANSPARENT));
    if (scaled) ::DrawIconEx(dc, left, top, scaled.get(), m_metrics.icon, m_metrics.icon, 0, nullptr, DI_NORMAL);
}

bool MenuItems::Measure(MEASUREITEMSTRUCT& item) const {
    const Line* line = LineOf(item.itemData);
    if (item.CtlType != ODT_MENU || !line) return false;
    if (m_look != MenuLook::kOwnerDrawn) {  // the icon of a string item
        item.itemWidth = static_cast<UINT>(m_metrics.icon);
        item.itemHeight = static_cast<UINT>(m_metrics.icon);
        return true;
    }
    SIZE text{0, 0};
    ::GetTextExtentPoint32W(m_measuring.get(), line->text.c_str(), static_cast<int>(line->text.size()), &text);
    const int most = fw::Scaled(kMostTextWidth, m_metrics.dpi);
    item.itemWidth = static_cast<UINT>(m_metrics.textStart + std::min(static_cast<int>(text.cx), most) + m_metrics.gap);
    item.itemHeight = static_cast<UINT>(std::max(static_cast<int>(text.cy), m_metrics.icon) + m_metrics.gap);
    return true;
}

bool MenuItems::Draw(const DRAWITEMSTRUCT& item) {
    Line* line = LineOf(item.itemData);
    if (item.CtlType != ODT_MENU || !line) return false;
    const RECT& area = item.rcItem;
    if (m_look == MenuLook::kOwnerDrawn) {
        DrawWhole(item, *line);
    } else {
        DrawIcon(*line, item.hDC, area.left, area.top + (area.bottom - area.top - m_metrics.icon) / 2);
    }
    return true;
}

void MenuItems::DrawWhole(const DRAWITEMSTRUCT& item, Line& line) {
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const RECT& area = item.rcItem;
    ::FillRect(item.hDC, &area, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    const int height = area.bottom - area.top;
    DrawIcon(line, item.hDC, area.left + m_metrics.gap, area.top + (height - m_metrics.icon) / 2);
    const int color = line.kind == Line::Kind::kNote ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT;
    ::SetTextColor(item.hDC, ::GetSysColor(color));
    ::SetBkMode(item.hDC, TRANSPARENT);
    const HGDIOBJ previous = m_font ? ::SelectObject(item.hDC, m_font.get()) : nullptr;
    SIZE text{0, 0};
    ::GetTextExtentPoint32W(item.hDC, L"X", 1, &text);
    RECT textArea = area;
    textArea.left += m_metrics.textStart;
    ::ExtTextOutW(item.hDC, textArea.left, area.top + (height - text.cy) / 2, ETO_CLIPPED, &textArea, line.text.c_str(),
                  static_cast<UINT>(line.text.size()), nullptr);
    if (previous) ::SelectObject(item.hDC, previous);
}

}  // namespace tray
