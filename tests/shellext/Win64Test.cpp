// The x64 edition's folder-menu extension in a 64-bit prefix, as 64-bit
// Explorer meets it: registered by the 64-bit regsvr32 into the 64-bit
// registry view only, and a marked menu folder bound and listed through the
// shell.

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

const std::string kProbe = "C:\\rootcaster menu64 probe";

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

}  // namespace
