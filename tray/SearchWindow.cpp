#include "tray/SearchWindow.h"

#include "framework/CommonControls.h"
#include "framework/CreatedWindow.h"
#include "framework/Dpi.h"
#include "framework/WideText.h"
#include "tray/DarkMode.h"
#include "tray/DarkModeChoice.h"
#include "tray/ShellActions.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

namespace tray {
namespace {

constexpr char kCaption[] = "Search RootCaster";
// At 96 DPI; scaled to the window's.
constexpr int kWidth = 480;
constexpr int kHeight = 340;
constexpr int kMargin = 6;
constexpr int kLineHeight = 22;
constexpr int kNameColumnWidth = 180;
constexpr int kFolderColumnWidth = 240;
// How often the window looks whether the index grew.
constexpr UINT kIndexCheckMs = 250;
constexpr UINT_PTR kIndexCheckTimer = 1;

// 41200 -> "41,200".
std::string Grouped(std::size_t number) {
    std::string digits = std::to_string(number);
    for (std::ptrdiff_t at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), ",");
    }
    return digits;
}

HWND CreateChild(HWND parent, DWORD extendedStyle, const char* className, DWORD style, int id) {
    const HWND child =
        ::CreateWindowExA(extendedStyle, className, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr), nullptr);
    return child;
}

LONG ClientWidth(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    return client.right;
}

// What a header draws to its width: the part past its last column.
void InvalidateHeaderEnd(HWND header) {
    RECT end{};
    ::GetClientRect(header, &end);
    RECT last{};
    const auto columns = static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    if (::SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(columns - 1), reinterpret_cast<LPARAM>(&last)))
        end.left = std::min(last.right, end.right);
    ::InvalidateRect(header, &end, TRUE);
}

void AddColumn(HWND list, int column, const char* title, int width) {
    LVCOLUMNA header{};
    header.mask = LVCF_TEXT | LVCF_WIDTH;
    header.pszText = const_cast<char*>(title);
    header.cx = width;
    ::SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&header));
}

// The window's place at `dpi`: at `at`, moved inside the work area.
RECT PlaceAt(POINT at, int dpi) {
    RECT work{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int width = fw::Scaled(kWidth, dpi);
    const int height = fw::Scaled(kHeight, dpi);
    const LONG left = std::max(work.left, std::min(at.x, work.right - width));
    const LONG top = std::max(work.top, std::min(at.y, work.bottom - height));
    return {left, top, left + width, top + height};
}

bool ControlHeld() {
    return ::GetKeyState(VK_CONTROL) < 0;
}

template <class Char>
void CopyInto(Char* destination, int size, const Char* text, std::size_t length) {
    if (!destination || size <= 0) return;
    const std::size_t copied = std::min(length, static_cast<std::size_t>(size - 1));
    std::copy(text, text + copied, destination);
    destination[copied] = 0;
}

}  // namespace

SearchWindow::~SearchWindow() {
    if (m_hWnd) ::DestroyWindow(m_hWnd);
}

bool SearchWindow::Show(POINT at) {
    if (!m_hWnd) {
        const HINSTANCE instance = ::GetModuleHandleA(nullptr);
        WNDCLASSA windowClass{};
        if (!::GetClassInfoA(instance, kSearchWindowClass, &windowClass)) {
            windowClass.lpfnWndProc = &SearchWindow::WindowProc;
            windowClass.hInstance = instance;
            windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
            windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            windowClass.lpszClassName = kSearchWindowClass;
            if (!::RegisterClassA(&windowClass)) return false;
        }
        fw::InitCommonControlClasses(ICC_LISTVIEW_CLASSES);
        // Made at the system's DPI, then sized to its monitor's.
        const RECT place = PlaceAt(at, fw::DpiOf(nullptr));
        if (!::CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kSearchWindowClass, kCaption,
                               WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, place.left, place.top,
                               place.right - place.left, place.bottom - place.top, nullptr, nullptr, instance, this)) {
            return false;
        }
        if (m_dpi != fw::DpiOf(nullptr)) {
            const RECT sized = PlaceAt(at, m_dpi);
            ::SetWindowPos(m_hWnd, nullptr, sized.left, sized.top, sized.right - sized.left, sized.bottom - sized.top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    ::ShowWindow(m_hWnd, SW_SHOW);
    ::SetForegroundWindow(m_hWnd);
    ::SetFocus(m_edit);
    return true;
}

LRESULT CALLBACK SearchWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SearchWindow* search = fw::CreatedWrapper<SearchWindow>(window, message, lParam);
    if (!search || message == WM_NCDESTROY) return ::DefWindowProcA(window, message, wParam, lParam);
    return fw::HandledOrFallback([&] { return search->HandleMessage(message, wParam, lParam); }, &::DefWindowProcA,
                                 window, message, wParam, lParam);
}

// Keys of the edit box that work the list or the window.
LRESULT CALLBACK SearchWindow::EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* search = reinterpret_cast<SearchWindow*>(::GetWindowLongPtrA(::GetParent(edit), GWLP_USERDATA));
    if (!search) return ::DefWindowProcA(edit, message, wParam, lParam);
    const WNDPROC own = search->m_editProc;
    return fw::HandledOrFallback(
        [&] { return search->OnEditKey(message, wParam) ? 0 : ::CallWindowProcA(own, edit, message, wParam, lParam); },
        own, edit, message, wParam, lParam);
}

