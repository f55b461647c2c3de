// The x86 edition's setup (a 32-bit program) on 64-bit Windows: it installs
// the x86 programs and, for 64-bit Explorer, the x64 extension beside the
// x86 one, each registered in its own registry view, so that the menus work
// in either Explorer.

#include "tests/shellext/MenuServer.h"
#include "tests/support/WineTest.h"

#include <gtest/gtest.h>

#include <string>

using namespace testing_support;

namespace {

// Setup (a 32-bit program) on 64-bit Windows installs both builds side by
// side, each registered in its own view; the uninstaller removes both.
TEST(Setup64, InstallsAndRegistersBothBuildsAndTheUninstallerRemovesThem) {
    ASSERT_FALSE(SetupPath().empty());
    const std::string installDir = "C:\\RootCaster 64 Probe";
    const ProcessResult setup = RunProcess(SetupPath(), "\"" + SetupPath() + "\" /S /D=" + installDir);
    ASSERT_TRUE(setup.finished && setup.exitCode == 0) << Hex(setup.exitCode);
    EXPECT_EQ(ServerInView(KEY_WOW64_64KEY), installDir + "\\RootCasterMenu64.dll");
    EXPECT_EQ(ServerInView(KEY_WOW64_32KEY), installDir + "\\RootCasterMenu.dll");

    // From a copy, with _?=, the uninstaller works in place and can be awaited.
    const TempFolder folder("rootcaster-uninstaller64");
    const std::string copy = folder.Path() + "\\uninstall.exe";
    ASSERT_TRUE(::CopyFileA((installDir + "\\uninstall.exe").c_str(), copy.c_str(), FALSE)) << ::GetLastError();
    const ProcessResult uninstall = RunProcess(copy, "\"" + copy + "\" /S _?=" + installDir);
    ASSERT_TRUE(uninstall.finished);
    EXPECT_EQ(ServerInView(KEY_WOW64_64KEY), "<no key>");
    EXPECT_EQ(ServerInView(KEY_WOW64_32KEY), "<no key>");
    EXPECT_FALSE(FileExists(installDir + "\\RootCasterMenu64.dll"));
    EXPECT_FALSE(FileExists(installDir + "\\RootCasterMenu.dll"));
    RemoveTree(installDir);
}

}  // namespace
