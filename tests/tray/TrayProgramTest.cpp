// The real RootCasterTray.exe, worked from outside as the shell and the user
// work it: mouse messages of its icon to its window, keys into its menus.

#include "tests/menubuilder/MenuTestSupport.h"
#include "tests/support/Recorder.h"
#include "tests/support/WindowDriver.h"
#include "tests/support/WineTest.h"
#include "tests/tray/TrayDriver.h"
#include "tray/FolderMenus.h"
#include "tray/SearchWindow.h"
#include "tray/StartWithWindows.h"

#include <gtest/gtest.h>

#include <shlwapi.h>

#include <optional>
#include <string>

using namespace testing_support;

namespace {

constexpr char kFileType[] = "RootCasterTest.TrayFile";
constexpr char kFileTypeCommandKey[] = "RootCasterTest.TrayFile\\shell\\open\\command";

// Files of type .rctray open with the recorder for as long as this lives.
class ScopedRecorderFileType {
public:
    ScopedRecorderFileType() {
        SetText(HKEY_CLASSES_ROOT, ".rctray", nullptr, kFileType);
        SetText(HKEY_CLASSES_ROOT, kFileTypeCommandKey, nullptr, "\"" + Recorder::ProgramPath() + "\" \"%1\"");
    }
    ~ScopedRecorderFileType() {
        DeleteKeyTree(HKEY_CLASSES_ROOT, ".rctray");
        DeleteKeyTree(HKEY_CLASSES_ROOT, kFileType);
    }
    ScopedRecorderFileType(const ScopedRecorderFileType&) = delete;
    ScopedRecorderFileType& operator=(const ScopedRecorderFileType&) = delete;
};

// The tray program running, closed at the end as the uninstaller closes it.
class TrayRun {
public:
    TrayRun() : m_run(BesideProgram("RootCasterTray.exe"), ""), m_window(tray_driver::WaitForTray()) {}
    ~TrayRun() {
        if (m_window) ::PostMessageA(m_window, WM_CLOSE, 0, 0);
        m_run.WaitForExit(10000);
    }
    TrayRun(const TrayRun&) = delete;
    TrayRun& operator=(const TrayRun&) = delete;

    HWND Window() const { return m_window; }
    const ProgramRun& Run() const { return m_run; }

    // Opens the folder menus from the icon and goes down by typing each
    // letter, one more menu open after each.
    bool OpenDown(const std::string& letters) const {
        if (!tray_driver::ClickIcon(m_window, WM_LBUTTONUP)) return false;
        for (size_t i = 0; i < letters.size(); ++i) {
            if (!Type(letters[i], i + 2)) return false;
        }
        return true;
    }

    // "Search..." at the top of the folder menu, chosen by its letter.
    HWND OpenSearch() const {
        if (!tray_driver::ClickIcon(m_window, WM_LBUTTONUP)) return nullptr;
        tray_driver::TypeCharacter(m_window, 's');
        return tray_driver::WaitForSearchWindow();
    }