LRESULT SearchWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (m_shellMenu && m_shellMenu->HandleMessage(message, wParam, lParam, result)) return result;
    switch (message) {
        case WM_CREATE: OnCreate(); return 0;
        case WM_SIZE: OnSize(LOWORD(lParam), HIWORD(lParam)); return 0;
        case fw::kDpiChangedMessage: OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == kSearchEditId && HIWORD(wParam) == EN_CHANGE) Update();
            return 0;
        case WM_NOTIFYFORMAT: return fw::IsNt() ? NFR_UNICODE : NFR_ANSI;
        case WM_NOTIFY: return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
        case WM_CONTEXTMENU:
            ShowContextMenu(lParam == -1
                                ? SelectedRowPoint()
                                : POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            return 0;
        case WM_TIMER: OnTimer(); return 0;
        case WM_SETTINGCHANGE: OnSettingChange(wParam, lParam); return 0;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC: return OnControlColor(message, wParam, lParam);
        case WM_ERASEBKGND: return OnEraseBackground(wParam);
        case WM_DESTROY: ::KillTimer(m_hWnd, kIndexCheckTimer); return 0;
        default: return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
    }
}

bool SearchWindow::OnEditKey(UINT message, WPARAM key) {
    const bool shift = ::GetKeyState(VK_SHIFT) < 0;
    if (message == WM_SYSKEYDOWN && key == VK_F10 && shift) {
        ShowContextMenu(SelectedRowPoint());
        return true;
    }
    // Enter and Escape would beep in a one-line edit box.
    if (message == WM_CHAR) return key == '\r' || key == '\n' || key == 0x1B;
    if (message != WM_KEYDOWN) return false;
    switch (key) {
        case VK_UP:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT: MoveSelection(key); return true;
        case VK_RETURN: OpenSelected(ControlHeld()); return true;
        case VK_ESCAPE: ::DestroyWindow(m_hWnd); return true;
        case VK_APPS: ShowContextMenu(SelectedRowPoint()); return true;
        default: return false;
    }
}

void SearchWindow::OnCreate() {
    m_edit = CreateChild(m_hWnd, WS_EX_CLIENTEDGE, "EDIT", ES_AUTOHSCROLL | WS_TABSTOP, kSearchEditId);
    m_ownerData = fw::OwnerDataListViews();
    // The list clips its header, which new rows leave as it is.
    m_list = CreateChild(m_hWnd, WS_EX_CLIENTEDGE, WC_LISTVIEWA,
                         LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | WS_TABSTOP |
                             WS_CLIPCHILDREN | (m_ownerData ? LVS_OWNERDATA : 0),
                         kSearchListId);
    m_status = CreateChild(m_hWnd, 0, "STATIC", SS_LEFTNOWORDWRAP, kSearchStatusId);
    AddColumn(m_list, 0, "Name", kNameColumnWidth);
    AddColumn(m_list, 1, "Folder", kFolderColumnWidth);
    ApplyDpi(fw::DpiOf(m_hWnd));
    m_editProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(m_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SearchWindow::EditProc)));
    ::SetTimer(m_hWnd, kIndexCheckTimer, kIndexCheckMs, nullptr);
    m_text.clear();
    m_generation = -1;
    ShowStatus();
    m_dark.AllowMenus(m_hWnd);
    ApplyColorScheme();
}

