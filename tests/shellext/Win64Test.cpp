// The 64-bit build of the folder-menu extension in a 64-bit prefix, as 64-bit
// Explorer meets it: registered by the 64-bit regsvr32 into the 64-bit
// registry view, and a marked menu folder bound and listed through the shell;
// and setup installing it there beside the 32-bit build.

#include "framework/OleSession.h"
#include "framework/UniqueHandle.h"
#include "tests/shellext/MenuServer.h"
#include "tests/shellext/ShellListing.h"
#include "tests/support/WineTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testing_support;

namespace {

const std::string kRootClassKey = "Software\\Classes\\CLSID\\{5A3C71E4-2B90-11D1-A4F6-00C04F7B3E28}";
const std::string kProbe = "C:\\rootcaster menu64 probe";

// The server of the menu root's class as one registry view shows it.
std::string ServerInView(REGSAM view) {
    fw::UniqueKey key;
    const std::string path = kRootClassKey + "\\InProcServer32";
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE | view, key.put()) != ERROR_SUCCESS) {
        return "<no key>";
    }
    char server[MAX_PATH] = {};
    DWORD size = sizeof(server) - 1;
    ::RegQueryValueExA(key.get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(server), &size);
    return server;
}

// A menu folder marked as RootCaster marks it: System attribute and a hidden
// desktop.ini naming the class for its depth.
void MarkFolder(const std::string& folder, const char* versionGroup) {
    ::CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(::SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_SYSTEM)) << folder;
    const std::string marker =
        std::string("[.ShellClassInfo]\r\nCLSID={5A3C71E4-2B90-") + versionGroup + "-A4F6-00C04F7B3E28}\r\n";
    const std::string ini = folder + "\\desktop.ini";
    ::SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(MakeFile(Wide(ini), FILE_ATTRIBUTE_HIDDEN, marker)) << ini << " " << ::GetLastError();
}

class MenuExtension64 : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_ole.Ok());
        ASSERT_FALSE(MenuDllPath().empty());
        ASSERT_EQ(sizeof(void*), 8u) << "this test checks the 64-bit build";
        RemoveTree(kProbe);
        ASSERT_TRUE(::CreateDirectoryA(kProbe.c_str(), nullptr));
        ASSERT_TRUE(::CreateDirectoryA((kProbe + "\\Sub").c_str(), nullptr));
        ASSERT_TRUE(MakeFile(kProbe + "\\note.txt"));
    }

    void TearDown() override {
        RunRegsvr32("/u");
        RemoveTree(kProbe);
        RemoveTree(MenuRoot());
    }

    fw::OleSession m_ole;
};

TEST_F(MenuExtension64, RegistersInThe64BitViewAndListsAMenuFolder) {
    ASSERT_TRUE(RunRegsvr32(""));
    EXPECT_EQ(ServerInView(KEY_WOW64_64KEY), MenuDllPath());
    EXPECT_EQ(ServerInView(KEY_WOW64_32KEY), "<no key>") << "32-bit Explorer must not load a 64-bit server";

    MarkFolder(MenuRoot(), "11D1");
    MarkFolder(MenuRoot() + "\\C", "11D3");
    MarkFolder(MenuRoot() + "\\C\\rootcaster menu64 probe", "11D2");
    const ShellFolderAt menu(Wide(MenuRoot() + "\\C\\rootcaster menu64 probe"));
    ASSERT_EQ(menu.Status(), S_OK) << Hex(static_cast<DWORD>(menu.Status()));
    const std::vector<Listed> listed = menu.List();
    const std::vector<std::wstring> expected = {L"Sub", L"note.txt"};
    EXPECT_EQ(NamesOf(listed), expected);
    const Listed* note = Find(listed, L"note.txt");
    ASSERT_TRUE(note);
    EXPECT_EQ(note->parsing, Wide(kProbe + "\\note.txt"));
    EXPECT_EQ(note->attributes & SFGAO_FILESYSTEM, static_cast<SFGAOF>(SFGAO_FILESYSTEM)) << Hex(note->attributes);

    ASSERT_TRUE(RunRegsvr32("/u"));
    EXPECT_EQ(ServerInView(KEY_WOW64_64KEY), "<no key>");
}

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
