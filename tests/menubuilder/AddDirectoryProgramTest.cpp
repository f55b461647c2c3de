// The real RootCaster.exe started with a directory on its command line, as
// the Explorer verb starts it; the prefix's folders, markers and items are
// read back through the platform afterwards.

#include "framework/OleSession.h"
#include "tests/menubuilder/MenuTestSupport.h"
#include "tests/support/WineTest.h"

#include <gtest/gtest.h>

using namespace testing_support;
using namespace menutest;

namespace {

using Names = std::set<std::string>;

class AddDirectoryProgram : public testing::Test {
protected:
    static void Add(const std::string& directory) {
        const ProcessResult run = RunProgram(ProgramPath(), directory, 30000);
        EXPECT_TRUE(run.finished) << directory;
        EXPECT_EQ(run.exitCode, 0u) << directory;
    }

    MenuGround m_ground;
    fw::OleSession m_ole;
    const std::string m_root = MenuRoot();
};

TEST_F(AddDirectoryProgram, WorkedExampleWithBothOptions) {
    SetOptions(1, 1);
    SetInstallDir(kInstallDir);
    Add("C:\\Windows\\System");
    EXPECT_TRUE(HasMarkersAlong("C\\Windows\\System"));
    for (const auto& [level, folder] : std::vector<std::pair<std::string, std::string>>{
             {"C:\\", "\\C"}, {"C:\\Windows\\", "\\C\\Windows"}, {"C:\\Windows\\System\\", "\\C\\Windows\\System"}}) {
        EXPECT_TRUE(IsShortcut(m_root + folder + "\\Open.lnk", OpenItem(level)));
        EXPECT_TRUE(IsShortcut(m_root + folder + "\\MS-DOS Prompt.lnk", DOSPromptItem(level)));
    }
    EXPECT_EQ(Entries(m_root), (Names{"C", "desktop.ini"})) << "the menu root holds no items";
    EXPECT_EQ(Entries(m_root + "\\C\\Windows\\System"), (Names{"desktop.ini", "MS-DOS Prompt.lnk", "Open.lnk"}));
}

TEST_F(AddDirectoryProgram, StartMenuFolderAndItsParentsAreNeverMarked) {
    const std::string startMenu = StartMenuPath();
    const std::string parent = startMenu.substr(0, startMenu.rfind('\\'));
    const Names before = Snapshot(parent, 1);
    Add("C:\\Windows");
    Names after = Snapshot(parent, 1);
    EXPECT_EQ(after.erase("Start Menu\\RootCaster " + Hex(::GetFileAttributesA(m_root.c_str()))), 1u);
    EXPECT_EQ(after, before) << "attributes and files of the Start Menu's folder stay";
    EXPECT_EQ(Entries(startMenu).count("desktop.ini"), 0u);
}

TEST_F(AddDirectoryProgram, DefaultOptionsMakeOpenItemsOnly) {
    Add("C:\\Windows");
    EXPECT_EQ(Entries(m_root + "\\C"), (Names{"desktop.ini", "Open.lnk", "Windows"}));
    EXPECT_EQ(Entries(m_root + "\\C\\Windows"), (Names{"desktop.ini", "Open.lnk"}));
}

TEST_F(AddDirectoryProgram, BothOptionsOffMakeFoldersOnly) {
    SetOptions(0, 0);
    Add("C:\\Windows");
    EXPECT_EQ(Entries(m_root + "\\C"), (Names{"desktop.ini", "Windows"}));
    EXPECT_EQ(Entries(m_root + "\\C\\Windows"), (Names{"desktop.ini"}));
}

TEST_F(AddDirectoryProgram, NetworkPathGetsNoItemsForItsLeadingBackslashes) {
    SetOptions(1, 1);
    SetInstallDir(kInstallDir);
    Add("\\\\srv\\pub\\docs");
    EXPECT_TRUE(HasMarkersAlong("srv\\pub\\docs"));
    EXPECT_EQ(Entries(m_root), (Names{"desktop.ini", "srv"}));
    EXPECT_TRUE(IsShortcut(m_root + "\\srv\\Open.lnk", OpenItem("\\\\srv\\")));
    EXPECT_TRUE(IsShortcut(m_root + "\\srv\\pub\\MS-DOS Prompt.lnk", DOSPromptItem("\\\\srv\\pub\\")));
    EXPECT_TRUE(IsShortcut(m_root + "\\srv\\pub\\docs\\Open.lnk", OpenItem("\\\\srv\\pub\\docs\\")));
}

TEST_F(AddDirectoryProgram, DriveWithOrWithoutBackslashIsTheDriveRoot) {
    SetInstallDir(kInstallDir);
    Add("D:");
    Add("C:\\");
    for (const std::string drive : {"C", "D"}) {
        EXPECT_TRUE(HasMarker(m_root + "\\" + drive, kFirstLevelId));
        EXPECT_EQ(Entries(m_root + "\\" + drive), (Names{"desktop.ini", "Open.lnk"}));
        EXPECT_TRUE(IsShortcut(m_root + "\\" + drive + "\\Open.lnk", OpenItem(drive + ":\\")));
    }
    EXPECT_EQ(Entries(m_root), (Names{"C", "D", "desktop.ini"}));
}

TEST_F(AddDirectoryProgram, ClosingBackslashMakesNoDifference) {
    Add("C:\\Windows");
    const Names without = Snapshot(m_root, 5);
    RemoveTree(m_root);
    Add("C:\\Windows\\");
    EXPECT_EQ(Snapshot(m_root, 5), without);
}

// Windows refuses to re-create the hidden marker where Wine replaces it; in
// both the marker ends with the same bytes and attributes, which is checked.
// Wine keeps no Archive or Read-only bit on a folder (it stores only Hidden
// and System), so Hidden stands for the attributes a folder already has.
TEST_F(AddDirectoryProgram, SecondAddKeepsFoldersAndMarkersAndSavesItemsAgain) {
    SetInstallDir(kInstallDir);
    Add("C:\\Windows");
    const std::string windows = m_root + "\\C\\Windows";
    ASSERT_TRUE(::SetFileAttributesA(windows.c_str(), FILE_ATTRIBUTE_HIDDEN));
    Spoil(windows + "\\Open.lnk");
    Spoil(m_root + "\\C\\Open.lnk");
    Add("C:\\Windows");
    EXPECT_EQ(Hex(::GetFileAttributesA(windows.c_str())),
              Hex(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
        << "System comes back and Hidden stays";
    EXPECT_TRUE(HasMarkersAlong("C\\Windows"));
    EXPECT_TRUE(IsShortcut(windows + "\\Open.lnk", OpenItem("C:\\Windows\\")));
    EXPECT_TRUE(IsShortcut(m_root + "\\C\\Open.lnk", OpenItem("C:\\")));
}

TEST_F(AddDirectoryProgram, DeeperAddAfterShallowerAddsTheNewLevelAndSavesUpperItemsAgain) {
    SetInstallDir(kInstallDir);
    Add("C:\\Windows");
    Spoil(m_root + "\\C\\Windows\\Open.lnk");
    Add("C:\\Windows\\System");
    EXPECT_TRUE(HasMarkersAlong("C\\Windows\\System"));
    EXPECT_TRUE(IsShortcut(m_root + "\\C\\Windows\\Open.lnk", OpenItem("C:\\Windows\\")));
    EXPECT_TRUE(IsShortcut(m_root + "\\C\\Windows\\System\\Open.lnk", OpenItem("C:\\Windows\\System\\")));
}

TEST_F(AddDirectoryProgram, DirectoryThatDoesNotExistIsAddedLikeAnyOther) {
    SetInstallDir(kInstallDir);
    Add("C:\\No Such Folder\\Below It");
    EXPECT_TRUE(HasMarkersAlong("C\\No Such Folder\\Below It"));
    EXPECT_TRUE(
        IsShortcut(m_root + "\\C\\No Such Folder\\Below It\\Open.lnk", OpenItem("C:\\No Such Folder\\Below It\\")));
}

TEST_F(AddDirectoryProgram, WithoutInstallDirIconsNameTheFileAlone) {
    SetOptions(1, 1);
    Add("C:\\");
    EXPECT_TRUE(IsShortcut(m_root + "\\C\\Open.lnk", OpenItem("C:\\", "")));
    EXPECT_TRUE(IsShortcut(m_root + "\\C\\MS-DOS Prompt.lnk", DOSPromptItem("C:\\", "")));
    EXPECT_TRUE(HasMarker(m_root + "\\C", kFirstLevelId)) << "folders are marked all the same";
}

TEST_F(AddDirectoryProgram, PathsInsideTheStartMenuAddNothingInAnyLetterCase) {
    const std::string startMenu = StartMenuPath();
    std::string lower = startMenu, upper = startMenu;
    for (char& c : lower) c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
    for (char& c : upper) c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
    for (const std::string& path : {startMenu, lower + "\\Programs", upper + "\\", startMenu + " Backup"}) {
        Add(path);
        EXPECT_FALSE(FolderExists(m_root)) << path;
    }
}

TEST_F(AddDirectoryProgram, QuotedPathKeepsItsQuotesAndAddsNothing) {
    Add("\"C:\\Windows\"");
    EXPECT_FALSE(FolderExists(m_root)) << "a folder named with a quote can't be made, so none is";
}

// Windows 95 gets folders and items but no markers; 98 and NT 4.0 get both.
class MarkingByVersion : public AddDirectoryProgram {};

TEST_F(MarkingByVersion, Windows95CreatesFoldersAndItemsWithoutMarkers) {
    ScopedWindowsVersion version("RootCaster.exe", "win95");
    SetInstallDir(kInstallDir);
    Add("C:\\Windows\\System");
    for (const std::string folder : {"", "\\C", "\\C\\Windows", "\\C\\Windows\\System"}) {
        EXPECT_TRUE(IsUnmarked(m_root + folder));
    }
    EXPECT_TRUE(IsShortcut(m_root + "\\C\\Windows\\System\\Open.lnk", OpenItem("C:\\Windows\\System\\")));
}

TEST_F(MarkingByVersion, Windows98AndNT4MarkEveryMenuFolder) {
    for (const char* name : {"win98", "nt40"}) {
        RemoveTree(m_root);
        ScopedWindowsVersion version("RootCaster.exe", name);
        Add("\\\\srv\\pub");
        EXPECT_TRUE(HasMarkersAlong("srv\\pub")) << name;
    }
}

// Paths whose text would climb out of the menu root, or land under another
// name, create, mark and write nothing: not outside the menu root (where
// the climbs would end) and not inside it.
class RefusedPathsProgram : public AddDirectoryProgram {};

TEST_F(RefusedPathsProgram, ClimbingPathsTouchNothingAnywhere) {
    const std::string startMenu = StartMenuPath();
    std::string profile = startMenu;
    for (int up = 0; up < 4; ++up) profile.erase(profile.rfind('\\'));
    const std::vector<std::string> climbs = {
        "C:\\..\\..\\..\\Escaped",
        "C:/../../../Escaped",
        "\\\\..\\..\\..\\Escaped",
        "C:..\\..\\..\\Escaped",
        "C:\\.. \\..\\..\\Escaped",
        "C:\\...\\Escaped",
        "\\\\?\\C:\\Escaped",
        "\\\\.\\C:\\Escaped",
        ":\\\\Escaped",
        "C:\\\\Escaped",
        "C:\\CON\\Escaped",
        "C:\\Escaped\\nul",
        "C:\\Escaped\\desktop.ini",
        "C:\\Escaped\\x.",
        "C:\\" + std::string(250, 'n'),
    };
    for (const std::string& climb : climbs) {
        const Names drive = Snapshot("C:", 0);
        const Names home = Snapshot(profile, 6);
        Add(climb);
        EXPECT_FALSE(FolderExists(m_root)) << climb;
        EXPECT_EQ(Snapshot("C:", 0), drive) << climb;
        EXPECT_EQ(Snapshot(profile, 6), home) << climb;
    }
}

}  // namespace
