#include "tray/TrayIcon.h"

#include "framework/RuntimeLink.h"
#include "tray/MenuItems.h"

#include <shellapi.h>

#include <cstddef>
#include <utility>

namespace tray {
namespace {

constexpr UINT kIconId = 1;
// NOTIFYICONDATAA as Windows 95 and NT 4.0 know it, with a 64-byte tip.
constexpr DWORD kFirstVersionSize = offsetof(NOTIFYICONDATAA, szTip) + 64;

using LoadIconMetricFunction = HRESULT WINAPI(HINSTANCE, PCWSTR, int, HICON*);
constexpr int kSmallIconMetric = 0;  // LIM_SMALL

// From Vista on comctl32 picks the image of the icon for the DPI's
// small-icon size itself; before, the size is asked of LoadImage.
fw::UniqueIcon LoadSmallIcon(HWND window, int resource) {
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    if (auto* loadIconMetric = fw::LookUp<LoadIconMetricFunction>("comctl32.dll", "LoadIconMetric")) {
        HICON icon = nullptr;
        if (SUCCEEDED(loadIconMetric(instance, MAKEINTRESOURCEW(resource), kSmallIconMetric, &icon))) {
            return fw::UniqueIcon(icon);
        }
    }
    const int size = MenuMetrics::ForWindow(window).icon;
    return fw::UniqueIcon(
        static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(resource), IMAGE_ICON, size, size, 0)));
}

}  // namespace

TrayIcon::TrayIcon(HWND window, UINT callbackMessage, int icon, const char* tip)
    : m_window(window), m_callbackMessage(callbackMessage), m_resource(icon), m_tip(tip) {}

TrayIcon::~TrayIcon() {
    Notify(NIM_DELETE);
}

bool TrayIcon::Show() {
    if (fw::UniqueIcon icon = LoadSmallIcon(m_window, m_resource)) m_icon = std::move(icon);
    return Notify(NIM_MODIFY) || Notify(NIM_ADD);
}

bool TrayIcon::Notify(DWORD action) const {
    NOTIFYICONDATAA data{};
    data.cbSize = kFirstVersionSize;
    data.hWnd = m_window;
    data.uID = kIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = m_callbackMessage;
    data.hIcon = m_icon.get();
    ::lstrcpynA(data.szTip, m_tip, 64);
    return ::Shell_NotifyIconA(action, &data) != FALSE;
}

}  // namespace tray
