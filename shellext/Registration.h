#pragma once
// What DllRegisterServer writes and DllUnregisterServer removes: the three
// classes below HKEY_LOCAL_MACHINE\Software\Classes\CLSID (a name, the
// server's path, its threading model) and, on NT, the shell's list of
// approved extensions. Both walk one table, so they cannot drift apart.

#include <windows.h>

namespace shellext {

HRESULT RegisterServer(HINSTANCE module);

// Removes what RegisterServer wrote and nothing else: InstallDir, which
// setup writes into the root class's key, stays.
HRESULT UnregisterServer();

}  // namespace shellext
