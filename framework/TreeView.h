#pragma once
// Tree-view control messages, in their ANSI forms. The wrapper is bound to a
// dialog's control, or creates a control of its own with Create, in which
// case the control's creation runs OnCreate.

#include "framework/Window.h"

#include <commctrl.h>

#include <string>

namespace fw {

class TreeView : public Window {
public:
    TreeView() = default;
    // A control made by Create dies with its wrapper.
    ~TreeView() override;

    // Creates the control as a child of `parent`. The control notifies its
    // parent during creation already, so a parent that reflects notifications
    // must know this wrapper before the call.
    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id);

    HTREEITEM InsertItem(const TVINSERTSTRUCTA& insert) const {
        return reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    }
    bool DeleteItem(HTREEITEM item) const { return Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)) != 0; }
    bool Expand(HTREEITEM item, UINT action) const {
        return Send(TVM_EXPAND, action, reinterpret_cast<LPARAM>(item)) != 0;
    }
    bool SelectItem(HTREEITEM item) const {
        return Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != 0;
    }

    HTREEITEM GetNextItem(HTREEITEM item, UINT relation) const {
        return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
    }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
    HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }

    bool GetItem(TVITEMA& item) const { return Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) != 0; }
    bool SetItem(const TVITEMA& item) const { return Send(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)) != 0; }
    UINT GetCount() const { return static_cast<UINT>(Send(TVM_GETCOUNT)); }

    std::string GetItemText(HTREEITEM item) const {
        char text[MAX_PATH + 1] = {};
        TVITEMA query{};
        query.mask = TVIF_TEXT;
        query.hItem = item;
        query.pszText = text;
        query.cchTextMax = MAX_PATH;  // the last byte stays the terminator
        return GetItem(query) ? text : std::string();
    }

    // An item's image and selected image; false when the item cannot be read.
    bool GetItemImage(HTREEITEM item, int& image, int& selectedImage) const {
        TVITEMA query{};
        query.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        query.hItem = item;
        if (!GetItem(query)) return false;
        image = query.iImage;
        selectedImage = query.iSelectedImage;
        return true;
    }
    bool SetItemImage(HTREEITEM item, int image, int selectedImage) const {
        TVITEMA change{};
        change.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        change.hItem = item;
        change.iImage = image;
        change.iSelectedImage = selectedImage;
        return SetItem(change);
    }

    HIMAGELIST SetImageList(HIMAGELIST list, int kind) const {
        return reinterpret_cast<HIMAGELIST>(
            Send(TVM_SETIMAGELIST, static_cast<WPARAM>(kind), reinterpret_cast<LPARAM>(list)));
    }
    HIMAGELIST GetImageList(int kind) const {
        return reinterpret_cast<HIMAGELIST>(Send(TVM_GETIMAGELIST, static_cast<WPARAM>(kind)));
    }

    // Keeps the control from recomputing and drawing its layout while many
    // items come and go; the control catches up once, when the outermost
    // hold ends. A hidden control is left alone, as turning its drawing back
    // on could show it.
    class RedrawHold {
    public:
        explicit RedrawHold(TreeView& tree);
        ~RedrawHold();
        RedrawHold(const RedrawHold&) = delete;
        RedrawHold& operator=(const RedrawHold&) = delete;

    private:
        TreeView& m_tree;
        bool m_holding;
    };

protected:
    // The control's own creation: 0, or -1 when it failed.
    virtual int OnCreate(CREATESTRUCTA& create);

private:
    static bool RegisterCreatedClass();
    static LRESULT CALLBACK CreatedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) const;

    int m_redrawHolds = 0;
};

}  // namespace fw
