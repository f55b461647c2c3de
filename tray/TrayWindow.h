#pragma once
// The tray program's hidden window: it owns the icon in the notification
// area and the keyboard shortcut, opens the menus, and ends the program when
// it is closed (the uninstaller closes it by its class name).

#include "framework/Window.h"
#include "tray/DarkMode.h"
#include "tray/FolderMenus.h"
#include "tray/ShellIcons.h"
#include "tray/TrayIcon.h"

#include <memory>
#include <optional>
#include <string>

namespace search {
class Indexer;
}

namespace tray {

class SearchWindow;
class ShellContextMenu;

inline constexpr char kTrayWindowClass[] = "RootCasterTray";
// Mouse events on the icon, the mouse message in lParam.
inline constexpr UINT kIconMessage = WM_APP + 1;
// Ctrl+Alt+R opens the menu at the pointer.
inline constexpr UINT kHotKeyModifiers = MOD_CONTROL | MOD_ALT;
inline constexpr UINT kHotKey = 'R';
// Ctrl+Alt+F opens the search window at the pointer.
inline constexpr UINT kSearchHotKey = 'F';

class TrayWindow : public fw::Window {
public:
    TrayWindow();
    ~TrayWindow() override;

    bool Create();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool HandleMenuMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const;

    void OnCreate();
    void OnIconMessage(UINT mouseMessage);
    void OnCommand(UINT command);
    void OnTaskbarCreated() const;
    void OnSettingChange(WPARAM action, LPARAM text);
    void OnDestroy();

    // What the user did in the folder menus: chose an entry or "Search...",
    // or asked for an entry's context menu.
    struct FolderMenuOutcome {
        std::optional<Line> chosen;
        std::optional<Line> contextMenuAsked;
    };

    void ShowFolderMenu();
    FolderMenuOutcome TrackFolderMenus(const std::wstring& menuRoot);
    void ShowTrayMenu();
    void RemoveMenuOf(const std::string& directory) const;
    void ShowShellContextMenu(const std::wstring& path, POINT at);
    void StartIndexing();
    void ShowSearch();
    void ToggleStartWithWindows() const;
    void Refresh();
    static void ShowHelp();

    UINT m_taskbarCreated = 0;
    std::unique_ptr<TrayIcon> m_icon;
    ShellIcons m_icons;
    // Shared with the search window.
    DarkMode m_dark = DarkMode::ForThisSystem();
    std::unique_ptr<search::Indexer> m_index;
    std::unique_ptr<SearchWindow> m_search;
    // The menu being tracked, which gets the menu messages meanwhile.
    FolderMenus* m_folderMenus = nullptr;
    const ShellContextMenu* m_shellMenu = nullptr;
};

}  // namespace tray
