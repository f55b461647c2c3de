#pragma once
// For the window procedure of a wrapper that creates its own window, passing
// itself as the creation data: the wrapper is kept in the window's user data
// from WM_NCCREATE on and let go at WM_NCDESTROY, so that no message reaches
// a wrapper whose window is gone.

#include <windows.h>

namespace fw {

// The wrapper of the window, or none before WM_NCCREATE and after
// WM_NCDESTROY. At WM_NCDESTROY it is returned detached, for a last time.
template <class Wrapper>
Wrapper* CreatedWrapper(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* wrapper = static_cast<Wrapper*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        wrapper->Attach(window);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(wrapper));
    }
    auto* wrapper = reinterpret_cast<Wrapper*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (wrapper && message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        wrapper->Detach();
    }
    return wrapper;
}

}  // namespace fw

namespace fw {

// The one policy of every window procedure: nothing unwinds into the
// system's code that called it. A message whose handling failed (out of
// memory filling a menu) gets what `fallback` (the class's or the
// subclassed control's own procedure) makes of it.
template <class Handle>
LRESULT HandledOrFallback(Handle&& handle, WNDPROC fallback, HWND window, UINT message, WPARAM wParam,
                          LPARAM lParam) noexcept {
    try {
        return handle();
    } catch (...) {
        return ::CallWindowProcA(fallback, window, message, wParam, lParam);
    }
}

}  // namespace fw
