// The real RootCaster.exe started without a directory: its main dialog driven
// through controls and messages, its work read back from the registry.

#include "framework/OleSession.h"
#include "res/resource.h"
#include "tests/support/Recorder.h"
#include "tests/support/WineTest.h"
#include "tests/ui/MainDialogRun.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>

using namespace testing_support;
using namespace ui_testing;

namespace {

const std::string kInstallDir = "C:\\Program Files\\Quillmoor RootCaster";
// A folder name outside any single code page. The program and this test
// program (which carries the program's resources) both run in UTF-8.
const std::string kWorldName = "rootcaster Ελληνικά 日本語 😀";

std::optional<DWORD> StoredOption(const char* entry) {
    return ReadDword(HKEY_CURRENT_USER, kConfigKey, entry);
}

std::string DesktopPath() {
    char path[MAX_PATH] = {};
    ::SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, path);
    return path;
}

// A directory's menu folder below the menu root: C:\a\b gives C\a\b.
std::string MenuPathOf(std::string directory) {
    directory.erase(std::remove(directory.begin(), directory.end(), ':'), directory.end());
    return directory;
}

void InstallVerbWithExtraKey() {
    SetText(HKEY_CURRENT_USER, kUserVerbCommandKey, nullptr, "old command %1");
    SetText(HKEY_CURRENT_USER, kUserVerbKey, nullptr, "old text");
    SetText(HKEY_CURRENT_USER, kUserVerbKey + "\\Extra\\Deeper", nullptr, "put there by someone else");
}

void ExpectChecks(HWND dialog, int explorer, int open, int dosPrompt) {
    EXPECT_EQ(CheckState(dialog, IDC_ADD_TO_ROOTCASTER), explorer);
    EXPECT_EQ(CheckState(dialog, IDC_ADD_OPEN), open);
    EXPECT_EQ(CheckState(dialog, IDC_ADD_DOS_PROMPT), dosPrompt);
}

using MainDialog = MainDialogTest;

TEST_F(MainDialog, FirstStartShowsTheDefaultsAndDoneInstallsTheVerb) {
    SetText(HKEY_CLASSES_ROOT, kExtensionClassKey, "InstallDir", kInstallDir);
    MainDialogRun run;
    ASSERT_TRUE(run.Dialog());
    ExpectChecks(run.Dialog(), 1, 1, 0);
    const RemoteTree tree(run.Item(IDC_TREE));
    EXPECT_EQ(tree.Text(tree.Root()), "My Computer");
    EXPECT_TRUE(tree.DriveItem('C')) << "the drives show at once";
    EXPECT_FALSE(tree.Selected()) << "the user makes the selection";
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUserVerbKey)) << "only Done installs the verb";

    ASSERT_TRUE(run.Done());
    EXPECT_EQ(StoredOption("AddToRootCaster"), 1u);
    EXPECT_EQ(StoredOption("AddOpen"), 1u);
    EXPECT_EQ(StoredOption("AddDOSPrompt"), 0u);
    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kUserVerbKey, nullptr), "Add to RootCaster!");
    // The program path is quoted: unquoted, Windows would try
    // "C:\Program.exe" first. %1 stays unquoted (see ExplorerVerb tests).
    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kUserVerbCommandKey, nullptr), "\"" + kInstallDir + "\\RootCaster.exe\" %1");
}

TEST_F(MainDialog, DoneWithoutInstallRecordWritesTheCommandAllTheSame) {
    MainDialogRun run;
    ASSERT_TRUE(run.Done());
    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kUserVerbCommandKey, nullptr), "\"\\RootCaster.exe\" %1");
}