    // Types one character into the open menus and waits for `menus` of them.
    bool Type(char character, size_t menus) const {
        tray_driver::TypeCharacter(m_window, character);
        return tray_driver::WaitForMenus(menus);
    }

private:
    ProgramRun m_run;
    HWND m_window;
};

// A folder of its own right below C:, whose first letter no other entry of
// C:\ starts with, so that typing it opens it.
class RootFolder {
public:
    explicit RootFolder(const std::string& path) : m_path(path) {
        RemoveTree(m_path);
        ::CreateDirectoryA(m_path.c_str(), nullptr);
    }
    ~RootFolder() { RemoveTree(m_path); }
    RootFolder(const RootFolder&) = delete;
    RootFolder& operator=(const RootFolder&) = delete;

private:
    std::string m_path;
};

std::optional<std::string> RunEntry() {
    return ReadText(HKEY_CURRENT_USER, tray::kRunKey, tray::kRunValue);
}

// Adds `directory` with RootCaster, then opens the running tray's menus down
// to it by typing `letters` (the menus read the menu root as they open).
testing::AssertionResult AddAndOpenDown(const TrayRun& tray, const std::string& directory, const std::string& letters) {
    menutest::SetOptions(0, 0);
    if (RunProgram(ProgramPath(), directory).exitCode != 0) return testing::AssertionFailure() << "adding failed";
    if (!tray.Window()) return testing::AssertionFailure() << "no tray window";
    if (!tray.OpenDown(letters)) return testing::AssertionFailure() << "the menus did not open down to " << directory;
    return testing::AssertionSuccess();
}

// The icon's menu opens the menu root; typing "c", "7", "z" goes down to
// C:\7traytest and chooses zeta.rctray, which its type's program opens.
TEST(TrayProgram, OpensTheChosenFileWithItsProgram) {
    menutest::MenuGround ground;
    const RootFolder folder("C:\\7traytest");
    ::CreateDirectoryA("C:\\7traytest\\middle", nullptr);
    MakeFile("C:\\7traytest\\alpha.rctray");
    MakeFile("C:\\7traytest\\zeta.rctray");
    const ScopedRecorderFileType fileType;
    const Recorder recorder;

    const TrayRun tray;
    ASSERT_TRUE(AddAndOpenDown(tray, "C:\\7traytest", "c7"));
    ASSERT_TRUE(tray.Type('z', 0)) << "the menus did not close";
    const std::vector<std::string> lines = recorder.WaitForLines(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("C:\\7traytest\\zeta.rctray"), std::string::npos) << lines[0];
}

// A right click on the highlighted "middle", or the Applications key as in
// Explorer, ends the three menus and shows the shell's context menu in their
// place. (Wine difference: its context menu's "Open" on a folder reports that
// no program opens the type, so what the menu runs is not checked here.)
TEST(TrayProgram, RightClickOrApplicationsKeyShowsTheShellContextMenu) {
    menutest::MenuGround ground;
    const RootFolder folder("C:\\7traytest");
    ::CreateDirectoryA("C:\\7traytest\\middle", nullptr);
    const struct {
        const char* way;
        UINT message;
        WPARAM key;
    } ways[] = {{"right click", WM_RBUTTONUP, 0}, {"Applications key", WM_KEYDOWN, VK_APPS}};
    for (const auto& asked : ways) {
        SCOPED_TRACE(asked.way);
        const TrayRun tray;
        ASSERT_TRUE(AddAndOpenDown(tray, "C:\\7traytest", "c7"));
        tray_driver::PressKey(tray.Window(), VK_DOWN);  // from "Open this folder" to "middle"
        // As the menu loop reads it from the queue, whichever window it is for.
        ::PostMessageA(tray.Window(), asked.message, asked.key, 0);
        ASSERT_TRUE(tray_driver::WaitForMenus(1)) << "no context menu in place of the three menus";
        // The folder menus, and their watch on right clicks, are gone: a right
        // click away from the context menu's items leaves it open.
        ::SetCursorPos(0, 0);
        ::PostMessageA(tray.Window(), WM_RBUTTONUP, 0, 0);
        EXPECT_FALSE(tray_driver::WaitForMenus(0, 1000)) << "a right click closed the shell's context menu";
        tray_driver::PressKey(tray.Window(), VK_ESCAPE);
        EXPECT_TRUE(tray_driver::WaitForMenus(0)) << "the context menu did not close";
    }
}

// "Start with Windows" from the icon's own menu, on and off; "Exit" ends it.
TEST(TrayProgram, WritesAndRemovesItsRunEntryAndExits) {
    ::SHDeleteValueA(HKEY_CURRENT_USER, tray::kRunKey, tray::kRunValue);
    const TrayRun tray;
    ASSERT_TRUE(tray.Window()) << "no tray window";

    ASSERT_TRUE(tray_driver::ClickIcon(tray.Window(), WM_RBUTTONUP));
    ASSERT_TRUE(tray.Type('s', 0));
    const std::optional<std::string> entry = RunEntry();
    ASSERT_TRUE(entry) << "no Run entry";
    EXPECT_EQ(lstrcmpiA(entry->c_str(), ("\"" + BesideProgram("RootCasterTray.exe") + "\"").c_str()), 0) << *entry;

    ASSERT_TRUE(tray_driver::ClickIcon(tray.Window(), WM_RBUTTONUP));
    ASSERT_TRUE(tray.Type('s', 0));
    EXPECT_FALSE(RunEntry()) << *RunEntry();

    ASSERT_TRUE(tray_driver::ClickIcon(tray.Window(), WM_RBUTTONUP));
    tray_driver::TypeCharacter(tray.Window(), 'x');
    EXPECT_TRUE(tray.Run().WaitForExit(10000)) << "still running after Exit";
}

// A second start ends at once and leaves the first one in place.
TEST(TrayProgram, RunsOnce) {
    const TrayRun tray;
    ASSERT_TRUE(tray.Window()) << "no tray window";
    const ProcessResult second = RunProgram(BesideProgram("RootCasterTray.exe"), "", 20000);
    EXPECT_TRUE(second.finished);
    EXPECT_TRUE(tray.Run().Running());
    EXPECT_EQ(::FindWindowA("RootCasterTray", nullptr), tray.Window());
}

std::vector<std::string> Names(const std::vector<std::pair<std::string, std::string>>& rows) {
    std::vector<std::string> names;
    for (const auto& row : rows) names.push_back(row.first);
    return names;
}

// The search window's rows once their names are `expected` (the index
// builds and follows changes on its own time), or the last ones seen.
std::vector<std::pair<std::string, std::string>> WaitForRows(HWND search, const std::vector<std::string>& expected) {
    std::vector<std::pair<std::string, std::string>> rows;
    for (DWORD waited = 0; waited < 60000; waited += 100) {
        rows = tray_driver::SearchRows(search);
        if (Names(rows) == expected) break;
        ::Sleep(100);
    }
    return rows;
}

// Replaces what the search box holds by typing `text`.
void Retype(HWND search, const std::string& text) {
    ::SendMessageA(::GetDlgItem(search, tray::kSearchEditId), EM_SETSEL, 0, -1);
    tray_driver::TypeIntoSearch(search, text);
}

bool WaitUntilClosed(HWND search) {
    for (DWORD waited = 0; waited < 20000; waited += 50) {
        if (!::IsWindow(search) || !::IsWindowVisible(search)) return true;
        ::Sleep(50);
    }
    return false;
}

// "Search..." atop the menu opens the search window. Names that begin with
// the text come first, shallower before deeper, then the rest; hidden ones
// stay out; two words must both match. Enter opens the first row with its
// program; a file made afterwards is found without a restart; Escape closes.
TEST(TrayProgram, SearchFindsInOrderOpensAndFollowsChanges) {
    menutest::MenuGround ground;
    const RootFolder folder("C:\\9search");
    ::CreateDirectoryA("C:\\9search\\notes", nullptr);
    MakeFile("C:\\9search\\my zebra.rctray");
    MakeFile("C:\\9search\\Zebra.rctray");
    MakeFile("C:\\9search\\notes\\zebra notes.rctray");
    MakeFile("C:\\9search\\zebra hidden.rctray", FILE_ATTRIBUTE_HIDDEN);
    const ScopedRecorderFileType fileType;
    const Recorder recorder;
    menutest::SetOptions(0, 0);
    ASSERT_EQ(RunProgram(ProgramPath(), "C:\\9search").exitCode, 0);

    const TrayRun tray;
    HWND search = tray.OpenSearch();
    ASSERT_TRUE(search) << "no search window";
    tray_driver::TypeIntoSearch(search, "zebra");
    const std::vector<std::string> zebras = {"Zebra.rctray", "zebra notes.rctray", "my zebra.rctray"};
    const auto rows = WaitForRows(search, zebras);
    ASSERT_EQ(Names(rows), zebras);
    EXPECT_EQ(rows[1].second, "C:\\9search\\notes\\");
    Retype(search, "NOTES zeb");
    EXPECT_EQ(Names(WaitForRows(search, {"zebra notes.rctray"})), std::vector<std::string>{"zebra notes.rctray"});

    Retype(search, "zebra");
    ASSERT_EQ(Names(WaitForRows(search, zebras)), zebras);
    tray_driver::PressSearchKey(search, VK_RETURN);
    const std::vector<std::string> lines = recorder.WaitForLines(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("C:\\9search\\Zebra.rctray"), std::string::npos) << lines[0];
    EXPECT_TRUE(WaitUntilClosed(search)) << "the search window stayed open";

    MakeFile("C:\\9search\\zebra new.rctray");
    search = tray.OpenSearch();
    ASSERT_TRUE(search) << "no search window the second time";
    tray_driver::TypeIntoSearch(search, "zebra new");
    EXPECT_EQ(Names(WaitForRows(search, {"zebra new.rctray"})), std::vector<std::string>{"zebra new.rctray"});
    tray_driver::PressSearchKey(search, VK_ESCAPE);
    EXPECT_TRUE(WaitUntilClosed(search)) << "Escape left the search window open";
}

// A message box of the tray asking a question, once it shows; and its text.
HWND WaitForQuestion() {
    for (DWORD waited = 0; waited < 20000; waited += 100) {
        const HWND box = ::FindWindowA("#32770", "RootCaster");
        if (box && ::IsWindowVisible(box)) return box;
        ::Sleep(100);
    }
    return nullptr;
}

std::string QuestionText(HWND box) {
    char text[512] = {};
    ::GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));  // a message box's text control
    return text;
}

