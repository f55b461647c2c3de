// Start-up, in process (this program's file name is the application name) and
// as the real RootCaster.exe started with a command line.

#include "app/RootCasterApp.h"
#include "framework/UniqueHandle.h"
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
        ASSERT_TRUE(run.Started()) << "not started: error " << run.StartError();
        HWND dialog = run.WaitForWindow("RootCaster");
        ASSERT_TRUE(dialog) << "dialog mode";
        ASSERT_TRUE(AnswersMessages(dialog)) << "its start-up is over";
        EXPECT_EQ(TimesAt(kProgramStats), before) << "not raised while the dialog is open";
        Click(dialog, IDCANCEL);
        ASSERT_TRUE(run.WaitForExit());
        EXPECT_EQ(TimesAt(kProgramStats), before + 1);
    }
    // What "Done" stored and installed.
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Quillmoor\\RootCaster\\Config");
    DeleteKeyTree(HKEY_CLASSES_ROOT, "Directory\\Shell\\RootCaster");
}

// Also from a folder whose path has fewer characters than MAX_PATH but more
// bytes in UTF-8, the program's code page.
TEST(StartupProgram, AnotherProgramFileNameKeepsItsOwnSettings) {
    TempFolder folder("rootcaster-other-name");
    const std::wstring longInUtf8 = Wide(folder.Path()) + L"\\" + std::wstring(90, L'\u65E5');
    const FoldersAlong made(longInUtf8);
    for (const std::wstring& place : {Wide(folder.Path()), longInUtf8}) {
        SCOPED_TRACE(std::to_string(Narrow(place, CP_UTF8).size()) + " bytes in UTF-8");
        const std::wstring other = place + L"\\OtherName.exe";
        ASSERT_TRUE(::CopyFileW(Wide(ProgramPath()).c_str(), other.c_str(), FALSE)) << ::GetLastError();
        DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Quillmoor\\OtherName");
        const DWORD before = TimesAt(kProgramStats);
        EXPECT_TRUE(RunProcessWide(other, L"\"" + other + L"\" C:\\Windows", 30000).finished);
        EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, "Software\\Quillmoor\\OtherName\\Stats", "Times"), 1u);
        EXPECT_EQ(TimesAt(kProgramStats), before);
    }
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Quillmoor\\OtherName");
}

std::string EmbeddedManifest(const std::string& program) {
    const fw::UniqueModule module(::LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    const HRSRC resource = module ? ::FindResourceA(module.get(), MAKEINTRESOURCEA(1), RT_MANIFEST) : nullptr;
    const HGLOBAL loaded = resource ? ::LoadResource(module.get(), resource) : nullptr;
    if (!loaded) return std::string();
    return std::string(static_cast<const char*>(::LockResource(loaded)), ::SizeofResource(module.get(), resource));
}

// Windows 10 1903 and later run a program in UTF-8 only for this element,
// spelled exactly so (the value is compared with its case), in the
// windowsSettings of an application element of the asm.v3 namespace, which
// older systems pass over.
TEST(StartupProgram, ManifestsDeclareUtf8AsTheCodePage) {
    for (const std::string& program : {ProgramPath(), MenuReaderPath()}) {
        const std::string manifest = EmbeddedManifest(program);
        const size_t application = manifest.find("<application xmlns=\"urn:schemas-microsoft-com:asm.v3\">");
        const size_t settings = manifest.find("<windowsSettings>", application);
        const size_t element = manifest.find(
            "<activeCodePage xmlns=\"http://schemas.microsoft.com/SMI/2019/WindowsSettings\">UTF-8</activeCodePage>",
            settings);
        EXPECT_TRUE(application != std::string::npos && element != std::string::npos &&
                    element < manifest.find("</windowsSettings>", settings))
            << program << ":\n"
            << manifest;
    }
}

}  // namespace
