// The tray's menus in this process, opened as the menu loop opens them
// (WM_INITMENUPOPUP, WM_UNINITMENUPOPUP) and read back item by item.

#include "framework/Dpi.h"
#include "framework/ItemList.h"
#include "framework/WideText.h"
#include "tests/menubuilder/MenuTestSupport.h"
#include "tests/support/WineTest.h"
#include "tray/FolderMenus.h"
#include "tray/MenuRoot.h"

#include <gtest/gtest.h>

#include <oleacc.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using namespace testing_support;
using tray::Line;

namespace {

// The menus as the menu loop works them.
class MenuWalk {
public:
    MenuWalk() : m_menus(m_icons, nullptr) {}

    HMENU Open(HMENU menu) {
        LRESULT result = 0;
        m_menus.HandleMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0, result);
        return menu;
    }
    void Close(HMENU menu) {
        LRESULT result = 0;
        m_menus.HandleMessage(WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0, result);
    }
    tray::FolderMenus& Menus() { return m_menus; }

private:
    tray::ShellIcons m_icons;
    tray::FolderMenus m_menus;
};

// Every item's text, "-" for a separator, "(empty)" etc. as shown; folders
// that open a submenu end with ">".
std::vector<std::string> Texts(HMENU menu) {
    std::vector<std::string> texts;
    for (int position = 0; position < ::GetMenuItemCount(menu); ++position) {
        const Line* line = tray::FolderMenus::LineAt(menu, static_cast<UINT>(position));
        std::string text = line ? fw::Narrow(line->text) : "-";
        if (::GetSubMenu(menu, position)) text += ">";
        texts.push_back(text);
    }
    return texts;
}

// The submenu of the item showing `text` (compared without case), opened.
HMENU OpenItem(MenuWalk& walk, HMENU menu, const std::string& text) {
    for (int position = 0; position < ::GetMenuItemCount(menu); ++position) {
        const Line* line = tray::FolderMenus::LineAt(menu, static_cast<UINT>(position));
        if (line && lstrcmpiA(fw::Narrow(line->text).c_str(), text.c_str()) == 0) {
            HMENU submenu = ::GetSubMenu(menu, position);
            return submenu ? walk.Open(submenu) : nullptr;
        }
    }
    return nullptr;
}

tray::Source FolderSource(const std::string& directory) {
    tray::Source source;
    source.directory = fw::Widen((directory + "\\").c_str());
    return source;
}

std::string Join(const std::vector<std::string>& texts) {
    std::string joined;
    for (const std::string& text : texts) joined += text + "|";
    return joined;
}

// From the menu root down to an added directory: its items, subfolders and
// files, each group sorted without regard to case; hidden and system
// entries left out.
TEST(TrayMenus, ShowAnAddedDirectoryInOrderWithoutHiddenEntries) {
    menutest::MenuGround ground;
    menutest::SetOptions(1, 0);
    TempFolder folder("tray-order");
    const std::string& path = folder.Path();
    for (const char* name : {"Zeta", "alpha", "Mid"}) ::CreateDirectoryA((path + "\\" + name).c_str(), nullptr);
    ::CreateDirectoryA((path + "\\secret").c_str(), nullptr);
    ::SetFileAttributesA((path + "\\secret").c_str(), FILE_ATTRIBUTE_HIDDEN);
    for (const char* name : {"banana.txt", "Apple.txt", "cherry.TXT"}) MakeFile(path + "\\" + name);
    MakeFile(path + "\\hidden.txt", FILE_ATTRIBUTE_HIDDEN);
    MakeFile(path + "\\system.txt", FILE_ATTRIBUTE_SYSTEM);
    ASSERT_EQ(RunProgram(ProgramPath(), path).exitCode, 0u);

    MenuWalk walk;
    const fw::UniqueMenu root = walk.Menus().CreateRootMenu(tray::MenuRootFolder());
    ASSERT_EQ(Join(Texts(root.get())), "Search...|-|C:>|");
    HMENU menu = OpenItem(walk, root.get(), "C:");
    for (size_t start = 3, end; menu && start < path.size(); start = end + 1) {
        end = std::min(path.find('\\', start), path.size());
        menu = OpenItem(walk, menu, path.substr(start, end - start));
        ASSERT_TRUE(menu) << "no folder " << path.substr(start, end - start) << " on the way to " << path;
    }
    EXPECT_EQ(Join(Texts(menu)), "Open this folder|-|Open|alpha>|Mid>|Zeta>|Apple.txt|banana.txt|cherry.TXT|");

    // Closed, it is empty again; opened anew, it reads the folder as it is now.
    walk.Close(menu);
    EXPECT_EQ(::GetMenuItemCount(menu), 0);
    ::RemoveDirectoryA((path + "\\Mid").c_str());
    walk.Open(menu);
    EXPECT_EQ(Join(Texts(menu)), "Open this folder|-|Open|alpha>|Zeta>|Apple.txt|banana.txt|cherry.TXT|");
}

