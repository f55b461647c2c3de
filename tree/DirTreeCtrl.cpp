#include "tree/DirTreeCtrl.h"

#include "framework/Dpi.h"
#include "framework/PlatformText.h"
#include "framework/UniqueHandle.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr char kMyComputer[] = "My Computer";
constexpr int kMyComputerIcon = 15;  // in shell32.dll
constexpr int kBlankBitmapSize = 32;
constexpr int kInitialImages = 50;
constexpr int kImageGrowth = 50;
constexpr UINT kShellQuery = SHGFI_ICON | SHGFI_DISPLAYNAME | SHGFI_SMALLICON;

std::string UpperCase(std::string text) {
    if (!text.empty()) ::CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

// Entries whose name may have been cut to fit the search's buffer are left
// out: the tree would show, and add, a folder of another name. No such folder
// could be added anyway: its path is longer than any menu folder may be.
template <class Visit>
void ForEachEntry(const std::string& pattern, Visit visit) {
    WIN32_FIND_DATAA entry{};
    const fw::UniqueFind search(::FindFirstFileA(pattern.c_str(), &entry));
    if (!search) return;
    do {
        if (fw::WholeText(entry.cFileName)) visit(entry);
    } while (::FindNextFileA(search.get(), &entry));
}

bool HasAny(const WIN32_FIND_DATAA& entry, DWORD attributes) {
    return (entry.dwFileAttributes & attributes) != 0;
}

// System directories are listed; hidden ones are not.
bool IsListedDirectory(const WIN32_FIND_DATAA& entry) {
    return HasAny(entry, FILE_ATTRIBUTE_DIRECTORY) && !HasAny(entry, FILE_ATTRIBUTE_HIDDEN) &&
           std::strcmp(entry.cFileName, ".") != 0 && std::strcmp(entry.cFileName, "..") != 0;
}

bool IsOfferedFile(const WIN32_FIND_DATAA& entry) {
    return !HasAny(entry, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
}

// Paths are rebuilt from item texts, so an entry whose display name is not its
// name (a folder the shell shows under another name, a file shown without its
// extension) shows its name instead.
std::string EntryText(const std::string& displayName, const std::string& name) {
    return ::lstrcmpiA(displayName.c_str(), name.c_str()) == 0 ? displayName : name;
}

// The comparison the tree-view control makes to place an item inserted sorted
// (language-aware, case-sensitive). A control that compares otherwise still
// places every item itself, only with more comparisons.
bool SortsAfter(const std::string& text, const std::string& other) {
    return ::lstrcmpA(text.c_str(), other.c_str()) > 0;
}

}  // namespace

CDirTreeCtrl::~CDirTreeCtrl() {
    // The list dies with this object; a control that outlives it must not
    // draw with it.
    if (Hwnd()) SetImageList(nullptr, TVSIL_NORMAL);
}

void CDirTreeCtrl::InitTree() {
    RedrawHold hold(*this);
    DeleteItem(TVI_ROOT);
    const int myComputerIcon = CreateIconList();
    m_hMyComputer = InsertTreeItem(kMyComputer, TVI_ROOT, myComputerIcon, myComputerIcon, true);
    if (m_hMyComputer) Expand(m_hMyComputer, TVE_EXPAND);
}

std::string CDirTreeCtrl::GetSelectedPath() const {
    const HTREEITEM item = GetSelectedItem();
    if (!item || GetItemText(item).empty()) return std::string();
    return GetItemPath(std::string(), item);
}

bool CDirTreeCtrl::ShowFile(const std::string&) {
    return false;
}

int CDirTreeCtrl::OnCreate(CREATESTRUCTA& create) {
    if (fw::TreeView::OnCreate(create) == -1) return -1;
    InitTree();
    return 0;
}

bool CDirTreeCtrl::OnReflectedNotify(const NMHDR& header, LRESULT& result) {
    switch (header.code) {
        case TVN_ITEMEXPANDEDA: result = OnItemExpanded(reinterpret_cast<const NMTREEVIEWA&>(header)); return true;
        default: return false;
    }
}

LRESULT CDirTreeCtrl::OnItemExpanded(const NMTREEVIEWA& notice) {
    RedrawHold hold(*this);
    if (notice.itemNew.state & TVIS_EXPANDED) {
        PopulateItem(notice.itemNew.hItem);
    } else {
        DeleteChildren(notice.itemNew.hItem, true);
    }
    return 0;
}

// The drive's root string and the texts of the directories below it, each
// with a backslash; an item without children (an expanded directory found
// empty) loses the last one. The drive is found by its place among the
// children of "My Computer", which is its place in the drive list.
std::string CDirTreeCtrl::GetItemPath(std::string tail, HTREEITEM item) const {
    if (!item || item == m_hMyComputer) return std::string();
    const HTREEITEM parent = GetParentItem(item);
    const bool hasChild = GetChildItem(item) != nullptr;
    if (parent == m_hMyComputer) {
        // A drive missing from the list gives no path rather than a relative one.
        const std::string root = DriveRoot(item);
        return root.empty() ? root : root + tail;
    }
    const std::string text = GetItemText(item);
    if (!text.empty()) tail = text + "\\" + tail;
    tail = GetItemPath(tail, parent);
    if (!hasChild && !tail.empty()) tail.pop_back();
    return tail;
}

std::string CDirTreeCtrl::DriveRoot(HTREEITEM drive) const {
    const char* root = m_szDrives;
    for (HTREEITEM child = GetChildItem(m_hMyComputer); child && *root; child = GetNextSiblingItem(child)) {
        if (child == drive) return UpperCase(root);
        root += std::strlen(root) + 1;
    }
    return std::string();
}

void CDirTreeCtrl::PopulateItem(HTREEITEM item) {
    if (item == m_hMyComputer) {
        PopulateMyComputer();
    } else {
        PopulateDirectory(item);
    }
}

void CDirTreeCtrl::PopulateMyComputer() {
    DeleteChildren(m_hMyComputer, false);
    // Cleared first: a failed call writes nothing, and then no drive shows.
    std::memset(m_szDrives, 0, sizeof(m_szDrives));
    const DWORD length = ::GetLogicalDriveStringsA(sizeof(m_szDrives), m_szDrives);
    if (length == 0 || length >= sizeof(m_szDrives)) m_szDrives[0] = '\0';

    std::vector<std::string> roots;
    for (const char* root = m_szDrives; *root; root += std::strlen(root) + 1) roots.push_back(UpperCase(root));
    fw::IconAppender icons(m_imageList, 2 * roots.size());
    for (const std::string& root : roots) AddPathItem(root, m_hMyComputer, false, icons);
}

void CDirTreeCtrl::PopulateDirectory(HTREEITEM item) {
    // Read while the placeholder is still there, so the path ends with a backslash.
    const std::string path = GetItemPath(std::string(), item);
    DeleteChildren(item, false);
    if (path.empty()) return;

    const std::vector<std::string> names = ListEntries(path);
    std::vector<ShellIcons> entries;
    entries.reserve(names.size());
    {
        fw::IconAppender icons(m_imageList, 2 * names.size());
        for (const std::string& name : names) {
            ShellIcons entry = AddShellIcons(path + name, icons);
            entry.displayName = EntryText(entry.displayName, name);
            entries.push_back(std::move(entry));
        }
    }
    InsertSorted(entries, item);
}

// Directories first, then the files that ShowFile accepts.
std::vector<std::string> CDirTreeCtrl::ListEntries(const std::string& path) {
    const std::string pattern = path + "*.*";
    std::vector<std::string> names;
    ForEachEntry(pattern, [&](const WIN32_FIND_DATAA& entry) {
        if (IsListedDirectory(entry)) names.emplace_back(entry.cFileName);
    });
    ForEachEntry(pattern, [&](const WIN32_FIND_DATAA& entry) {
        if (IsOfferedFile(entry) && ShowFile(entry.cFileName)) names.emplace_back(entry.cFileName);
    });
    return names;
}

// The control finds a sorted item's place by walking the parent's children
// from the first. Inserted in descending order, every item stops at the first
// child, so a level of n items costs n comparisons instead of n * n / 2.
// Equal texts keep the order of the search, which gives them the places that
// inserting in search order gives them.
void CDirTreeCtrl::InsertSorted(std::vector<ShellIcons>& entries, HTREEITEM parent) {
    std::stable_sort(entries.begin(), entries.end(), [](const ShellIcons& entry, const ShellIcons& other) {
        return SortsAfter(entry.displayName, other.displayName);
    });
    for (const ShellIcons& entry : entries) {
        InsertTreeItem(entry.displayName, parent, entry.image, entry.selectedImage, true);
    }
}

// The icons of every item below `item` leave the image list together, and the
// items that stay are renumbered in one walk.
void CDirTreeCtrl::DeleteChildren(HTREEITEM item, bool addPlaceholder) {
    tree::ImageRemoval removal(m_imageList.Count());
    for (HTREEITEM child = GetChildItem(item); child; child = GetNextSiblingItem(child)) {
        ReleaseSubtreeIcons(child, removal);
    }
    while (const HTREEITEM child = GetChildItem(item)) {
        if (!DeleteItem(child)) break;
        AttachImageList();
    }
    RemoveReleasedIcons(removal);
    if (addPlaceholder) InsertPlaceholder(item, true);
}

HTREEITEM CDirTreeCtrl::AddPathItem(const std::string& path, HTREEITEM parent, bool sorted, fw::IconAppender& icons) {
    const ShellIcons shell = AddShellIcons(path, icons);
    const std::string& text = shell.displayName.empty() ? path : shell.displayName;
    return InsertTreeItem(text, parent, shell.image, shell.selectedImage, sorted);
}

HTREEITEM CDirTreeCtrl::InsertTreeItem(const std::string& text, HTREEITEM parent, int image, int selectedImage,
                                       bool sorted) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = sorted ? TVI_SORT : TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    const HTREEITEM item = InsertItem(insert);
    if (item) InsertPlaceholder(item, sorted);
    return item;
}

