#pragma once
// Where the program's keys of the class registry lie. Windows 2000 and later
// keep a user's own classes in HKCU\Software\Classes and show them merged
// over the machine's (HKLM\Software\Classes) as HKEY_CLASSES_ROOT; a key
// that exists in neither is created there in the machine's classes, which an
// unelevated program may not write. Windows 95, 98, Me and NT 4.0 have no
// user's classes.

#include <windows.h>

#include <string>

namespace settings {

// A root key and the text that goes before every key path below it.
struct ClassesPlace {
    HKEY root;
    const char* prefix;

    std::string Path(const char* keyPath) const { return std::string(prefix) + keyPath; }
};

inline const ClassesPlace kMergedClasses{HKEY_CLASSES_ROOT, ""};
inline const ClassesPlace kUserClasses{HKEY_CURRENT_USER, "Software\\Classes\\"};
inline const ClassesPlace kMachineClasses{HKEY_LOCAL_MACHINE, "Software\\Classes\\"};

// Whether the system keeps a user's own classes: reported version 5
// (Windows 2000) or later.
bool HasUserClasses();

// Where the program writes its own classes: the user's where the system has
// them, HKEY_CLASSES_ROOT elsewhere.
ClassesPlace OwnClasses();

// The shell extension's class key, "CLSID\\" and its menu root's class
// identifier.
std::string ExtensionClassKey();

// The shell extension's installation directory, as the merged view reads it:
// the user's classes first, then the machine's, both read explicitly, so
// that it is found where the system shows no merged view of them. Empty when
// neither has it.
std::string ReadInstallDir();

}  // namespace settings
