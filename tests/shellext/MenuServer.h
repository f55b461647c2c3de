#pragma once
// The extension's server as the tests register it: the DLL CTest names in
// ROOTCASTER_MENU_DLL, registered and unregistered by the prefix's regsvr32.

#include <windows.h>

#include <string>

namespace testing_support {

// Empty, and a failure, when the test did not run through CTest.
std::string MenuDllPath();
// regsvr32 /s OPTIONS on the DLL; whether it ran and succeeded.
bool RunRegsvr32(const std::string& options);
// The server of the menu root's class below `root`'s classes as one registry
// view (KEY_WOW64_32KEY or KEY_WOW64_64KEY) shows it, or "<no key>".
std::string ServerInView(REGSAM view, HKEY root = HKEY_LOCAL_MACHINE);

}  // namespace testing_support
