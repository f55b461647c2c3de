// UpdateExplorerVerb against the prefix's class registry, the place the real
// program keeps the verb in under each reported Windows, and the installed
// command run the way Explorer runs a verb.

#include "framework/OleSession.h"
#include "res/resource.h"
#include "settings/ClassRegistry.h"
#include "tests/support/Recorder.h"
#include "tests/support/WineTest.h"
#include "tests/ui/MainDialogRun.h"
#include "ui/ExplorerVerb.h"

#include <gtest/gtest.h>
#include <shlobj.h>

using namespace testing_support;
using namespace ui_testing;

namespace {

const std::string kInstallDir = "C:\\Program Files\\Quillmoor RootCaster";

std::optional<std::string> VerbCommand() {
    return ReadText(HKEY_CURRENT_USER, kUserVerbCommandKey, nullptr);
}

bool MachineHasVerb() {
    return KeyExists(HKEY_LOCAL_MACHINE, kClasses + kVerbKey);
}

// Explorer puts the directory in place of %1 and has the system find the
// program in the command line. True when the program ended.
bool RunVerb(const std::string& command, const std::string& directory) {
    std::string line = command;
    line.replace(line.find("%1"), 2, directory);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return false;
    }
    fw::UniqueProcess process(info.hProcess);
    fw::UniqueProcess thread(info.hThread);
    return ::WaitForSingleObject(process.get(), 30000) == WAIT_OBJECT_0;
}

// A copy of a program at a place of the test's choosing, removed at the end.
class ProgramCopy {
public:
    ProgramCopy(const std::string& from, const std::string& to) : m_path(to) {
        ::SHCreateDirectoryExA(nullptr, to.substr(0, to.find_last_of('\\')).c_str(), nullptr);
        EXPECT_TRUE(::CopyFileA(from.c_str(), to.c_str(), FALSE)) << to << ": error " << ::GetLastError();
    }
    ~ProgramCopy() { ::DeleteFileA(m_path.c_str()); }
    ProgramCopy(const ProgramCopy&) = delete;
    ProgramCopy& operator=(const ProgramCopy&) = delete;

private:
    std::string m_path;
};

using ExplorerVerb = MainDialogTest;

TEST_F(ExplorerVerb, InstallWritesTheQuotedProgramAndTheMenuText) {
    ASSERT_TRUE(settings::HasUserClasses()) << "the prefix reports Windows 2000 or later to this program";
    SetText(HKEY_CLASSES_ROOT, kExtensionClassKey, "InstallDir", kInstallDir);
    ui::UpdateExplorerVerb(1);
    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kUserVerbKey, nullptr), "Add to RootCaster!");
    EXPECT_EQ(VerbCommand(), "\"" + kInstallDir + "\\RootCaster.exe\" %1");
    EXPECT_FALSE(MachineHasVerb());

    // The user's installation record comes first, as in the merged view.
    SetText(HKEY_CURRENT_USER, kClasses + kExtensionClassKey, "InstallDir", "D:\\Mine");
    ui::UpdateExplorerVerb(1);
    EXPECT_EQ(VerbCommand(), "\"D:\\Mine\\RootCaster.exe\" %1");
    DeleteKeyTree(HKEY_CURRENT_USER, kClasses + kExtensionClassKey);

    SetText(HKEY_CLASSES_ROOT, kExtensionClassKey, "InstallDir", "D:\\Moved");
    ui::UpdateExplorerVerb(7);
    EXPECT_EQ(VerbCommand(), "\"D:\\Moved\\RootCaster.exe\" %1") << "read afresh at every install";

    DeleteKeyTree(HKEY_CLASSES_ROOT, kExtensionClassKey);
    ui::UpdateExplorerVerb(1);
    EXPECT_EQ(VerbCommand(), "\"\\RootCaster.exe\" %1") << "without an installation record";
}

TEST_F(ExplorerVerb, RemoveDeletesTheVerbWithEverythingBelowIt) {
    ui::UpdateExplorerVerb(1);
    SetText(HKEY_CURRENT_USER, kUserVerbKey + "\\Other\\Deeper", "Value", "put there by someone else");
    ui::UpdateExplorerVerb(0);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUserVerbKey));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kClasses + "Directory\\Shell"));

    ui::UpdateExplorerVerb(0);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUserVerbKey)) << "removing an absent verb leaves no key behind";
}

// Earlier versions wrote the verb below HKEY_CLASSES_ROOT, which put it in the
// machine's classes; removing takes it away too, but installing leaves it.
TEST_F(ExplorerVerb, RemoveTakesAwayAVerbLeftInTheMachinesClasses) {
    SetText(HKEY_LOCAL_MACHINE, kClasses + kVerbCommandKey, nullptr, "\"C:\\Old\\RootCaster.exe\" %1");
    SetText(HKEY_LOCAL_MACHINE, kClasses + kVerbKey + "\\Other", nullptr, "put there by someone else");
    ui::UpdateExplorerVerb(1);
    EXPECT_TRUE(MachineHasVerb());
    ui::UpdateExplorerVerb(0);
    EXPECT_FALSE(MachineHasVerb());
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUserVerbKey));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kClasses + "Directory\\Shell"));
}