// Empty text and images 0: it stands for a level not read yet.
void CDirTreeCtrl::InsertPlaceholder(HTREEITEM parent, bool sorted) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = sorted ? TVI_SORT : TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>("");
    InsertItem(insert);
}

// Detached from the control, replacing any earlier list: k blank images, then
// the "My Computer" icon, whose index is the result.
int CDirTreeCtrl::CreateIconList() {
    SetImageList(nullptr, TVSIL_NORMAL);
    const int size = fw::MetricAt(SM_CXSMICON, fw::DpiOf(m_hWnd));
    m_imageList.Create(size, size, ILC_COLOR24, kInitialImages, kImageGrowth);
    m_imageList.SetBkColor(::GetSysColor(COLOR_WINDOW));
    AddBlankImages();
    const fw::UniqueIcon myComputer(::ExtractIconA(::GetModuleHandleA(nullptr), "shell32.dll", kMyComputerIcon));
    return m_imageList.AddIcon(myComputer.get());
}

// A 32-pixel square of the window colour, cut into images of the list's
// width; wider where one image is wider, so that index 0 is always blank.
void CDirTreeCtrl::AddBlankImages() {
    int width = 0;
    int height = 0;
    ::ImageList_GetIconSize(m_imageList.Get(), &width, &height);
    width = std::max(width, kBlankBitmapSize);
    height = std::max(height, kBlankBitmapSize);
    const fw::UniqueBitmap blank(::CreateBitmap(width, height, 1, 24, nullptr));
    {
        const fw::UniqueDC memory(::CreateCompatibleDC(nullptr));
        const HGDIOBJ previous = ::SelectObject(memory.get(), blank.get());
        const RECT all{0, 0, width, height};
        ::FillRect(memory.get(), &all, ::GetSysColorBrush(COLOR_WINDOW));
        ::SelectObject(memory.get(), previous);
    }
    m_imageList.AddMasked(blank.get(), RGB(0, 0, 0));
}

