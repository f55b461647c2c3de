#include "tray/FolderMenus.h"

#include "menubuilder/MenuPath.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>

namespace tray {
namespace {

// MENUITEMINFOA as Windows 95 and NT 4.0 know it: everything before
// hbmpItem, padding included (44 bytes on x86, 80 on x64, sizes Windows
// accepts; cch's end alone would make 68 on x64, which none does).
constexpr UINT kMenuItemInfoSize = offsetof(MENUITEMINFOA, hbmpItem);

// Commands fit the 16 bits older systems keep.
constexpr UINT kLastId = 0xFFFF;

constexpr int kIconSize = 16;
constexpr int kGap = 4;
constexpr int kTextStart = kGap + kIconSize + 2 * kGap;
constexpr int kMostTextWidth = 400;

const wchar_t kOpenFolderText[] = L"Open this folder";
const wchar_t kRangeDash[] = L" \u2013 ";  // an en dash, drawn as wide text
const wchar_t kEmptyText[] = L"(empty)";
const wchar_t kNotAvailableText[] = L"(not available)";

// The menus being tracked; one thread, one tracking at a time.
FolderMenus* g_watched = nullptr;

// The menu's own font, as the user set it.
fw::UniqueFont CreateMenuFont() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return fw::UniqueFont();
    return fw::UniqueFont(::CreateFontIndirectA(&metrics.lfMenuFont));
}

Line NoteLine(const wchar_t* text) {
    Line line;
    line.kind = Line::Kind::kNote;
    line.text = text;
    return line;
}

Line SeparatorLine() {
    Line line;
    line.kind = Line::Kind::kSeparator;
    return line;
}

Line OpenFolderLine(const std::wstring& directory) {
    Line line;
    line.kind = Line::Kind::kOpenFolder;
    line.text = kOpenFolderText;
    line.path = directory;
    line.attributes = FILE_ATTRIBUTE_DIRECTORY;
    return line;
}

Line FolderLine(std::wstring text, std::wstring directory, std::wstring menuFolder, DWORD attributes) {
    Line line;
    line.kind = Line::Kind::kFolder;
    line.text = std::move(text);
    line.path = std::move(directory);
    line.menuFolder = std::move(menuFolder);
    line.attributes = attributes | FILE_ATTRIBUTE_DIRECTORY;
    return line;
}

Line EntryLine(const FolderReading& reading, const listing::WideEntry& entry) {
    if (entry.group == listing::Group::kFolder) {
        return FolderLine(entry.name, reading.directory + entry.name + L'\\', reading.menuFolder + entry.name + L'\\',
                          entry.attributes);
    }
    Line line;
    line.kind = Line::Kind::kFile;
    line.text = std::wstring(listing::DisplayName(entry));
    line.path = (entry.group == listing::Group::kItem ? reading.menuFolder : reading.directory) + entry.name;
    line.attributes = entry.attributes;
    return line;
}

bool OpensSubmenu(const Line& line) {
    return line.kind == Line::Kind::kFolder || line.kind == Line::Kind::kRange;
}

std::vector<Line> MenuFolderLines(const Source& source) {
    std::vector<Line> lines;
    // The root's drives and servers, or a server's shares: read alike.
    for (const listing::WideEntry& entry : listing::ReadMenuFolders(source.menuFolder)) {
        // At the root a name is a drive or a server; below a server, a share.
        const std::wstring directory = source.directory.empty()
                                           ? menubuilder::DirectoryOfMenuFolder(std::wstring_view(entry.name))
                                           : source.directory + entry.name + L'\\';
        std::wstring text =
            source.directory.empty() ? listing::MenuRootEntryText(std::wstring_view(entry.name)) : entry.name;
        lines.push_back(FolderLine(std::move(text), directory, source.menuFolder + entry.name + L'\\', 0));
    }
    if (lines.empty()) lines.push_back(NoteLine(kEmptyText));
    return lines;
}

std::shared_ptr<const FolderReading> ReadFolder(const Source& source, listing::State& state) {
    listing::Listing listed = listing::ReadListing(source.menuFolder, source.directory);
    state = listed.state;
    return std::make_shared<const FolderReading>(
        FolderReading{source.directory, source.menuFolder, std::move(listed.entries)});
}

// A right click, the Applications key or Shift+F10 (a system key, as F10 is).
bool AsksForContextMenu(const MSG& message) {
    if (message.message == WM_RBUTTONUP) return true;
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
    return message.wParam == VK_APPS || (message.wParam == VK_F10 && ::GetKeyState(VK_SHIFT) < 0);
}

bool StartsWith(std::wstring_view text, wchar_t character) {
    return !text.empty() && menubuilder::FoldAsciiCase(text[0]) == menubuilder::FoldAsciiCase(character);
}

// How many code units two names share from their start, as a typed letter
// compares them.
size_t CommonStart(std::wstring_view a, std::wstring_view b) {
    size_t length = 0;
    while (length < a.size() && length < b.size() &&
           menubuilder::FoldAsciiCase(a[length]) == menubuilder::FoldAsciiCase(b[length]))
        ++length;
    return length;
}

bool IsHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

// The shortest start of `name` that `neighbour` does not begin with (the
// whole name when there is none), never cutting a character in two.
std::wstring_view DistinctStart(std::wstring_view name, std::wstring_view neighbour) {
    size_t length = std::min(CommonStart(name, neighbour) + 1, name.size());
    if (length < name.size() && IsHighSurrogate(name[length - 1])) ++length;
    return name.substr(0, length);
}

std::wstring_view NameAt(const FolderReading& reading, size_t index) {
    return index < reading.entries.size() ? listing::DisplayName(reading.entries[index]) : std::wstring_view();
}

// A range is named by its first and last names, each as far as it tells
// them from the names just outside the range.
Line RangeLine(const FolderReading& reading, size_t first, size_t end) {
    Line line;
    line.kind = Line::Kind::kRange;
    line.text = std::wstring(DistinctStart(NameAt(reading, first), first > 0 ? NameAt(reading, first - 1) : L""));
    line.text += kRangeDash;
    line.text += DistinctStart(NameAt(reading, end - 1), NameAt(reading, end));
    line.first = first;
    line.end = end;
    return line;
}

bool RangeHolds(const FolderReading& reading, const Line& range, wchar_t character) {
    for (size_t index = range.first; index < range.end; ++index) {
        if (StartsWith(NameAt(reading, index), character)) return true;
    }
    return false;
}

std::uint64_t Power(std::uint64_t base, int exponent) {
    std::uint64_t result = 1;
    while (exponent-- > 0) result *= base;
    return result;
}

// Into how many ranges a menu splits `count` entries: the fewest levels of
// menus that reach each within kPageSize per menu, and within those levels
// the shortest menus, as many ranges in each as entries in each range (the
// square root of the count for two levels, the cube root for three).
size_t RangeCount(size_t count) {
    int levels = 2;
    for (std::uint64_t reach = std::uint64_t{kPageSize} * kPageSize; reach < count; reach *= kPageSize) ++levels;
    size_t ranges = 2;
    while (Power(ranges, levels) < count) ++ranges;
    return ranges;
}

// The menu folder's items, which lead the listing, stay at the top of a
// folder's menu unless they fill more than a page themselves.
size_t ItemsOnTop(const std::vector<listing::WideEntry>& entries) {
    const auto items = std::find_if(entries.begin(), entries.end(), [](const listing::WideEntry& entry) {
        return entry.group != listing::Group::kItem;
    });
    const auto count = static_cast<size_t>(items - entries.begin());
    return count <= kPageSize ? count : 0;
}

// The entries [first, end) of `reading`: a page of them, or ranges of them
// splitting them evenly.
void AppendEntries(const std::shared_ptr<const FolderReading>& reading, size_t first, size_t end,
                   std::vector<Line>& lines) {
    const size_t count = end - first;
    if (count <= kPageSize) {
        for (size_t index = first; index < end; ++index) lines.push_back(EntryLine(*reading, reading->entries[index]));
        return;
    }
    const size_t ranges = RangeCount(count);
    const auto start = [&](size_t range) { return first + static_cast<size_t>(std::uint64_t{count} * range / ranges); };
    for (size_t range = 0; range < ranges; ++range) {
        lines.push_back(RangeLine(*reading, start(range), start(range + 1)));
    }
}

}  // namespace

