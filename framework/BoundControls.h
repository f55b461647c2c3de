#pragma once
// The wrappers bound to a parent window's controls. The parent reflects each
// WM_NOTIFY it receives back to the wrapper of the control that sent it.

#include "framework/Window.h"

#include <algorithm>
#include <vector>

namespace fw {

class BoundControls {
public:
    BoundControls() = default;
    // Wrappers that outlive their parent are unbound from it.
    ~BoundControls() {
        for (Window* control : m_controls) control->m_boundTo = nullptr;
    }
    BoundControls(const BoundControls&) = delete;
    BoundControls& operator=(const BoundControls&) = delete;

    // A wrapper is bound to one parent at a time.
    void Add(Window& control) {
        if (control.m_boundTo) control.m_boundTo->Remove(control);
        control.m_boundTo = this;
        m_controls.push_back(&control);
    }

    // The wrapper goes (or moves to another parent) before this parent.
    void Remove(Window& control) {
        m_controls.erase(std::remove(m_controls.begin(), m_controls.end(), &control), m_controls.end());
        control.m_boundTo = nullptr;
    }

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
        for (Window* control : m_controls) {
            control->Detach();
            control->m_boundTo = nullptr;
        }
        m_controls.clear();
    }

private:
    std::vector<Window*> m_controls;
};

}  // namespace fw