TEST_F(MainDialog, EscapeAndTheCloseCommandsActAsDone) {
    const struct {
        const char* name;
        UINT message;
        WPARAM wParam;
    } closings[] = {
        {"Escape key", WM_KEYDOWN, VK_ESCAPE},
        {"WM_CLOSE", WM_CLOSE, 0},
        {"system menu Close", WM_SYSCOMMAND, SC_CLOSE},
    };
    for (const auto& closing : closings) {
        SCOPED_TRACE(closing.name);
        ClearGround();
        InstallVerbWithExtraKey();
        MainDialogRun run;
        ASSERT_TRUE(run.Dialog());
        Click(run.Dialog(), IDC_ADD_TO_ROOTCASTER);
        Click(run.Dialog(), IDC_ADD_DOS_PROMPT);
        ::PostMessageA(run.Dialog(), closing.message, closing.wParam, 0);
        ASSERT_TRUE(run.Program().WaitForExit());
        EXPECT_EQ(StoredOption("AddToRootCaster"), 0u);
        EXPECT_EQ(StoredOption("AddOpen"), 1u);
        EXPECT_EQ(StoredOption("AddDOSPrompt"), 1u);
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUserVerbKey)) << "the verb is removed with every key below it";
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kClasses + "Directory\\Shell"));
    }
}

TEST_F(MainDialog, OptionOutsideZeroToTwoShowsClearedAndDoneStoresZero) {
    SetDword(HKEY_CURRENT_USER, kConfigKey, "AddToRootCaster", 3);
    SetDword(HKEY_CURRENT_USER, kConfigKey, "AddOpen", 0xFFFFFFFF);
    SetDword(HKEY_CURRENT_USER, kConfigKey, "AddDOSPrompt", 1);
    InstallVerbWithExtraKey();
    MainDialogRun run;
    ASSERT_TRUE(run.Dialog());
    ExpectChecks(run.Dialog(), 0, 0, 1);
    ASSERT_TRUE(run.Done());
    EXPECT_EQ(StoredOption("AddToRootCaster"), 0u);
    EXPECT_EQ(StoredOption("AddOpen"), 0u);
    EXPECT_EQ(StoredOption("AddDOSPrompt"), 1u);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUserVerbKey));
}

TEST_F(MainDialog, ExplorerOptionIsStoredAndAppliedOnlyByDone) {
    MainDialogRun run;
    ASSERT_TRUE(run.Dialog());
    for (int toggle = 0; toggle < 3; ++toggle) Click(run.Dialog(), IDC_ADD_TO_ROOTCASTER);
    Click(run.Dialog(), IDOK);
    ASSERT_TRUE(run.StillOpen());
    EXPECT_FALSE(StoredOption("AddToRootCaster"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUserVerbKey));

    ASSERT_TRUE(run.Done());
    EXPECT_EQ(StoredOption("AddToRootCaster"), 0u);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUserVerbKey));
}

TEST_F(MainDialog, AddCreatesTheMenusOfTheSelectedFolderAndTheDialogStaysOpen) {
    ASSERT_EQ(::GetACP(), static_cast<UINT>(CP_UTF8));
    TempFolder first("rootcaster add first");
    TempFolder second(kWorldName);
    MainDialogRun run;
    ASSERT_TRUE(run.Dialog());
    const RemoteTree tree(run.Item(IDC_TREE));
    const HTREEITEM selected = tree.ExpandTo(first.Path());
    ASSERT_TRUE(selected);
    Click(run.Dialog(), IDOK);
    ASSERT_TRUE(run.StillOpen());
    EXPECT_EQ(StoredOption("AddOpen"), 1u) << "stored for the builder, which reads them";
    EXPECT_EQ(StoredOption("AddDOSPrompt"), 0u);
    const std::string firstMenu = MenuRoot() + "\\" + MenuPathOf(first.Path());
    EXPECT_TRUE(FileExists(firstMenu + "\\Open.lnk")) << firstMenu;
    EXPECT_FALSE(FileExists(firstMenu + "\\MS-DOS Prompt.lnk"));
    EXPECT_EQ(tree.Selected(), selected) << "the tree keeps its selection";

    ASSERT_TRUE(tree.ExpandTo(second.Path()));
    Click(run.Dialog(), IDC_ADD_DOS_PROMPT);
    ::PostMessageA(run.Dialog(), WM_KEYDOWN, VK_RETURN, 0);
    const std::string secondMenu = MenuRoot() + "\\" + MenuPathOf(second.Path());
    EXPECT_TRUE(WaitFor([&] { return FileExists(secondMenu + "\\MS-DOS Prompt.lnk") ? run.Dialog() : nullptr; }))
        << "Enter adds the selected folder too, with the options of the moment";
    const fw::OleSession ole;
    EXPECT_EQ(Narrow(ReadLinkTarget(Wide(secondMenu + "\\Open.lnk")).path), second.Path() + "\\");
    ASSERT_TRUE(run.StillOpen());
    EXPECT_EQ(StoredOption("AddDOSPrompt"), 1u);
    ASSERT_TRUE(run.Done());
}

