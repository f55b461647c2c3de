// The real setup program, installed silently into the test prefix and removed
// again: the files and registry values it promises, the folder-menu extension
// it registers, its Start Menu entry, the Explorer verb's command run from the
// installed program and the menu it makes listed through the shell, and what
// the uninstaller leaves behind (the user's menus, and the settings if asked);
// the same for the current user alone, in the user's folder and keys.

#include "framework/OleSession.h"
#include "framework/UniqueHandle.h"
#include "menureader/MenuReader.h"
#include "tests/shellext/MenuServer.h"
#include "tests/shellext/ShellListing.h"
#include "tests/support/WineTest.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

const std::string kDefaultInstallDir = "C:\\Program Files\\RootCaster";
const std::string kChosenInstallDir = "C:\\Program Files\\Root Caster Test";
const std::string kClassKey = "CLSID\\{5A3C71E4-2B90-11D1-A4F6-00C04F7B3E28}";
const std::string kVerbKey = "Directory\\Shell\\RootCaster";
const std::string kVerbCommandKey = kVerbKey + "\\Command";
// The classes below HKEY_LOCAL_MACHINE (all users) or HKEY_CURRENT_USER.
const std::string kClasses = "Software\\Classes\\";
const std::string kSettingsKey = "Software\\Quillmoor\\RootCaster";
const std::string kConfigKey = kSettingsKey + "\\Config";
const std::string kStatsKey = kSettingsKey + "\\Stats";
const std::string kSessionManagerKey = "System\\CurrentControlSet\\Control\\Session Manager";
const std::string kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\RootCaster";
// Each edition's setup names itself in the list of installed programs, where
// 64-bit Windows shows both.
const std::string kDisplayName = sizeof(void*) == 8 ? "RootCaster (x64)" : "RootCaster";
const char* const kInstalledFiles[] = {"RootCaster.exe", "RootCasterTray.exe", "RootCasterMenu.dll", "explore.ico",
                                       "msdos.ico",      "RootCaster.htm",     "uninstall.exe"};
const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kRunValue[] = "RootCasterTray";
// The folder-menu extension's classes, below the mode's root.
const char* const kMenuClassKeys[] = {"Software\\Classes\\CLSID\\{5A3C71E4-2B90-11D1-A4F6-00C04F7B3E28}",
                                      "Software\\Classes\\CLSID\\{5A3C71E4-2B90-11D3-A4F6-00C04F7B3E28}",
                                      "Software\\Classes\\CLSID\\{5A3C71E4-2B90-11D2-A4F6-00C04F7B3E28}"};
// The directory that "Add to RootCaster!" is used on, and its menu folder
// below the menu root.
const std::string kVerbDirectory = "C:\\Root Caster Verb Probe";
const std::string kVerbMenuFolder = "\\C\\Root Caster Verb Probe";

// A file of the edition as dist/ ships it, which setup must install unchanged.
std::string Shipped(const std::string& name) {
    return CTestVariable("ROOTCASTER_DIST") + "\\" + name;
}

std::string ProgramsPath() {
    char path[MAX_PATH] = {};
    EXPECT_EQ(::SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, 0, path), S_OK);
    return path;
}

// Where a setup for the current user installs without /D=.
std::string UserProgramsDir() {
    char path[MAX_PATH] = {};
    EXPECT_EQ(::SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, path), S_OK);
    return std::string(path) + "\\Programs\\RootCaster";
}

std::string ShortcutPath() {
    return ProgramsPath() + "\\RootCaster.lnk";
}

std::string LongPath(const std::string& path) {
    char longPath[MAX_PATH] = {};
    return ::GetLongPathNameA(path.c_str(), longPath, MAX_PATH) ? longPath : "";
}