// The small icon becomes the image, the small open icon (appended second, so
// at the higher index) the selected image. The list keeps copies; the shell's
// icons are released here. An icon's index in the system image list names
// its picture while a level is read (the shell adds no overlays unasked), so
// the many folders of one icon are drawn into the list once per level.
CDirTreeCtrl::ShellIcons CDirTreeCtrl::AddShellIcons(const std::string& path, fw::IconAppender& icons) {
    SHFILEINFOA closed{};
    ::SHGetFileInfoA(path.c_str(), 0, &closed, sizeof(closed), kShellQuery);
    const fw::UniqueIcon closedIcon(closed.hIcon);
    SHFILEINFOA open{};
    ::SHGetFileInfoA(path.c_str(), 0, &open, sizeof(open), kShellQuery | SHGFI_OPENICON);
    const fw::UniqueIcon openIcon(open.hIcon);

    ShellIcons result{fw::WholeText(closed.szDisplayName).value_or(std::string()), -1, -1};
    result.image = icons.Append(closedIcon.get(), closed.iIcon);
    result.selectedImage = icons.Append(openIcon.get(), open.iIcon);
    AttachImageList();
    return result;
}

// Depth first, as the items are deleted.
void CDirTreeCtrl::ReleaseSubtreeIcons(HTREEITEM item, tree::ImageRemoval& removal) const {
    for (HTREEITEM child = GetChildItem(item); child; child = GetNextSiblingItem(child)) {
        ReleaseSubtreeIcons(child, removal);
    }
    int image = 0;
    int selectedImage = 0;
    if (GetItemImage(item, image, selectedImage)) removal.ReleaseItem(image, selectedImage);
}

