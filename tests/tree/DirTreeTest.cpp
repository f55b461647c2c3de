// The directory tree in a real tree-view control, over the prefix's real drives
// and folders below the temporary directory on C:, driven the way the user
// drives it (keyboard expansion, selection) and read back from the control.

#include "framework/Dialog.h"
#include "framework/HostWindow.h"
#include "tests/support/Watchdog.h"
#include "tests/support/WineTest.h"
#include "tests/tree/TreeProbe.h"
#include "tree/DirTreeCtrl.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <new>
#include <set>

using namespace testing_support;
using namespace tree_probe;

namespace {

constexpr DWORD kTreeStyle =
    WS_VISIBLE | WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
constexpr UINT kTreeDialog = 101;
constexpr int kTreeControl = 1005;

// A tree made as a window of its own fills itself while it is created. The
// host stays hidden unless a test shows it: showing and destroying windows
// under Xvfb takes seconds.
class DirTree : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Create("tree", WS_OVERLAPPEDWINDOW, 400, 700));
        host.Bind(tree);
        const RECT area{0, 0, 380, 660};
        ASSERT_TRUE(tree.Create(kTreeStyle, area, host.Hwnd(), kTreeControl));
    }

    fw::HostWindow host;
    CDirTreeCtrl tree;
};

std::string PathOf(const CDirTreeCtrl& tree, HTREEITEM item) {
    tree.SelectItem(item);
    return tree.GetSelectedPath();
}

void MakeFolders(const std::string& base, std::initializer_list<const char*> folders) {
    for (const char* folder : folders) {
        ASSERT_TRUE(::CreateDirectoryA((base + "\\" + folder).c_str(), nullptr)) << folder;
    }
}

void SetAttributes(const std::string& path, DWORD attributes) {
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), attributes)) << path;
}

std::vector<DWORD> ShellIconPixels(const std::string& path, UINT extra) {
    SHFILEINFOA info{};
    ::SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON | extra);
    const fw::UniqueIcon icon(info.hIcon);
    return IconPixels(icon.get());
}

// Every drive and directory item holds two images no other item holds, past
// the fixed entries and inside the list, and they show the shell's small icon
// and small open icon of the item's path; the list holds nothing else.
void ExpectItemsOwnTheirIcons(const CDirTreeCtrl& tree) {
    ::UpdateWindow(tree.Hwnd());  // drawn with the list as it is now
    const int fixed = BlankImages() + 1;
    const HIMAGELIST list = tree.GetImageList(TVSIL_NORMAL);
    const int count = ::ImageList_GetImageCount(list);
    std::set<int> seen;
    int owners = 0;
    std::function<void(HTREEITEM)> visit = [&](HTREEITEM parent) {
        for (HTREEITEM item : Children(tree, parent)) {
            int image = -1;
            int selectedImage = -1;
            ASSERT_TRUE(tree.GetItemImage(item, image, selectedImage));
            const std::string text = tree.GetItemText(item);
            if (text.empty()) {
                EXPECT_EQ(image, 0);
                EXPECT_EQ(selectedImage, 0);
                continue;
            }
            ++owners;
            for (int index : {image, selectedImage}) {
                EXPECT_GE(index, fixed) << text;
                EXPECT_LT(index, count) << text;
                EXPECT_TRUE(seen.insert(index).second) << text << " shares image " << index;
            }
            const std::string path = PathOf(tree, item);
            const std::vector<DWORD> icon = ShellIconPixels(path, 0);
            ASSERT_FALSE(icon.empty()) << path;
            EXPECT_TRUE(Pixels(list, image) == icon) << path << " shows another image at " << image;
            EXPECT_TRUE(Pixels(list, selectedImage) == ShellIconPixels(path, SHGFI_OPENICON))
                << path << " shows another open image at " << selectedImage;
            visit(item);
        }
    };
    visit(tree.GetRootItem());
    EXPECT_EQ(count, fixed + 2 * owners);
}