// The font, the icons and the columns at the DPI of the window's monitor:
// the list's rows follow its font and icons.
void SearchWindow::ApplyDpi(int dpi) {
    m_dpi = dpi;
    m_font = fw::NonClientFontAt(&NONCLIENTMETRICSA::lfMessageFont, dpi);
    for (const HWND child : {m_edit, m_list, m_status})
        ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), TRUE);
    m_listIcons.emplace(m_icons, fw::MetricAt(SM_CXSMICON, dpi));
    std::fill(m_rowIcons.begin(), m_rowIcons.end(), kIconNotLookedUp);
    ::SendMessageA(m_list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_listIcons->Images()));
    ::SendMessageA(m_list, LVM_SETCOLUMNWIDTH, 0, fw::Scaled(kNameColumnWidth, dpi));
    ::SendMessageA(m_list, LVM_SETCOLUMNWIDTH, 1, fw::Scaled(kFolderColumnWidth, dpi));
}

// Moved to a monitor of another DPI: the system suggests the place.
void SearchWindow::OnDpiChanged(int dpi, const RECT& suggested) {
    ApplyDpi(dpi);
    ::SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void SearchWindow::OnSize(int width, int height) const {
    const int margin = fw::Scaled(kMargin, m_dpi);
    const int line = fw::Scaled(kLineHeight, m_dpi);
    const int inner = std::max(0, width - 2 * margin);
    const int listTop = margin + line + margin;
    const int statusTop = std::max(listTop, height - margin - line + fw::Scaled(4, m_dpi));
    ::MoveWindow(m_edit, margin, margin, inner, line, TRUE);
    ::MoveWindow(m_list, margin, listTop, inner, std::max(0, statusTop - margin - listTop), TRUE);
    ::MoveWindow(m_status, margin, statusTop, inner, line - fw::Scaled(4, m_dpi), TRUE);
}

LRESULT SearchWindow::OnNotify(NMHDR& header) {
    if (header.hwndFrom != m_list) return 0;
    switch (header.code) {
        case LVN_GETDISPINFOA:
        case LVN_GETDISPINFOW: AnswerDisplayInfo(&header); return 0;
        case NM_CUSTOMDRAW: return OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
        case NM_DBLCLK: OpenSelected(false); return 0;
        case NM_RETURN: OpenSelected(ControlHeld()); return 0;
        case NM_RCLICK: {
            POINT at{0, 0};
            ::GetCursorPos(&at);
            ShowContextMenu(at);
            return 0;
        }
        case LVN_KEYDOWN:
            if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_ESCAPE) ::DestroyWindow(m_hWnd);
            return 0;
        default: return 0;
    }
}

// The edit box keeps the focus while the user types, so the list would draw
// its selection as it does when inactive (in a colour barely apart from its
// own under some schemes): the row that Enter opens is drawn as chosen.
// Where the list has no custom draw (common controls 4.00) it is not asked.
LRESULT SearchWindow::OnCustomDraw(NMLVCUSTOMDRAW& draw) const {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT && (draw.nmcd.uItemState & CDIS_SELECTED)) {
        draw.nmcd.uItemState &= ~CDIS_SELECTED;
        draw.clrText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
        draw.clrTextBk = ::GetSysColor(COLOR_HIGHLIGHT);
    }
    return CDRF_DODEFAULT;
}

// The index grew or changed: the same text may find more.
void SearchWindow::OnTimer() {
    if (m_index.Generation() != m_generation) Update();
    ShowStatus();
}

// A new text selects its best match; the same text, found again as the
// index grew, keeps the row the user moved to.
void SearchWindow::Update() {
    char typed[MAX_PATH] = "";
    ::GetWindowTextA(m_edit, typed, MAX_PATH);
    std::wstring text = fw::Widen(typed);
    const int selected = SelectedRow();
    const std::wstring keptPath = text == m_text && selected >= 0 && static_cast<size_t>(selected) < m_rows.size()
                                      ? m_rows[static_cast<size_t>(selected)].path
                                      : std::wstring();
    m_text = std::move(text);
    m_generation = m_index.Generation();
    ShowRows(m_index.Find(m_text, kShownRows, m_total), keptPath);
    ShowStatus();
}