bool WaitUntilGone(const std::string& folder) {
    for (DWORD waited = 0; waited < 20000; waited += 100) {
        if (!FolderExists(folder)) return true;
        ::Sleep(100);
    }
    return false;
}

// "Remove from RootCaster" lists the drives and servers in the menu's order.
// "No" keeps the menu; "Yes" takes it off, the server's stays, and search
// drops the drive's files at once, well before its periodic pass (30 s).
TEST(TrayProgram, RemovesTheChosenMenuAfterAskingAndSearchDropsIt) {
    menutest::MenuGround ground;
    const RootFolder folder("C:\\6remove");
    MakeFile("C:\\6remove\\quagga.rctray");
    menutest::SetOptions(0, 0);
    ASSERT_EQ(RunProgram(ProgramPath(), "C:\\6remove").exitCode, 0);
    ASSERT_EQ(RunProgram(ProgramPath(), "\\\\srv\\pub").exitCode, 0);
    const std::string root = MenuRoot();
    const TrayRun tray;
    HWND search = tray.OpenSearch();
    ASSERT_TRUE(search) << "no search window";
    tray_driver::TypeIntoSearch(search, "quagga");
    ASSERT_EQ(Names(WaitForRows(search, {"quagga.rctray"})), std::vector<std::string>{"quagga.rctray"});
    tray_driver::PressSearchKey(search, VK_ESCAPE);
    ASSERT_TRUE(WaitUntilClosed(search));

    for (const WPARAM answer : {IDNO, IDYES}) {
        ASSERT_TRUE(tray_driver::ClickIcon(tray.Window(), WM_RBUTTONUP));
        ASSERT_TRUE(tray.Type('m', 2)) << "no submenu of menus to remove";
        tray_driver::PressKey(tray.Window(), VK_RETURN);
        const HWND box = WaitForQuestion();
        ASSERT_TRUE(box) << "no question";
        EXPECT_EQ(QuestionText(box), "Remove the menu of C: from RootCaster? Your files and folders stay.");
        ::PostMessageA(box, WM_COMMAND, answer, 0);
        if (answer == IDNO) {
            ::Sleep(1000);
            EXPECT_TRUE(FolderExists(root + "\\C\\6remove")) << "removed after No";
        }
    }
    EXPECT_TRUE(WaitUntilGone(root + "\\C")) << "the drive's menu stayed";
    const DWORD removed = ::GetTickCount();
    EXPECT_TRUE(FolderExists(root + "\\srv\\pub")) << "the server's menu went too";
    EXPECT_TRUE(FileExists("C:\\6remove\\quagga.rctray"));

    search = tray.OpenSearch();
    ASSERT_TRUE(search) << "no search window after the removal";
    tray_driver::TypeIntoSearch(search, "quagga");
    EXPECT_EQ(Names(WaitForRows(search, {})), std::vector<std::string>{});
    EXPECT_LT(::GetTickCount() - removed, 15000u) << "the index dropped the drive only with its periodic pass";
    tray_driver::PressSearchKey(search, VK_ESCAPE);
}

// C:\8large (tests/tray/large-folder.sh) from the icon: its last range,
// then its last file, chosen in the fourth menu open (the root, C:, the
// folder and the range).
TEST(LargeTrayFolder, ProgramReachesTheLastEntry) {
    menutest::MenuGround ground;
    const ScopedRecorderFileType fileType;
    const Recorder recorder;

    const TrayRun tray;
    ASSERT_TRUE(AddAndOpenDown(tray, "C:\\8large", "c8"));
    tray_driver::PressKey(tray.Window(), VK_END);
    tray_driver::PressKey(tray.Window(), VK_RIGHT);
    ASSERT_TRUE(tray_driver::WaitForMenus(4)) << "the last range did not open";
    tray_driver::PressKey(tray.Window(), VK_END);
    tray_driver::PressKey(tray.Window(), VK_RETURN);
    const std::vector<std::string> lines = recorder.WaitForLines(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("C:\\8large\\f09999.rctray"), std::string::npos) << lines[0];
}

}  // namespace
