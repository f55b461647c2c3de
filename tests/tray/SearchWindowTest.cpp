// The search window and its index in this process, with a reader that hangs
// on one folder and finds another unreadable: the window answers every
// keystroke and the menus open while the index waits, and what was read
// stays searchable. Its dark mode is worked through entry points that log
// their calls.

#include "framework/CommonControls.h"
#include "framework/Dpi.h"
#include "framework/UniqueHandle.h"
#include "framework/WindowsVersion.h"
#include "framework/WideText.h"
#include "search/Indexer.h"
#include "tests/support/Picture.h"
#include "tests/support/WineTest.h"
#include "tray/DarkMode.h"
#include "tray/FolderMenus.h"
#include "tray/SearchWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

// Set when the slow folder may be read.
HANDLE g_release = nullptr;

bool Holds(const std::wstring& directory, const wchar_t* part) {
    return directory.find(part) != std::wstring::npos;
}

listing::RawListing SlowOrLockedReader(const std::wstring& menuFolder, const std::wstring& directory) {
    if (Holds(directory, L"\\9slowroot\\slow\\")) ::WaitForSingleObject(g_release, 60000);
    if (Holds(directory, L"\\9slowroot\\locked\\")) return {};  // as access denied reads
    return listing::ReadRaw(menuFolder, directory);
}

// Ground of its own: C:\9slowroot with a slow, a locked and a plain entry,
// and a menu root whose only drive is C.
class SlowGround {
public:
    SlowGround() {
        Remove();
        for (const char* folder :
             {"C:\\9slowroot", "C:\\9slowroot\\slow", "C:\\9slowroot\\locked", "C:\\9slowmenus", "C:\\9slowmenus\\C"}) {
            ::CreateDirectoryA(folder, nullptr);
        }
        MakeFile("C:\\9slowroot\\quickly found.txt");
        MakeFile("C:\\9slowroot\\slow\\inside.txt");
        MakeFile("C:\\9slowroot\\locked\\unseen.txt");
    }
    ~SlowGround() { Remove(); }
    SlowGround(const SlowGround&) = delete;
    SlowGround& operator=(const SlowGround&) = delete;

private:
    static void Remove() {
        RemoveTree(std::string("C:\\9slowroot"));
        RemoveTree(std::string("C:\\9slowmenus"));
    }
};

std::vector<std::string> Found(const search::Indexer& index, const wchar_t* text) {
    size_t total = 0;
    std::vector<std::string> names;
    for (const search::FoundRow& row : index.Find(text, 10, total)) names.push_back(fw::Narrow(row.name));
    return names;
}

// Waits until `text` finds `expected`; what it found last.
std::vector<std::string> WaitToFind(const search::Indexer& index, const wchar_t* text,
                                    const std::vector<std::string>& expected) {
    std::vector<std::string> found;
    for (DWORD waited = 0; waited < 60000 && (found = Found(index, text)) != expected; waited += 50) ::Sleep(50);
    return found;
}

std::string WindowText(HWND window) {
    char text[256] = "";
    ::GetWindowTextA(window, text, sizeof(text));
    return text;
}

search::IndexerOptions SlowGroundIndex() {
    search::IndexerOptions options;
    options.menuRoot = L"C:\\9slowmenus\\";
    options.entryLimit = 1000000;
    // What is timed out here is waiting, not the machine's load.
    options.threadPriority = THREAD_PRIORITY_NORMAL;
    return options;
}

