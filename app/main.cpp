// Entry point of RootCaster.exe: the application object and WinMain.

#include "app/CommandLine.h"
#include "app/RootCasterApp.h"

#include <windows.h>

namespace {
CRootCasterApp theApp;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return theApp.Run(instance, app::CommandLineText(::GetCommandLineA(), fw::AnsiLeadByte));
}