TEST_F(DirTree, StartsWithMyComputerOpenOnTheDrivesInListOrder) {
    const HTREEITEM root = tree.GetRootItem();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(tree.GetNextSiblingItem(root), nullptr);
    EXPECT_EQ(tree.GetItemText(root), "My Computer");
    EXPECT_TRUE(IsExpanded(tree, root));
    EXPECT_EQ(tree.GetSelectedItem(), nullptr);
    EXPECT_EQ(tree.GetSelectedPath(), "");

    const int blanks = BlankImages();
    int image = -1;
    int selectedImage = -1;
    tree.GetItemImage(root, image, selectedImage);
    EXPECT_EQ(image, blanks);
    EXPECT_EQ(selectedImage, blanks);

    const std::vector<std::string> roots = DriveRoots();
    const std::vector<HTREEITEM> drives = Children(tree, root);
    ASSERT_GE(roots.size(), 2u) << "a prefix has C: and Z: at least";
    ASSERT_EQ(drives.size(), roots.size());
    for (size_t i = 0; i < drives.size(); ++i) {
        EXPECT_FALSE(IsExpanded(tree, drives[i])) << roots[i];
        EXPECT_TRUE(HasButton(tree, drives[i])) << roots[i];
        EXPECT_TRUE(HoldsOnlyPlaceholder(tree, drives[i])) << roots[i];
        tree.GetItemImage(drives[i], image, selectedImage);
        EXPECT_EQ(image, blanks + 1 + 2 * static_cast<int>(i)) << roots[i];
        EXPECT_EQ(selectedImage, image + 1) << roots[i];
        EXPECT_EQ(PathOf(tree, drives[i]), roots[i]);
    }
    // Two drives at 16 pixels: blanks 0 and 1, "My Computer" 2, then 3 to 6.
    EXPECT_EQ(ImageCount(tree), blanks + 1 + 2 * static_cast<int>(roots.size()));
    EXPECT_EQ(PathOf(tree, root), "");
    ExpectItemsOwnTheirIcons(tree);

    // Once more from scratch: a new list with the same content, no items left over.
    tree.InitTree();
    EXPECT_EQ(Children(tree, tree.GetRootItem()).size(), roots.size());
    EXPECT_EQ(tree.GetCount(), 1 + 2 * roots.size());
    EXPECT_EQ(ImageCount(tree), blanks + 1 + 2 * static_cast<int>(roots.size()));
}

