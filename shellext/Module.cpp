// The server's entry points: the class factory for the served classes, the
// unload test, and registration (see Registration.cpp).

#include "shellext/ClassFactory.h"
#include "shellext/Registration.h"
#include "shellext/ServedClasses.h"

#include <windows.h>

namespace {

LONG g_moduleReferences = 0;
HINSTANCE g_module = nullptr;

}  // namespace

namespace shellext {

void AddModuleReference() {
    ::InterlockedIncrement(&g_moduleReferences);
}

void ReleaseModuleReference() {
    ::InterlockedDecrement(&g_moduleReferences);
}

bool ModuleInUse() {
    return g_moduleReferences != 0;
}

}  // namespace shellext

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        ::DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!shellext::IsServedClass(classId)) return CLASS_E_CLASSNOTAVAILABLE;
    return shellext::Guarded([&] { return shellext::CreateObject<shellext::ClassFactory>(iid, out, classId); });
}

STDAPI DllCanUnloadNow() {
    return shellext::ModuleInUse() ? S_FALSE : S_OK;
}

STDAPI DllRegisterServer() {
    return shellext::Guarded([] { return shellext::RegisterServer(g_module, HKEY_LOCAL_MACHINE); });
}

STDAPI DllUnregisterServer() {
    return shellext::Guarded([] { return shellext::UnregisterServer(HKEY_LOCAL_MACHINE); });
}

// regsvr32 /n /i:user calls it to register for the current user only, and
// with /u to remove that registration again.
STDAPI DllInstall(BOOL install, LPCWSTR commandLine) {
    return shellext::Guarded([&] {
        const std::optional<HKEY> root = shellext::InstallRoot(commandLine);
        if (!root) return E_INVALIDARG;
        return install ? shellext::RegisterServer(g_module, *root) : shellext::UnregisterServer(*root);
    });
}

}  // extern "C"