// Menus of every Windows pass their loop's messages through the thread's
// message filter (WH_MSGFILTER, MSGF_MENU); a right click is caught there, as
// WM_MENURBUTTONUP exists only from Windows 98/2000 on, and so are the keys
// that ask for a context menu, which the menu loop would ignore.
FolderMenus::FolderMenus(ShellIcons& icons, HWND owner)
    : m_icons(icons),
      m_owner(owner),
      m_contextMenuWatch(
          ::SetWindowsHookExA(WH_MSGFILTER, &FolderMenus::FilterMenuMessage, nullptr, ::GetCurrentThreadId())),
      m_font(CreateMenuFont()),
      m_measuring(::CreateCompatibleDC(nullptr)) {
    if (m_measuring && m_font) ::SelectObject(m_measuring.get(), m_font.get());
    g_watched = this;
}

FolderMenus::~FolderMenus() {
    if (g_watched == this) g_watched = nullptr;
}

fw::UniqueMenu FolderMenus::CreateMenu(const Source& source) {
    fw::UniqueMenu menu(::CreatePopupMenu());
    if (!menu) return menu;
    m_sources.emplace(menu.get(), source);
    Fill(menu.get());
    return menu;
}

fw::UniqueMenu FolderMenus::CreateRootMenu(const std::wstring& menuRoot) {
    Source root;
    root.kind = Source::Kind::kMenuFolders;
    root.menuFolder = menuRoot;
    return CreateMenu(root);
}

