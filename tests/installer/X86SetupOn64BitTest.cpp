// The x86 edition's setup (a 32-bit program) on 64-bit Windows: it installs
// the x86 programs and, for 64-bit Explorer, the x64 extension beside the
// x86 one, each registered in its own registry view, so that the menus work
// in either Explorer; for all users or for the current user alone.

#include "tests/shellext/MenuServer.h"
#include "tests/support/WineTest.h"

#include <gtest/gtest.h>

#include <string>

using namespace testing_support;

namespace {

// Setup (a 32-bit program) on 64-bit Windows installs both builds side by
// side, each registered in its own view of its mode's root; the uninstaller
// removes both.
TEST(Setup64, InstallsAndRegistersBothBuildsAndTheUninstallerRemovesThem) {
    ASSERT_FALSE(SetupPath().empty());
    const std::string installDir = "C:\\RootCaster 64 Probe";
    for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        SCOPED_TRACE(root == HKEY_LOCAL_MACHINE ? "/AllUsers" : "/CurrentUser");
        const HKEY otherRoot = root == HKEY_LOCAL_MACHINE ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
        const std::string mode = root == HKEY_LOCAL_MACHINE ? " /AllUsers" : " /CurrentUser";
        const ProcessResult setup = RunProcess(SetupPath(), "\"" + SetupPath() + "\" /S" + mode + " /D=" + installDir);
        ASSERT_TRUE(setup.finished && setup.exitCode == 0) << Hex(setup.exitCode);
        EXPECT_EQ(ServerInView(KEY_WOW64_64KEY, root), installDir + "\\RootCasterMenu64.dll");
        EXPECT_EQ(ServerInView(KEY_WOW64_32KEY, root), installDir + "\\RootCasterMenu.dll");
        EXPECT_EQ(ServerInView(KEY_WOW64_64KEY, otherRoot), "<no key>");

        // From a copy, with _?=, the uninstaller works in place and can be awaited.
        const TempFolder folder("rootcaster-uninstaller64");
        const std::string copy = folder.Path() + "\\uninstall.exe";
        ASSERT_TRUE(::CopyFileA((installDir + "\\uninstall.exe").c_str(), copy.c_str(), FALSE)) << ::GetLastError();
        const ProcessResult uninstall = RunProcess(copy, "\"" + copy + "\" /S _?=" + installDir);
        ASSERT_TRUE(uninstall.finished);
        EXPECT_EQ(ServerInView(KEY_WOW64_64KEY, root), "<no key>");
        EXPECT_EQ(ServerInView(KEY_WOW64_32KEY, root), "<no key>");
        EXPECT_FALSE(FileExists(installDir + "\\RootCasterMenu64.dll"));
        EXPECT_FALSE(FileExists(installDir + "\\RootCasterMenu.dll"));
        RemoveTree(installDir);
    }
}

}  // namespace
