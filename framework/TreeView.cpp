#include "framework/TreeView.h"

#include "framework/CommonControls.h"
#include "framework/CreatedWindow.h"

namespace fw {
namespace {

constexpr char kCreatedClass[] = "fw.TreeView";

// The tree view's own window procedure; the created class hands every message
// on to it.
WNDPROC g_controlProc = nullptr;

}  // namespace

TreeView::~TreeView() {
    if (m_hWnd && ::GetWindowLongPtrA(m_hWnd, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this)) {
        ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, 0);
        ::DestroyWindow(Detach());
    }
}

// A class of its own over the tree view's, so that the wrapper sees the
// creation of its control.
bool TreeView::RegisterCreatedClass() {
    static const bool registered = [] {
        InitCommonControlClasses(ICC_TREEVIEW_CLASSES);
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        if (!::GetClassInfoExA(::GetModuleHandleA(nullptr), WC_TREEVIEWA, &windowClass)) return false;
        g_controlProc = windowClass.lpfnWndProc;
        windowClass.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
        windowClass.lpfnWndProc = &TreeView::CreatedProc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kCreatedClass;
        return ::RegisterClassExA(&windowClass) != 0;
    }();
    return registered;
}

bool TreeView::Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
    if (!RegisterCreatedClass()) return false;
    return ::CreateWindowExA(0, kCreatedClass, "", style | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                             rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                             ::GetModuleHandleA(nullptr), this) != nullptr;
}

LRESULT CALLBACK TreeView::CreatedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    TreeView* tree = CreatedWrapper<TreeView>(window, message, lParam);
    if (!tree || message == WM_NCDESTROY) return ::CallWindowProcA(g_controlProc, window, message, wParam, lParam);
    return tree->HandleMessage(message, wParam, lParam);
}

LRESULT TreeView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: return OnCreate(*reinterpret_cast<CREATESTRUCTA*>(lParam));
        default: return Default(message, wParam, lParam);
    }
}

int TreeView::OnCreate(CREATESTRUCTA& create) {
    return static_cast<int>(Default(WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)));
}

LRESULT TreeView::Default(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::CallWindowProcA(g_controlProc, m_hWnd, message, wParam, lParam);
}

TreeView::RedrawHold::RedrawHold(TreeView& tree)
    : m_tree(tree), m_holding((::GetWindowLongA(tree.Hwnd(), GWL_STYLE) & WS_VISIBLE) != 0) {
    if (m_holding && m_tree.m_redrawHolds++ == 0) m_tree.Send(WM_SETREDRAW, FALSE);
}

TreeView::RedrawHold::~RedrawHold() {
    if (!m_holding || --m_tree.m_redrawHolds > 0) return;
    m_tree.Send(WM_SETREDRAW, TRUE);
    ::InvalidateRect(m_tree.Hwnd(), nullptr, TRUE);
}

}  // namespace fw
