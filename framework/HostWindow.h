#pragma once
// A plain top-level window for controls outside a dialog (a tool's window, a
// test's): it reflects its controls' notifications to their bound wrappers,
// as a dialog does.

#include "framework/BoundControls.h"
#include "framework/Window.h"

namespace fw {

class HostWindow : public Window {
public:
    HostWindow() = default;
    // The window dies with its owner.
    ~HostWindow() override;

    bool Create(const char* title, DWORD style, int width, int height);

    // Bind a wrapper before its control is created when the control notifies
    // during its own creation.
    void Bind(Window& control) { m_controls.Add(control); }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnNotify(const NMHDR& header, WPARAM wParam, LPARAM lParam);

    BoundControls m_controls;
};

}  // namespace fw