TEST_F(MainDialog, HiddenMainItemFieldHoldsRootCaster) {
    MainDialogRun run;
    ASSERT_TRUE(run.Dialog());
    EXPECT_FALSE(::IsWindowVisible(run.Item(IDC_MAIN_ITEM)));
    EXPECT_EQ(WindowText(run.Item(IDC_MAIN_ITEM)), "RootCaster");
    EXPECT_EQ(::SendMessageA(run.Item(IDC_MAIN_ITEM), EM_GETLIMITTEXT, 0, 0), 60);
    ASSERT_TRUE(run.Done());
}

TEST_F(MainDialog, SystemCommands16To31OpenTheAboutBox) {
    MainDialogRun run;
    ASSERT_TRUE(run.Dialog());
    for (WPARAM command : {16, 17, 24, 31}) {
        SCOPED_TRACE(command);
        ::PostMessageA(run.Dialog(), WM_SYSCOMMAND, command, 0);
        HWND about = run.WaitForAboutBox();
        ASSERT_TRUE(about);
        EXPECT_FALSE(::IsWindowEnabled(run.Dialog())) << "the About box is modal over the dialog";
        Click(about, IDOK);
        EXPECT_TRUE(WaitUntilGone(about));
    }
    ::PostMessageA(run.Dialog(), WM_SYSCOMMAND, 32, 0);
    ASSERT_TRUE(run.StillOpen());
    EXPECT_FALSE(FindOwnedWindow(run.Dialog())) << "command 32 is not the About item's";
    ASSERT_TRUE(run.Done());
}

TEST_F(MainDialog, HelpOpensTheHelpFileWithTheHtmlProgram) {
    Recorder recorder;
    const std::string program = "\"" + Recorder::ProgramPath() + "\"";
    ScopedHtmlAssociation association(program + " \"%1\"");
    MainDialogRun run;
    ASSERT_TRUE(run.Dialog());
    Click(run.Dialog(), IDC_HELP_BUTTON);
    EXPECT_TRUE(recorder.LinesOnceNoneRuns().empty()) << "without HelpFile, Help does nothing";

    const std::string helpFile = "C:\\Program Files\\" + kWorldName + "\\Help Me.htm";
    SetText(HKEY_CURRENT_USER, kConfigKey, "HelpFile", helpFile);
    Click(run.Dialog(), IDC_HELP_BUTTON);
    const auto lines = recorder.WaitForLines(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], program + " \"" + helpFile + "\"");
    ASSERT_TRUE(run.StillOpen());
    ASSERT_TRUE(run.Done());
}

