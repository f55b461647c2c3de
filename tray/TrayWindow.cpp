#include "tray/TrayWindow.h"

#include "framework/CreatedWindow.h"
#include "framework/UniqueHandle.h"
#include "framework/WideText.h"
#include "launch/OpenWithHtmlViewer.h"
#include "listing/DirectoryReader.h"
#include "menubuilder/MenuPath.h"
#include "menubuilder/RemoveDirectoryMenus.h"
#include "res/resource.h"
#include "search/Indexer.h"
#include "settings/SettingsStore.h"
#include "tray/DarkModeChoice.h"
#include "tray/FolderMenus.h"
#include "tray/MenuRoot.h"
#include "tray/SearchWindow.h"
#include "tray/ShellActions.h"
#include "tray/StartWithWindows.h"
#include "tray/TrackMenu.h"

#include <algorithm>

namespace tray {
namespace {

constexpr int kHotKeyId = 1;
constexpr int kSearchHotKeyId = 2;
constexpr char kTip[] = "RootCaster";

POINT Pointer() {
    POINT at{0, 0};
    ::GetCursorPos(&at);
    return at;
}

// The menu root's first-level menus (drives, servers) in the folder menu's
// order, as the directories a removal names: "C:\", "\\srv\". A name the
// ANSI code page can't hold was never made by RootCaster.exe and is left out.
std::vector<std::string> RemovableDirectories() {
    const std::wstring menuRoot = MenuRootFolder();
    std::vector<std::string> directories;
    if (menuRoot.empty()) return directories;
    for (const listing::WideEntry& first : listing::ReadMenuFolders(menuRoot)) {
        const std::string name = fw::Narrow(first.name);
        if (fw::Widen(name.c_str()) != first.name) continue;
        if (directories.size() > IDM_REMOVE_LAST - IDM_REMOVE_FIRST) break;
        directories.push_back(menubuilder::DirectoryOfMenuFolder(std::string_view(name)));
    }
    return directories;
}

// "C:" for C:\, "\\srv" for \\srv\: how the user names a drive or server.
std::string ShownName(const std::string& directory) {
    return directory.substr(0, directory.size() - 1);
}

// A menu item's text that shows an ampersand as itself, not as a key mark.
std::string ItemText(const std::string& name) {
    std::string text;
    for (const char c : name) text += c == '&' ? std::string("&&") : std::string(1, c);
    return text;
}

// "Remove from RootCaster" and its submenu of `directories`, above "Help";
// greyed when there is none.
void InsertRemoveMenu(HMENU menu, const std::vector<std::string>& directories) {
    fw::UniqueMenu submenu(::CreatePopupMenu());
    if (!submenu) return;
    for (std::size_t i = 0; i < directories.size(); ++i) {
        ::AppendMenuA(submenu.get(), MF_STRING, IDM_REMOVE_FIRST + i, ItemText(ShownName(directories[i])).c_str());
    }
    const UINT flags = MF_BYCOMMAND | MF_POPUP | MF_STRING | (directories.empty() ? MF_GRAYED : 0);
    // The menu owns the submenu once it is in.
    if (::InsertMenuA(menu, IDM_HELP, flags, reinterpret_cast<UINT_PTR>(submenu.get()), "Re&move from RootCaster")) {
        static_cast<void>(submenu.release());
    }
}

}  // namespace

TrayWindow::TrayWindow() = default;

TrayWindow::~TrayWindow() {
    if (m_hWnd) ::DestroyWindow(m_hWnd);
}

bool TrayWindow::Create() {
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &TrayWindow::WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_ROOTCASTER));
    windowClass.lpszClassName = kTrayWindowClass;
    if (!::RegisterClassA(&windowClass)) return false;
    // Never shown: a top-level window, as Windows 95 has no message-only ones.
    return ::CreateWindowExA(0, kTrayWindowClass, kTip, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, this) !=
           nullptr;
}

