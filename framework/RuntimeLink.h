#pragma once
// Functions newer than the oldest supported system, looked up when needed:
// the program then still loads where they are missing, and falls back.

#include <windows.h>

namespace fw {

// The function `name` of an already loaded module; null when it has none.
template <class Function>
Function* LookUp(const char* module, const char* name) {
    const HMODULE loaded = ::GetModuleHandleA(module);
    if (!loaded) return nullptr;
    // Through void*: a FARPROC is cast to the function's real type.
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(::GetProcAddress(loaded, name)));
}

}  // namespace fw
