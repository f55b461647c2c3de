#include "tests/support/Picture.h"

namespace testing_support {
namespace {

// A window's device context, frame included, between GetWindowDC and ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND window) : m_window(window), m_dc(::GetWindowDC(window)) {}
    ~WindowDC() {
        if (m_dc) ::ReleaseDC(m_window, m_dc);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    HDC Get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

}  // namespace

Picture::Picture(int width, int height) : m_width(width), m_height(height), m_dc(::CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    m_bitmap.reset(::CreateDIBSection(m_dc.get(), &info, DIB_RGB_COLORS, &m_bits, nullptr, 0));
    if (m_bitmap) m_previous = ::SelectObject(m_dc.get(), m_bitmap.get());
}

Picture::~Picture() {
    if (m_previous) ::SelectObject(m_dc.get(), m_previous);
}

std::vector<DWORD> Picture::Pixels() const {
    if (!m_bits) return {};
    ::GdiFlush();
    const auto* first = static_cast<const DWORD*>(m_bits);
    return std::vector<DWORD>(first, first + static_cast<size_t>(m_width) * static_cast<size_t>(m_height));
}

bool Picture::CopyWindow(HWND window) const {
    const WindowDC drawn(window);
    return m_bits && drawn.Get() && ::BitBlt(m_dc.get(), 0, 0, m_width, m_height, drawn.Get(), 0, 0, SRCCOPY);
}

}  // namespace testing_support