bool FolderMenus::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
        case WM_INITMENUPOPUP: Fill(reinterpret_cast<HMENU>(wParam)); return true;
        // From Windows 98/2000 on; before, a submenu keeps what it showed
        // until the whole menu closes.
        case WM_UNINITMENUPOPUP: Empty(reinterpret_cast<HMENU>(wParam)); return true;
        case WM_MEASUREITEM: result = Measure(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)); return result != 0;
        case WM_DRAWITEM: result = Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return result != 0;
        case WM_MENUSELECT: OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam)); return true;
        case WM_MENUCHAR:
            result = OnMenuChar(static_cast<wchar_t>(LOWORD(wParam)), reinterpret_cast<HMENU>(lParam));
            return true;
        default: return false;
    }
}

std::optional<Line> FolderMenus::Chosen(UINT command) const {
    if (command == 0 || !m_highlighted || m_highlighted->id != command) return std::nullopt;
    return m_highlighted;
}

const Line* FolderMenus::LineAt(HMENU menu, UINT position) {
    MENUITEMINFOA item{};
    item.cbSize = kMenuItemInfoSize;
    item.fMask = MIIM_DATA;
    if (!::GetMenuItemInfoA(menu, position, TRUE, &item)) return nullptr;
    return reinterpret_cast<const Line*>(item.dwItemData);
}

// A menu that is open already keeps what it shows.
void FolderMenus::Fill(HMENU menu) {
    const auto source = m_sources.find(menu);
    if (source == m_sources.end() || m_pages.count(menu) != 0) return;
    Page& page = m_pages[menu] = PageOf(source->second);
    Insert(menu, page);
}

// Its submenus closed before it and are empty; they go with their items.
void FolderMenus::Empty(HMENU menu) {
    if (m_pages.erase(menu) == 0) return;
    for (int position = ::GetMenuItemCount(menu); position-- > 0;) {
        if (const HMENU submenu = ::GetSubMenu(menu, position)) {
            Empty(submenu);
            m_sources.erase(submenu);
        }
        ::DeleteMenu(menu, static_cast<UINT>(position), MF_BYPOSITION);
    }
}

