#include "tray/FolderMenus.h"

#include "listing/DirectoryReader.h"
#include "menubuilder/MenuPath.h"
#include "res/resource.h"

#include <string_view>
#include <utility>

namespace tray {
namespace {

const wchar_t kEmptyText[] = L"(empty)";

// The root's drives and servers, or a server's shares: read alike.
std::vector<Line> MenuFolderLines(const Source& source) {
    std::vector<Line> lines;
    const bool root = source.directory.empty();
    if (root) {
        lines.push_back(SearchLine(IDM_TRAY_SEARCH));
        lines.push_back(SeparatorLine());
    }
    const size_t before = lines.size();
    for (const listing::WideEntry& entry : listing::ReadMenuFolders(source.menuFolder)) {
        // At the root a name is a drive or a server; below a server, a share.
        const std::wstring directory = root ? menubuilder::DirectoryOfMenuFolder(std::wstring_view(entry.name))
                                            : source.directory + entry.name + L'\\';
        std::wstring text = root ? listing::MenuRootEntryText(std::wstring_view(entry.name)) : entry.name;
        lines.push_back(FolderLine(std::move(text), directory, source.menuFolder + entry.name + L'\\', 0));
    }
    if (lines.size() == before) lines.push_back(NoteLine(kEmptyText));
    return lines;
}

std::shared_ptr<const FolderReading> ReadFolder(const Source& source, listing::State& state) {
    listing::Listing listed = listing::ReadListing(source.menuFolder, source.directory);
    state = listed.state;
    return std::make_shared<const FolderReading>(
        FolderReading{source.directory, source.menuFolder, std::move(listed.entries)});
}

const Line* LineOfItem(HMENU menu, UINT item, BOOL byPosition) {
    MENUITEMINFOA info{};
    info.cbSize = offsetof(MENUITEMINFOA, hbmpItem);  // as every Windows knows it
    info.fMask = MIIM_DATA;
    if (!::GetMenuItemInfoA(menu, item, byPosition, &info)) return nullptr;
    return MenuItems::LineOf(info.dwItemData);
}

// Where in `menu` the item of `line` is; the item count when nowhere.
UINT PositionOf(HMENU menu, const Line* line) {
    const auto count = static_cast<UINT>(std::max(0, ::GetMenuItemCount(menu)));
    for (UINT position = 0; position < count; ++position) {
        if (LineOfItem(menu, position, TRUE) == line) return position;
    }
    return count;
}

}  // namespace

FolderMenus::FolderMenus(ShellIcons& icons, HWND owner, MenuLook look)
    : m_owner(owner), m_items(icons, owner, look), m_contextMenuWatch(&FolderMenus::OnContextMenuAsked, this) {}

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
        case WM_MEASUREITEM:
            result = m_items.Measure(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
            return result != 0;
        case WM_DRAWITEM: result = m_items.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return result != 0;
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
    return LineOfItem(menu, position, TRUE);
}

// A menu that is open already keeps what it shows.
void FolderMenus::Fill(HMENU menu) {
    const auto source = m_sources.find(menu);
    if (source == m_sources.end() || m_pages.count(menu) != 0) return;
    Page& page = m_pages[menu] = PageOf(source->second);
    Insert(menu, page);
}

// Its submenus closed before it and are empty; they go with their items,
// and the items before the bitmaps they show.
void FolderMenus::Empty(HMENU menu) {
    if (m_pages.count(menu) == 0) return;
    for (int position = ::GetMenuItemCount(menu); position-- > 0;) {
        if (const HMENU submenu = ::GetSubMenu(menu, position)) {
            Empty(submenu);
            m_sources.erase(submenu);
        }
        ::DeleteMenu(menu, static_cast<UINT>(position), MF_BYPOSITION);
    }
    m_pages.erase(menu);
}

FolderMenus::Page FolderMenus::PageOf(const Source& source) {
    Page page;
    if (source.kind == Source::Kind::kMenuFolders) {
        page.lines = MenuFolderLines(source);
    } else if (source.kind == Source::Kind::kRange) {
        page.reading = source.reading;
        AppendEntries(*page.reading, source.first, source.end, page.lines);
    } else {
        listing::State state = listing::State::kNotAvailable;
        page.reading = ReadFolder(source, state);
        page.lines = FolderLines(page.reading, state != listing::State::kNotAvailable);
    }
    return page;
}

void FolderMenus::Insert(HMENU menu, Page& page) {
    page.images.data.reserve(page.lines.size());
    for (Line& line : page.lines) {
        ItemData& data = page.images.data.emplace_back(ItemDataOf(line));
        fw::UniqueMenu submenu(OpensSubmenu(line) ? ::CreatePopupMenu() : nullptr);
        if (!submenu && line.kind != Line::Kind::kSeparator && line.id == 0) line.id = NextId();
        if (!m_items.Append(menu, data, page.images, submenu.get())) continue;
        if (submenu) m_sources.emplace(submenu.get(), SubmenuSource(line, page));
        submenu.release();  // the item owns it now
    }
}

Source FolderMenus::SubmenuSource(const Line& line, const Page& page) {
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
    m_nextId = m_nextId >= IDM_TRAY_ENTRY_FIRST && m_nextId < IDM_TRAY_ENTRY_LAST ? m_nextId + 1 : IDM_TRAY_ENTRY_FIRST;
    return m_nextId;
}

// A popup is told by its position, a command by its identifier; either way
// its item's data says which line it is.
void FolderMenus::OnMenuSelect(UINT item, UINT flags, HMENU menu) {
    if (m_pages.count(menu) == 0 || flags == 0xFFFF) return;
    if (const Line* line = LineOfItem(menu, item, (flags & MF_POPUP) ? TRUE : FALSE)) m_highlighted = *line;
}

// The entry under the pointer, or the one the keys moved to, is the
// highlighted one. The tracking ends (WM_CANCELMODE to its owner) and the
// shell's context menu takes its place.
bool FolderMenus::OnContextMenuAsked(void* context) noexcept {
    auto& menus = *static_cast<FolderMenus*>(context);
    if (!menus.m_highlighted || !IsShellEntry(*menus.m_highlighted)) return false;
    // Nothing may unwind into the menu loop that called the hook: a request
    // that cannot be kept (out of memory) is left to the menu.
    try {
        menus.m_contextMenuAsked = menus.m_highlighted;
    } catch (...) {
        return false;
    }
    ::SendMessageA(menus.m_owner, WM_CANCELMODE, 0, 0);
    return true;
}

LRESULT FolderMenus::OnMenuChar(wchar_t character, HMENU menu) const {
    const auto found = m_pages.find(menu);
    if (found == m_pages.end()) return MAKELRESULT(0, MNC_IGNORE);
    const Page& page = found->second;
    size_t highlighted = page.lines.size();
    const auto count = static_cast<UINT>(std::max(0, ::GetMenuItemCount(menu)));
    for (UINT position = 0; position < count; ++position) {
        if (!(::GetMenuState(menu, position, MF_BYPOSITION) & MF_HILITE)) continue;
        if (const Line* line = LineOfItem(menu, position, TRUE))
            highlighted = static_cast<size_t>(line - page.lines.data());
    }
    const MenuCharAnswer answer = AnswerMenuChar(page.lines, page.reading.get(), highlighted, character);
    if (answer.action == MenuCharAnswer::Action::kIgnore) return MAKELRESULT(0, MNC_IGNORE);
    const UINT position = PositionOf(menu, &page.lines[answer.position]);
    return MAKELRESULT(position, answer.action == MenuCharAnswer::Action::kExecute ? MNC_EXECUTE : MNC_SELECT);
}

}  // namespace tray