// With no periodic pass, what the watches report is read again: two files
// one after the other (the watch goes on after the first), then a drive
// whose menu went. (Wine reports changes in a tree's top folder alone, so
// the files are made there.)
TEST(SearchIndex, ReportedChangesAreReadWithoutAPass) {
    const SlowGround ground;
    search::IndexerOptions options = SlowGroundIndex();
    options.rereadMs = INFINITE;
    search::Indexer index(options);
    ASSERT_TRUE(index.Start());
    ASSERT_EQ(WaitToFind(index, L"quickly", {"quickly found.txt"}), std::vector<std::string>{"quickly found.txt"});
    for (const char* name : {"9slowroot one.txt", "9slowroot two.txt"}) {
        ASSERT_TRUE(MakeFile(std::string("C:\\") + name));
        EXPECT_EQ(WaitToFind(index, fw::Widen(name).c_str(), {name}), std::vector<std::string>{name});
        ::DeleteFileA((std::string("C:\\") + name).c_str());
    }
    RemoveTree(std::string("C:\\9slowmenus\\C"));
    EXPECT_EQ(WaitToFind(index, L"quickly", {}), std::vector<std::string>{});
    EXPECT_EQ(index.Progress().entries, 0u);
}

// A search window shown over an index, with its edit box and list.
struct ShownSearch {
    ShownSearch(const search::Indexer& index, tray::DarkMode& dark) : window(index, icons, dark) {
        if (window.Show({100, 100})) frame = ::FindWindowA(tray::kSearchWindowClass, nullptr);
        edit = ::GetDlgItem(frame, tray::kSearchEditId);
        list = ::GetDlgItem(frame, tray::kSearchListId);
    }

    tray::ShellIcons icons;
    tray::SearchWindow window;
    HWND frame = nullptr;
    HWND edit = nullptr;
    HWND list = nullptr;
};

// What the list shows in column `column`, row by row.
std::vector<std::string> ListTexts(HWND list, int column) {
    std::vector<std::string> texts;
    const auto rows = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        char text[MAX_PATH] = "";
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        texts.emplace_back(text);
    }
    return texts;
}

// The window's pixels as drawn, frame and children included.
std::vector<DWORD> DrawnPixels(HWND window) {
    RECT place{};
    ::GetWindowRect(window, &place);
    const Picture picture(place.right - place.left, place.bottom - place.top);
    return picture.CopyWindow(window) ? picture.Pixels() : std::vector<DWORD>{};
}

// Where what a text's keystroke drew differs from what drawing the whole
// list again draws (its rows, a scroll bar that came or went, its header):
// empty when nowhere.
std::string DrawnApartFromAWhole(HWND list) {
    ::UpdateWindow(list);
    const std::vector<DWORD> drawn = DrawnPixels(list);
    ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const std::vector<DWORD> whole = DrawnPixels(list);
    if (drawn.empty() || drawn.size() != whole.size()) return "not drawn";
    RECT place{};
    ::GetWindowRect(list, &place);
    const auto width = static_cast<size_t>(place.right - place.left);
    RECT apart{LONG_MAX, LONG_MAX, -1, -1};
    for (size_t pixel = 0; pixel < drawn.size(); ++pixel) {
        if (drawn[pixel] == whole[pixel]) continue;
        const auto x = static_cast<LONG>(pixel % width);
        const auto y = static_cast<LONG>(pixel / width);
        apart = {std::min(apart.left, x), std::min(apart.top, y), std::max(apart.right, x), std::max(apart.bottom, y)};
    }
    if (apart.right < 0) return "";
    return "(" + std::to_string(apart.left) + "," + std::to_string(apart.top) + ")-(" + std::to_string(apart.right) +
           "," + std::to_string(apart.bottom) + ")";
}