// A right click or the Applications key on the second drive of the root,
// below "Search..." and its separator, asks for that drive's context menu.
TEST(TrayMenus, ContextMenuOfTheSecondDriveIsThatDrives) {
    menutest::MenuGround ground;
    const std::string root = fw::Narrow(tray::MenuRootFolder());
    ::CreateDirectoryA(root.substr(0, root.size() - 1).c_str(), nullptr);
    for (const char* drive : {"C", "Z"}) ::CreateDirectoryA((root + drive).c_str(), nullptr);
    const struct {
        const char* way;
        UINT message;
        WPARAM key;
    } ways[] = {{"right click", WM_RBUTTONUP, 0}, {"Applications key", WM_KEYDOWN, VK_APPS}};
    for (const auto& asked : ways) {
        MenuWalk walk;
        const fw::UniqueMenu menu = walk.Menus().CreateRootMenu(tray::MenuRootFolder());
        ASSERT_EQ(Join(Texts(menu.get())), "Search...|-|C:>|Z:>|");
        LRESULT result = 0;
        walk.Menus().HandleMessage(WM_MENUSELECT, MAKEWPARAM(3, MF_POPUP | MF_HILITE),
                                   reinterpret_cast<LPARAM>(menu.get()), result);
        MSG message{nullptr, asked.message, asked.key, 0, 0, {0, 0}};
        EXPECT_TRUE(::CallMsgFilterA(&message, MSGF_MENU)) << asked.way << " was left to the menu";
        const std::optional<Line>& chosen = walk.Menus().ContextMenuAsked();
        EXPECT_EQ(chosen ? fw::Narrow(chosen->path) : "none", "Z:\\") << asked.way;
    }
    for (const char* drive : {"C", "Z"}) ::RemoveDirectoryA((root + drive).c_str());
}

TEST(TrayMenus, MarkEmptyAndMissingFolders) {
    TempFolder folder("tray-empty");
    MenuWalk walk;
    const fw::UniqueMenu empty = walk.Menus().CreateMenu(FolderSource(folder.Path()));
    EXPECT_EQ(Join(Texts(empty.get())), "Open this folder|-|(empty)|");
    const fw::UniqueMenu missing = walk.Menus().CreateMenu(FolderSource(folder.Path() + "\\gone"));
    EXPECT_EQ(Join(Texts(missing.get())), "(not available)|");
    EXPECT_TRUE(::GetMenuState(missing.get(), 0, MF_BYPOSITION) & MF_GRAYED);
}

