#include "tests/tree/TreeProbe.h"

#include "framework/ImageList.h"
#include "framework/UniqueHandle.h"
#include "tests/support/Picture.h"

#include <algorithm>
#include <cstring>
#include <sstream>

namespace tree_probe {

std::vector<HTREEITEM> Children(const fw::TreeView& tree, HTREEITEM parent) {
    std::vector<HTREEITEM> children;
    for (HTREEITEM child = tree.GetChildItem(parent); child; child = tree.GetNextSiblingItem(child)) {
        children.push_back(child);
    }
    return children;
}

std::vector<std::string> ChildTexts(const fw::TreeView& tree, HTREEITEM parent) {
    std::vector<std::string> texts;
    for (HTREEITEM child : Children(tree, parent)) texts.push_back(tree.GetItemText(child));
    return texts;
}

HTREEITEM FindChild(const fw::TreeView& tree, HTREEITEM parent, const std::string& text) {
    for (HTREEITEM child : Children(tree, parent)) {
        if (::lstrcmpiA(tree.GetItemText(child).c_str(), text.c_str()) == 0) return child;
    }
    return nullptr;
}

namespace {
TVITEMA Query(const fw::TreeView& tree, HTREEITEM item, UINT mask) {
    TVITEMA query{};
    query.mask = mask;
    query.hItem = item;
    query.stateMask = TVIS_EXPANDED;
    tree.GetItem(query);
    return query;
}
}  // namespace

bool IsExpanded(const fw::TreeView& tree, HTREEITEM item) {
    return (Query(tree, item, TVIF_STATE).state & TVIS_EXPANDED) != 0;
}

bool HasButton(const fw::TreeView& tree, HTREEITEM item) {
    return Query(tree, item, TVIF_CHILDREN).cChildren != 0;
}

bool HoldsOnlyPlaceholder(const fw::TreeView& tree, HTREEITEM item) {
    const std::vector<HTREEITEM> children = Children(tree, item);
    if (children.size() != 1) return false;
    int image = -1;
    int selectedImage = -1;
    tree.GetItemImage(children[0], image, selectedImage);
    return tree.GetItemText(children[0]).empty() && image == 0 && selectedImage == 0 && !tree.GetChildItem(children[0]);
}

void ExpandAsUser(const fw::TreeView& tree, HTREEITEM item) {
    tree.SelectItem(item);
    tree.Send(WM_KEYDOWN, VK_ADD, 0);
}

void CollapseAsUser(const fw::TreeView& tree, HTREEITEM item) {
    tree.SelectItem(item);
    tree.Send(WM_KEYDOWN, VK_SUBTRACT, 0);
}

std::vector<std::string> DriveRoots() {
    char list[500] = {};
    ::GetLogicalDriveStringsA(sizeof(list), list);
    std::vector<std::string> roots;
    for (const char* root = list; *root; root += std::strlen(root) + 1) roots.emplace_back(root);
    return roots;
}

HTREEITEM OpenPath(const fw::TreeView& tree, const std::string& path) {
    const std::vector<std::string> roots = DriveRoots();
    const std::vector<HTREEITEM> drives = Children(tree, tree.GetRootItem());
    HTREEITEM item = nullptr;
    for (size_t i = 0; i < roots.size() && i < drives.size(); ++i) {
        if (::lstrcmpiA(roots[i].c_str(), path.substr(0, 3).c_str()) == 0) item = drives[i];
    }
    std::istringstream components(path.substr(3));
    std::string component;
    while (item) {
        if (!IsExpanded(tree, item)) ExpandAsUser(tree, item);
        if (!std::getline(components, component, '\\')) break;
        if (!component.empty()) item = FindChild(tree, item, component);
    }
    return item;
}

int ImageCount(const fw::TreeView& tree) {
    return ::ImageList_GetImageCount(tree.GetImageList(TVSIL_NORMAL));
}

int BlankImages() {
    return std::max(1, 32 / ::GetSystemMetrics(SM_CXSMICON));
}

std::vector<DWORD> Pixels(HIMAGELIST list, int index) {
    int width = 0;
    int height = 0;
    ::ImageList_GetIconSize(list, &width, &height);
    const testing_support::Picture picture(width, height);
    if (!picture.Made()) return {};
    const RECT all{0, 0, width, height};
    ::FillRect(picture.Dc(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::ImageList_Draw(list, index, picture.Dc(), 0, 0, ILD_NORMAL);
    return picture.Pixels();
}

std::vector<DWORD> IconPixels(HICON icon) {
    const fw::UniqueImageList list(
        ::ImageList_Create(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), ILC_COLOR24, 1, 1));
    ::ImageList_SetBkColor(list.get(), ::GetSysColor(COLOR_WINDOW));
    if (::ImageList_ReplaceIcon(list.get(), -1, icon) != 0) return {};
    return Pixels(list.get(), 0);
}

}  // namespace tree_probe