// Cancelled, the picker leaves nothing stored, not even the item options;
// confirmed, it stores them and adds the folder.
TEST_F(MainDialog, FolderPickerAddsOnlyAConfirmedFolder) {
    MainDialogRun run;
    ASSERT_TRUE(run.Dialog());
    Click(run.Dialog(), IDC_ADD_DOS_PROMPT);
    PostClick(run.Dialog(), IDC_BROWSE);
    HWND picker = run.WaitForOwnedWindow();
    ASSERT_TRUE(picker);
    EXPECT_NE(StaticTexts(picker).find("Select Directory|"), std::string::npos) << StaticTexts(picker);
    ::PostMessageA(picker, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntilGone(picker));
    ASSERT_TRUE(run.StillOpen());
    EXPECT_FALSE(StoredOption("AddDOSPrompt"));
    EXPECT_FALSE(StoredOption("AddOpen"));
    EXPECT_FALSE(FolderExists(MenuRoot()));

    PostClick(run.Dialog(), IDC_BROWSE);
    picker = run.WaitForOwnedWindow();
    ASSERT_TRUE(picker);
    // The top of the whole namespace, the desktop, is a file-system folder.
    const RemoteTree tree(::FindWindowExA(picker, nullptr, "SysTreeView32", nullptr));
    tree.Select(tree.Root());
    ::PostMessageA(picker, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntilGone(picker));
    ASSERT_TRUE(run.StillOpen());
    EXPECT_EQ(StoredOption("AddOpen"), 1u);
    EXPECT_EQ(StoredOption("AddDOSPrompt"), 1u);
    // The builder read both options from the settings: both items are there.
    const std::string menuFolder = MenuRoot() + "\\" + MenuPathOf(DesktopPath());
    EXPECT_TRUE(FileExists(menuFolder + "\\Open.lnk")) << menuFolder;
    EXPECT_TRUE(FileExists(menuFolder + "\\MS-DOS Prompt.lnk")) << menuFolder;

    // A folder on the desktop, found in the picker's tree by its name.
    const std::string chosen = DesktopPath() + "\\" + kWorldName;
    const FoldersAlong made(Wide(chosen));
    PostClick(run.Dialog(), IDC_BROWSE);
    picker = run.WaitForOwnedWindow();
    ASSERT_TRUE(picker);
    const RemoteTree pickerTree(::FindWindowExA(picker, nullptr, "SysTreeView32", nullptr));
    pickerTree.Expand(pickerTree.Root());
    const HTREEITEM item = pickerTree.Child(pickerTree.Root(), kWorldName);
    EXPECT_TRUE(item) << "the picker shows the name";
    pickerTree.Select(item);
    ::PostMessageA(picker, WM_COMMAND, item ? IDOK : IDCANCEL, 0);
    ASSERT_TRUE(WaitUntilGone(picker));
    ASSERT_TRUE(run.StillOpen());
    EXPECT_TRUE(FileExists(MenuRoot() + "\\" + MenuPathOf(chosen) + "\\Open.lnk")) << chosen;
    ASSERT_TRUE(run.Done());
}

// A name of 90 characters takes 270 bytes in UTF-8, more than the directory
// search's buffer holds, and comes back cut: the tree leaves it out rather
// than show, and add, a folder of another name.
TEST_F(MainDialog, TreeLeavesOutNamesCutToFitTheSearch) {
    TempFolder parent("rootcaster long names");
    for (const std::string& name : {std::string("short"), Narrow(std::wstring(90, L'\u65E5'))}) {
        ASSERT_TRUE(::CreateDirectoryA((parent.Path() + "\\" + name).c_str(), nullptr)) << ::GetLastError();
    }
    MainDialogRun run;
    ASSERT_TRUE(run.Dialog());
    const RemoteTree tree(run.Item(IDC_TREE));
    const HTREEITEM folder = tree.ExpandTo(parent.Path());
    ASSERT_TRUE(folder);
    tree.Expand(folder);
    std::string names;
    for (HTREEITEM child = tree.FirstChild(folder); child; child = tree.NextSibling(child)) {
        names += tree.Text(child) + "|";
    }
    EXPECT_EQ(names, "short|");
    ASSERT_TRUE(run.Done());
}

}  // namespace