// The released images leave the list; then every item below "My Computer"
// gets its new indexes, unless the released images were the last ones and no
// index changed.
void CDirTreeCtrl::RemoveReleasedIcons(const tree::ImageRemoval& removal) {
    if (removal.RemovedCount() == 0) return;
    if (fw::ImageList::CanMoveImages()) {
        CloseUpImages(removal);
    } else {
        RemoveImagesOneByOne(removal);
    }
    if (!removal.KeepsIndexes()) RenumberImages(m_hMyComputer, removal.NewIndexes());
    AttachImageList();
}

// Kept images move down over the gaps in one pass and the list is cut.
void CDirTreeCtrl::CloseUpImages(const tree::ImageRemoval& removal) const {
    for (const tree::ImageMove& move : removal.Moves()) m_imageList.Copy(move.to, move.from);
    m_imageList.SetCount(removal.RemainingCount());
}

// Common controls 4.00 can neither copy within a list nor cut it: each image
// is removed on its own, which moves the list's tail every time. Slower, to
// the same end.
void CDirTreeCtrl::RemoveImagesOneByOne(const tree::ImageRemoval& removal) const {
    for (const int index : removal.ReleasedHighestFirst()) m_imageList.Remove(index);
}

void CDirTreeCtrl::RenumberImages(HTREEITEM start, const tree::ImageIndexMap& newIndex) const {
    for (HTREEITEM item = GetChildItem(start); item; item = GetNextSiblingItem(item)) {
        int image = 0;
        int selectedImage = 0;
        if (GetItemImage(item, image, selectedImage) &&
            (newIndex(image) != image || newIndex(selectedImage) != selectedImage)) {
            SetItemImage(item, newIndex(image), newIndex(selectedImage));
        }
        RenumberImages(item, newIndex);
    }
}

void CDirTreeCtrl::AttachImageList() const {
    SetImageList(m_imageList.Get(), TVSIL_NORMAL);
}