// The real program under each reported Windows: Done with the option ticked,
// then with it cleared.
TEST_F(ExplorerVerb, DoneKeepsTheVerbInTheClassesTheReportedWindowsHasForTheUser) {
    const struct {
        const char* version;
        bool userClasses;
    } systems[] = {
        {"win95", false}, {"nt40", false}, {"win2k", true}, {"winxp", true}, {"win7", true}, {"win10", true},
    };
    for (const auto& system : systems) {
        SCOPED_TRACE(system.version);
        ClearGround();
        const ScopedWindowsVersion version("RootCaster.exe", system.version);
        SetText(HKEY_LOCAL_MACHINE, kClasses + kExtensionClassKey, "InstallDir", kInstallDir);
        {
            MainDialogRun run;
            ASSERT_TRUE(run.Dialog());
            ASSERT_TRUE(run.Done());
        }
        const std::string command = "\"" + kInstallDir + "\\RootCaster.exe\" %1";
        if (system.userClasses) {
            EXPECT_EQ(VerbCommand(), command);
            EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kUserVerbKey, nullptr), "Add to RootCaster!");
            EXPECT_FALSE(MachineHasVerb()) << "nothing in the machine's classes";
            // Known Wine difference: Windows' HKEY_CLASSES_ROOT would show the
            // user's verb; Wine's shows the machine's classes alone.
            EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kVerbKey));
        } else {
            EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, kVerbCommandKey, nullptr), command);
            EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, kVerbKey, nullptr), "Add to RootCaster!");
            EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUserVerbKey)) << "no user's classes on this system";
        }

        MainDialogRun run;
        ASSERT_TRUE(run.Dialog());
        Click(run.Dialog(), IDC_ADD_TO_ROOTCASTER);
        ASSERT_TRUE(run.Done());
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUserVerbKey));
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kVerbKey));
        EXPECT_FALSE(MachineHasVerb());
    }
}

// The installation directory usually contains a blank. Unquoted, the command
// would start C:\Program.exe when there is one; quoted, it starts RootCaster,
// which gets the whole directory, blanks included.
TEST_F(ExplorerVerb, CommandStartsTheInstalledProgramEvenWhenCProgramExeExists) {
    Recorder recorder;
    const ProgramCopy impostor(Recorder::ProgramPath(), "C:\\Program.exe");
    const std::string installDir = "C:\\Program Files\\Quillmoor RootCaster Verb";
    const ProgramCopy program(ProgramPath(), installDir + "\\RootCaster.exe");
    SetText(HKEY_CLASSES_ROOT, kExtensionClassKey, "InstallDir", installDir);
    ui::UpdateExplorerVerb(1);

    const DWORD before = ReadDword(HKEY_CURRENT_USER, kStatsKey, "Times").value_or(0);
    EXPECT_TRUE(RunVerb(VerbCommand().value_or(""), "C:\\Program Files\\Common Files"));
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kStatsKey, "Times").value_or(0), before + 1) << "RootCaster ran";
    EXPECT_TRUE(recorder.Lines().empty()) << "C:\\Program.exe did not";
    EXPECT_TRUE(FolderExists(MenuRoot() + "\\C\\Program Files\\Common Files")) << "the whole directory was added";

    // The same command without the quotes falls into the trap.
    EXPECT_TRUE(RunVerb(installDir + "\\RootCaster.exe %1", "C:\\Windows"));
    const auto lines = recorder.WaitForLines(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], installDir + "\\RootCaster.exe C:\\Windows");
    ::RemoveDirectoryA(installDir.c_str());
}

// A program installed in a folder named outside any single code page adds a
// directory named so. The command is written in UTF-8, the program's code
// page (and this test program's), and Explorer runs it in UTF-16.
TEST_F(ExplorerVerb, CommandWorksForFoldersNamedInAnyLanguage) {
    const std::string world = Narrow(kWorldDirectory);
    const FoldersAlong directory(kWorldDirectory);
    const std::string installDir = world + "\\RootCaster";
    const ProgramCopy program(ProgramPath(), installDir + "\\RootCaster.exe");
    SetText(HKEY_CLASSES_ROOT, kExtensionClassKey, "InstallDir", installDir);
    ui::UpdateExplorerVerb(1);
    EXPECT_EQ(VerbCommand(), "\"" + installDir + "\\RootCaster.exe\" %1");

    EXPECT_TRUE(RunVerb(VerbCommand().value_or(""), world));
    const fw::OleSession ole;
    const LinkTarget target = ReadLinkTarget(Wide(MenuRoot() + "\\C" + world.substr(2) + "\\Open.lnk"));
    EXPECT_EQ(Narrow(target.path), world + "\\");
}

}  // namespace
