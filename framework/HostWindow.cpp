#include "framework/HostWindow.h"

#include "framework/CreatedWindow.h"

namespace fw {
namespace {
constexpr char kHostClass[] = "fw.HostWindow";
}

HostWindow::~HostWindow() {
    if (m_hWnd) ::DestroyWindow(m_hWnd);
}

bool HostWindow::Create(const char* title, DWORD style, int width, int height) {
    static const bool registered = [] {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &HostWindow::WindowProc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kHostClass;
        return ::RegisterClassExA(&windowClass) != 0;
    }();
    return registered && ::CreateWindowExA(0, kHostClass, title, style, CW_USEDEFAULT, CW_USEDEFAULT, width, height,
                                           nullptr, nullptr, ::GetModuleHandleA(nullptr), this) != nullptr;
}

LRESULT CALLBACK HostWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HostWindow* host = CreatedWrapper<HostWindow>(window, message, lParam);
    if (host && message == WM_NCDESTROY) host->m_controls.DetachAll();
    if (!host || message == WM_NCDESTROY) return ::DefWindowProcA(window, message, wParam, lParam);
    return host->HandleMessage(message, wParam, lParam);
}

LRESULT HostWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NOTIFY: return OnNotify(*reinterpret_cast<const NMHDR*>(lParam), wParam, lParam);
        default: return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
    }
}

LRESULT HostWindow::OnNotify(const NMHDR& header, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (m_controls.Reflect(header, result)) return result;
    return ::DefWindowProcA(m_hWnd, WM_NOTIFY, wParam, lParam);
}

}  // namespace fw
