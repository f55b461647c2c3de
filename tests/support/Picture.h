#pragma once
// A picture of 32-bit pixels, top row first, that a test draws into or copies
// a window onto, to compare what was drawn.

#include "framework/UniqueHandle.h"

#include <windows.h>

#include <vector>

namespace testing_support {

class Picture {
public:
    Picture(int width, int height);
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    HDC Dc() const { return m_dc.get(); }
    bool Made() const { return m_bits != nullptr; }
    std::vector<DWORD> Pixels() const;
    // Copies `window` as drawn, frame and children included, to the top left.
    bool CopyWindow(HWND window) const;

private:
    int m_width;
    int m_height;
    fw::UniqueDC m_dc;
    void* m_bits = nullptr;
    fw::UniqueBitmap m_bitmap;
    HGDIOBJ m_previous = nullptr;
};

}  // namespace testing_support
