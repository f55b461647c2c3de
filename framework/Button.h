#pragma once
// Push button and check box messages.

#include "framework/Window.h"

namespace fw {

class Button : public Window {
public:
    // Shows an icon (none: no image); returns the icon shown before, if any.
    HICON SetIcon(HICON icon) const {
        return reinterpret_cast<HICON>(Send(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon)));
    }
    HICON GetIcon() const { return reinterpret_cast<HICON>(Send(BM_GETIMAGE, IMAGE_ICON)); }
    int GetCheck() const { return static_cast<int>(Send(BM_GETCHECK)); }
    void SetCheck(int state) const { Send(BM_SETCHECK, static_cast<WPARAM>(state)); }
};

}  // namespace fw