// The list holds the rows found, whether it asks for them (common controls
// 4.70 and later) or keeps items (4.00), as the text grows and empties, and
// draws them: more rows than it shows bring a scroll bar, fewer take it away,
// and as many others are drawn in their place.
TEST(SearchWindow, ListShowsWhatIsFoundWithOrWithoutOwnerData) {
    const SlowGround ground;
    for (int row = 10; row < 40; ++row) {
        MakeFile("C:\\9slowroot\\row " + std::to_string(row) + ".txt");
        MakeFile("C:\\9slowroot\\other " + std::to_string(row) + ".txt");
    }
    search::Indexer index(SlowGroundIndex());
    ASSERT_TRUE(index.Start());
    ASSERT_EQ(WaitToFind(index, L"inside", {"inside.txt"}), std::vector<std::string>{"inside.txt"});
    ASSERT_EQ(WaitToFind(index, L"row 39", {"row 39.txt"}), std::vector<std::string>{"row 39.txt"});
    ASSERT_EQ(WaitToFind(index, L"other 39", {"other 39.txt"}), std::vector<std::string>{"other 39.txt"});
    // The kind of list found at the start comes back, also when a check ends the test.
    struct RestoreListKind {
        const bool available = fw::OwnerDataListViews();
        ~RestoreListKind() { fw::OwnerDataListViews() = available; }
    } restore;
    for (const bool ownerData : {true, false}) {
        fw::OwnerDataListViews() = ownerData;
        tray::DarkMode light;
        const ShownSearch search(index, light);
        ASSERT_TRUE(search.frame);
        for (const char* text : {"i", "in", "inside", "", "row", "other", "row 1", "row 2", "row", ""}) {
            ::SetWindowTextA(search.edit, text);
            std::vector<std::string> names;
            for (const search::FoundRow& row : search.window.Rows()) names.push_back(fw::Narrow(row.name));
            EXPECT_EQ(ListTexts(search.list, 0), names) << text << (ownerData ? ", owner data" : ", items");
            EXPECT_EQ(DrawnApartFromAWhole(search.list), "") << text << (ownerData ? ", owner data" : ", items");
        }
        ::SetWindowTextA(search.edit, "inside");
        EXPECT_EQ(ListTexts(search.list, 1), std::vector<std::string>{"C:\\9slowroot\\slow\\"});
    }
}

// Run as a child at the DPI its parent set (TrayMenus.ItemsFollowTheReportedSystemAndTheDpi):
// the rows' icons are the small-icon size for the DPI, the names start past
// them, rows are at least icon-high, and the columns and the font scale.
TEST(DISABLED_SearchWindowLook, RowsFollowTheDpi) {
    const SlowGround ground;
    search::Indexer index(SlowGroundIndex());
    ASSERT_TRUE(index.Start());
    ASSERT_EQ(WaitToFind(index, L"inside", {"inside.txt"}), std::vector<std::string>{"inside.txt"});
    tray::DarkMode light;
    const ShownSearch search(index, light);
    ASSERT_TRUE(search.frame);
    const HWND list = search.list;
    ::SetWindowTextA(search.edit, "inside");
    const int dpi = fw::DpiOf(nullptr);
    int iconWidth = 0;
    int iconHeight = 0;
    ::ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(::SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0)),
                            &iconWidth, &iconHeight);
    const int icon = ::MulDiv(16, dpi, 96);
    EXPECT_EQ(iconWidth, icon) << "at " << dpi << " DPI";
    RECT row{LVIR_BOUNDS, 0, 0, 0};
    RECT image{LVIR_ICON, 0, 0, 0};
    RECT label{LVIR_LABEL, 0, 0, 0};
    for (RECT* part : {&row, &image, &label})
        ASSERT_TRUE(::SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(part)));
    EXPECT_GE(row.bottom - row.top, icon) << "at " << dpi << " DPI";
    EXPECT_GE(label.left, image.left + icon) << "at " << dpi << " DPI";
    EXPECT_EQ(::SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0), ::MulDiv(180, dpi, 96));
    LOGFONTA font{};
    ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(list, WM_GETFONT, 0, 0)), sizeof(font), &font);
    EXPECT_GE(std::abs(font.lfHeight), ::MulDiv(10, dpi, 96)) << "the list's font at " << dpi << " DPI";
}

// Handles the thread's messages until `done` holds or a minute passed.
template <class Done>
bool PumpUntil(Done done) {
    for (DWORD waited = 0; waited < 60000; waited += 20) {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
        if (done()) return true;
        ::Sleep(20);
    }
    return false;
}

