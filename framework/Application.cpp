#include "framework/Application.h"

#include "framework/CommonControls.h"
#include "framework/PathText.h"
#include "framework/PlatformText.h"

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
    if (!InitInstance()) return m_exitStatus;
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
    InitCommonControlClasses(ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES);
}

std::string ModuleBaseName(HMODULE module) {
    const std::string path = ModuleFilePath(module);
    return path.empty() ? std::string() : FileBaseName(path, AnsiLeadByte);
}

}  // namespace fw
