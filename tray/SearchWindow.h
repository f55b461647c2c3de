#pragma once
// The search window: an edit box and below it the entries of every menu
// whose names hold what is typed, updated at each keystroke and whenever the
// index grows, each row with its shell icon (looked up when first drawn) and
// its folder. Enter or a double click opens the row as the menu would,
// Ctrl+Enter its folder; Shift+F10, the Applications key or a right click show
// the shell's context menu; Up and Down move; Escape closes. It searches what
// is indexed and says how far indexing has got; it never waits for it.

#include "framework/UniqueHandle.h"
#include "framework/Window.h"
#include "search/Indexer.h"
#include "tray/ShellIcons.h"

#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

namespace tray {

class DarkMode;
class ShellContextMenu;

inline constexpr char kSearchWindowClass[] = "RootCasterSearch";
// Its children, for the tests that work it from outside.
inline constexpr int kSearchEditId = 101;
inline constexpr int kSearchListId = 102;
inline constexpr int kSearchStatusId = 103;
// The most rows shown: the best matches; the status line counts them all.
inline constexpr std::size_t kShownRows = 100;

class SearchWindow : public fw::Window {
public:
    SearchWindow(const search::Indexer& index, ShellIcons& icons, DarkMode& dark)
        : m_index(index), m_icons(icons), m_dark(dark) {}
    ~SearchWindow() override;
    SearchWindow(const SearchWindow&) = delete;
    SearchWindow& operator=(const SearchWindow&) = delete;

    // Opens the window near `at` with an empty edit box, or brings the open
    // one to the front.
    bool Show(POINT at);

    // The rows shown now.
    const std::vector<search::FoundRow>& Rows() const { return m_rows; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnEditKey(UINT message, WPARAM key);

    void OnCreate();
    void ApplyDpi(int dpi);
    void OnDpiChanged(int dpi, const RECT& suggested);
    void OnSize(int width, int height) const;
    LRESULT OnNotify(NMHDR& header);
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw) const;
    void OnTimer();

    void Update();
    void ShowRows(std::vector<search::FoundRow> rows, const std::wstring& selectedPath);
    void RedrawRowsInView(std::size_t first, std::size_t last) const;
    void ResizeList(int wanted) const;
    void SetRowCount(int wanted) const;
    void SetItemCount(int shown, int wanted) const;
    void ShowStatus() const;
    void AnswerDisplayInfo(NMHDR* header);
    int IconOf(size_t row);

    int SelectedRow() const;
    void MoveSelection(WPARAM key) const;
    void OpenSelected(bool itsFolder);
    void ShowContextMenu(POINT at);
    POINT SelectedRowPoint() const;

    // Dark or light as the user chose, at creation and on every change.
    void ApplyColorScheme() const;
    void OnSettingChange(WPARAM action, LPARAM text) const;
    LRESULT OnControlColor(UINT message, WPARAM dc, LPARAM control) const;
    LRESULT OnEraseBackground(WPARAM dc) const;

    const search::Indexer& m_index;
    ShellIcons& m_icons;
    int m_dpi = 96;
    fw::UniqueFont m_font;                   // the children's, at m_dpi
    std::optional<IconsAtSize> m_listIcons;  // the small-icon size at m_dpi
    HWND m_edit = nullptr;
    HWND m_list = nullptr;
    bool m_ownerData = false;  // the list asks for its rows, which it does not keep
    HWND m_status = nullptr;
    WNDPROC m_editProc = nullptr;
    std::wstring m_text;
    long m_generation = -1;
    std::size_t m_total = 0;
    std::vector<search::FoundRow> m_rows;
    std::vector<int> m_rowIcons;
    std::string m_narrowed;  // the text last handed to an ANSI list view
    const ShellContextMenu* m_shellMenu = nullptr;
    DarkMode& m_dark;
};

}  // namespace tray
