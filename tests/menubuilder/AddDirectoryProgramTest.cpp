// The real RootCaster.exe started with a directory on its command line, as
// the Explorer verb starts it; the prefix's folders, markers and items are
// read back through the platform afterwards.

#include "framework/OleSession.h"
#include "framework/UniqueHandle.h"
#include "tests/menubuilder/MenuTestSupport.h"
#include "tests/support/WineTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

using namespace testing_support;
using namespace menutest;

namespace {

using Names = std::set<std::string>;

class AddDirectoryProgram : public testing::Test {
protected:
    static void Add(const std::string& directory, DWORD status = kAdded) {
        const ProcessResult run = RunProgram(ProgramPath(), directory, 30000);
        EXPECT_TRUE(run.finished) << directory;
        EXPECT_EQ(run.exitCode, status) << directory;
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
        Add(path, kRefusedInsideStartMenu);
        EXPECT_FALSE(FolderExists(m_root)) << path;
    }
}

TEST_F(AddDirectoryProgram, QuotedPathKeepsItsQuotesAndAddsNothing) {
    Add("\"C:\\Windows\"", kRefusedRelative);
    EXPECT_FALSE(FolderExists(m_root)) << "a quote is no drive letter";
}

// The target is what %ComSpec% holds when the item is made, expanded; a
// value that is missing or too long for a link's target gives the default.
TEST_F(AddDirectoryProgram, MSDOSPromptStartsTheInterpreterTheSystemNames) {
    SetOptions(0, 1);
    SetInstallDir(kInstallDir);
    const std::string named = NamedCommandInterpreter();
    ASSERT_FALSE(named.empty());
    ASSERT_NE(named, kDefaultCommandInterpreter) << "the prefix names an interpreter of its own";
    Add("C:\\");
    EXPECT_TRUE(IsShortcut(m_root + "\\C\\MS-DOS Prompt.lnk", DOSPromptItem("C:\\")));

    // 259 characters, the longest target, as the value itself and expanded.
    const std::string longest = "C:\\" + std::string(252, 'c') + ".exe";
    const std::string folder = "C:\\" + std::string(197, 'p');
    const std::string expandsToLongest = "%RootCasterProbe%\\" + std::string(58, 'c');
    ASSERT_EQ(longest.size(), 259u);
    ASSERT_EQ(folder.size() + 1 + 58, 259u);
    ScopedEnvironmentVariable probe("RootCasterProbe", folder.c_str());
    const std::vector<std::pair<std::optional<std::string>, std::string>> cases = {
        {std::nullopt, kDefaultCommandInterpreter},
        {"", kDefaultCommandInterpreter},
        {"%RootCasterProbe%\\shell.exe", folder + "\\shell.exe"},
        {longest, longest},
        {longest + "e", kDefaultCommandInterpreter},
        {expandsToLongest, folder + "\\" + std::string(58, 'c')},
        {expandsToLongest + "c", kDefaultCommandInterpreter},
    };
    for (const auto& [comSpec, expected] : cases) {
        SCOPED_TRACE("ComSpec " + comSpec.value_or("removed"));
        ScopedEnvironmentVariable variable("ComSpec", comSpec ? comSpec->c_str() : nullptr);
        Add("C:\\");
        ExpectedShortcut item = DOSPromptItem("C:\\");
        item.target = expected;
        EXPECT_TRUE(IsShortcut(m_root + "\\C\\MS-DOS Prompt.lnk", item));
    }
}

// A folder that a file stands in for, and a wrong marker that can't be
// replaced, leave the add incomplete; the rest of the work is done. A
// marker that can't be replaced but holds the right bytes is in place (as
// on Windows, which refuses to replace a hidden file). The tests run as
// root, whom a read-only file does not stop: a handle that denies writing
// keeps the marker as it is.
TEST_F(AddDirectoryProgram, ExitStatusSaysWhetherEveryFolderMarkerAndItemIsInPlace) {
    Add("C:\\Windows");
    const std::string marker = m_root + "\\C\\Windows\\desktop.ini";
    const auto keepMarker = [&] {
        return fw::UniqueFile(
            ::CreateFileA(marker.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    };
    {
        const fw::UniqueFile kept = keepMarker();
        ASSERT_TRUE(kept) << ::GetLastError();
        Add("C:\\Windows", kAdded);
    }
    EXPECT_TRUE(HasMarkersAlong("C\\Windows"));
    Spoil(marker);
    {
        const fw::UniqueFile kept = keepMarker();
        ASSERT_TRUE(kept) << ::GetLastError();
        Add("C:\\Windows", kIncomplete);
    }
    EXPECT_EQ(ReadFileBytes(marker), std::vector<BYTE>({'s', 'p', 'o', 'i', 'l', 't'}));

    Spoil(m_root + "\\C\\Program Files");
    Add("C:\\Program Files\\Common Files", kIncomplete);
    EXPECT_TRUE(FileExists(m_root + "\\C\\Program Files")) << "the file stays";
    EXPECT_TRUE(HasMarkersAlong("C"));
    EXPECT_TRUE(IsShortcut(m_root + "\\C\\Open.lnk", OpenItem("C:\\", "")));
}

// A run started suspended, so that several can be let go at the same moment.
class SuspendedRun {
public:
    explicit SuspendedRun(const std::string& directory) {
        std::string line = "\"" + ProgramPath() + "\" " + directory;
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        EXPECT_TRUE(::CreateProcessA(ProgramPath().c_str(), &line[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                                     nullptr, nullptr, &startup, &info))
            << ::GetLastError();
        m_process.reset(info.hProcess);
        m_thread.reset(info.hThread);
    }

    ~SuspendedRun() {
        if (m_process && ::WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(m_process.get(), 99);
        }
    }
    SuspendedRun(const SuspendedRun&) = delete;
    SuspendedRun& operator=(const SuspendedRun&) = delete;

    void Resume() const { ::ResumeThread(m_thread.get()); }

    // The exit status, once the run has ended.
    std::optional<DWORD> WaitForExit() const {
        DWORD status = 0;
        if (::WaitForSingleObject(m_process.get(), 60000) != WAIT_OBJECT_0) {
            ::TerminateProcess(m_process.get(), 99);
            return std::nullopt;
        }
        ::GetExitCodeProcess(m_process.get(), &status);
        return status;
    }

private:
    fw::UniqueProcess m_process;
    fw::UniqueProcess m_thread;
};

// Choosing "Add to RootCaster!" on several selected folders starts one
// program per folder, all at once: every menu is whole and no raise of the
// counter is lost. The adds take turns, so that their raises hardly ever
// meet; the refused runs, which make nothing, raise it at nearly the same
// moment (without the lock, two runs of this test in three lost a raise).
TEST_F(AddDirectoryProgram, ConcurrentRunsEachRaiseTheCounterAndMakeWholeMenus) {
    constexpr int kRuns = 8;
    std::vector<std::unique_ptr<SuspendedRun>> adds, refusals;
    for (int run = 0; run < kRuns; ++run) {
        adds.push_back(std::make_unique<SuspendedRun>("C:\\Selected\\Folder " + std::to_string(run)));
        for (const char* refused : {"Selected\\Folder ", "Selected:\\Folder "}) {
            refusals.push_back(std::make_unique<SuspendedRun>(refused + std::to_string(run)));
        }
    }
    for (const auto& run : refusals) run->Resume();
    for (const auto& run : adds) run->Resume();
    for (const auto& run : adds) EXPECT_EQ(run->WaitForExit(), kAdded);
    for (const auto& run : refusals) EXPECT_EQ(run->WaitForExit(), kRefusedRelative);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, "Software\\Quillmoor\\RootCaster\\Stats", "Times"), DWORD{3 * kRuns});
    for (int run = 0; run < kRuns; ++run) {
        const std::string folder = "C\\Selected\\Folder " + std::to_string(run);
        EXPECT_TRUE(HasMarkersAlong(folder));
        EXPECT_TRUE(IsShortcut(m_root + "\\" + folder + "\\Open.lnk",
                               OpenItem("C:\\Selected\\Folder " + std::to_string(run) + "\\", "")));
    }
    EXPECT_TRUE(IsShortcut(m_root + "\\C\\Selected\\Open.lnk", OpenItem("C:\\Selected\\", "")));
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

// Paths whose text would climb out of the menu root, land under another
// name, or mean another directory to the menu than to its items, create,
// mark and write nothing: not outside the menu root (where the climbs would
// end) and not inside it. The exit status names the reason.
class RefusedPathsProgram : public AddDirectoryProgram {};

TEST_F(RefusedPathsProgram, ClimbingAndRelativePathsTouchNothingAnywhere) {
    const std::string startMenu = StartMenuPath();
    std::string profile = startMenu;
    for (int up = 0; up < 4; ++up) profile.erase(profile.rfind('\\'));
    const std::vector<std::pair<std::string, DWORD>> refusals = {
        {"C:\\..\\..\\..\\Escaped", kRefusedUnsafeName},
        {"C:/../../../Escaped", kRefusedRelative},
        {"\\\\..\\..\\..\\Escaped", kRefusedUnsafeName},
        {"C:..\\..\\..\\Escaped", kRefusedRelative},
        {"C:\\.. \\..\\..\\Escaped", kRefusedUnsafeName},
        {"C:\\...\\Escaped", kRefusedUnsafeName},
        {"\\\\?\\C:\\Escaped", kRefusedUnsafeName},
        {"\\\\.\\C:\\Escaped", kRefusedUnsafeName},
        {":\\\\Escaped", kRefusedRelative},
        {"C:\\\\Escaped", kRefusedUnsafeName},
        {"C:\\CON\\Escaped", kRefusedUnsafeName},
        {"C:\\Escaped\\nul", kRefusedUnsafeName},
        {"C:\\Escaped\\desktop.ini", kRefusedUnsafeName},
        {"C:\\Escaped\\x.", kRefusedUnsafeName},
        {"C:\\" + std::string(250, 'n'), kRefusedTooLong},
        {"relative\\dir", kRefusedRelative},
        {"Escaped", kRefusedRelative},
        {"C:Escaped", kRefusedRelative},
        {"\\Escaped\\dir", kRefusedRelative},
    };
    for (const auto& [path, status] : refusals) {
        const Names drive = Snapshot("C:", 0);
        const Names home = Snapshot(profile, 6);
        Add(path, status);
        EXPECT_FALSE(FolderExists(m_root)) << path;
        EXPECT_EQ(Snapshot("C:", 0), drive) << path;
        EXPECT_EQ(Snapshot(profile, 6), home) << path;
    }
}

// "/remove DIRECTORY" after adds, over the user's own files and folders
// below the menu root. Whatever a case does, nothing outside the menu root
// changes and everything the user put there is still there, unchanged.
class RemoveDirectoryProgram : public AddDirectoryProgram {
protected:
    RemoveDirectoryProgram() {
        SetOptions(1, 1);
        for (int up = 0; up < 4; ++up) m_profile.erase(m_profile.rfind('\\'));
    }

    static void Remove(const std::string& directory, DWORD status) {
        const ProcessResult run = RunProgram(ProgramPath(), "/remove " + directory, 30000);
        EXPECT_TRUE(run.finished) << directory;
        EXPECT_EQ(run.exitCode, status) << "removing '" << directory << "'";
    }

    // The profile's files and folders outside the menu root, and the drive's.
    Names Outside() const {
        const std::string below = m_root.substr(m_profile.size() + 1);
        Names outside = Snapshot(m_profile, 6);
        for (auto entry = outside.begin(); entry != outside.end();) {
            const bool inRoot = entry->compare(0, below.size() + 1, below + "\\") == 0 ||
                                entry->compare(0, below.size() + 1, below + " ") == 0;
            entry = inRoot ? outside.erase(entry) : std::next(entry);
        }
        for (const std::string& entry : Snapshot("C:", 0)) outside.insert("C: " + entry);
        return outside;
    }

    // The names below the menu root, without attributes.
    Names Left() const {
        Names left;
        for (const std::string& entry : Snapshot(m_root, 8)) left.insert(entry.substr(0, entry.rfind(' ')));
        return left;
    }

    std::string m_profile = StartMenuPath();
};

// Names below the menu root; "X*" stands for the level X with its marker
// and both items.
Names Tree(const std::vector<std::string>& names) {
    Names tree;
    for (const std::string& name : names) {
        if (name.back() != '*') {
            tree.insert(name);
            continue;
        }
        const std::string level = name.substr(0, name.size() - 1);
        tree.insert({level, level + "\\desktop.ini", level + "\\Open.lnk", level + "\\MS-DOS Prompt.lnk"});
    }
    return tree;
}

struct RemovalCase {
    std::string what;
    std::vector<std::string> adds;
    std::vector<std::pair<std::string, std::string>> planted;  // below the menu root: bytes, or a folder for ""
    std::string heldOpen;                                      // below the menu root, held without FILE_SHARE_DELETE
    std::string removed;
    DWORD status;
    Names left;  // below the menu root; nothing: the menu root is gone
};

TEST_F(RemoveDirectoryProgram, TakesOffOnlyRootCastersObjectsAndTheFoldersTheyLeaveEmpty) {
    const std::string deeperMarker = std::string("[.ShellClassInfo]\r\nCLSID=") + kDeeperId + "\r\n";
    const std::string foreignMarker = "[.ShellClassInfo]\r\nIconResource=shell32.dll,3\r\n";
    const std::vector<std::string> windowsMenu = {"desktop.ini", "C*", "C\\Windows*"};
    const std::vector<RemovalCase> cases = {
        {"every level of one directory", {"C:\\Windows\\System"}, {}, "", "C:\\Windows\\System", kAdded, {}},
        {"a level with the levels below it",
         {"C:\\Windows\\System", "C:\\Windows\\Fonts"},
         {},
         "",
         "C:\\Windows\\",
         kAdded,
         {}},
        {"one of two directories below one level",
         {"C:\\A\\One", "C:\\A\\Two"},
         {},
         "",
         "C:\\A\\One",
         kAdded,
         Tree({"desktop.ini", "C*", "C\\A*", "C\\A\\Two*"})},
        {"a level in a deeper tree",
         {"C:\\A\\B\\C", "C:\\A\\B\\D", "C:\\A\\E"},
         {},
         "",
         "C:\\A\\B",
         kAdded,
         Tree({"desktop.ini", "C*", "C\\A*", "C\\A\\E*"})},
        {"a drive beside another",
         {"C:\\Windows", "D:\\Data"},
         {},
         "",
         "C:",
         kAdded,
         Tree({"desktop.ini", "D*", "D\\Data*"})},
        {"a server beside a drive",
         {"\\\\srv\\pub\\docs", "C:\\"},
         {},
         "",
         "\\\\srv",
         kAdded,
         Tree({"desktop.ini", "C*"})},
        {"a share",
         {"\\\\srv\\pub\\docs", "\\\\srv\\bin"},
         {},
         "",
         "\\\\srv\\pub\\",
         kAdded,
         Tree({"desktop.ini", "srv*", "srv\\bin*"})},
        {"the user's file and empty folder in the directory's levels",
         {"C:\\Windows\\System"},
         {{"C\\Windows\\System\\notes.txt", "mine"}, {"C\\Windows\\Empty", ""}},
         "",
         "C:\\Windows",
         kAdded,
         Tree({"desktop.ini", "C*", "C\\Windows", "C\\Windows\\Empty", "C\\Windows\\System",
               "C\\Windows\\System\\notes.txt"})},
        {"the user's file in a parent level",
         {"C:\\Windows"},
         {{"C\\notes.txt", "mine"}},
         "",
         "C:\\Windows",
         kAdded,
         Tree({"desktop.ini", "C*", "C\\notes.txt"})},
        {"the user's file at the menu root",
         {"C:\\Windows"},
         {{"notes.txt", "mine"}},
         "",
         "C:\\Windows",
         kAdded,
         Tree({"desktop.ini", "notes.txt"})},
        {"a foreign desktop.ini",
         {"C:\\Windows"},
         {{"C\\Windows\\desktop.ini", foreignMarker}},
         "",
         "C:\\Windows",
         kAdded,
         Tree({"desktop.ini", "C*", "C\\Windows", "C\\Windows\\desktop.ini"})},
        {"a marker with one byte more",
         {"C:\\Windows"},
         {{"C\\Windows\\desktop.ini", deeperMarker + " "}},
         "",
         "C:\\Windows",
         kAdded,
         Tree({"desktop.ini", "C*", "C\\Windows", "C\\Windows\\desktop.ini"})},
        {"an item in use",
         {"C:\\Windows\\System"},
         {},
         "C\\Windows\\System\\Open.lnk",
         "C:\\Windows",
         kIncomplete,
         Tree({"desktop.ini", "C*", "C\\Windows", "C\\Windows\\System", "C\\Windows\\System\\Open.lnk"})},
        {"no menu root", {}, {}, "", "C:\\Windows", kNoSuchMenu, {}},
        {"no menu of that directory", {"C:\\Windows"}, {}, "", "C:\\Program Files", kNoSuchMenu, Tree(windowsMenu)},
        {"no menu of that drive", {"C:\\Windows"}, {}, "", "D:\\", kNoSuchMenu, Tree(windowsMenu)},
        {"a file where the menu folder would be",
         {"C:\\Windows"},
         {{"C\\Windows\\System", "mine"}},
         "",
         "C:\\Windows\\System",
         kNoSuchMenu,
         Tree({"desktop.ini", "C*", "C\\Windows*", "C\\Windows\\System"})},
        {"a path that climbs", {"C:\\Windows"}, {}, "", "C:\\Windows\\..", kRefusedUnsafeName, Tree(windowsMenu)},
        {"a relative path", {"C:\\Windows"}, {}, "", "Windows", kRefusedRelative, Tree(windowsMenu)},
        {"no path", {"C:\\Windows"}, {}, "", "", kRefusedRelative, Tree(windowsMenu)},
        {"the Start Menu",
         {"C:\\Windows"},
         {},
         "",
         StartMenuPath() + "\\RootCaster\\C",
         kRefusedInsideStartMenu,
         Tree(windowsMenu)},
        {"a path too long",
         {"C:\\Windows"},
         {},
         "",
         "C:\\" + std::string(250, 'n'),
         kRefusedTooLong,
         Tree(windowsMenu)},
    };
    for (const RemovalCase& removal : cases) {
        SCOPED_TRACE(removal.what);
        RemoveTree(m_root);
        for (const std::string& directory : removal.adds) Add(directory);
        for (const auto& [name, bytes] : removal.planted) {
            const std::string path = m_root + "\\" + name;
            ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            ASSERT_TRUE(bytes.empty() ? ::CreateDirectoryA(path.c_str(), nullptr)
                                      : MakeFile(Wide(path), FILE_ATTRIBUTE_NORMAL, bytes))
                << path;
        }
        const Names outside = Outside();
        {
            const std::string held = m_root + "\\" + removal.heldOpen;
            const fw::UniqueFile open(
                removal.heldOpen.empty()
                    ? INVALID_HANDLE_VALUE
                    : ::CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
            EXPECT_EQ(removal.heldOpen.empty(), !open) << held;
            Remove(removal.removed, removal.status);
        }
        EXPECT_EQ(Left(), removal.left);
        EXPECT_EQ(FolderExists(m_root), !removal.left.empty());
        EXPECT_EQ(Outside(), outside) << "nothing outside the menu root changed";
        for (const auto& [name, bytes] : removal.planted) {
            const std::vector<BYTE> kept = ReadFileBytes(m_root + "\\" + name);
            EXPECT_EQ(std::string(kept.begin(), kept.end()), bytes) << name;
        }
    }
}

// The shell finds no Start Menu when its folder lies on a drive that does
// not exist.
TEST_F(RemoveDirectoryProgram, WithoutAStartMenuNothingIsRemoved) {
    Add("C:\\Windows");
    const Names before = Left();
    const std::string shellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    const std::optional<RawValue> saved = ReadRaw(HKEY_CURRENT_USER, shellFolders, "Start Menu");
    ASSERT_TRUE(saved);
    SetText(HKEY_CURRENT_USER, shellFolders, "Start Menu", "Q:\\Start Menu");
    Remove("C:\\Windows", kRefusedNoStartMenu);
    SetRaw(HKEY_CURRENT_USER, shellFolders, "Start Menu", saved->type, saved->data);
    EXPECT_EQ(Left(), before);
}

}  // namespace