bool SameText(const std::string& a, const std::string& b) {
    return ::lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

bool StartsWith(const std::vector<BYTE>& bytes, const std::string& text) {
    return bytes.size() >= text.size() && std::equal(text.begin(), text.end(), bytes.begin());
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string WindowTitle(HWND window) {
    char title[256] = {};
    ::GetWindowTextA(window, title, sizeof(title));
    return title;
}

// A visible top-level window of the process whose title ends with
// `titleEnd` and which holds a control `controlId`.
struct WindowSearch {
    DWORD processId;
    int controlId;
    std::string titleEnd;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    WindowSearch& search = *reinterpret_cast<WindowSearch*>(param);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (processId != search.processId || !::IsWindowVisible(window) || !::GetDlgItem(window, search.controlId) ||
        !EndsWith(WindowTitle(window), search.titleEnd)) {
        return TRUE;
    }
    search.found = window;
    return FALSE;
}

HWND WaitForWindow(DWORD processId, int controlId, const std::string& titleEnd) {
    WindowSearch search{processId, controlId, titleEnd, nullptr};
    for (int attempt = 0; attempt < 300 && !search.found; ++attempt) {
        ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.found) ::Sleep(100);
    }
    return search.found;
}

using Images = std::set<std::vector<BYTE>>;

BOOL CALLBACK CollectImage(HMODULE module, LPCSTR type, LPSTR name, LPARAM param) {
    HRSRC resource = ::FindResourceA(module, name, type);
    const auto* bytes = static_cast<const BYTE*>(::LockResource(::LoadResource(module, resource)));
    if (bytes) reinterpret_cast<Images*>(param)->emplace(bytes, bytes + ::SizeofResource(module, resource));
    return TRUE;
}

// The images of every icon the program file carries.
Images IconImages(const std::string& file) {
    Images images;
    const fw::UniqueModule module(::LoadLibraryExA(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    EXPECT_TRUE(module) << file << ": error " << ::GetLastError();
    if (module) ::EnumResourceNamesA(module.get(), RT_ICON, CollectImage, reinterpret_cast<LPARAM>(&images));
    return images;
}

// The setup maker's own icon and name give way to RootCaster's.
void ExpectRootCastersBranding(HWND window, const std::string& caption) {
    EXPECT_EQ(WindowTitle(window), caption);
    char text[256] = {};
    constexpr int kBrandingText = 1028;
    ::GetDlgItemTextA(window, kBrandingText, text, sizeof(text));
    EXPECT_EQ(std::string(text), "RootCaster 1.0.5");
}

void PressButton(HWND dialog, int id) {
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

class Installation : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_ole.Ok()) << Hex(static_cast<unsigned long>(m_ole.Status()));
        ASSERT_FALSE(SetupPath().empty());
        m_menuRootExisted = FolderExists(MenuRoot());
        ::CreateDirectoryA(kVerbDirectory.c_str(), nullptr);
    }

    void TearDown() override {
        RemoveTree(kChosenInstallDir);
        RemoveTree(kDefaultInstallDir);
        RemoveTree(UserProgramsDir());
        RemoveTree(kVerbDirectory);
        RemoveTree(m_menuRootExisted ? MenuRoot() + kVerbMenuFolder : MenuRoot());
        ::DeleteFileA(ShortcutPath().c_str());
        DeleteKeyTree(HKEY_CLASSES_ROOT, kClassKey);
        for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            for (const char* classKey : kMenuClassKeys) DeleteKeyTree(root, classKey);
            DeleteKeyTree(root, kClasses + kVerbKey);
            DeleteKeyTree(root, kUninstallKey);
        }
        DeleteKeyTree(HKEY_CURRENT_USER, kSettingsKey);
    }

    // Setup with /S, and /D= when a directory is given (NSIS wants it last and
    // unquoted, blanks and all).
    static void Install(const std::string& directory, const std::string& options = "") {
        std::string line = "\"" + SetupPath() + "\" /S";
        if (!options.empty()) line += " " + options;
        if (!directory.empty()) line += " /D=" + directory;
        const ProcessResult run = RunProcess(SetupPath(), line);
        ASSERT_TRUE(run.finished);
        ASSERT_EQ(run.exitCode, 0u);
    }

    // The uninstaller normally copies itself away and returns at once; run
    // from a copy of our own with _?= it works on the installation directly
    // and we can wait for its end. It can then remove uninstall.exe, too.
    static std::string CopyUninstaller(const TempFolder& folder, const std::string& installDir) {
        const std::string copy = folder.Path() + "\\uninstall.exe";
        EXPECT_TRUE(::CopyFileA((installDir + "\\uninstall.exe").c_str(), copy.c_str(), FALSE)) << ::GetLastError();
        return copy;
    }

    static void Uninstall(const std::string& installDir, const std::string& options) {
        TempFolder folder("rootcaster-uninstaller");
        const std::string copy = CopyUninstaller(folder, installDir);
        const ProcessResult run = RunProcess(copy, "\"" + copy + "\" /S " + options + " _?=" + installDir);
        ASSERT_TRUE(run.finished);
        ASSERT_EQ(run.exitCode, 0u);
    }

    // A window that a user's click waits for: the button clicked, how the
    // window's title ends, and the whole title where its branding is checked.
    struct Click {
        int button;
        const char* titleEnd;
        const char* brandedTitle = nullptr;
    };

    // Runs `line` as a user works through its windows, each click's window
    // gone or retitled before the next is looked for (questions share a
    // caption).
    static void RunClicking(std::string line, std::initializer_list<Click> clicks) {
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        ASSERT_TRUE(::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
            << ::GetLastError();
        fw::UniqueProcess process(info.hProcess);
        fw::UniqueProcess thread(info.hThread);
        for (const Click& click : clicks) {
            const HWND window = WaitForWindow(info.dwProcessId, click.button, click.titleEnd);
            EXPECT_TRUE(window) << "no window ending \"" << click.titleEnd << "\" with button " << click.button;
            if (click.brandedTitle) ExpectRootCastersBranding(window, click.brandedTitle);
            PressButton(window, click.button);
            for (int waited = 0; waited < 100 && ::IsWindow(window) && EndsWith(WindowTitle(window), click.titleEnd);
                 ++waited) {
                ::Sleep(100);
            }
        }
        const bool ended = ::WaitForSingleObject(process.get(), 30000) == WAIT_OBJECT_0;
        if (!ended) ::TerminateProcess(process.get(), 99);
        EXPECT_TRUE(ended) << "the program did not get through its pages";
    }

    // As a user does it: confirm, answer the two questions (`keepSettings`
    // IDYES keeps the settings, `removeMenus` IDYES takes the menus off), close.
    static void UninstallAnswering(const std::string& installDir, int keepSettings, int removeMenus) {
        TempFolder folder("rootcaster-uninstaller");
        RunClicking("\"" + CopyUninstaller(folder, installDir) + "\" _?=" + installDir,
                    {{IDOK, ": Confirmation", "RootCaster 1.0.5 Uninstall: Confirmation"},
                     {keepSettings, " Uninstall"},
                     {removeMenus, " Uninstall"},
                     {IDOK, ": Completed"}});
    }

    // As an administrator does it, naming no mode: `allUsers` answers the
    // question for whom, then each page goes on with what it proposes.
    static void InstallAnswering(int allUsers) {
        RunClicking("\"" + SetupPath() + "\"", {{allUsers, " Setup"},
                                                {IDOK, ": Installation Options"},
                                                {IDOK, ": Installation Folder"},
                                                {IDOK, ": Completed"}});
    }

    static void ExpectInstalledFiles(const std::string& installDir) {
        for (const char* name : kInstalledFiles) EXPECT_TRUE(FileExists(installDir + "\\" + name)) << name;
        for (const char* name : {"RootCaster.exe", "RootCasterTray.exe", "RootCasterMenu.dll"}) {
            EXPECT_EQ(ReadFileBytes(installDir + "\\" + name), ReadFileBytes(Shipped(name))) << name;
        }
        EXPECT_FALSE(FileExists(installDir + "\\RootCasterMenu64.dll"))
            << "only the x86 setup on 64-bit Windows adds it";
        const std::string iconHeader("\0\0\1\0", 4);
        EXPECT_TRUE(StartsWith(ReadFileBytes(installDir + "\\explore.ico"), iconHeader));
        EXPECT_TRUE(StartsWith(ReadFileBytes(installDir + "\\msdos.ico"), iconHeader));
        EXPECT_TRUE(StartsWith(ReadFileBytes(installDir + "\\RootCaster.htm"), "<!DOCTYPE HTML PUBLIC"));
    }

    // The keys of the mode whose root is `root`, and none of the other's.
    static void ExpectInstalledRegistry(const std::string& installDir, HKEY root = HKEY_LOCAL_MACHINE) {
        const HKEY otherRoot = root == HKEY_LOCAL_MACHINE ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
        const std::optional<RawValue> installDirValue = ReadRaw(root, kClasses + kClassKey, "InstallDir");
        ASSERT_TRUE(installDirValue);
        EXPECT_EQ(installDirValue->type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(ReadText(root, kClasses + kClassKey, "InstallDir"), installDir);
        EXPECT_FALSE(KeyExists(otherRoot, kClasses + kClassKey));
        EXPECT_FALSE(KeyExists(otherRoot, kUninstallKey));
        for (const char* classKey : kMenuClassKeys) {
            EXPECT_EQ(ReadText(root, std::string(classKey) + "\\InProcServer32", nullptr),
                      installDir + "\\RootCasterMenu.dll")
                << classKey;
        }
        if (sizeof(void*) == 8) {
            EXPECT_EQ(ServerInView(KEY_WOW64_32KEY), "<no key>") << "32-bit Explorer cannot load the x64 extension";
        }

        // Stored without blanks, since "Help" puts it into a command line
        // unquoted; it must still name the installed page.
        const std::string helpFile = ReadText(HKEY_CURRENT_USER, kConfigKey, "HelpFile").value_or("");
        EXPECT_EQ(helpFile.find(' '), std::string::npos) << helpFile;
        EXPECT_TRUE(SameText(LongPath(helpFile), installDir + "\\RootCaster.htm")) << helpFile;

        const std::string uninstaller = "\"" + installDir + "\\uninstall.exe\"";
        EXPECT_EQ(ReadText(root, kUninstallKey, "DisplayName"), kDisplayName);
        EXPECT_EQ(ReadText(root, kUninstallKey, "DisplayVersion"), "1.0.5");
        EXPECT_EQ(ReadText(root, kUninstallKey, "Publisher"), "Quillmoor");
        EXPECT_EQ(ReadText(root, kUninstallKey, "UninstallString"), uninstaller);
        EXPECT_EQ(ReadText(root, kUninstallKey, "QuietUninstallString"), uninstaller + " /S");
        EXPECT_EQ(ReadText(root, kUninstallKey, "InstallLocation"), installDir);
        EXPECT_EQ(ReadText(root, kUninstallKey, "DisplayIcon"), installDir + "\\RootCaster.exe");
    }

    // The verb in the user's own classes, whichever the mode, as the
    // program's Done writes it; nothing in the machine's.
    static void ExpectInstalledVerb(const std::string& installDir) {
        EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kClasses + kVerbKey, nullptr), "Add to RootCaster!");
        EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kClasses + kVerbCommandKey, nullptr),
                  "\"" + installDir + "\\RootCaster.exe\" %1");
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kClasses + kVerbKey));
    }

    void ExpectInstalledShortcut(const std::string& installDir) const {
        const menureader::ShortcutFacts shortcut = menureader::ReadShortcut(ShortcutPath());
        ASSERT_TRUE(SUCCEEDED(shortcut.loaded)) << ShortcutPath() << " " << Hex(static_cast<DWORD>(shortcut.loaded));
        EXPECT_TRUE(SameText(shortcut.target, installDir + "\\RootCaster.exe")) << shortcut.target;
        EXPECT_TRUE(SameText(shortcut.workingDirectory, installDir)) << shortcut.workingDirectory;
        // The menu root is the program's to make, for the user's menus.
        EXPECT_EQ(FolderExists(MenuRoot()), m_menuRootExisted);
    }

    // The verb that setup wrote, run as Explorer runs it on a directory whose
    // path has blanks.
    static void AddThroughExplorerVerb(const std::string& directory) {
        std::string command = ReadText(HKEY_CURRENT_USER, kClasses + kVerbCommandKey, nullptr).value_or("");
        const size_t placeholder = command.find("%1");
        ASSERT_NE(placeholder, std::string::npos) << command;
        command.replace(placeholder, 2, directory);
        const ProcessResult run = RunProcess("", command);
        EXPECT_TRUE(run.finished) << command;
    }

    void InstallAndAddThroughExplorerVerb(const std::string& chosenDir, const std::string& installDir,
                                          const std::string& mode = "", HKEY root = HKEY_LOCAL_MACHINE) {
        Install(chosenDir, mode);
        ExpectInstalledFiles(installDir);
        ExpectInstalledRegistry(installDir, root);
        ExpectInstalledVerb(installDir);
        ExpectInstalledShortcut(installDir);

        const DWORD timesBefore = ReadDword(HKEY_CURRENT_USER, kStatsKey, "Times").value_or(0);
        AddThroughExplorerVerb(kVerbDirectory);
        EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kStatsKey, "Times").value_or(0), timesBefore + 1);
        // The program found its item icons through InstallDir.
        const std::string openItem = MenuRoot() + kVerbMenuFolder + "\\Open.lnk";
        EXPECT_EQ(menureader::ReadShortcut(openItem).iconFile, installDir + "\\explore.ico") << openItem;

        // Known Wine difference: Wine's HKEY_CLASSES_ROOT is the machine's
        // classes alone, so its shell finds no class registered for the
        // current user only and shows the menu folder as a plain folder.
        // Windows merges the user's classes over the machine's, and its
        // Explorer shows the live menu of either mode.
        if (root != HKEY_LOCAL_MACHINE) return;
        // The installed extension shows the menu as the directory's live menu.
        EXPECT_TRUE(MakeFile(kVerbDirectory + "\\listed.txt"));
        std::vector<std::wstring> expected = {L"Open", L"listed.txt"};
        if (ReadDword(HKEY_CURRENT_USER, kConfigKey, "AddDOSPrompt").value_or(0)) {
            expected.insert(expected.begin(), L"MS-DOS Prompt");
        }
        EXPECT_EQ(NamesOf(ShellFolderAt(Wide(MenuRoot() + kVerbMenuFolder)).List()), expected);
        // Let the uninstaller remove it: this process holds it no longer.
        ::CoFreeUnusedLibrariesEx(0, 0);
    }

    static void ExpectNothingOfTheProgramLeft(const std::string& installDir) {
        EXPECT_FALSE(FolderExists(installDir));
        EXPECT_FALSE(FileExists(ShortcutPath()));
        for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            SCOPED_TRACE(root == HKEY_LOCAL_MACHINE ? "machine" : "user");
            EXPECT_FALSE(ReadText(root, kClasses + kClassKey, "InstallDir"));
            for (const char* classKey : kMenuClassKeys) {
                EXPECT_FALSE(KeyExists(root, std::string(classKey) + "\\InProcServer32")) << classKey;
                EXPECT_FALSE(ReadText(root, classKey, nullptr)) << classKey;
            }
            EXPECT_FALSE(KeyExists(root, kClasses + kVerbKey));
            EXPECT_FALSE(KeyExists(root, kUninstallKey));
        }
        // Only the verb's own key goes; its parent, where setup put it, stays.
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kClasses + "Directory\\Shell") ||
                    KeyExists(HKEY_CLASSES_ROOT, "Directory\\Shell"));
        EXPECT_FALSE(ReadText(HKEY_CURRENT_USER, kConfigKey, "HelpFile"));
        EXPECT_FALSE(ReadText(HKEY_CURRENT_USER, kRunKey, kRunValue));
        EXPECT_FALSE(::FindWindowA("RootCasterTray", nullptr)) << "the tray program still runs";
    }

    fw::OleSession m_ole;
    bool m_menuRootExisted = false;
};