// Every row's text and icon come when drawn (LVN_GETDISPINFO), so the list
// only grows or shrinks to the rows' number, and only rows that changed are
// drawn again: typing on often keeps the best matches.
void SearchWindow::ShowRows(std::vector<search::FoundRow> rows, const std::wstring& selectedPath) {
    const bool resized = rows.size() != m_rows.size();
    const auto differs = [](const search::FoundRow& a, const search::FoundRow& b) {
        return a.path != b.path || a.attributes != b.attributes;
    };
    std::size_t first = 0;
    std::size_t last = std::min(rows.size(), m_rows.size());
    while (first < last && !differs(rows[first], m_rows[first])) ++first;
    while (last > first && !differs(rows[last - 1], m_rows[last - 1])) --last;
    m_rows = std::move(rows);
    m_rowIcons.resize(m_rows.size(), kIconNotLookedUp);
    std::fill(m_rowIcons.begin() + static_cast<std::ptrdiff_t>(first), m_rowIcons.end(), kIconNotLookedUp);
    ResizeList(static_cast<int>(m_rows.size()));
    if (!m_rows.empty()) {
        const auto same = std::find_if(m_rows.begin(), m_rows.end(),
                                       [&](const search::FoundRow& row) { return row.path == selectedPath; });
        const WPARAM row = same == m_rows.end() ? 0 : static_cast<WPARAM>(same - m_rows.begin());
        LVITEMA selection{};
        selection.stateMask = selection.state = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageA(m_list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&selection));
        ::SendMessageA(m_list, LVM_ENSUREVISIBLE, row, FALSE);
    }
    if (resized) {
        ::InvalidateRect(m_list, nullptr, TRUE);
    } else if (first < last) {
        RedrawRowsInView(first, last - 1);
    }
}

// The list invalidates each row of a range on its own, a call into the
// system per row: only the rows in view, the one cut off at the bottom
// included, are named. Rows scrolled into view later are drawn as they come.
void SearchWindow::RedrawRowsInView(std::size_t first, std::size_t last) const {
    const auto top = static_cast<std::size_t>(::SendMessageA(m_list, LVM_GETTOPINDEX, 0, 0));
    const auto whole = static_cast<std::size_t>(::SendMessageA(m_list, LVM_GETCOUNTPERPAGE, 0, 0));
    first = std::max(first, top);
    last = std::min(last, top + whole);
    if (first <= last) ::SendMessageA(m_list, LVM_REDRAWITEMS, static_cast<WPARAM>(first), static_cast<LPARAM>(last));
}

// The list is told the rows' number, or items are added or taken away, with
// drawing held off. Holding it off drops what the header had still to draw,
// and a header that grows or shrinks as a scroll bar goes or comes leaves its
// old end behind: both are drawn again (the rest of the header stays as it
// was). The list is left alone when the number stays, as it does while
// typing on.
void SearchWindow::ResizeList(int wanted) const {
    const int shown = static_cast<int>(::SendMessageA(m_list, LVM_GETITEMCOUNT, 0, 0));
    if (shown == wanted) return;
    const auto header = reinterpret_cast<HWND>(::SendMessageA(m_list, LVM_GETHEADER, 0, 0));
    const bool headerDue = ::GetUpdateRect(header, nullptr, FALSE) != FALSE;
    const LONG headerWidth = ClientWidth(header);
    if (m_ownerData) {
        SetRowCount(wanted);
    } else {
        SetItemCount(shown, wanted);
    }
    if (headerDue) ::InvalidateRect(header, nullptr, TRUE);
    if (ClientWidth(header) != headerWidth) InvalidateHeaderEnd(header);
}

