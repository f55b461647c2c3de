#pragma once
// The application object: one per process, constructed as a global before
// WinMain runs. WinMain hands it the instance and the command-line text; the
// derived class does its work in InitInstance, whose FALSE ends the process
// without a message loop of the application's own.

#include "framework/Window.h"

#include <string>

namespace fw {

class Application {
public:
    Application();
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    static Application* Current();

    // Runs InitInstance and, when it returns TRUE, a message loop. The exit
    // status is the loop's, or else the one InitInstance set.
    int Run(HINSTANCE instance, std::string commandLineText);

    virtual BOOL InitInstance() = 0;

    HINSTANCE Instance() const { return m_instance; }
    const std::string& CommandLineText() const { return m_commandLineText; }
    void SetCommandLineText(std::string text) { m_commandLineText = std::move(text); }

    // The window that owns dialogs run without a parent of their own. It is
    // an object, not a handle: a modal main dialog gets its handle only once
    // its run has begun.
    HWND MainWindow() const { return m_mainWindow ? m_mainWindow->Hwnd() : nullptr; }
    void SetMainWindow(const Window* window) { m_mainWindow = window; }

    int ExitStatus() const { return m_exitStatus; }
    void SetExitStatus(int status) { m_exitStatus = status; }

protected:
    // The common controls the dialogs use (tree view, image lists).
    static void EnableControlSupport();

private:
    HINSTANCE m_instance = nullptr;
    const Window* m_mainWindow = nullptr;
    std::string m_commandLineText;
    int m_exitStatus = 0;
};

// Dispatches the thread's messages until WM_QUIT; its exit code.
int RunMessageLoop();

// File name of the running program without directory and extension.
std::string ModuleBaseName(HMODULE module = nullptr);

}  // namespace fw
