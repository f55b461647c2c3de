#pragma once
// Sizes at the DPI of a window's monitor. From Windows 10 1607 a window's
// own DPI, which per-monitor awareness lets differ between monitors; before,
// the system's, which holds for every window.

#include "framework/UniqueHandle.h"

#include <windows.h>

namespace fw {

inline constexpr int kDefaultDpi = 96;
// WM_DPICHANGED: a window moved to a monitor of another DPI (8.1 and later).
inline constexpr UINT kDpiChangedMessage = 0x02E0;

// `pixels` at 96 DPI, at `dpi`.
inline int Scaled(int pixels, int dpi) {
    return ::MulDiv(pixels, dpi, kDefaultDpi);
}

// The DPI `window` is drawn at; the system's for no window.
int DpiOf(HWND window);

// The system metric `index` (SM_CXSMICON, SM_CXICON, ...) at `dpi`.
int MetricAt(int index, int dpi);

// One of the fonts the user set for menus, captions and messages (as
// &NONCLIENTMETRICSA::lfMessageFont), at `dpi`.
UniqueFont NonClientFontAt(LOGFONTA NONCLIENTMETRICSA::*font, int dpi);

}  // namespace fw