// The list lays itself out again for a scroll bar that comes or goes and
// draws that bar at once each time (Wine does, twice), before it is drawn
// once more with the rows: with the window's drawing off, all of it is drawn
// once.
void SearchWindow::SetRowCount(int wanted) const {
    ::DefWindowProcA(m_list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(m_list, LVM_SETITEMCOUNT, static_cast<WPARAM>(wanted), 0);
    ::DefWindowProcA(m_list, WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(m_list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

// Each item added or taken away would redraw the list. Turning the list's
// drawing on again redraws it at once (Wine does).
void SearchWindow::SetItemCount(int shown, int wanted) const {
    ::SendMessageA(m_list, WM_SETREDRAW, FALSE, 0);
    while (shown > wanted) ::SendMessageA(m_list, LVM_DELETEITEM, static_cast<WPARAM>(--shown), 0);
    for (; shown < wanted; ++shown) {
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = shown;
        item.pszText = LPSTR_TEXTCALLBACKA;
        item.iImage = I_IMAGECALLBACK;
        ::SendMessageA(m_list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    ::SendMessageA(m_list, WM_SETREDRAW, TRUE, 0);
}

void SearchWindow::ShowStatus() const {
    const search::IndexProgress progress = m_index.Progress();
    std::string status = progress.building ? "Indexing... " + Grouped(progress.entries) + " entries"
                                           : Grouped(progress.entries) + " entries indexed";
    if (!m_text.empty()) {
        status += " - " + Grouped(m_total) + " found";
        if (m_total > m_rows.size()) status += ", the first " + Grouped(m_rows.size()) + " shown";
    }
    char shown[128] = "";
    ::GetWindowTextA(m_status, shown, sizeof(shown));
    if (status != shown) ::SetWindowTextA(m_status, status.c_str());
}

void SearchWindow::AnswerDisplayInfo(NMHDR* header) {
    // Both layouts agree up to the text pointer's type.
    auto& wide = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
    const auto row = static_cast<size_t>(wide.iItem);
    if (row >= m_rows.size()) return;
    if (wide.mask & LVIF_IMAGE) wide.iImage = IconOf(row);
    if (!(wide.mask & LVIF_TEXT)) return;
    const std::wstring& text = wide.iSubItem == 0 ? m_rows[row].name : m_rows[row].folder;
    if (header->code == LVN_GETDISPINFOW) {
        CopyInto(wide.pszText, wide.cchTextMax, text.c_str(), text.size());
        return;
    }
    m_narrowed = fw::Narrow(text);
    auto& ansi = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
    CopyInto(ansi.pszText, ansi.cchTextMax, m_narrowed.c_str(), m_narrowed.size());
}

int SearchWindow::IconOf(size_t row) {
    if (m_rowIcons[row] == kIconNotLookedUp)
        m_rowIcons[row] = m_listIcons->IndexOf(m_icons.IndexOf(m_rows[row].path, m_rows[row].attributes));
    return m_rowIcons[row];
}

int SearchWindow::SelectedRow() const {
    return static_cast<int>(::SendMessageA(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

// The list moves its selection as it would with its own focus.
void SearchWindow::MoveSelection(WPARAM key) const {
    ::SendMessageA(m_list, WM_KEYDOWN, key, 0);
}

void SearchWindow::OpenSelected(bool itsFolder) {
    const int row = SelectedRow();
    if (row < 0 || static_cast<size_t>(row) >= m_rows.size()) return;
    const search::FoundRow chosen = m_rows[static_cast<size_t>(row)];
    ::DestroyWindow(m_hWnd);
    OpenWithShell(nullptr, itsFolder ? chosen.folder : chosen.path);
}

void SearchWindow::ShowContextMenu(POINT at) {
    const int row = SelectedRow();
    if (row < 0 || static_cast<size_t>(row) >= m_rows.size()) return;
    ShellContextMenu menu;
    if (!menu.Create(m_rows[static_cast<size_t>(row)].path)) return;
    m_shellMenu = &menu;
    menu.Track(m_hWnd, at);
    m_shellMenu = nullptr;
}

// Below the selected row's icon, where a keyboard's context menu opens.
POINT SearchWindow::SelectedRowPoint() const {
    RECT bounds{LVIR_ICON, 0, 0, 0};
    POINT at{0, 0};
    if (::SendMessageA(m_list, LVM_GETITEMRECT, static_cast<WPARAM>(std::max(SelectedRow(), 0)),
                       reinterpret_cast<LPARAM>(&bounds))) {
        at = {bounds.left, bounds.bottom};
    }
    ::ClientToScreen(m_list, &at);
    return at;
}

void SearchWindow::ApplyColorScheme() const {
    if (!m_dark.Available()) return;
    m_dark.ApplyToCaption(m_hWnd);
    m_dark.ApplyTo(m_edit, kDarkEditTheme);
    m_dark.ApplyToList(m_list);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// Every top-level window hears of the change; whichever hears first
// refreshes the shared choice, and each applies what it is now.
void SearchWindow::OnSettingChange(WPARAM action, LPARAM text) const {
    if (!IsColorSchemeChange(static_cast<unsigned>(action), reinterpret_cast<const char*>(text))) return;
    m_dark.Refresh();
    ApplyColorScheme();
}

LRESULT SearchWindow::OnControlColor(UINT message, WPARAM dc, LPARAM control) const {
    if (const HBRUSH back = m_dark.ColorControl(reinterpret_cast<HDC>(dc))) return reinterpret_cast<LRESULT>(back);
    return ::DefWindowProcA(m_hWnd, message, dc, control);
}

LRESULT SearchWindow::OnEraseBackground(WPARAM dc) const {
    if (m_dark.EraseBackground(m_hWnd, reinterpret_cast<HDC>(dc))) return 1;
    return ::DefWindowProcA(m_hWnd, WM_ERASEBKGND, dc, 0);
}

}  // namespace tray
