#pragma once
// The wrappers bound to a parent window's controls. The parent reflects each
// WM_NOTIFY it receives back to the wrapper of the control that sent it.

#include "framework/Window.h"

#include <vector>

namespace fw {

class BoundControls {
public:
    void Add(Window& control) { m_controls.push_back(&control); }

    // True when the sender has a wrapper and the wrapper handled the
    // notification, with its result in `result`.
    bool Reflect(const NMHDR& header, LRESULT& result) const {
        for (Window* control : m_controls) {
            if (control->Hwnd() == header.hwndFrom) return control->OnReflectedNotify(header, result);
        }
        return false;
    }

    // The parent's window is gone, and its controls with it.
    void DetachAll() {
        for (Window* control : m_controls) control->Detach();
        m_controls.clear();
    }

private:
    std::vector<Window*> m_controls;
};

}  // namespace fw
