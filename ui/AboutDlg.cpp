#include "ui/AboutDlg.h"

#include "framework/Resources.h"
#include "launch/OpenWithHtmlViewer.h"
#include "res/resource.h"
#include "settings/SettingsStore.h"

#include <windowsx.h>

namespace {

constexpr int kLogoSize = 75;

POINT PointFrom(LPARAM lParam) {
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

void ShowLinkCursor() {
    ::SetCursor(::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_LINK_HAND)));
}

}  // namespace

CAboutDlg::CAboutDlg() : fw::Dialog(IDD_ABOUTBOX) {}

void CAboutDlg::DoDataExchange(fw::DataExchange& exchange) {
    exchange.Control(IDC_USAGE, m_usageLine);
    exchange.Control(IDC_LOGO, m_logo);
}

BOOL CAboutDlg::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    ShowLogo();
    ShowUsageCount();
    return TRUE;
}

INT_PTR CAboutDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETCURSOR: return OnSetCursor(LOWORD(lParam));
        case WM_MOUSEMOVE: OnMouseMove(PointFrom(lParam)); return FALSE;
        case WM_LBUTTONDOWN: OnLButtonDown(PointFrom(lParam)); return FALSE;
        default: return fw::Dialog::HandleMessage(message, wParam, lParam);
    }
}

// The logo control is enlarged to the logo's size in pixels, whatever the
// template's dialog units make of it. The logo is shared: the system keeps
// it, and every box shows the same one.
void CAboutDlg::ShowLogo() const {
    ::SetWindowPos(m_logo.Hwnd(), nullptr, 0, 0, kLogoSize, kLogoSize, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    auto* logo = static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_LOGO), IMAGE_ICON,
                                                 kLogoSize, kLogoSize, LR_SHARED));
    m_logo.Send(STM_SETICON, reinterpret_cast<WPARAM>(logo));
}

// The count is a 32-bit value shown signed, so 2147483648 and above read
// as negative numbers.
void CAboutDlg::ShowUsageCount() const {
    const int times = settings::SettingsStore::Instance().Read(settings::kTimes);
    char text[1024];
    ::wsprintfA(text, fw::LoadResourceString(IDS_USAGE).c_str(), times);
    ::SetWindowTextA(m_usageLine.Hwnd(), text);
}

// The logo's rectangle is moved into client coordinates with the fixed sizes
// of a dialog frame and caption.
bool CAboutDlg::IsPointOnLogo(POINT point, const fw::Window& logo) const {
    RECT box;
    RECT area;
    ::GetWindowRect(m_hWnd, &box);
    ::GetWindowRect(logo.Hwnd(), &area);
    const int dx = area.left - box.left - ::GetSystemMetrics(SM_CXDLGFRAME);
    const int dy = area.top - box.top - ::GetSystemMetrics(SM_CYCAPTION) - ::GetSystemMetrics(SM_CYDLGFRAME);
    ::OffsetRect(&area, dx - area.left, dy - area.top);
    return ::PtInRect(&area, point) != FALSE;
}

// Answered over the logo, or the class's arrow would come back before every
// mouse move there.
BOOL CAboutDlg::OnSetCursor(UINT hitTest) const {
    POINT point;
    if (hitTest != HTCLIENT || !::GetCursorPos(&point) || !::ScreenToClient(m_hWnd, &point)) return FALSE;
    if (!IsPointOnLogo(point, m_logo)) return FALSE;
    ShowLinkCursor();
    ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, TRUE);
    return TRUE;
}

void CAboutDlg::OnMouseMove(POINT point) const {
    if (IsPointOnLogo(point, m_logo)) ShowLinkCursor();
}

void CAboutDlg::OnLButtonDown(POINT point) const {
    if (!IsPointOnLogo(point, m_logo)) return;
    launch::OpenWithHtmlViewer(kHomePageUrl);
    ShowLinkCursor();
}