LRESULT CALLBACK TrayWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    TrayWindow* tray = fw::CreatedWrapper<TrayWindow>(window, message, lParam);
    if (!tray || message == WM_NCDESTROY) return ::DefWindowProcA(window, message, wParam, lParam);
    return fw::HandledOrFallback([&] { return tray->HandleMessage(message, wParam, lParam); }, &::DefWindowProcA,
                                 window, message, wParam, lParam);
}

LRESULT TrayWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleMenuMessage(message, wParam, lParam, result)) return result;
    switch (message) {
        case WM_CREATE: OnCreate(); return 0;
        case kIconMessage: OnIconMessage(static_cast<UINT>(lParam)); return 0;
        case WM_HOTKEY: wParam == kSearchHotKeyId ? ShowSearch() : ShowFolderMenu(); return 0;
        case WM_SETTINGCHANGE: OnSettingChange(wParam, lParam); return 0;
        case WM_DESTROY: OnDestroy(); return 0;
        default: break;
    }
    if (message == m_taskbarCreated && message != 0) OnTaskbarCreated();
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

// While a menu is tracked, its messages go to it.
bool TrayWindow::HandleMenuMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const {
    if (m_shellMenu) return m_shellMenu->HandleMessage(message, wParam, lParam, result);
    return m_folderMenus && m_folderMenus->HandleMessage(message, wParam, lParam, result);
}

void TrayWindow::OnCreate() {
    m_taskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
    m_icon = std::make_unique<TrayIcon>(m_hWnd, kIconMessage, IDI_ROOTCASTER, kTip);
    m_icon->Show();
    // Taken by another program: the icon still opens the menu.
    ::RegisterHotKey(m_hWnd, kHotKeyId, kHotKeyModifiers, kHotKey);
    ::RegisterHotKey(m_hWnd, kSearchHotKeyId, kHotKeyModifiers, kSearchHotKey);
    StartIndexing();
    // Its menus are dark from now on where the user chose dark.
    m_dark.Refresh();
    m_dark.AllowMenus(m_hWnd);
}

void TrayWindow::OnIconMessage(UINT mouseMessage) {
    switch (mouseMessage) {
        case WM_LBUTTONUP: ShowFolderMenu(); break;
        case WM_RBUTTONUP: ShowTrayMenu(); break;
        default: break;
    }
}

void TrayWindow::OnCommand(UINT command) {
    switch (command) {
        case IDM_START_WITH_WINDOWS: ToggleStartWithWindows(); break;
        case IDM_REFRESH: Refresh(); break;
        case IDM_HELP: ShowHelp(); break;
        case IDM_EXIT: ::DestroyWindow(m_hWnd); break;
        default: break;
    }
}

// Explorer started anew (after a crash, or at another DPI) and has
// forgotten every icon.
void TrayWindow::OnTaskbarCreated() const {
    if (m_icon) m_icon->Show();
}

// Menus are built afresh each time they open, so the refreshed choice
// reaches every one from now on.
void TrayWindow::OnSettingChange(WPARAM action, LPARAM text) {
    if (IsColorSchemeChange(static_cast<unsigned>(action), reinterpret_cast<const char*>(text))) m_dark.Refresh();
}

void TrayWindow::OnDestroy() {
    ::UnregisterHotKey(m_hWnd, kHotKeyId);
    ::UnregisterHotKey(m_hWnd, kSearchHotKeyId);
    m_search.reset();
    m_index.reset();
    m_icon.reset();
    ::PostQuitMessage(0);
}

// The folder menus, and their watch on right clicks, are gone before the
// shell's context menu is tracked: a right click there chooses in it.
// (Asked for by key, it opens at the pointer too: the menu's own window and
// its item's place are gone with it.)
void TrayWindow::ShowFolderMenu() {
    const std::wstring menuRoot = MenuRootFolder();
    if (m_folderMenus || menuRoot.empty()) return;
    const FolderMenuOutcome outcome = TrackFolderMenus(menuRoot);
    if (outcome.chosen && outcome.chosen->kind == Line::Kind::kSearch) {
        ShowSearch();
    } else if (outcome.chosen) {
        OpenWithShell(m_hWnd, outcome.chosen->path);
    } else if (outcome.contextMenuAsked) {
        ShowShellContextMenu(outcome.contextMenuAsked->path, Pointer());
    }
}

