#include "tray/TrayIcon.h"

#include <shellapi.h>

#include <cstddef>

namespace tray {
namespace {

constexpr UINT kIconId = 1;
// NOTIFYICONDATAA as Windows 95 and NT 4.0 know it, with a 64-byte tip.
constexpr DWORD kFirstVersionSize = offsetof(NOTIFYICONDATAA, szTip) + 64;

}  // namespace

TrayIcon::TrayIcon(HWND window, UINT callbackMessage, HICON icon, const char* tip)
    : m_window(window), m_callbackMessage(callbackMessage), m_icon(icon), m_tip(tip) {}

TrayIcon::~TrayIcon() {
    Notify(NIM_DELETE);
}

bool TrayIcon::Add() const {
    return Notify(NIM_ADD);
}

bool TrayIcon::Notify(DWORD action) const {
    NOTIFYICONDATAA data{};
    data.cbSize = kFirstVersionSize;
    data.hWnd = m_window;
    data.uID = kIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = m_callbackMessage;
    data.hIcon = m_icon;
    ::lstrcpynA(data.szTip, m_tip, 64);
    return ::Shell_NotifyIconA(action, &data) != FALSE;
}

}  // namespace tray