TEST_F(DirTree, LevelListsVisibleDirectoriesAlphabetically) {
    TempFolder base("RootCasterTreeListing");
    MakeFolders(base.Path(), {"beta", "Alpha", "gamma dir", "Delta.ext", "System", "ReadOnly", "Hidden", "Empty"});
    SetAttributes(base.Path() + "\\System", FILE_ATTRIBUTE_SYSTEM);
    SetAttributes(base.Path() + "\\ReadOnly", FILE_ATTRIBUTE_READONLY);
    SetAttributes(base.Path() + "\\Hidden", FILE_ATTRIBUTE_HIDDEN);
    fw::UniqueFile file(::CreateFileA((base.Path() + "\\file.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
    file.reset();

    const int before = ImageCount(tree);
    const HTREEITEM level = OpenPath(tree, base.Path());
    ASSERT_NE(level, nullptr);
    const int opened = ImageCount(tree);
    const std::vector<std::string> expected{"Alpha", "beta", "Delta.ext", "Empty", "gamma dir", "ReadOnly", "System"};
    EXPECT_EQ(ChildTexts(tree, level), expected);
    for (HTREEITEM child : Children(tree, level)) {
        EXPECT_FALSE(IsExpanded(tree, child));
        EXPECT_TRUE(HoldsOnlyPlaceholder(tree, child)) << tree.GetItemText(child);
    }
    EXPECT_GT(opened, before);
    ExpectItemsOwnTheirIcons(tree);

    // Closing the open levels gives every icon back.
    CollapseAsUser(tree, Children(tree, tree.GetRootItem())[0]);
    EXPECT_EQ(ImageCount(tree), before);
}

// The control's own sorted insertion, fed in the order of the directory
// search, is what the tree must show; it reaches it another way.
TEST_F(DirTree, OrderIsTheControlsOwnSortedOrder) {
    TempFolder base("RootCasterTreeOrder");
    MakeFolders(base.Path(), {"b", "a", "A-b", "ab", "a b", "_under", "10", "9", "1", "Zeta", "zeta2", "~tilde", "a'b",
                              "eta", "Eta2", "x.y", "x_y", "xy"});
    fw::TreeView reference;
    const RECT area{0, 0, 100, 100};
    ASSERT_TRUE(reference.Create(kTreeStyle, area, host.Hwnd(), 2));
    WIN32_FIND_DATAA entry;
    const fw::UniqueFind search(::FindFirstFileA((base.Path() + "\\*.*").c_str(), &entry));
    ASSERT_TRUE(search);
    do {
        if (entry.cFileName[0] == '.') continue;
        TVINSERTSTRUCTA insert{};
        insert.hParent = TVI_ROOT;
        insert.hInsertAfter = TVI_SORT;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = entry.cFileName;
        reference.InsertItem(insert);
    } while (::FindNextFileA(search.get(), &entry));

    const HTREEITEM level = OpenPath(tree, base.Path());
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(ChildTexts(tree, level), ChildTexts(reference, TVI_ROOT));
}

TEST_F(DirTree, SelectedPathForms) {
    TempFolder base("RootCasterTreePaths");
    MakeFolders(base.Path(), {"Parent", "Parent\\Leaf", "Parent\\Branch", "Parent\\Branch\\Twig"});
    const std::string parentPath = base.Path() + "\\Parent";
    const HTREEITEM parent = OpenPath(tree, parentPath);
    ASSERT_NE(parent, nullptr);
    const HTREEITEM leaf = FindChild(tree, parent, "Leaf");
    const HTREEITEM branch = FindChild(tree, parent, "Branch");
    ASSERT_NE(leaf, nullptr);
    ASSERT_NE(branch, nullptr);

    EXPECT_STRCASEEQ(PathOf(tree, leaf).c_str(), (parentPath + "\\Leaf\\").c_str()) << "not read yet";
    ExpandAsUser(tree, leaf);
    EXPECT_TRUE(Children(tree, leaf).empty());
    EXPECT_FALSE(HasButton(tree, leaf));
    EXPECT_STRCASEEQ(PathOf(tree, leaf).c_str(), (parentPath + "\\Leaf").c_str()) << "read, nothing below";
    ExpandAsUser(tree, branch);
    EXPECT_STRCASEEQ(PathOf(tree, branch).c_str(), (parentPath + "\\Branch\\").c_str()) << "read, a level below";
    EXPECT_STRCASEEQ(PathOf(tree, parent).c_str(), (parentPath + "\\").c_str());

    const HTREEITEM driveC = Children(tree, tree.GetRootItem())[0];
    EXPECT_EQ(PathOf(tree, driveC), "C:\\");
    EXPECT_EQ(PathOf(tree, tree.GetRootItem()), "");
}

TEST_F(DirTree, CollapsingAndExpandingAgainRereadsTheLevel) {
    TempFolder base("RootCasterTreeReread");
    MakeFolders(base.Path(), {"one", "two", "two\\inner"});
    const HTREEITEM level = OpenPath(tree, base.Path());
    ASSERT_NE(level, nullptr);
    ExpandAsUser(tree, FindChild(tree, level, "two"));
    EXPECT_EQ(ChildTexts(tree, level), (std::vector<std::string>{"one", "two"}));
    const int opened = ImageCount(tree);

    MakeFolders(base.Path(), {"three"});
    ASSERT_TRUE(::RemoveDirectoryA((base.Path() + "\\one").c_str()));
    CollapseAsUser(tree, level);
    EXPECT_FALSE(IsExpanded(tree, level));
    EXPECT_TRUE(HoldsOnlyPlaceholder(tree, level));
    EXPECT_EQ(ImageCount(tree), opened - 2 * 3);

    ExpandAsUser(tree, level);
    EXPECT_EQ(ChildTexts(tree, level), (std::vector<std::string>{"three", "two"}));
    EXPECT_EQ(ImageCount(tree), opened - 2);
    ExpectItemsOwnTheirIcons(tree);
}

// Every item's text and image indexes, depth first.
std::vector<std::string> ImageIndexes(const CDirTreeCtrl& tree) {
    std::vector<std::string> record;
    std::function<void(HTREEITEM)> visit = [&](HTREEITEM parent) {
        for (HTREEITEM item : Children(tree, parent)) {
            int image = -1;
            int selectedImage = -1;
            tree.GetItemImage(item, image, selectedImage);
            record.push_back(tree.GetItemText(item) + " " + std::to_string(image) + " " +
                             std::to_string(selectedImage));
            visit(item);
        }
    };
    visit(tree.GetRootItem());
    return record;
}

// Collapsing a level opened before others takes images from the middle of the
// list: the later ones move down and their items follow them. `steps` gets the
// indexes after each collapse.
void CollapseLevelsOpenedInTurn(const CDirTreeCtrl& tree, const std::string& base,
                                std::vector<std::vector<std::string>>& steps) {
    const HTREEITEM level = OpenPath(tree, base);
    ASSERT_NE(level, nullptr);
    const HTREEITEM a = FindChild(tree, level, "a");
    const HTREEITEM b = FindChild(tree, level, "b");
    const HTREEITEM c = FindChild(tree, level, "c");
    ExpandAsUser(tree, a);
    ExpandAsUser(tree, FindChild(tree, a, "a2"));
    ExpandAsUser(tree, b);
    ExpandAsUser(tree, c);
    const int opened = ImageCount(tree);
    ExpectItemsOwnTheirIcons(tree);

    CollapseAsUser(tree, a);
    EXPECT_EQ(ImageCount(tree), opened - 2 * 3);
    EXPECT_TRUE(HoldsOnlyPlaceholder(tree, a));
    ExpectItemsOwnTheirIcons(tree);
    steps.push_back(ImageIndexes(tree));

    CollapseAsUser(tree, b);
    EXPECT_EQ(ImageCount(tree), opened - 2 * 5);
    ExpectItemsOwnTheirIcons(tree);
    steps.push_back(ImageIndexes(tree));

    // An unopened level holds a placeholder only, which gives nothing back.
    CollapseAsUser(tree, level);
    EXPECT_EQ(ImageCount(tree), opened - 2 * 8);
    ExpectItemsOwnTheirIcons(tree);
    steps.push_back(ImageIndexes(tree));
}

// Common controls 4.00 (a bare Windows 95) lack the calls that close the list
// up at once: the images go one by one, and the tree ends as it does with them.
TEST_F(DirTree, CollapsedLevelsGiveBackTheirIconsAndTheRestKeepTheirs) {
    TempFolder base("RootCasterTreeIcons");
    MakeFolders(base.Path(), {"a", "a\\a1", "a\\a2", "a\\a2\\deep", "b", "b\\b1", "b\\b2", "c"});
    ::ShowWindow(host.Hwnd(), SW_SHOWNORMAL);
    ASSERT_TRUE(fw::ImageList::CanMoveImages()) << "Wine's common controls have them";
    std::vector<std::vector<std::string>> closedUp;
    CollapseLevelsOpenedInTurn(tree, base.Path(), closedUp);

    const WithoutImageListMoves bareWindows95;
    EXPECT_FALSE(fw::ImageList::CanMoveImages());
    tree.InitTree();
    std::vector<std::vector<std::string>> oneByOne;
    CollapseLevelsOpenedInTurn(tree, base.Path(), oneByOne);
    EXPECT_EQ(oneByOne, closedUp);
}

// A tree that also lists some files puts them among the directories, sorted,
// after asking about every plain file that is not hidden.
class TreeWithTextFiles : public CDirTreeCtrl {
public:
    std::vector<std::string> offered;

protected:
    bool ShowFile(const std::string& fileName) override {
        offered.push_back(fileName);
        return fileName.find(".txt") != std::string::npos;
    }
};

TEST(DirTreeWithFiles, ListsTheFilesShowFileAccepts) {
    TempFolder base("RootCasterTreeFiles");
    MakeFolders(base.Path(), {"m dir", "z dir", "Hidden dir"});
    SetAttributes(base.Path() + "\\Hidden dir", FILE_ATTRIBUTE_HIDDEN);
    for (const char* name : {"a.txt", "n.txt", "q.dat", "secret.txt"}) {
        fw::UniqueFile file(::CreateFileA((base.Path() + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file) << name;
    }
    SetAttributes(base.Path() + "\\secret.txt", FILE_ATTRIBUTE_HIDDEN);

    fw::HostWindow host;
    TreeWithTextFiles tree;
    host.Bind(tree);
    ASSERT_TRUE(host.Create("tree", WS_OVERLAPPEDWINDOW, 400, 700));
    ASSERT_TRUE(tree.Create(kTreeStyle, RECT{0, 0, 380, 660}, host.Hwnd(), kTreeControl));
    const HTREEITEM level = OpenPath(tree, base.Path());
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(ChildTexts(tree, level), (std::vector<std::string>{"a.txt", "m dir", "n.txt", "z dir"}));
    std::set<std::string> offered(tree.offered.begin(), tree.offered.end());
    EXPECT_EQ(offered.count("q.dat"), 1u);
    EXPECT_EQ(offered.count("secret.txt"), 0u);
    EXPECT_EQ(offered.count("m dir"), 0u);
    ExpectItemsOwnTheirIcons(tree);
}

// Tests and tools destroy a wrapper before the host window it is bound to:
// the host's window, when it goes, must not touch the wrapper's memory.
TEST(HostWindow, WrapperDestroyedFirstIsUnboundAndOneDestroyedLastIsDetached) {
    constexpr unsigned char kPattern = 0xA5;
    alignas(fw::Window) unsigned char storage[sizeof(fw::Window)];
    fw::Window survivor;
    {
        fw::HostWindow host;
        ASSERT_TRUE(host.Create("host", WS_OVERLAPPEDWINDOW, 200, 100));
        auto* gone = new (storage) fw::Window;
        for (fw::Window* wrapper : {gone, &survivor}) {
            host.Bind(*wrapper);
            wrapper->Attach(::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, host.Hwnd(), nullptr,
                                              ::GetModuleHandleA(nullptr), nullptr));
            ASSERT_TRUE(wrapper->Hwnd());
        }
        gone->~Window();
        std::fill(std::begin(storage), std::end(storage), kPattern);
    }
    EXPECT_TRUE(std::all_of(std::begin(storage), std::end(storage), [&](unsigned char b) { return b == kPattern; }))
        << "the host wrote into a destroyed wrapper";
    EXPECT_FALSE(survivor.Hwnd()) << "the host's controls went with it";
}

// Bound to a dialog's control, the tree is filled through the dialog's
// reflection of the control's notifications.
class TreeDialog : public fw::Dialog {
public:
    TreeDialog() : fw::Dialog(kTreeDialog) {}

    std::vector<std::string> drives;
    std::string firstDrivePath;

protected:
    void DoDataExchange(fw::DataExchange& exchange) override { exchange.Control(kTreeControl, m_tree); }

    BOOL OnInitDialog() override {
        fw::Dialog::OnInitDialog();
        m_tree.InitTree();
        const HTREEITEM root = m_tree.GetRootItem();
        drives = ChildTexts(m_tree, root);
        m_tree.SelectItem(m_tree.GetChildItem(root));
        firstDrivePath = m_tree.GetSelectedPath();
        EndDialog(IDOK);
        return TRUE;
    }

private:
    CDirTreeCtrl m_tree;
};

TEST(DirTreeInDialog, FillsThroughTheDialogsReflection) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    Watchdog watchdog("the tree dialog");
    TreeDialog dialog;
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.drives.size(), DriveRoots().size());
    EXPECT_EQ(dialog.firstDrivePath, DriveRoots().at(0));
}

}  // namespace
