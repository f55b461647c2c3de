#include "tray/ContextMenuWatch.h"

namespace tray {
namespace {

// The watch of the menus being tracked; one thread, one tracking at a time.
ContextMenuWatch* g_watch = nullptr;

// A right click, the Applications key or Shift+F10 (a system key, as F10 is).
bool AsksForContextMenu(const MSG& message) {
    if (message.message == WM_RBUTTONUP) return true;
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
    return message.wParam == VK_APPS || (message.wParam == VK_F10 && ::GetKeyState(VK_SHIFT) < 0);
}

}  // namespace

ContextMenuWatch::ContextMenuWatch(Asked asked, void* context)
    : m_asked(asked),
      m_context(context),
      m_outer(g_watch),
      m_hook(::SetWindowsHookExA(WH_MSGFILTER, &ContextMenuWatch::FilterMenuMessage, nullptr, ::GetCurrentThreadId())) {
    g_watch = this;
}

ContextMenuWatch::~ContextMenuWatch() {
    if (g_watch == this) g_watch = m_outer;
}

LRESULT CALLBACK ContextMenuWatch::FilterMenuMessage(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_MENU && g_watch && AsksForContextMenu(*message) && g_watch->m_asked(g_watch->m_context)) {
        return TRUE;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace tray
