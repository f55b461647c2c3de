#include "framework/Application.h"

#include <commctrl.h>
#include <shlwapi.h>

namespace fw {
namespace {
Application* g_application = nullptr;
}

Application::Application() {
    g_application = this;
}

Application::~Application() {
    if (g_application == this) g_application = nullptr;
}

Application* Application::Current() {
    return g_application;
}

int Application::Run(HINSTANCE instance, std::string commandLineText) {
    m_instance = instance;
    m_commandLineText = std::move(commandLineText);
    if (!InitInstance()) return 0;
    return RunMessageLoop();
}

int RunMessageLoop() {
    MSG message{};
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

void Application::EnableControlSupport() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
}

std::string ModuleBaseName(HMODULE module) {
    char path[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameA(module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::string();
    // The shell's path functions step over double-byte characters correctly.
    char* name = ::PathFindFileNameA(path);
    ::PathRemoveExtensionA(name);
    return name;
}

}  // namespace fw
