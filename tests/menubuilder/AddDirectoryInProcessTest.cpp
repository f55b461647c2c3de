// The builder called in this process: paths that can't come from a command
// line, the caller's string, folders and markers below a made-up Start Menu,
// and single shortcut items.

#include "framework/OleSession.h"
#include "menubuilder/AddDirectory.h"
#include "menubuilder/MenuFolders.h"
#include "menubuilder/ShortcutItem.h"
#include "settings/SettingsStore.h"
#include "tests/menubuilder/MenuTestSupport.h"
#include "tests/support/WineTest.h"

#include <gtest/gtest.h>

using namespace testing_support;
using namespace menutest;

namespace {

using Names = std::set<std::string>;

class InProcess : public testing::Test {
protected:
    InProcess() { settings::SettingsStore::Instance().SetRegistryKey("Quillmoor"); }

    MenuGround m_ground;
    fw::OleSession m_ole;
    const std::string m_root = MenuRoot();
};

class AddDirectoryInProcess : public InProcess {};

using menubuilder::AddStatus;

TEST_F(AddDirectoryInProcess, EmptyPathMakesAndMarksTheMenuRootAlone) {
    std::string path;
    EXPECT_EQ(menubuilder::AddDirectory(path), AddStatus::kAdded);
    EXPECT_EQ(path, "\\");
    EXPECT_TRUE(HasMarker(m_root, kRootId));
    EXPECT_EQ(Entries(m_root), (Names{"desktop.ini"}));
}

TEST_F(AddDirectoryInProcess, CallersPathGetsItsClosingBackslash) {
    std::string path = "C:\\Windows";
    menubuilder::AddDirectory(path);
    EXPECT_EQ(path, "C:\\Windows\\");
    path = "C:\\Windows\\";
    menubuilder::AddDirectory(path);
    EXPECT_EQ(path, "C:\\Windows\\");
}

TEST_F(AddDirectoryInProcess, RefusedPathStaysAsItWas) {
    for (const auto& [refused, status] :
         std::vector<std::pair<std::string, AddStatus>>{{"C:\\..\\x", AddStatus::kUnsafeName},
                                                        {"\"C:\\Windows\"", AddStatus::kRelative},
                                                        {"relative", AddStatus::kRelative},
                                                        {"C:\\" + std::string(300, 'n'), AddStatus::kTooLong}}) {
        std::string path = refused;
        EXPECT_EQ(menubuilder::AddDirectory(path), status) << refused;
        EXPECT_EQ(path, refused);
    }
    std::string inside = StartMenuPath();
    EXPECT_EQ(menubuilder::AddDirectory(inside), AddStatus::kInsideStartMenu);
    EXPECT_EQ(inside, StartMenuPath());
    EXPECT_FALSE(FolderExists(m_root));
}

// The shell finds no Start Menu when its folder lies on a drive that does
// not exist.
TEST_F(AddDirectoryInProcess, WithoutAStartMenuNothingIsAdded) {
    const std::string shellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    const std::optional<RawValue> saved = ReadRaw(HKEY_CURRENT_USER, shellFolders, "Start Menu");
    ASSERT_TRUE(saved);
    SetText(HKEY_CURRENT_USER, shellFolders, "Start Menu", "Q:\\Start Menu");
    std::string path = "C:\\Windows";
    const AddStatus status = menubuilder::AddDirectory(path);
    SetRaw(HKEY_CURRENT_USER, shellFolders, "Start Menu", saved->type, saved->data);
    EXPECT_EQ(status, AddStatus::kNoStartMenu);
    EXPECT_EQ(path, "C:\\Windows") << "the path was not taken up";
    EXPECT_FALSE(FolderExists(m_root));
}

// A made-up Start Menu whose own path names RootCaster: only the menu root
// below it and the folders below that are marked, each by its depth.
class CreateMenuFolders : public InProcess {
protected:
    TempFolder m_profile{"RootCaster User"};
    const std::string m_startMenu = m_profile.Path() + "\\Start Menu";
    const std::string m_base = m_startMenu + "\\RootCaster\\";
};

TEST_F(CreateMenuFolders, MarksByDepthBelowTheMenuRootAndNothingAboveIt) {
    menubuilder::CreateMenuFolders(m_base + "C\\Program Files\\RootCaster", m_base);
    EXPECT_TRUE(IsUnmarked(m_profile.Path()));
    EXPECT_TRUE(IsUnmarked(m_startMenu));
    EXPECT_TRUE(HasMarker(m_startMenu + "\\RootCaster", kRootId));
    EXPECT_TRUE(HasMarker(m_base + "C", kFirstLevelId));
    EXPECT_TRUE(HasMarker(m_base + "C\\Program Files", kDeeperId));
    EXPECT_TRUE(HasMarker(m_base + "C\\Program Files\\RootCaster", kDeeperId));
}

TEST_F(CreateMenuFolders, DriveRootWithClosingBackslashMakesTheSameFolders) {
    menubuilder::CreateMenuFolders(m_base + "C\\", m_base);
    const Names withBackslash = Snapshot(m_startMenu, 3);
    RemoveTree(m_startMenu);
    menubuilder::CreateMenuFolders(m_base + "C", m_base);
    EXPECT_EQ(Snapshot(m_startMenu, 3), withBackslash);
    EXPECT_TRUE(HasMarker(m_base + "C", kFirstLevelId));
}

// Wine keeps no Archive or Read-only bit on a folder (it stores only Hidden
// and System), so Hidden stands for the attributes a folder already has.
TEST_F(CreateMenuFolders, KeepsAFoldersAttributesWhenAddingSystem) {
    const std::string drive = m_base + "C";
    ASSERT_TRUE(::CreateDirectoryA(m_startMenu.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA((m_startMenu + "\\RootCaster").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA(drive.c_str(), nullptr));
    ASSERT_TRUE(::SetFileAttributesA(drive.c_str(), FILE_ATTRIBUTE_HIDDEN));
    menubuilder::CreateMenuFolders(drive, m_base);
    EXPECT_EQ(Hex(::GetFileAttributesA(drive.c_str())),
              Hex(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

TEST_F(CreateMenuFolders, WriteDesktopIniLeavesFoldersAboveTheMenuRootAlone) {
    ASSERT_TRUE(::CreateDirectoryA(m_startMenu.c_str(), nullptr));
    menubuilder::WriteDesktopIni(m_startMenu, m_base);
    menubuilder::WriteDesktopIni(m_profile.Path(), m_base);
    EXPECT_FALSE(FileExists(m_startMenu + "\\desktop.ini"));
    EXPECT_FALSE(FileExists(m_profile.Path() + "\\desktop.ini"));
}

class CreateShortcutItem : public InProcess {
protected:
    TempFolder m_folder{"rootcaster-items"};
    const std::string m_link = m_folder.Path() + "\\Item.lnk";
};

TEST_F(CreateShortcutItem, KindOpenInAnyCaseMakesAnOpenItemDescribedByTheKindText) {
    SetInstallDir(kInstallDir);
    for (const std::string kind : {"Open", "open", "OPEN"}) {
        EXPECT_EQ(menubuilder::CreateShortcutItem("C:\\", m_link, kind), S_OK);
        ExpectedShortcut expected = OpenItem("C:\\");
        expected.description = kind;
        EXPECT_TRUE(IsShortcut(m_link, expected));
    }
}

TEST_F(CreateShortcutItem, AnyOtherKindMakesAnMSDOSPromptItem) {
    SetInstallDir(kInstallDir);
    EXPECT_EQ(menubuilder::CreateShortcutItem("C:\\", m_link, "MS-DOS Prompt"), S_OK);
    EXPECT_TRUE(IsShortcut(m_link, DOSPromptItem("C:\\")));
    EXPECT_EQ(menubuilder::CreateShortcutItem("D:\\x\\", m_link, "Shell"), S_OK);
    ExpectedShortcut expected = DOSPromptItem("D:\\x\\");
    expected.description = "Shell";
    EXPECT_TRUE(IsShortcut(m_link, expected));
}

TEST_F(CreateShortcutItem, ReadsTheInstallationDirectoryForEveryItem) {
    EXPECT_EQ(menubuilder::CreateShortcutItem("C:\\", m_link, "Open"), S_OK);
    EXPECT_TRUE(IsShortcut(m_link, OpenItem("C:\\", "")));
    SetInstallDir("D:\\Elsewhere");
    EXPECT_EQ(menubuilder::CreateShortcutItem("C:\\", m_link, "Open"), S_OK);
    EXPECT_TRUE(IsShortcut(m_link, OpenItem("C:\\", "D:\\Elsewhere")));
}

TEST_F(CreateShortcutItem, ReplacesAnExistingItem) {
    Spoil(m_link);
    EXPECT_EQ(menubuilder::CreateShortcutItem("C:\\", m_link, "Open"), S_OK);
    EXPECT_TRUE(IsShortcut(m_link, OpenItem("C:\\", "")));
}

TEST_F(CreateShortcutItem, MissingFolderGivesNoItemAndAFailure) {
    const HRESULT status = menubuilder::CreateShortcutItem("C:\\", m_folder.Path() + "\\missing\\Open.lnk", "Open");
    EXPECT_TRUE(FAILED(status)) << Hex(static_cast<DWORD>(status));
    EXPECT_EQ(Entries(m_folder.Path()), Names{});
}

TEST_F(CreateShortcutItem, LinkPathBeyond259CharactersGivesNoItemAndAFailure) {
    const std::string prefix = m_folder.Path() + "\\";
    const std::string fitting = prefix + std::string(259 - prefix.size() - 4, 'n') + ".lnk";
    ASSERT_EQ(fitting.size(), 259u);
    EXPECT_EQ(menubuilder::CreateShortcutItem("C:\\", fitting, "Open"), S_OK);
    EXPECT_TRUE(IsShortcut(fitting, OpenItem("C:\\", "")));
    ASSERT_TRUE(::DeleteFileA(fitting.c_str()));
    const std::string tooLong = prefix + std::string(260 - prefix.size() - 4, 'n') + ".lnk";
    const HRESULT status = menubuilder::CreateShortcutItem("C:\\", tooLong, "Open");
    EXPECT_EQ(Hex(static_cast<DWORD>(status)), Hex(static_cast<DWORD>(HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE))));
    EXPECT_EQ(Entries(m_folder.Path()), Names{}) << "nothing under a cut name";
}

}  // namespace
