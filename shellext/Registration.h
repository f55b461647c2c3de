#pragma once
// What registering writes and unregistering removes: the three classes below
// ROOT\Software\Classes\CLSID (a name, the server's path, its threading
// model) and, on NT, the shell's list of approved extensions below ROOT. The
// root is HKEY_LOCAL_MACHINE for every user (DllRegisterServer) or
// HKEY_CURRENT_USER for the current user only (DllInstall with "user"), whose
// classes Windows 2000 and later merge over the machine's. Both directions
// and both roots walk one table, so they cannot drift apart.

#include <windows.h>

#include <optional>

namespace shellext {

HRESULT RegisterServer(HINSTANCE module, HKEY root);

// Removes what RegisterServer wrote and nothing else: InstallDir, which
// setup writes into the root class's key, stays.
HRESULT UnregisterServer(HKEY root);

// The root DllInstall's command line names: "user" (any case) the current
// user's, none the machine's; nothing for any other text.
std::optional<HKEY> InstallRoot(const wchar_t* commandLine);

}  // namespace shellext
