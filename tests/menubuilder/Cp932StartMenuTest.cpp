// A Start Menu whose path holds katakana so (U+30BD; bytes 83 5C in code
// page 932, so its trail byte is a backslash), seen with the real code page:
// CTest starts this program under a Japanese locale, in which Wine gives it
// code page 932. The Start Menu is moved there through User Shell Folders.

#include "framework/OleSession.h"
#include "menubuilder/AddDirectory.h"
#include "settings/SettingsStore.h"
#include "tests/menubuilder/MenuTestSupport.h"
#include "tests/support/WineTest.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <optional>
#include <vector>

using namespace testing_support;
using namespace menutest;

namespace {

// "ソフト" in code page 932.
const std::string kUserFolder = "C:\\users\\\x83\x5C\x83\x74\x83\x67";
const std::string kStartMenu = kUserFolder + "\\Start Menu";
const std::string kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// The user's Start Menu is `kStartMenu` while the object lives.
class MovedStartMenu {
public:
    MovedStartMenu() : m_before(ReadRaw(HKEY_CURRENT_USER, kShellFolders, "Start Menu")) {
        ::CreateDirectoryA(kUserFolder.c_str(), nullptr);
        ::CreateDirectoryA(kStartMenu.c_str(), nullptr);
        SetRaw(HKEY_CURRENT_USER, kShellFolders, "Start Menu", REG_EXPAND_SZ,
               std::vector<BYTE>(kStartMenu.c_str(), kStartMenu.c_str() + kStartMenu.size() + 1));
    }
    ~MovedStartMenu() {
        if (m_before) {
            SetRaw(HKEY_CURRENT_USER, kShellFolders, "Start Menu", m_before->type, m_before->data);
        } else {
            ::SHDeleteValueA(HKEY_CURRENT_USER, kShellFolders.c_str(), "Start Menu");
        }
        RemoveTree(kUserFolder);
    }
    MovedStartMenu(const MovedStartMenu&) = delete;
    MovedStartMenu& operator=(const MovedStartMenu&) = delete;

private:
    std::optional<RawValue> m_before;
};

class Cp932StartMenu : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(::GetACP(), 932u) << "this program must run under a Japanese locale (LOCPATH, LC_ALL)";
        ASSERT_EQ(StartMenuPath(), kStartMenu) << "the Start Menu was not moved";
        settings::SettingsStore::Instance().SetRegistryKey(settings::kCompanyKey);
    }

    MovedStartMenu m_moved;
    MenuGround m_ground;
    fw::OleSession m_ole;
};

TEST_F(Cp932StartMenu, AddingADirectoryMakesTheMenuThereAndNothingElse) {
    const auto users = Entries("C:\\users");
    std::string path = "C:\\Windows";
    menubuilder::AddDirectory(path);
    EXPECT_TRUE(HasMarkersAlong("C\\Windows"));
    EXPECT_TRUE(FileExists(kStartMenu + "\\RootCaster\\C\\Windows\\Open.lnk"));
    EXPECT_EQ(Entries("C:\\users"), users) << "no folder made beside the user's";
    EXPECT_EQ(Entries(kUserFolder), (std::set<std::string>{"Start Menu"}));
}

}  // namespace