TEST_F(Installation, ChosenDirectoryWithBlanksAndUninstallKeepingSettings) {
    SetDword(HKEY_CURRENT_USER, kConfigKey, "AddDOSPrompt", 1);
    InstallAndAddThroughExplorerVerb(kChosenInstallDir, kChosenInstallDir, "/AllUsers");
    const std::optional<DWORD> times = ReadDword(HKEY_CURRENT_USER, kStatsKey, "Times");

    Uninstall(kChosenInstallDir, "");

    ExpectNothingOfTheProgramLeft(kChosenInstallDir);
    EXPECT_TRUE(FolderExists(MenuRoot() + kVerbMenuFolder)) << "the menus are the user's";
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey)) << "nothing else was in the class key";
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kConfigKey, "AddDOSPrompt"), 1u);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kStatsKey, "Times"), times);
}

// What others keep in the class key is not ours to remove; silently, the
// menus go only when asked, and a file the user put among them stays.
TEST_F(Installation, DefaultDirectoryAndUninstallRemovingSettingsAndMenus) {
    SetText(HKEY_CLASSES_ROOT, kClassKey, "Probe", "someone else's");
    InstallAndAddThroughExplorerVerb("", kDefaultInstallDir);

    const std::string mine = MenuRoot() + "\\C\\mine.txt";
    ASSERT_TRUE(MakeFile(mine));
    Uninstall(kDefaultInstallDir, "/REMOVESETTINGS /REMOVEMENUS");

    ExpectNothingOfTheProgramLeft(kDefaultInstallDir);
    EXPECT_FALSE(FolderExists(MenuRoot() + kVerbMenuFolder)) << "asked to, it takes the menus off";
    EXPECT_TRUE(FileExists(mine)) << "a file of the user's in the menus stays";
    ::DeleteFileA(mine.c_str());
    EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, kClassKey, "Probe"), "someone else's");
    EXPECT_FALSE(ReadText(HKEY_CLASSES_ROOT, kClassKey, nullptr));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey + "\\InProcServer32"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettingsKey));
}

