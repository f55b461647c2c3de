// menureader.exe, the stand-in for the folder-menu shell extension, reading
// what the real RootCaster.exe made.

#include "framework/OleSession.h"
#include "framework/UniqueHandle.h"
#include "tests/menubuilder/MenuTestSupport.h"
#include "tests/support/WineTest.h"

#include <gtest/gtest.h>

using namespace testing_support;
using namespace menutest;

namespace {

struct ReaderRun {
    DWORD exitCode = 0xFFFFFFFF;
    std::string output;
};

// menureader.exe with `tail`, its standard output caught in a file.
ReaderRun RunMenuReader(const std::string& tail = "") {
    TempFolder folder("rootcaster-reader");
    const std::string outputPath = folder.Path() + "\\output.txt";
    ReaderRun run;
    {
        SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
        fw::UniqueFile output(
            ::CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr));
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output.get();
        startup.hStdError = output.get();
        PROCESS_INFORMATION info{};
        std::string line = "\"" + MenuReaderPath() + "\"" + (tail.empty() ? "" : " " + tail);
        if (!::CreateProcessA(MenuReaderPath().c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                              &info)) {
            ADD_FAILURE() << "cannot start menureader: " << ::GetLastError();
            return run;
        }
        fw::UniqueProcess process(info.hProcess);
        fw::UniqueProcess thread(info.hThread);
        ::WaitForSingleObject(process.get(), 30000);
        ::GetExitCodeProcess(process.get(), &run.exitCode);
    }
    const std::vector<BYTE> bytes = ReadFileBytes(outputPath);
    run.output.assign(bytes.begin(), bytes.end());
    // The console runtime may write line ends either way.
    for (std::size_t at; (at = run.output.find("\r\n")) != std::string::npos;) run.output.erase(at, 1);
    return run;
}

testing::AssertionResult PrintsLineEndingWith(const ReaderRun& run, const std::string& end) {
    if (run.output.find(end + "\n") != std::string::npos) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "no line ends with \"" << end << "\" in:\n" << run.output;
}

class MenuReaderProgram : public testing::Test {
protected:
    static void Add(const std::string& directory) {
        EXPECT_TRUE(RunProgram(ProgramPath(), directory, 30000).finished) << directory;
    }

    MenuGround m_ground;
};

TEST_F(MenuReaderProgram, ListsEveryMenuFolderWithItsDirectoryMarkerAndItems) {
    SetOptions(1, 1);
    SetInstallDir(kInstallDir);
    Add("C:\\Windows");
    SetOptions(1, 0);
    Add("\\\\srv\\pub");
    const ReaderRun run = RunMenuReader();
    const std::string interpreter = NamedCommandInterpreter();
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(
        run.output,
        "menu root: marker ok\n"
        "folder C -> C:\\: marker ok\n"
        "  item MS-DOS Prompt.lnk: target \"" +
            interpreter +
            "\" directory \"C:\\\" "
            "icon \"C:\\Program Files\\RootCaster\\msdos.ico\",0\n"
            "  item Open.lnk: target \"C:\\\" directory \"\" icon \"C:\\Program Files\\RootCaster\\explore.ico\",0\n"
            "folder C\\Windows -> C:\\Windows\\: marker ok\n"
            "  item MS-DOS Prompt.lnk: target \"" +
            interpreter +
            "\" directory \"C:\\Windows\\\" "
            "icon \"C:\\Program Files\\RootCaster\\msdos.ico\",0\n"
            "  item Open.lnk: target \"C:\\Windows\\\" directory \"\" "
            "icon \"C:\\Program Files\\RootCaster\\explore.ico\",0\n"
            "folder srv -> \\\\srv\\: marker ok\n"
            "  item Open.lnk: target \"\\\\srv\\\" directory \"\" icon \"C:\\Program "
            "Files\\RootCaster\\explore.ico\",0\n"
            "folder srv\\pub -> \\\\srv\\pub\\: marker ok\n"
            "  item Open.lnk: target \"\\\\srv\\pub\\\" directory \"\" "
            "icon \"C:\\Program Files\\RootCaster\\explore.ico\",0\n");
    EXPECT_EQ(RunMenuReader("\"" + StartMenuPath() + "\"").output, run.output) << "the Start Menu named explicitly";
}