TrayWindow::FolderMenuOutcome TrayWindow::TrackFolderMenus(const std::wstring& menuRoot) {
    FolderMenus menus(m_icons, m_hWnd);
    const fw::UniqueMenu root = menus.CreateRootMenu(menuRoot);
    if (!root) return {};
    const POINT at = Pointer();
    m_folderMenus = &menus;
    const UINT command = TrackMenu(m_hWnd, root.get(), at, 0);
    m_folderMenus = nullptr;
    return {menus.Chosen(command), menus.ContextMenuAsked()};
}

void TrayWindow::ShowTrayMenu() {
    const fw::UniqueMenu menus(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAY_MENU)));
    const HMENU menu = menus ? ::GetSubMenu(menus.get(), 0) : nullptr;
    if (!menu) return;
    ::CheckMenuItem(menu, IDM_START_WITH_WINDOWS, StartsWithWindows() ? MF_CHECKED : MF_UNCHECKED);
    const std::vector<std::string> removable = RemovableDirectories();
    InsertRemoveMenu(menu, removable);
    const UINT command = TrackMenu(m_hWnd, menu, Pointer(), 0);
    if (command >= IDM_REMOVE_FIRST && command - IDM_REMOVE_FIRST < removable.size()) {
        RemoveMenuOf(removable[command - IDM_REMOVE_FIRST]);
    } else {
        OnCommand(command);
    }
}

// Asks first; the search index drops the directory at once after. A server
// goes with every share below it, by the same rules as any directory.
void TrayWindow::RemoveMenuOf(const std::string& directory) const {
    const std::string name = ShownName(directory);
    const std::string question = "Remove the menu of " + name + " from RootCaster? Your files and folders stay.";
    if (::MessageBoxA(m_hWnd, question.c_str(), kTip, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    const menubuilder::RemoveStatus status = menubuilder::RemoveDirectoryMenus(directory);
    if (m_index) m_index->MenusChanged();
    if (status == menubuilder::RemoveStatus::kIncomplete) {
        const std::string warning =
            "Some of the menu of " + name + " stays: a file in it is in use. Close it and remove the menu again.";
        ::MessageBoxA(m_hWnd, warning.c_str(), kTip, MB_OK | MB_ICONWARNING);
    }
}

void TrayWindow::ShowShellContextMenu(const std::wstring& path, POINT at) {
    ShellContextMenu menu;
    if (!menu.Create(path)) return;
    m_shellMenu = &menu;
    menu.Track(m_hWnd, at);
    m_shellMenu = nullptr;
}

// The index of every menu builds from now on, on a thread of its own.
void TrayWindow::StartIndexing() {
    search::IndexerOptions options;
    options.menuRoot = MenuRootFolder();
    if (options.menuRoot.empty()) return;
    options.entryLimit =
        static_cast<size_t>(std::max(0, settings::SettingsStore::Instance().Read(settings::kSearchLimit)));
    m_index = std::make_unique<search::Indexer>(std::move(options));
    m_index->Start();
}

void TrayWindow::ShowSearch() {
    if (!m_index) return;
    if (!m_search) m_search = std::make_unique<SearchWindow>(*m_index, m_icons, m_dark);
    m_search->Show(Pointer());
}

void TrayWindow::ToggleStartWithWindows() const {
    SetStartWithWindows(!StartsWithWindows());
}

// Every menu is read afresh anyway; what is kept is the icons of the types
// and the icon in the notification area.
void TrayWindow::Refresh() {
    m_icons.Forget();
    if (m_icon) m_icon->Show();
}

void TrayWindow::ShowHelp() {
    launch::OpenWithHtmlViewer(settings::SettingsStore::Instance().Read(settings::kHelpFile));
}

}  // namespace tray
