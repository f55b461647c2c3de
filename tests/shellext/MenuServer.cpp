#include "tests/shellext/MenuServer.h"

#include "framework/UniqueHandle.h"
#include "tests/support/WineTest.h"

namespace testing_support {

std::string MenuDllPath() {
    return CTestVariable("ROOTCASTER_MENU_DLL");
}

bool RunRegsvr32(const std::string& options) {
    const ProcessResult run = RunProcess("", "regsvr32 /s " + options + " \"" + MenuDllPath() + "\"");
    return run.finished && run.exitCode == 0;
}

std::string ServerInView(REGSAM view, HKEY root) {
    const std::string path = "Software\\Classes\\CLSID\\{5A3C71E4-2B90-11D1-A4F6-00C04F7B3E28}\\InProcServer32";
    fw::UniqueKey key;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE | view, key.put()) != ERROR_SUCCESS) {
        return "<no key>";
    }
    char server[MAX_PATH] = {};
    DWORD size = sizeof(server) - 1;
    ::RegQueryValueExA(key.get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(server), &size);
    return server;
}

}  // namespace testing_support
