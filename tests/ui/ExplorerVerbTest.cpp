// UpdateExplorerVerb against the prefix's class registry, and the installed
// command run the way Explorer runs a verb.

#include "framework/OleSession.h"
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
    return ReadText(HKEY_CLASSES_ROOT, kVerbCommandKey, nullptr);
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
    SetText(HKEY_CLASSES_ROOT, kExtensionClassKey, "InstallDir", kInstallDir);
    ui::UpdateExplorerVerb(1);
    EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, kVerbKey, nullptr), "Add to RootCaster!");
    EXPECT_EQ(VerbCommand(), "\"" + kInstallDir + "\\RootCaster.exe\" %1");

    SetText(HKEY_CLASSES_ROOT, kExtensionClassKey, "InstallDir", "D:\\Moved");
    ui::UpdateExplorerVerb(7);
    EXPECT_EQ(VerbCommand(), "\"D:\\Moved\\RootCaster.exe\" %1") << "read afresh at every install";

    DeleteKeyTree(HKEY_CLASSES_ROOT, kExtensionClassKey);
    ui::UpdateExplorerVerb(1);
    EXPECT_EQ(VerbCommand(), "\"\\RootCaster.exe\" %1") << "without an installation record";
}

TEST_F(ExplorerVerb, RemoveDeletesTheVerbWithEverythingBelowIt) {
    ui::UpdateExplorerVerb(1);
    SetText(HKEY_CLASSES_ROOT, kVerbKey + "\\Other\\Deeper", "Value", "put there by someone else");
    ui::UpdateExplorerVerb(0);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kVerbKey));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "Directory\\Shell"));

    ui::UpdateExplorerVerb(0);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kVerbKey)) << "removing an absent verb leaves no key behind";
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