FolderMenus::Page FolderMenus::PageOf(const Source& source) const {
    Page page;
    if (source.kind == Source::Kind::kMenuFolders) {
        page.lines = MenuFolderLines(source);
        return page;
    }
    if (source.kind == Source::Kind::kRange) {
        page.reading = source.reading;
        AppendEntries(page.reading, source.first, source.end, page.lines);
        return page;
    }
    listing::State state = listing::State::kNotAvailable;
    page.reading = ReadFolder(source, state);
    if (state == listing::State::kNotAvailable) {
        page.lines.push_back(NoteLine(kNotAvailableText));
        return page;
    }
    page.lines.push_back(OpenFolderLine(source.directory));
    page.lines.push_back(SeparatorLine());
    if (state == listing::State::kEmpty) page.lines.push_back(NoteLine(kEmptyText));
    const std::vector<listing::WideEntry>& entries = page.reading->entries;
    const size_t items = ItemsOnTop(entries);
    AppendEntries(page.reading, 0, items, page.lines);
    AppendEntries(page.reading, items, entries.size(), page.lines);
    return page;
}

void FolderMenus::Insert(HMENU menu, Page& page) {
    for (size_t position = 0; position < page.lines.size(); ++position) {
        Line& line = page.lines[position];
        MENUITEMINFOA item{};
        item.cbSize = kMenuItemInfoSize;
        item.fMask = MIIM_TYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_SUBMENU;
        item.fType = line.kind == Line::Kind::kSeparator ? MFT_SEPARATOR : MFT_OWNERDRAW;
        item.fState = line.kind == Line::Kind::kNote ? MFS_DISABLED : MFS_ENABLED;
        item.dwItemData = line.kind == Line::Kind::kSeparator ? 0 : reinterpret_cast<ULONG_PTR>(&line);
        fw::UniqueMenu submenu(OpensSubmenu(line) ? ::CreatePopupMenu() : nullptr);
        if (submenu) {
            item.hSubMenu = submenu.get();
        } else if (line.kind != Line::Kind::kSeparator) {
            item.wID = line.id = NextId();
        }
        if (!::InsertMenuItemA(menu, static_cast<UINT>(position), TRUE, &item)) continue;
        if (submenu) m_sources.emplace(submenu.get(), SubmenuSource(line, page));
        submenu.release();  // the item owns it now
    }
}

Source FolderMenus::SubmenuSource(const Line& line, const Page& page) const {
    Source source;
    if (line.kind == Line::Kind::kRange) {
        source.kind = Source::Kind::kRange;
        source.reading = page.reading;
        source.first = line.first;
        source.end = line.end;
        return source;
    }
    source.kind = listing::IsServerDirectory<wchar_t>(line.path) ? Source::Kind::kMenuFolders : Source::Kind::kFolder;
    source.directory = line.path;
    source.menuFolder = line.menuFolder;
    return source;
}

UINT FolderMenus::NextId() {
    m_nextId = m_nextId >= kLastId ? 1 : m_nextId + 1;
    return m_nextId;
}

bool FolderMenus::Measure(MEASUREITEMSTRUCT& item) const {
    const auto* line = reinterpret_cast<const Line*>(item.itemData);
    if (item.CtlType != ODT_MENU || !line) return false;
    SIZE text{0, 0};
    ::GetTextExtentPoint32W(m_measuring.get(), line->text.c_str(), static_cast<int>(line->text.size()), &text);
    item.itemWidth = static_cast<UINT>(kTextStart + std::min(static_cast<int>(text.cx), kMostTextWidth) + kGap);
    item.itemHeight = static_cast<UINT>(std::max(static_cast<int>(text.cy), kIconSize) + kGap);
    return true;
}

