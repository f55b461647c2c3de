#pragma once
// While it lives, a watch on the thread's menu loop for the ways of asking
// for an entry's context menu: a right click, the Applications key, or
// Shift+F10. Menus of every Windows pass their loop's messages through the
// thread's message filter (WH_MSGFILTER, MSGF_MENU); a right click is caught
// there, as WM_MENURBUTTONUP exists only from Windows 98/2000 on, and so are
// the keys, which the menu loop would ignore.

#include "framework/UniqueHandle.h"

#include <windows.h>

namespace tray {

class ContextMenuWatch {
public:
    // `asked` is called in the menu loop; true when it took the request,
    // which the menu then does not see. It must not throw.
    using Asked = bool (*)(void* context) noexcept;

    ContextMenuWatch(Asked asked, void* context);
    ~ContextMenuWatch();
    ContextMenuWatch(const ContextMenuWatch&) = delete;
    ContextMenuWatch& operator=(const ContextMenuWatch&) = delete;

private:
    static LRESULT CALLBACK FilterMenuMessage(int code, WPARAM wParam, LPARAM lParam);

    Asked m_asked;
    void* m_context;
    ContextMenuWatch* m_outer;  // a watch this one stands in for while it lives
    fw::UniqueHook m_hook;
};

}  // namespace tray
