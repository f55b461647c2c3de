#include "tests/shellext/MenuServer.h"

#include "tests/support/WineTest.h"

#include <cstdlib>

namespace testing_support {

std::string MenuDllPath() {
    const char* path = std::getenv("ROOTCASTER_MENU_DLL");
    return path ? path : "";
}

bool RunRegsvr32(const std::string& options) {
    const ProcessResult run = RunProcess("", "regsvr32 /s " + options + " \"" + MenuDllPath() + "\"");
    return run.finished && run.exitCode == 0;
}

}  // namespace testing_support