// Run as a child, at the DPI and on the Windows its parent set: each item of
// a folder's menu tells its name as the look of that Windows has it, and
// its icon and text measure to the DPI.
TEST(DISABLED_TrayMenuLook, NamesAndSizesFollowTheSystem) {
    char folder[MAX_PATH] = {};
    ASSERT_GT(::GetEnvironmentVariableA("TRAY_LOOK_FOLDER", folder, MAX_PATH), 0u);
    const int dpi = fw::DpiOf(nullptr);
    char expectedDpi[8] = {};
    ::GetEnvironmentVariableA("TRAY_LOOK_DPI", expectedDpi, 8);
    ASSERT_EQ(dpi, std::atoi(expectedDpi)) << "the DPI set did not reach the child";
    MenuWalk walk;
    const tray::MenuMetrics& metrics = walk.Menus().Items().Metrics();
    const int icon = ::MulDiv(16, dpi, 96);
    EXPECT_EQ(metrics.icon, icon);
    EXPECT_EQ(metrics.textStart, icon + 3 * ::MulDiv(4, dpi, 96));  // a gap before the icon, two after
    const tray::MenuLook look = walk.Menus().Items().Look();
    char expectedLook[8] = {};
    ::GetEnvironmentVariableA("TRAY_LOOK", expectedLook, 8);
    ASSERT_EQ(static_cast<int>(look), std::atoi(expectedLook));
    const fw::UniqueMenu menu = walk.Menus().CreateMenu(FolderSource(folder));
    ASSERT_EQ(::GetMenuItemCount(menu.get()), 4) << Join(Texts(menu.get()));
    for (UINT position = 0; position < 4; ++position) {
        const Line* line = tray::FolderMenus::LineAt(menu.get(), position);
        if (!line) continue;  // the separator
        SCOPED_TRACE(fw::Narrow(line->text));
        MENUITEMINFOW item{};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_STRING | MIIM_BITMAP | MIIM_DATA | MIIM_FTYPE;
        wchar_t text[MAX_PATH] = {};
        item.dwTypeData = text;
        item.cch = MAX_PATH;
        ASSERT_TRUE(::GetMenuItemInfoW(menu.get(), position, TRUE, &item));
        MEASUREITEMSTRUCT measured{ODT_MENU, 0, 0, 0, 0, item.dwItemData};
        ASSERT_TRUE(walk.Menus().Items().Measure(measured));
        if (look == tray::MenuLook::kOwnerDrawn) {
            const auto* accessible = reinterpret_cast<const MSAAMENUINFO*>(item.dwItemData);
            EXPECT_EQ(accessible->dwMSAASignature, DWORD{MSAA_MENU_SIG});
            EXPECT_EQ(std::wstring(accessible->pszWText, accessible->cchWText), line->text);
            EXPECT_GE(measured.itemHeight, static_cast<UINT>(icon));
            EXPECT_GT(measured.itemWidth, static_cast<UINT>(metrics.textStart));
            continue;
        }
        // An ampersand shows as itself, not as the mark of a letter.
        std::wstring shown = line->text;
        for (size_t at = shown.find(L'&'); at != std::wstring::npos; at = shown.find(L'&', at + 2))
            shown.insert(at, 1, L'&');
        EXPECT_EQ(std::wstring(text), shown);
        if (!tray::IsShellEntry(*line)) continue;
        if (look == tray::MenuLook::kBitmapCallback) {
            EXPECT_EQ(item.hbmpItem, HBMMENU_CALLBACK);
            EXPECT_EQ(measured.itemHeight, static_cast<UINT>(icon));
            continue;
        }
        BITMAP bitmap{};
        ASSERT_TRUE(::GetObjectA(item.hbmpItem, sizeof(bitmap), &bitmap)) << "no bitmap";
        EXPECT_EQ(bitmap.bmWidth, icon);
        EXPECT_EQ(bitmap.bmHeight, icon);
        EXPECT_EQ(bitmap.bmBitsPixel, 32);
    }
}