// The same text found again as the index changes keeps the row the user
// moved to, below the first page, and the view with it; a row that changed
// there is drawn again.
TEST(SearchWindow, ARowThatChangesInAViewScrolledDownIsDrawnAgain) {
    const SlowGround ground;
    for (int row = 10; row < 40; ++row) MakeFile("C:\\9slowroot\\row " + std::to_string(row) + ".txt");
    search::IndexerOptions options = SlowGroundIndex();
    options.rereadMs = 200;  // Wine reports no change below a tree's top folder
    search::Indexer index(options);
    ASSERT_TRUE(index.Start());
    // Found once the whole drive is read: rows found later would move the list.
    ASSERT_TRUE(PumpUntil([&] { return !index.Progress().building; }));
    ASSERT_EQ(Found(index, L"row 39"), std::vector<std::string>{"row 39.txt"});
    tray::DarkMode light;
    const ShownSearch search(index, light);
    ASSERT_TRUE(search.frame);
    ::SetWindowTextA(search.edit, "row");
    const std::vector<search::FoundRow>& rows = search.window.Rows();
    const auto changed = static_cast<size_t>(
        std::find_if(rows.begin(), rows.end(), [](const search::FoundRow& row) { return row.name == L"row 38.txt"; }) -
        rows.begin());
    ASSERT_LT(changed, rows.size());
    const size_t found = rows.size();
    const WPARAM last = found - 1;
    LVITEMA selection{};
    selection.stateMask = selection.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(search.list, LVM_SETITEMSTATE, last, reinterpret_cast<LPARAM>(&selection));
    ::SendMessageA(search.list, LVM_ENSUREVISIBLE, last, FALSE);
    ASSERT_GT(::SendMessageA(search.list, LVM_GETTOPINDEX, 0, 0), 0) << "the list shows every row at once";
    ::UpdateWindow(search.list);

    ASSERT_TRUE(::MoveFileA("C:\\9slowroot\\row 38.txt", "C:\\9slowroot\\row 38b.txt"));
    ASSERT_TRUE(PumpUntil([&] { return rows.size() != found || rows[changed].name != L"row 38.txt"; }));
    ASSERT_EQ(rows.size(), found);
    EXPECT_EQ(fw::Narrow(rows[changed].name), "row 38b.txt");
    EXPECT_EQ(::SendMessageA(search.list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED),
              static_cast<LRESULT>(last));
    EXPECT_GT(::SendMessageA(search.list, LVM_GETTOPINDEX, 0, 0), 0);
    EXPECT_EQ(DrawnApartFromAWhole(search.list), "");
}

