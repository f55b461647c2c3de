// Wine's own start menu (explorer's desktop with a Start button) walked down
// RootCaster > C: > the added directory by mouse and keyboard, and a file
// there opened: the program registered for its type must start with it.

#include "tests/shellext/MenuServer.h"
#include "tests/support/Recorder.h"
#include "tests/support/WindowDriver.h"
#include "tests/support/WineTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testing_support;

namespace {

const std::string kProbe = "C:\\rootcaster start probe";
const std::string kPage = kProbe + "\\Inner\\page.htm";
// The page's entry, reached from the Start Menu through the menus.
const std::string kMenuPath = "RootCaster\\C\\rootcaster start probe\\Inner\\page.htm";

// What the driver wrote when done; empty when it did not finish in time.
std::string WaitForReport(const std::string& file) {
    for (int waited = 0; waited < 1200 && ReadFileBytes(file).empty(); ++waited) ::Sleep(100);
    const std::vector<BYTE> report = ReadFileBytes(file);
    return std::string(report.begin(), report.end());
}

class StartMenu : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(RunRegsvr32(""));
        RemoveTree(kProbe);
        ASSERT_TRUE(::CreateDirectoryA(kProbe.c_str(), nullptr));
        ASSERT_TRUE(::CreateDirectoryA((kProbe + "\\Inner").c_str(), nullptr));
        ASSERT_TRUE(MakeFile(kPage));
    }

    void TearDown() override {
        RemoveTree(kProbe);
        RemoveTree(MenuRoot() + "\\C\\rootcaster start probe");
        RunRegsvr32("/u");
    }
};

TEST_F(StartMenu, OpensAFileOfAnAddedDirectoryWithItsProgram) {
    ASSERT_TRUE(RunProgram(ProgramPath(), kProbe, 30000).finished);
    Recorder recorder;
    ScopedHtmlAssociation association("\"" + Recorder::ProgramPath() + "\" %1");
    const TempFolder temp("rootcaster start menu");
    const std::string result = temp.Path() + "\\result.txt";

    // "Inner" has no menu folder of its own: the menu of the added directory
    // cascades into it live.
    const std::string driver =
        "\"" + BesideProgram("startmenu.exe") + "\" open \"" + kMenuPath + "\" \"" + result + "\"";
    const ProgramRun desktop("C:\\windows\\explorer.exe", "/desktop=shell,1024x768 " + driver);
    ASSERT_TRUE(desktop.Started());
    ASSERT_EQ(WaitForReport(result), "ok\n") << "start menu driver";
    const std::vector<std::string> lines = recorder.WaitForLines(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(kPage), std::string::npos) << lines[0];
    // The desktop closes once its last program has ended.
    desktop.WaitForExit(20000);
}

}  // namespace
