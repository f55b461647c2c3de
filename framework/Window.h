#pragma once
// A non-owning wrapper of a window handle: the base of control wrappers.
// A dialog's data exchange binds wrappers to its controls; notifications a
// control sends to the dialog are reflected back to the bound wrapper.

#include <windows.h>

namespace fw {

class BoundControls;

class Window {
public:
    Window() = default;
    // A wrapper that goes before its parent window unbinds itself.
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Hwnd() const { return m_hWnd; }
    void Attach(HWND window) { m_hWnd = window; }
    HWND Detach() {
        HWND window = m_hWnd;
        m_hWnd = nullptr;
        return window;
    }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }

    // A WM_NOTIFY from this control, reflected by its dialog. Return true when
    // handled, with the notification's result in `result`.
    virtual bool OnReflectedNotify(const NMHDR& header, LRESULT& result);

protected:
    HWND m_hWnd = nullptr;

private:
    friend class BoundControls;
    BoundControls* m_boundTo = nullptr;
};

inline bool Window::OnReflectedNotify(const NMHDR&, LRESULT&) {
    return false;
}

}  // namespace fw
