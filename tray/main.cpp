// Entry point of RootCasterTray.exe: RootCaster's menus from the notification
// area. One instance per session; it lives until its window is closed.

#include "framework/Application.h"
#include "framework/OleSession.h"
#include "framework/UniqueHandle.h"
#include "settings/SettingsStore.h"
#include "tray/TrayWindow.h"

#include <windows.h>

namespace {

constexpr char kInstanceMutex[] = "RootCasterTray.Instance";
// The settings (the help page among them) are RootCaster's.
constexpr char kSettingsOwner[] = "RootCaster";

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const fw::UniqueMutex instance(::CreateMutexA(nullptr, FALSE, kInstanceMutex));
    if (!instance || ::GetLastError() == ERROR_ALREADY_EXISTS) return 0;
    // The process is this program's own: a drive without its medium, touched
    // for a listing or an icon while a menu shows, fails instead of asking.
    ::SetErrorMode(SEM_FAILCRITICALERRORS);
    // The shell's context menus and shortcuts are COM objects.
    const fw::OleSession ole;
    if (!ole.Ok()) return 0;
    settings::SettingsStore& store = settings::SettingsStore::Instance();
    store.SetRegistryKey(settings::kCompanyKey);
    store.SetApplicationName(kSettingsOwner);

    tray::TrayWindow window;
    if (!window.Create()) return 0;
    return fw::RunMessageLoop();
}