// The menus' looks of Windows 10, 7, XP and 95, and the search window, at 96
// and at 144 DPI: LogPixels is read when a program starts, so each runs in a
// child.
TEST(TrayMenus, ItemsFollowTheReportedSystemAndTheDpi) {
    TempFolder folder("tray-look");
    ::CreateDirectoryA((folder.Path() + "\\Sub").c_str(), nullptr);
    MakeFile(folder.Path() + "\\a & b.txt");
    ::SetEnvironmentVariableA("TRAY_LOOK_FOLDER", folder.Path().c_str());
    const std::optional<DWORD> before = ReadDword(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels");
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    const struct {
        const char* version;
        DWORD dpi;
        tray::MenuLook look;
    } cases[] = {{"win10", 96, tray::MenuLook::kThemed},
                 {"win7", 144, tray::MenuLook::kThemed},
                 {"winxp64", 144, tray::MenuLook::kBitmapCallback},
                 {"win95", 144, tray::MenuLook::kOwnerDrawn}};
    for (const auto& test : cases) {
        SetDword(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", test.dpi);
        ::SetEnvironmentVariableA("TRAY_LOOK_DPI", std::to_string(test.dpi).c_str());
        ::SetEnvironmentVariableA("TRAY_LOOK", std::to_string(static_cast<int>(test.look)).c_str());
        const ScopedWindowsVersion version("tray_tests.exe", test.version);
        const ProcessResult child = RunProgram(
            self, "--gtest_filter=DISABLED_TrayMenuLook.*:DISABLED_SearchWindowLook.* --gtest_also_run_disabled_tests");
        EXPECT_TRUE(child.finished && child.exitCode == 0)
            << test.version << " at " << test.dpi << " DPI: the child's checks failed; run it alone to see them";
    }
    if (before) {
        SetDword(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", *before);
    } else {
        ::SHDeleteValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels");
    }
}

// Every entry a menu shows through its ranges, opened one after the other
// as a user would open them, and where each range lies among the entries.
struct Reach {
    struct Range {
        std::wstring label;
        size_t first;  // its entries [first, end) in `entries`
        size_t end;
    };
    std::vector<std::wstring> entries;  // as shown, in order
    std::vector<Range> ranges;
    size_t deepest = 0;  // the most menus open to see an entry, the first counted
    size_t longest = 0;  // the most entries and ranges one menu shows
};

// Walks `menu` from `position` on, `depth` menus deep.
void WalkRanges(MenuWalk& walk, HMENU menu, size_t depth, int position, Reach& reach) {
    const int count = ::GetMenuItemCount(menu);
    reach.longest = std::max(reach.longest, static_cast<size_t>(count - position));
    for (; position < count; ++position) {
        const Line& line = *tray::FolderMenus::LineAt(menu, static_cast<UINT>(position));
        if (line.kind != Line::Kind::kRange) {
            reach.entries.push_back(line.text);
            reach.deepest = std::max(reach.deepest, depth);
            continue;
        }
        const size_t first = reach.entries.size();
        HMENU range = walk.Open(::GetSubMenu(menu, position));
        WalkRanges(walk, range, depth + 1, 0, reach);
        walk.Close(range);
        reach.ranges.push_back({line.text, first, reach.entries.size()});
    }
}

bool StartsWithIgnoringCase(const std::wstring& name, const std::wstring& start) {
    return name.size() >= start.size() && _wcsnicmp(name.c_str(), start.c_str(), start.size()) == 0;
}

// `start` begins `name`, and is the shortest start of it that `neighbour`
// (the name beside it outside its range; empty for none) does not begin
// with.
bool TellsApart(const std::wstring& start, const std::wstring& name, const std::wstring& neighbour) {
    if (start.empty() || !StartsWithIgnoringCase(name, start)) return false;
    if (start.size() == name.size() || neighbour.empty()) return start.size() == 1 || start.size() == name.size();
    return !StartsWithIgnoringCase(neighbour, start) &&
           (start.size() == 1 || StartsWithIgnoringCase(neighbour, start.substr(0, start.size() - 1)));
}

// Each range is labelled "First – Last" (an en dash): the starts of its first
// and last names that tell them from the names just outside it.
testing::AssertionResult LabelsTellRangesApart(const Reach& reach) {
    const std::wstring dash = L" \u2013 ";
    const auto nameAt = [&](size_t index) {
        return index < reach.entries.size() ? reach.entries[index] : std::wstring();
    };
    for (const Reach::Range& range : reach.ranges) {
        const size_t split = range.label.find(dash);
        const bool fits = split != std::wstring::npos && range.first < range.end &&
                          TellsApart(range.label.substr(0, split), nameAt(range.first),
                                     range.first > 0 ? nameAt(range.first - 1) : std::wstring()) &&
                          TellsApart(range.label.substr(split + dash.size()), nameAt(range.end - 1), nameAt(range.end));
        if (!fits) {
            return testing::AssertionFailure()
                   << "range \"" << fw::Narrow(range.label) << "\" of " << fw::Narrow(nameAt(range.first)) << " to "
                   << fw::Narrow(nameAt(range.end - 1)) << ", between " << fw::Narrow(nameAt(range.first - 1))
                   << " and " << fw::Narrow(nameAt(range.end));
        }
    }
    return testing::AssertionSuccess();
}

std::wstring Numbered(const wchar_t* format, size_t number) {
    wchar_t name[32];
    std::swprintf(name, 32, format, static_cast<unsigned>(number));
    return name;
}

LRESULT TypeLetter(MenuWalk& walk, HMENU menu, wchar_t letter) {
    LRESULT result = 0;
    walk.Menus().HandleMessage(WM_MENUCHAR, MAKEWPARAM(letter, MF_POPUP), reinterpret_cast<LPARAM>(menu), result);
    return result;
}

// C:\8large (tests/tray/large-folder.sh): 10,000 subfolders and 10,000
// files, with an item of its menu folder. The item stays at the top; every
// other entry shows once, in order, in the range menus right below the
// folder's own, each menu within a page.
TEST(LargeTrayFolder, ReachTheLastOfTwentyThousandEntries) {
    constexpr size_t kHalf = 10000;
    TempFolder menuFolder("tray-large-items");
    MakeFile(menuFolder.Path() + "\\Readme.txt");
    tray::Source source = FolderSource("C:\\8large");
    source.menuFolder = fw::Widen((menuFolder.Path() + "\\").c_str());
    MenuWalk walk;
    const fw::UniqueMenu folder = walk.Menus().CreateMenu(source);
    ASSERT_EQ(Join(Texts(folder.get())).substr(0, 30), "Open this folder|-|Readme.txt|");

    Reach reach;
    WalkRanges(walk, folder.get(), 1, 2, reach);
    std::vector<std::wstring> expected = {L"Readme.txt"};
    for (size_t i = 0; i < kHalf; ++i) expected.push_back(Numbered(L"d%05u", i));
    for (size_t i = 0; i < kHalf; ++i) expected.push_back(Numbered(L"f%05u.rctray", i));
    ASSERT_EQ(reach.entries.size(), expected.size());
    EXPECT_TRUE(reach.entries == expected)
        << "first " << fw::Narrow(reach.entries[1]) << ", last " << fw::Narrow(reach.entries.back());
    EXPECT_EQ(reach.deepest, 2u);
    EXPECT_LE(reach.longest, tray::kPageSize + 1);  // the ranges and the item
    EXPECT_GT(reach.ranges.size(), 100u);
    EXPECT_TRUE(LabelsTellRangesApart(reach));

    // A typed letter selects the next range holding an entry it starts, and
    // chooses an entry it alone starts. (Wine difference: its menu loop acts
    // on MNC_EXECUTE alone, so the program's menus there move to no range.)
    const auto holding = [&](const wchar_t* entry) {
        for (size_t range = 0; range < reach.ranges.size(); ++range) {
            if (reach.entries[reach.ranges[range].first] <= entry &&
                entry <= reach.entries[reach.ranges[range].end - 1])
                return static_cast<WORD>(3 + range);
        }
        return WORD(0);
    };
    EXPECT_EQ(TypeLetter(walk, folder.get(), L'f'), MAKELRESULT(holding(L"f00000.rctray"), MNC_SELECT));
    EXPECT_EQ(TypeLetter(walk, folder.get(), L'F'), MAKELRESULT(holding(L"f00000.rctray"), MNC_SELECT));
    EXPECT_EQ(TypeLetter(walk, folder.get(), L'd'), MAKELRESULT(3, MNC_SELECT));
    EXPECT_EQ(TypeLetter(walk, folder.get(), L'r'), MAKELRESULT(2, MNC_EXECUTE));
    EXPECT_EQ(HIWORD(TypeLetter(walk, folder.get(), L'q')), MNC_IGNORE);
}

// Ranges of ranges where one level does not reach: any entry of a page is
// in the folder's own menu, of 22,500 two menus down, of more three.
TEST(TrayRanges, ReachEveryEntryWithinTheFewestMenus) {
    const struct {
        size_t count;
        size_t menus;
    } cases[] = {{150, 1}, {151, 2}, {22500, 2}, {22501, 3}};
    for (const auto& test : cases) {
        auto reading = std::make_shared<tray::FolderReading>();
        reading->directory = L"C:\\ranges\\";
        for (size_t i = 0; i < test.count; ++i) {
            reading->entries.push_back({Numbered(L"n%05u", i), {}, 0, 0, 0, listing::Group::kFile});
        }
        tray::Source source;
        source.kind = tray::Source::Kind::kRange;
        source.reading = reading;
        source.end = test.count;
        MenuWalk walk;
        const fw::UniqueMenu menu = walk.Menus().CreateMenu(source);
        Reach reach;
        WalkRanges(walk, menu.get(), 1, 0, reach);
        std::vector<std::wstring> names;
        for (const tray::Entry& entry : reading->entries) names.push_back(entry.name);
        EXPECT_TRUE(reach.entries == names) << test.count << " entries: " << reach.entries.size() << " shown";
        EXPECT_EQ(reach.deepest, test.menus) << test.count << " entries";
        EXPECT_LE(reach.longest, tray::kPageSize) << test.count << " entries";
        EXPECT_TRUE(LabelsTellRangesApart(reach)) << test.count << " entries";
    }
}

// The shell's context menu of an entry is asked of its parent folder for the
// last item of its list; a list of none has no last item.
TEST(ItemLists, LastItemOfListsOfTwoOneAndNone) {
    alignas(USHORT) const BYTE bytes[] = {4, 0, 'a', 'b', 4, 0, 'c', 'd', 0, 0};
    const auto two = reinterpret_cast<LPCITEMIDLIST>(bytes);
    const auto one = reinterpret_cast<LPCITEMIDLIST>(bytes + 4);
    const auto none = reinterpret_cast<LPCITEMIDLIST>(bytes + 8);
    EXPECT_EQ(fw::LastItem(two), one);
    EXPECT_EQ(fw::LastItem(one), one);
    EXPECT_EQ(fw::LastItem(none), nullptr);
    EXPECT_EQ(fw::LastItem(nullptr), nullptr);
    const fw::UniqueItemList parent = fw::CloneAllButLast(two);
    EXPECT_EQ(fw::FirstItemKey(parent.get()), std::string_view("\x04\0ab", 4));
    EXPECT_TRUE(fw::IsSingle(parent.get()));
    EXPECT_TRUE(fw::IsEmpty(fw::CloneAllButLast(none).get()));
}

// A menu is drawn without waiting for a server: its entries there get the
// icons of their types, not their own, which would be read from it.
TEST(TrayIcons, EntriesOnAServerTakeTheirTypesIcons) {
    tray::ShellIcons icons;
    for (const auto& [path, attributes] : {std::pair<const wchar_t*, DWORD>{L"\\\\127.0.0.1\\none\\tool.exe", 0},
                                           {L"\\\\127.0.0.1\\none\\", FILE_ATTRIBUTE_DIRECTORY}}) {
        EXPECT_NE(icons.IndexOf(path, attributes), tray::kNoIcon) << Narrow(path);
    }
}

}  // namespace
