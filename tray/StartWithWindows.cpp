#include "tray/StartWithWindows.h"

#include "settings/RegistryHelpers.h"

#include <windows.h>

#include <string>

namespace tray {

bool StartsWithWindows() {
    return !settings::ReadRegistryString(HKEY_CURRENT_USER, kRunKey, kRunValue).empty();
}

void SetStartWithWindows(bool on) {
    if (!on) {
        settings::WriteRegistryString(HKEY_CURRENT_USER, kRunKey, kRunValue, nullptr);
        return;
    }
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    const std::string command = std::string("\"") + path + "\"";
    settings::WriteRegistryString(HKEY_CURRENT_USER, kRunKey, kRunValue, command.c_str());
}

}  // namespace tray
