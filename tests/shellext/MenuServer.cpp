#include "tests/shellext/MenuServer.h"

#include "tests/support/WineTest.h"

namespace testing_support {

std::string MenuDllPath() {
    return CTestVariable("ROOTCASTER_MENU_DLL");
}

bool RunRegsvr32(const std::string& options) {
    const ProcessResult run = RunProcess("", "regsvr32 /s " + options + " \"" + MenuDllPath() + "\"");
    return run.finished && run.exitCode == 0;
}

}  // namespace testing_support