// For the current user alone, into the user's programs folder or the one
// /D= names: the user's keys, the verb, and nothing of the machine's; the
// uninstaller takes it all away again and leaves an installation for all
// users as it was.
TEST_F(Installation, CurrentUserSetupKeepsToTheUsersFolderAndKeys) {
    for (const std::string& chosenDir : {std::string(), kChosenInstallDir}) {
        SCOPED_TRACE(chosenDir.empty() ? "default directory" : chosenDir);
        const std::string installDir = chosenDir.empty() ? UserProgramsDir() : chosenDir;
        InstallAndAddThroughExplorerVerb(chosenDir, installDir, "/CurrentUser", HKEY_CURRENT_USER);
        EXPECT_FALSE(FolderExists(kDefaultInstallDir)) << "Program Files is not the user's";
        Uninstall(installDir, "/REMOVESETTINGS");
        ExpectNothingOfTheProgramLeft(installDir);
        RemoveTree(m_menuRootExisted ? MenuRoot() + kVerbMenuFolder : MenuRoot());
    }

    Install("");
    Install("", "/CurrentUser");
    Uninstall(UserProgramsDir(), "/REMOVESETTINGS");
    EXPECT_FALSE(FolderExists(UserProgramsDir()));
    ExpectInstalledFiles(kDefaultInstallDir);
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kUninstallKey, "InstallLocation"), kDefaultInstallDir);
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kClasses + kClassKey, "InstallDir"), kDefaultInstallDir);
    EXPECT_EQ(ServerInView(0 /* this program's own view */), kDefaultInstallDir + "\\RootCasterMenu.dll");
    Uninstall(kDefaultInstallDir, "/REMOVESETTINGS");
}