TEST(SearchWindow, NeitherTheWindowNorTheMenusWaitForASlowOrUnreadableFolder) {
    const SlowGround ground;
    const fw::UniqueEvent release(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    g_release = release.get();
    search::IndexerOptions options = SlowGroundIndex();
    options.read.reader = SlowOrLockedReader;
    search::Indexer index(options);
    ASSERT_TRUE(index.Start());
    ASSERT_EQ(WaitToFind(index, L"quickly", {"quickly found.txt"}), std::vector<std::string>{"quickly found.txt"});
    EXPECT_TRUE(index.Progress().building) << "the slow folder cannot have been read yet";

    tray::DarkMode light;
    ShownSearch search(index, light);
    ASSERT_TRUE(search.frame);
    for (const char c : std::string("quickly")) ::SendMessageA(search.edit, WM_CHAR, c, 1);
    ASSERT_EQ(search.window.Rows().size(), 1u);
    EXPECT_EQ(fw::Narrow(search.window.Rows()[0].path), "C:\\9slowroot\\quickly found.txt");
    const std::string status = WindowText(::GetDlgItem(search.frame, tray::kSearchStatusId));
    EXPECT_EQ(status.rfind("Indexing... ", 0), 0u) << status;
    EXPECT_NE(status.find(" - 1 found"), std::string::npos) << status;

    tray::FolderMenus menus(search.icons, nullptr);
    tray::Source slow;
    slow.directory = L"C:\\9slowroot\\slow\\";
    const fw::UniqueMenu menu = menus.CreateMenu(slow);
    EXPECT_EQ(::GetMenuItemCount(menu.get()), 3) << "Open this folder, a separator and inside.txt";

    ::SetEvent(release.get());
    EXPECT_EQ(WaitToFind(index, L"inside", {"inside.txt"}), std::vector<std::string>{"inside.txt"});
    EXPECT_TRUE(Found(index, L"unseen").empty());
}

// Entry points standing in for the system's, each logging its call.
std::string g_darkLog;
bool g_appsUseDark = true;

std::string ClassOf(HWND window) {
    char name[64] = "";
    ::GetClassNameA(window, name, sizeof(name));
    return name;
}

bool WINAPI LogShouldAppsUseDark() {
    g_darkLog += "132 ";
    return g_appsUseDark;
}
bool WINAPI LogAllowForWindow(HWND window, bool allow) {
    g_darkLog += "133(" + ClassOf(window) + (allow ? ",1) " : ",0) ");
    return true;
}
int WINAPI LogSetAppMode(int mode) {
    g_darkLog += "135(" + std::to_string(mode) + ") ";
    return 0;
}
void WINAPI LogFlushMenuThemes() {
    g_darkLog += "136 ";
}
void WINAPI LogRefreshPolicy() {
    g_darkLog += "104 ";
}
HRESULT WINAPI LogSetWindowTheme(HWND window, LPCWSTR appName, LPCWSTR) {
    g_darkLog += "theme(" + ClassOf(window) + "," + (appName ? fw::Narrow(appName) : "none") + ") ";
    return S_OK;
}
HRESULT WINAPI LogSetAttribute(HWND, DWORD attribute, LPCVOID value, DWORD size) {
    const BOOL on = size == sizeof(BOOL) && *static_cast<const BOOL*>(value);
    g_darkLog += "dwm(" + std::to_string(attribute) + (on ? ",1) " : ",0) ");
    return S_OK;
}

tray::DarkModeEntries LoggingEntries() {
    tray::DarkModeEntries entries;
    entries.shouldAppsUseDarkMode = LogShouldAppsUseDark;
    entries.allowDarkModeForWindow = LogAllowForWindow;
    entries.setAppMode = LogSetAppMode;
    entries.flushMenuThemes = LogFlushMenuThemes;
    entries.refreshImmersiveColorPolicyState = LogRefreshPolicy;
    entries.setWindowTheme = LogSetWindowTheme;
    entries.dwmSetWindowAttribute = LogSetAttribute;
    return entries;
}

COLORREF ListBack(HWND list) {
    return static_cast<COLORREF>(::SendMessageA(list, LVM_GETBKCOLOR, 0, 0));
}

// The policy is read again before the choice, and the menus are told; the
// search window's caption, edit box, list and header follow, with the
// caption attribute of the build.
TEST(SearchWindowDarkMode, CallsWhatTheBuildHas) {
    const SlowGround ground;
    search::Indexer index(SlowGroundIndex());
    const struct {
        unsigned build;
        const char* caption;
    } cases[] = {{19041, "dwm(20,1) "}, {17763, "dwm(19,1) "}};
    for (const auto& test : cases) {
        g_appsUseDark = true;
        g_darkLog.clear();
        tray::DarkMode dark(LoggingEntries(), test.build);
        ASSERT_TRUE(dark.Available()) << test.build;
        EXPECT_TRUE(dark.Refresh()) << test.build;
        EXPECT_EQ(g_darkLog, "104 132 135(1) 136 ") << test.build;
        g_darkLog.clear();
        const ShownSearch search(index, dark);
        ASSERT_TRUE(search.frame);
        EXPECT_EQ(g_darkLog, std::string("133(RootCasterSearch,1) ") + test.caption +
                                 "133(Edit,1) theme(Edit,DarkMode_CFD) "
                                 "133(SysListView32,1) theme(SysListView32,DarkMode_Explorer) "
                                 "133(SysHeader32,1) theme(SysHeader32,DarkMode_ItemsView) ")
            << test.build;
        EXPECT_EQ(ListBack(search.list), tray::kDarkBack) << test.build;
    }
}

// A colour scheme's change notice switches the open window both ways; other
// notices leave it alone.
TEST(SearchWindowDarkMode, SwitchesLiveOnTheChangeNotice) {
    const SlowGround ground;
    search::Indexer index(SlowGroundIndex());
    g_appsUseDark = true;
    tray::DarkMode dark(LoggingEntries(), 19041);
    dark.Refresh();
    const ShownSearch search(index, dark);
    ASSERT_TRUE(search.frame);
    const HWND shown = search.frame;
    const HWND list = search.list;
    const auto notify = [&](const char* text) {
        g_darkLog.clear();
        ::SendMessageA(shown, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(text));
    };
    const fw::UniqueDC dc(::CreateCompatibleDC(nullptr));
    const auto editBrush = [&] {
        return ::SendMessageA(shown, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.get()),
                              reinterpret_cast<LPARAM>(search.edit));
    };
    // The header's titles, as it asks its list when it draws.
    const auto headerDraw = [&](DWORD stage) {
        NMCUSTOMDRAW draw{};
        draw.hdr.hwndFrom = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
        draw.hdr.code = static_cast<UINT>(NM_CUSTOMDRAW);
        draw.dwDrawStage = stage;
        draw.hdc = dc.get();
        return ::SendMessageA(list, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&draw));
    };
    EXPECT_EQ(headerDraw(CDDS_PREPAINT), CDRF_NOTIFYITEMDRAW);
    headerDraw(CDDS_ITEMPREPAINT);
    EXPECT_EQ(::GetTextColor(dc.get()), tray::kDarkText);
    ::SetTextColor(dc.get(), 0);
    EXPECT_NE(editBrush(), 0);
    EXPECT_EQ(::GetTextColor(dc.get()), tray::kDarkText);

    g_appsUseDark = false;
    notify("Environment");
    EXPECT_EQ(g_darkLog, "");
    notify("ImmersiveColorSet");
    EXPECT_EQ(g_darkLog.rfind("104 132 135(0) 136 dwm(20,0) 133(Edit,0) theme(Edit,none) ", 0), 0u) << g_darkLog;
    EXPECT_FALSE(dark.IsDark());
    EXPECT_EQ(ListBack(list), ::GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(editBrush()), ::GetSysColorBrush(COLOR_WINDOW))
        << "the edit box's own colours where light";
    EXPECT_EQ(headerDraw(CDDS_PREPAINT), CDRF_DODEFAULT);

    g_appsUseDark = true;
    notify("ImmersiveColorSet");
    EXPECT_TRUE(dark.IsDark());
    EXPECT_EQ(ListBack(list), tray::kDarkBack);
}

// With one entry point missing nothing is called. Under Wine the entry
// points are never even looked up: a known Wine difference, as Wine's
// uxtheme exports other functions at those ordinals (Wine 8's 104 is
// IsThemePartDefined, which called without arguments breaks the stack),
// whatever version Wine reports.
TEST(SearchWindowDarkMode, NothingUndocumentedIsCalledWithoutTheMeans) {
    tray::DarkModeEntries entries = LoggingEntries();
    entries.dwmSetWindowAttribute = nullptr;
    tray::DarkMode missing(entries, 19041);
    g_darkLog.clear();
    EXPECT_FALSE(missing.Available());
    EXPECT_FALSE(missing.Refresh());
    missing.AllowMenus(::GetDesktopWindow());
    EXPECT_EQ(g_darkLog, "");

    const OSVERSIONINFOA version = fw::ReportedVersion();
    tray::DarkMode wine = tray::DarkMode::ForThisSystem();
    EXPECT_FALSE(wine.Available()) << "Wine reporting " << version.dwMajorVersion << "." << version.dwMinorVersion
                                   << " build " << version.dwBuildNumber;
    EXPECT_FALSE(wine.Refresh());
}

}  // namespace
