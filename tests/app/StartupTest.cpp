// Start-up, in process (this program's file name is the application name) and
// as the real RootCaster.exe started with a command line.

#include "app/RootCasterApp.h"
#include "tests/support/WindowDriver.h"
#include "tests/support/WineTest.h"
#include "tests/support/Thread.h"

#include <gtest/gtest.h>
#include <objbase.h>

using namespace testing_support;

namespace {

const std::string kOwnStats = "Software\\Quillmoor\\app_tests\\Stats";
const std::string kProgramStats = "Software\\Quillmoor\\RootCaster\\Stats";

DWORD TimesAt(const std::string& statsKey) {
    return ReadDword(HKEY_CURRENT_USER, statsKey, "Times").value_or(0);
}

TEST(StartupInProcess, CommandLineModeReturnsFalseAndRaisesTheCounter) {
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Quillmoor\\app_tests");
    CRootCasterApp app;
    app.SetCommandLineText("C:\\Windows");
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kOwnStats, "Times"), 1u);
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kOwnStats, "Times"), 2u);
    EXPECT_EQ(app.ExitStatus(), 0) << "added";
    app.SetCommandLineText("relative\\dir");
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.ExitStatus(), 4) << "refused: a relative path";
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kOwnStats, "Times"), 3u) << "raised all the same";
}

TEST(StartupInProcess, CounterWrapsAsA32BitNumber) {
    SetDword(HKEY_CURRENT_USER, kOwnStats, "Times", 0xFFFFFFFF);
    CRootCasterApp app;
    app.SetCommandLineText("C:\\Windows");
    app.InitInstance();
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kOwnStats, "Times"), 0u);
}

// OLE cannot be initialised on a thread that already joined the
// multithreaded apartment: start-up must then end at once, changing nothing.
TEST(StartupInProcess, FailedOleInitialisationEndsSilentlyWithCounterUnchanged) {
    SetDword(HKEY_CURRENT_USER, kOwnStats, "Times", 5);
    const std::string menuFolder = StartMenuPath() + "\\RootCaster\\C\\OleFailureProbe";
    BOOL result = TRUE;
    HRESULT apartment = E_FAIL;
    Thread run([&] {
        apartment = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        CRootCasterApp app;
        app.SetCommandLineText("C:\\OleFailureProbe");
        result = app.InitInstance();
        if (SUCCEEDED(apartment)) ::CoUninitialize();
    });
    run.Join();
    ASSERT_TRUE(SUCCEEDED(apartment)) << Hex(static_cast<unsigned long>(apartment));
    EXPECT_FALSE(result);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kOwnStats, "Times"), 5u);
    EXPECT_FALSE(FolderExists(menuFolder));
}

TEST(StartupProgram, DirectoryOnTheCommandLineEndsAndRaisesTheCounter) {
    const DWORD before = TimesAt(kProgramStats);
    const ProcessResult run = RunProgram(ProgramPath(), "C:\\Windows", 30000);
    EXPECT_TRUE(run.finished) << "a directory on the command line must not wait for the user";
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(TimesAt(kProgramStats), before + 1);
}

// The counter counts ended runs: it is raised after the dialog closed.
TEST(StartupProgram, EmptyOrBlankCommandLineShowsTheDialogAndCountsAfterItCloses) {
    for (const char* tail : {"", "  \t "}) {
        SCOPED_TRACE(std::string("tail \"") + tail + "\"");
        const DWORD before = TimesAt(kProgramStats);
        ProgramRun run(ProgramPath(), tail);
        HWND dialog = run.WaitForWindow("RootCaster");
        ASSERT_TRUE(dialog) << "dialog mode";
        ::Sleep(500);
        EXPECT_EQ(TimesAt(kProgramStats), before) << "not raised while the dialog is open";
        Click(dialog, IDCANCEL);
        ASSERT_TRUE(run.WaitForExit());
        EXPECT_EQ(TimesAt(kProgramStats), before + 1);
    }
    // What "Done" stored and installed.
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Quillmoor\\RootCaster\\Config");
    DeleteKeyTree(HKEY_CLASSES_ROOT, "Directory\\Shell\\RootCaster");
}

TEST(StartupProgram, AnotherProgramFileNameKeepsItsOwnSettings) {
    TempFolder folder("rootcaster-other-name");
    const std::string other = folder.Path() + "\\OtherName.exe";
    ASSERT_TRUE(::CopyFileA(ProgramPath().c_str(), other.c_str(), FALSE)) << ::GetLastError();
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Quillmoor\\OtherName");
    const DWORD before = TimesAt(kProgramStats);
    EXPECT_TRUE(RunProgram(other, "C:\\Windows", 30000).finished);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, "Software\\Quillmoor\\OtherName\\Stats", "Times"), 1u);
    EXPECT_EQ(TimesAt(kProgramStats), before);
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Quillmoor\\OtherName");
}

}  // namespace