bool FolderMenus::Draw(const DRAWITEMSTRUCT& item) {
    auto* line = reinterpret_cast<Line*>(item.itemData);
    if (item.CtlType != ODT_MENU || !line) return false;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const RECT& area = item.rcItem;
    ::FillRect(item.hDC, &area, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    if (line->icon == kIconNotLookedUp) {
        line->icon = line->kind == Line::Kind::kNote || line->kind == Line::Kind::kRange
                         ? kNoIcon
                         : m_icons.IndexOf(line->path, line->attributes);
    }
    const int height = area.bottom - area.top;
    if (line->icon >= 0) {
        ::ImageList_Draw(m_icons.Images(), line->icon, item.hDC, area.left + kGap, area.top + (height - kIconSize) / 2,
                         ILD_TRANSPARENT);
    }
    const int color = line->kind == Line::Kind::kNote ? COLOR_GRAYTEXT
                      : selected                      ? COLOR_HIGHLIGHTTEXT
                                                      : COLOR_MENUTEXT;
    ::SetTextColor(item.hDC, ::GetSysColor(color));
    ::SetBkMode(item.hDC, TRANSPARENT);
    const HGDIOBJ previous = m_font ? ::SelectObject(item.hDC, m_font.get()) : nullptr;
    SIZE text{0, 0};
    ::GetTextExtentPoint32W(item.hDC, L"X", 1, &text);
    RECT textArea = area;
    textArea.left += kTextStart;
    ::ExtTextOutW(item.hDC, textArea.left, area.top + (height - text.cy) / 2, ETO_CLIPPED, &textArea,
                  line->text.c_str(), static_cast<UINT>(line->text.size()), nullptr);
    if (previous) ::SelectObject(item.hDC, previous);
    return true;
}

void FolderMenus::OnMenuSelect(UINT item, UINT flags, HMENU menu) {
    const auto page = m_pages.find(menu);
    if (page == m_pages.end() || flags == 0xFFFF) return;
    const std::vector<Line>& lines = page->second.lines;
    if (flags & MF_POPUP) {
        if (item < lines.size()) m_highlighted = lines[item];
        return;
    }
    const auto line = std::find_if(lines.begin(), lines.end(), [&](const Line& l) { return l.id == item; });
    if (line != lines.end()) m_highlighted = *line;
}

LRESULT CALLBACK FolderMenus::FilterMenuMessage(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_MENU && g_watched && AsksForContextMenu(*message) && g_watched->OnContextMenuAsked()) return TRUE;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// The entry under the pointer, or the one the keys moved to, is the
// highlighted one. The tracking ends
// (WM_CANCELMODE to its owner) and the shell's context menu takes its place.
bool FolderMenus::OnContextMenuAsked() noexcept {
    if (!m_highlighted || m_highlighted->kind == Line::Kind::kNote || m_highlighted->kind == Line::Kind::kRange) {
        return false;
    }
    // Nothing may unwind into the menu loop that called the hook: a request
    // that cannot be kept (out of memory) is left to the menu.
    try {
        m_contextMenuAsked = m_highlighted;
    } catch (...) {
        return false;
    }
    ::SendMessageA(m_owner, WM_CANCELMODE, 0, 0);
    return true;
}

// A typed character goes to the next entry it starts after the highlighted
// one, or the next range holding an entry it starts; an entry or range that
// is the only one is chosen (or opened) at once.
LRESULT FolderMenus::OnMenuChar(wchar_t character, HMENU menu) const {
    const auto found = m_pages.find(menu);
    if (found == m_pages.end()) return MAKELRESULT(0, MNC_IGNORE);
    const Page& page = found->second;
    std::vector<UINT> matches;
    UINT highlighted = static_cast<UINT>(page.lines.size());
    for (UINT position = 0; position < page.lines.size(); ++position) {
        if (::GetMenuState(menu, position, MF_BYPOSITION) & MF_HILITE) highlighted = position;
        const Line& line = page.lines[position];
        if (line.kind == Line::Kind::kRange ? RangeHolds(*page.reading, line, character)
                                            : StartsWith(line.text, character)) {
            matches.push_back(position);
        }
    }
    if (matches.empty()) return MAKELRESULT(0, MNC_IGNORE);
    if (matches.size() == 1) return MAKELRESULT(matches.front(), MNC_EXECUTE);
    const auto next = std::upper_bound(matches.begin(), matches.end(), highlighted);
    return MAKELRESULT(next == matches.end() ? matches.front() : *next, MNC_SELECT);
}

}  // namespace tray
