// The tray's menus in this process, opened as the menu loop opens them
// (WM_INITMENUPOPUP, WM_UNINITMENUPOPUP) and read back item by item.

#include "framework/ItemList.h"
#include "framework/WideText.h"
#include "tests/menubuilder/MenuTestSupport.h"
#include "tests/support/WineTest.h"
#include "tray/FolderMenus.h"
#include "tray/MenuRoot.h"

#include <gtest/gtest.h>

#include <cwchar>
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
    ASSERT_EQ(Join(Texts(root.get())), "C:>|");
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

TEST(TrayMenus, MarkEmptyAndMissingFolders) {
    TempFolder folder("tray-empty");
    MenuWalk walk;
    const fw::UniqueMenu empty = walk.Menus().CreateMenu(FolderSource(folder.Path()));
    EXPECT_EQ(Join(Texts(empty.get())), "Open this folder|-|(empty)|");
    const fw::UniqueMenu missing = walk.Menus().CreateMenu(FolderSource(folder.Path() + "\\gone"));
    EXPECT_EQ(Join(Texts(missing.get())), "(not available)|");
    EXPECT_TRUE(::GetMenuState(missing.get(), 0, MF_BYPOSITION) & MF_GRAYED);
}

// C:\8large (tests/tray/large-folder.sh): 10,000 subfolders and 10,000
// files, in pages of at most 150 entries, each "More..." continuing where the
// one before ended, down to the last file.
TEST(LargeTrayFolder, ReachTheLastOfTwentyThousandEntries) {
    constexpr size_t kHalf = 10000;
    MenuWalk walk;
    const fw::UniqueMenu first = walk.Menus().CreateMenu(FolderSource("C:\\8large"));
    std::vector<std::string> entries;
    int pages = 0;
    for (HMENU menu = first.get(); menu; ++pages) {
        std::vector<std::string> texts = Texts(menu);
        if (pages == 0) {
            ASSERT_GE(texts.size(), 2u) << "no \"Open this folder\" and separator: " << texts.size() << " entries";
            texts.erase(texts.begin(), texts.begin() + 2);
        }
        HMENU more = nullptr;
        if (!texts.empty() && texts.back() == "More...>") {
            texts.pop_back();
            more = walk.Open(::GetSubMenu(menu, ::GetMenuItemCount(menu) - 1));
        }
        ASSERT_LE(texts.size(), tray::kPageSize) << "page " << pages;
        entries.insert(entries.end(), texts.begin(), texts.end());
        menu = more;
    }
    ASSERT_EQ(entries.size(), 2u * kHalf);
    EXPECT_EQ(pages, static_cast<int>((2 * kHalf + tray::kPageSize - 1) / tray::kPageSize));
    EXPECT_EQ(entries.front(), "d00000>");
    EXPECT_EQ(entries[kHalf - 1], "d09999>");
    EXPECT_EQ(entries[kHalf], "f00000.rctray");
    EXPECT_EQ(entries.back(), "f09999.rctray");
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