// With the option cleared, setup writes no verb.
TEST_F(Installation, NoVerbWhenTheOptionIsCleared) {
    SetDword(HKEY_CURRENT_USER, kConfigKey, "AddToRootCaster", 0);
    Install("");
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kClasses + kVerbKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kClasses + kVerbKey));
    Uninstall(kDefaultInstallDir, "/REMOVESETTINGS");
}

// As when Explorer holds the extension: it goes at the next restart.
TEST_F(Installation, UninstallWhileTheExtensionIsLoaded) {
    Install("");
    const std::string menuDll = kDefaultInstallDir + "\\RootCasterMenu.dll";
    fw::UniqueModule held(::LoadLibraryA(menuDll.c_str()));
    ASSERT_TRUE(held) << ::GetLastError();

    Uninstall(kDefaultInstallDir, "/REMOVESETTINGS");

    EXPECT_FALSE(FileExists(kDefaultInstallDir + "\\RootCaster.exe"));
    for (const char* classKey : kMenuClassKeys) {
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(classKey) + "\\InProcServer32")) << classKey;
    }
    const std::optional<RawValue> pending =
        ReadRaw(HKEY_LOCAL_MACHINE, kSessionManagerKey, "PendingFileRenameOperations");
    ASSERT_TRUE(pending);
    const std::string operations(pending->data.begin(), pending->data.end());
    EXPECT_NE(operations.find("RootCasterMenu.dll"), std::string::npos) << "the DLL is not removed at the restart";
    held.reset();
    ::SHDeleteValueA(HKEY_LOCAL_MACHINE, kSessionManagerKey.c_str(), "PendingFileRenameOperations");
}

