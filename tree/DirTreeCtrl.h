#pragma once
// The tree of "My Computer", its drives and their directories. Levels are read
// from disk when the user opens them and thrown away when the user closes
// them: an unread level is one empty placeholder item, which gives its parent
// an expand button. Items carry no data; a path is rebuilt from the item texts
// and, for the drive, from the item's position in the drive list.
//
// Every drive and directory item shows two icons of its own (small icon as
// image, small open icon as selected image), copied from the shell into the
// tree's image list when the item is inserted and taken out again when it is
// deleted. Its images are the small-icon size at the tree's DPI. The list
// starts with k blank images (k small-icon widths in 32 pixels, at least one;
// index 0 is the placeholders' image) and the "My Computer" icon.

#include "framework/ImageList.h"
#include "framework/TreeView.h"
#include "tree/ImageRemoval.h"

#include <string>
#include <vector>

class CDirTreeCtrl : public fw::TreeView {
public:
    CDirTreeCtrl() = default;
    ~CDirTreeCtrl() override;

    // Empties the tree, builds a fresh image list, inserts "My Computer" and
    // expands it, so that the drives show at once.
    void InitTree();

    // The full path of the selected item: C:\ for a drive, C:\Dir\Sub\ for a
    // directory, without the final backslash for an expanded directory found
    // without subdirectories; empty for "My Computer" or no selection.
    std::string GetSelectedPath() const;

protected:
    // Whether a plain file is listed beside the directories; this tree lists
    // none.
    virtual bool ShowFile(const std::string& fileName);

    int OnCreate(CREATESTRUCTA& create) override;
    bool OnReflectedNotify(const NMHDR& header, LRESULT& result) override;

private:
    // What the shell says about a path, with the item's two new icons.
    struct ShellIcons {
        std::string displayName;
        int image;
        int selectedImage;
    };

    LRESULT OnItemExpanded(const NMTREEVIEWA& notice);

    std::string GetItemPath(std::string tail, HTREEITEM item) const;
    std::string DriveRoot(HTREEITEM drive) const;
    void PopulateItem(HTREEITEM item);
    void PopulateMyComputer();
    void PopulateDirectory(HTREEITEM item);
    std::vector<std::string> ListEntries(const std::string& path);
    void InsertSorted(std::vector<ShellIcons>& entries, HTREEITEM parent);
    void DeleteChildren(HTREEITEM item, bool addPlaceholder);
    HTREEITEM AddPathItem(const std::string& path, HTREEITEM parent, bool sorted, fw::IconAppender& icons);
    HTREEITEM InsertTreeItem(const std::string& text, HTREEITEM parent, int image, int selectedImage, bool sorted);
    void InsertPlaceholder(HTREEITEM parent, bool sorted);

    // The icon list.
    int CreateIconList();
    void AddBlankImages();
    ShellIcons AddShellIcons(const std::string& path, fw::IconAppender& icons);
    void ReleaseSubtreeIcons(HTREEITEM item, tree::ImageRemoval& removal) const;
    void RemoveReleasedIcons(const tree::ImageRemoval& removal);
    void CloseUpImages(const tree::ImageRemoval& removal) const;
    void RemoveImagesOneByOne(const tree::ImageRemoval& removal) const;
    void RenumberImages(HTREEITEM start, const tree::ImageIndexMap& newIndex) const;
    void AttachImageList() const;

    HTREEITEM m_hMyComputer = nullptr;
    char m_szDrives[500] = {};
    fw::ImageList m_imageList;
};