// A directory named outside this program's code page, added as the Explorer
// verb adds it: the program gets it in its UTF-16 command line and works in
// UTF-8, as its manifest asks; menureader reads it back in UTF-8 too.
TEST_F(MenuReaderProgram, NamesInAnyLanguageComeBackWhole) {
    SetOptions(1, 1);
    SetInstallDir(kInstallDir);
    const FoldersAlong directory(kWorldDirectory);
    const std::wstring program = Wide(ProgramPath());
    const ProcessResult added = RunProcessWide(program, L"\"" + program + L"\" " + kWorldDirectory, 30000);
    EXPECT_TRUE(added.finished);
    EXPECT_EQ(added.exitCode, 0u) << "added";
    const ReaderRun run = RunMenuReader();
    const std::string interpreter = NamedCommandInterpreter();
    EXPECT_EQ(run.exitCode, 0u);
    std::string expected = "menu root: marker ok\n";
    std::string level;
    std::string folder;
    for (const char* name : {"C:", "Ελληνικά", "日本語", "😀"}) {
        level += std::string(name) + "\\";
        folder += folder.empty() ? "C" : std::string("\\") + name;
        expected += "folder " + folder + " -> " + level + ": marker ok\n";
        expected += "  item MS-DOS Prompt.lnk: target \"" + interpreter + "\" directory \"" + level + "\" icon \"" +
                    kInstallDir + "\\msdos.ico\",0\n";
        expected +=
            "  item Open.lnk: target \"" + level + "\" directory \"\" icon \"" + kInstallDir + "\\explore.ico\",0\n";
    }
    EXPECT_EQ(run.output, expected);

    // Read back by this program, in its own code page. The item IDs carry the
    // names in UTF-16: every reader resolves them. Wine difference: Wine keeps
    // the target path in the code page of the link's writer (UTF-8), so this
    // reader gets those bytes read as its own code page; Windows keeps the
    // path in UTF-16 as well and gives it whole.
    const fw::OleSession ole;
    const LinkTarget target = ReadLinkTarget(Wide(MenuRoot()) + L"\\C" + kWorldDirectory.substr(2) + L"\\Open.lnk");
    ASSERT_EQ(target.loaded, S_OK) << Hex(static_cast<unsigned long>(target.loaded));
    EXPECT_EQ(Narrow(target.itemIdPath, CP_UTF8), Narrow(kWorldDirectory, CP_UTF8));
    const std::wstring whole = kWorldDirectory + L"\\";
    EXPECT_TRUE(target.path == whole || target.path == Wide(Narrow(whole, CP_UTF8))) << Narrow(target.path, CP_UTF8);
}

TEST_F(MenuReaderProgram, WrongMarkerFailsAndIsNamed) {
    SetOptions(0, 0);
    Add("C:\\Windows");
    const std::string marker = MenuRoot() + "\\C\\desktop.ini";
    Spoil(marker);
    ::SetFileAttributesA(marker.c_str(), FILE_ATTRIBUTE_HIDDEN);
    const ReaderRun run = RunMenuReader();
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_TRUE(PrintsLineEndingWith(run,
                                     "folder C -> C:\\: marker WRONG: desktop.ini names no identifier where "
                                     "{5A3C71E4-2B90-11D3-A4F6-00C04F7B3E28} belongs"));
}

TEST_F(MenuReaderProgram, Windows95FoldersCarryNoMarker) {
    ScopedWindowsVersion version("RootCaster.exe", "win95");
    SetOptions(0, 0);
    Add("D:");
    const ReaderRun run = RunMenuReader();
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_EQ(run.output,
              "menu root: marker WRONG: folder lacks the System attribute\n"
              "folder D -> D:\\: marker WRONG: folder lacks the System attribute\n");
}

TEST_F(MenuReaderProgram, NoMenuRootIsReported) {
    TempFolder empty("rootcaster-no-menu-caf\xE9");
    const ReaderRun run = RunMenuReader("\"" + empty.Path() + "\"");
    EXPECT_EQ(run.exitCode, 2u);
    EXPECT_TRUE(PrintsLineEndingWith(run, "rootcaster-no-menu-caf\xC3\xA9\""));
    EXPECT_EQ(RunMenuReader().exitCode, 2u);
}

// Output that is no console (a pipe to a UTF-8 terminal, a file) gets UTF-8;
// the names below are those of code page 1252, the prefix's.
TEST_F(MenuReaderProgram, NamesGoOutAsUtf8WhereTheOutputIsNoConsole) {
    ASSERT_EQ(::GetACP(), 1252u);
    SetOptions(0, 0);
    Add("C:\\Caf\xE9 \xC6gir \x80");
    const ReaderRun run = RunMenuReader();
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(PrintsLineEndingWith(run,
                                     "folder C\\Caf\xC3\xA9 \xC3\x86gir \xE2\x82\xAC -> "
                                     "C:\\Caf\xC3\xA9 \xC3\x86gir \xE2\x82\xAC\\: marker ok"));
}

}  // namespace