// Asked, the uninstaller keeps the settings on Yes and deletes them on No;
// then it takes the menus off on Yes and keeps them on No.
TEST_F(Installation, UninstallerAsksAboutSettingsAndMenus) {
    for (const int answer : {IDYES, IDNO}) {
        SCOPED_TRACE(answer == IDYES ? "yes" : "no");
        SetDword(HKEY_CURRENT_USER, kConfigKey, "AddDOSPrompt", 1);
        InstallAndAddThroughExplorerVerb(kChosenInstallDir, kChosenInstallDir, "/AllUsers");
        UninstallAnswering(kChosenInstallDir, answer, answer);
        ExpectNothingOfTheProgramLeft(kChosenInstallDir);
        EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kConfigKey, "AddDOSPrompt").has_value(), answer == IDYES);
        EXPECT_EQ(FolderExists(MenuRoot() + kVerbMenuFolder), answer == IDNO) << "the menu of the added directory";
        // Taking the menus off may take the menu root with them.
        RemoveTree(m_menuRootExisted ? MenuRoot() + kVerbMenuFolder : MenuRoot());
        if (m_menuRootExisted) ::CreateDirectoryA(MenuRoot().c_str(), nullptr);
    }
}

// An administrator who names no mode is asked: Yes installs for all users,
// No for the administrator alone, each in its own folder and keys.
TEST_F(Installation, SetupAsksAnAdministratorForWhom) {
    for (const int answer : {IDYES, IDNO}) {
        SCOPED_TRACE(answer == IDYES ? "all users" : "this user");
        const std::string installDir = answer == IDYES ? kDefaultInstallDir : UserProgramsDir();
        InstallAnswering(answer);
        ExpectInstalledFiles(installDir);
        ExpectInstalledRegistry(installDir, answer == IDYES ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER);
        Uninstall(installDir, "/REMOVESETTINGS");
        ExpectNothingOfTheProgramLeft(installDir);
    }
}

