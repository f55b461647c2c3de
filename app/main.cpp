// Entry point of RootCaster.exe: the application object and WinMain.

#include "app/CommandLine.h"
#include "app/RootCasterApp.h"

#include <windows.h>

namespace {
CRootCasterApp theApp;

bool IsLeadByte(unsigned char byte) {
    return ::IsDBCSLeadByte(byte) != FALSE;
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return theApp.Run(instance, app::CommandLineText(::GetCommandLineA(), IsLeadByte));
}
