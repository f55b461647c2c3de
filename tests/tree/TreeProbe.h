#pragma once
// Reading and driving a real tree-view control the way a user and the screen
// see it, for the tree tests and the tree benchmark.

#include "framework/CommonControls.h"
#include "framework/TreeView.h"

#include <string>
#include <vector>

namespace tree_probe {

std::vector<HTREEITEM> Children(const fw::TreeView& tree, HTREEITEM parent);
std::vector<std::string> ChildTexts(const fw::TreeView& tree, HTREEITEM parent);
// The child with this text (in any case), or none.
HTREEITEM FindChild(const fw::TreeView& tree, HTREEITEM parent, const std::string& text);

bool IsExpanded(const fw::TreeView& tree, HTREEITEM item);
// Whether the control gives the item an expand button.
bool HasButton(const fw::TreeView& tree, HTREEITEM item);
// True when the item's only child is an empty placeholder with images 0.
bool HoldsOnlyPlaceholder(const fw::TreeView& tree, HTREEITEM item);

// As the user does it, with the keyboard on the selected item: the control
// notifies every time, not only at the first expansion.
void ExpandAsUser(const fw::TreeView& tree, HTREEITEM item);
void CollapseAsUser(const fw::TreeView& tree, HTREEITEM item);

// The logical drives' root strings, in the system's order.
std::vector<std::string> DriveRoots();

// Opens the levels down to a directory (C:\a\b), expanding each, and returns
// the directory's item, or none when a level is missing.
HTREEITEM OpenPath(const fw::TreeView& tree, const std::string& path);

int ImageCount(const fw::TreeView& tree);
// The blank images at the start of the tree's list.
int BlankImages();

// An image as drawn: its pixels on a white ground.
std::vector<DWORD> Pixels(HIMAGELIST list, int index);
// An icon as the tree's list would hold it.
std::vector<DWORD> IconPixels(HICON icon);

// What a bare Windows 95 has while the object lives: common controls 4.00,
// whose image lists can neither copy within a list nor cut it.
class WithoutImageListMoves {
public:
    WithoutImageListMoves() : m_saved(fw::SystemImageListMoves()) { fw::SystemImageListMoves() = {}; }
    ~WithoutImageListMoves() { fw::SystemImageListMoves() = m_saved; }
    WithoutImageListMoves(const WithoutImageListMoves&) = delete;
    WithoutImageListMoves& operator=(const WithoutImageListMoves&) = delete;

private:
    fw::ImageListMoves m_saved;
};

}  // namespace tree_probe