// Asked to, setup starts the tray program now and with Windows; the
// uninstaller ends it and removes its Run entry. Unasked, it does neither.
TEST_F(Installation, StartsTheTrayProgramOnlyWhenAskedAndUninstallerEndsIt) {
    Install("");
    EXPECT_FALSE(ReadText(HKEY_CURRENT_USER, kRunKey, kRunValue));
    EXPECT_FALSE(::FindWindowA("RootCasterTray", nullptr));
    Uninstall(kDefaultInstallDir, "/REMOVESETTINGS");

    Install("", "/TRAYNOW /TRAYLOGON");
    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kRunKey, kRunValue), "\"" + kDefaultInstallDir + "\\RootCasterTray.exe\"");
    HWND tray = nullptr;
    for (int waited = 0; !tray && waited < 20000; waited += 50) {
        ::Sleep(50);
        tray = ::FindWindowA("RootCasterTray", nullptr);
    }
    EXPECT_TRUE(tray) << "the tray program did not start";
    Uninstall(kDefaultInstallDir, "/REMOVESETTINGS");
    ExpectNothingOfTheProgramLeft(kDefaultInstallDir);
}

TEST_F(Installation, SetupAndUninstallerCarryRootCastersIcon) {
    Install("");
    const Images program = IconImages(ProgramPath());
    for (const std::string& file : {SetupPath(), kDefaultInstallDir + "\\uninstall.exe"}) {
        const Images images = IconImages(file);
        EXPECT_FALSE(images.empty()) << file;
        for (const std::vector<BYTE>& image : images) {
            EXPECT_EQ(program.count(image), 1u)
                << file << " has an icon image of " << image.size() << " bytes that RootCaster.exe does not have";
        }
    }
    Uninstall(kDefaultInstallDir, "/REMOVESETTINGS");
}

// An ANSI setup, so that it runs on the oldest systems the program supports.
TEST_F(Installation, SetupAndUninstallerRunWhereWindowsReports95And98AndNT4) {
    if (sizeof(void*) == 8) GTEST_SKIP() << "the x64 setup is for 64-bit Windows only";
    const std::string setupName = SetupPath().substr(SetupPath().rfind('\\') + 1);
    for (const char* version : {"win95", "win98", "nt40"}) {
        SCOPED_TRACE(version);
        ScopedWindowsVersion setupVersion(setupName, version);
        ScopedWindowsVersion uninstallerVersion("uninstall.exe", version);
        Install("", "/CurrentUser");
        ExpectInstalledFiles(kDefaultInstallDir);
        ExpectInstalledRegistry(kDefaultInstallDir);
        EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kVerbCommandKey)) << "these systems have no per-user classes";
        Uninstall(kDefaultInstallDir, "/REMOVESETTINGS");
        ExpectNothingOfTheProgramLeft(kDefaultInstallDir);
    }
}

}  // namespace
