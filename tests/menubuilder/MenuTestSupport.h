#pragma once
// Ground and checks shared by the folder-menu builder's Wine tests.

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <set>
#include <string>

namespace menutest {

inline constexpr char kRootId[] = "{5A3C71E4-2B90-11D1-A4F6-00C04F7B3E28}";
inline constexpr char kFirstLevelId[] = "{5A3C71E4-2B90-11D3-A4F6-00C04F7B3E28}";
inline constexpr char kDeeperId[] = "{5A3C71E4-2B90-11D2-A4F6-00C04F7B3E28}";
inline constexpr char kExtensionKey[] = "CLSID\\{5A3C71E4-2B90-11D1-A4F6-00C04F7B3E28}";
inline constexpr char kInstallDir[] = "C:\\Program Files\\RootCaster";
// What "MS-DOS Prompt" starts when the system names no interpreter.
inline constexpr char kDefaultCommandInterpreter[] = "c:\\Windows\\command.com";

// RootCaster.exe's exit statuses in command-line mode.
inline constexpr DWORD kAdded = 0;
inline constexpr DWORD kIncomplete = 1;
inline constexpr DWORD kRefusedNoStartMenu = 2;
inline constexpr DWORD kRefusedInsideStartMenu = 3;
inline constexpr DWORD kRefusedRelative = 4;
inline constexpr DWORD kRefusedUnsafeName = 5;
inline constexpr DWORD kRefusedTooLong = 6;
inline constexpr DWORD kNoSuchMenu = 7;  // a removal's: the directory has no menu

// Clears the menu root, the settings of RootCaster.exe and of this test
// program, and the shell extension's class key; clears them again at the end.
class MenuGround {
public:
    MenuGround();
    ~MenuGround();
    MenuGround(const MenuGround&) = delete;
    MenuGround& operator=(const MenuGround&) = delete;
};

// An environment variable of this process (and of the programs it starts)
// set, or removed for a null value, for as long as the object lives.
class ScopedEnvironmentVariable {
public:
    ScopedEnvironmentVariable(const char* name, const char* value);
    ~ScopedEnvironmentVariable();
    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_saved;
};

// The command interpreter the prefix names: ComSpec of the system
// environment in the registry, expanded.
std::string NamedCommandInterpreter();

// The options as RootCaster.exe (and this program) read them.
void SetOptions(int addOpen, int addDOSPrompt);
void SetInstallDir(const std::string& directory);

// The folder has the System attribute and a hidden desktop.ini of exactly
// the 65 bytes naming `classId`.
testing::AssertionResult HasMarker(const std::string& folder, const char* classId);
// The menu root and every menu folder along `encodedPath` (such as
// "C\Windows") have the marker of their depth: 11D1, 11D3, then 11D2.
testing::AssertionResult HasMarkersAlong(const std::string& encodedPath);
// The folder exists without System attribute and without desktop.ini.
testing::AssertionResult IsUnmarked(const std::string& folder);

struct ExpectedShortcut {
    std::string target;
    std::string workingDirectory;
    std::string description;
    std::string iconFile;
};
ExpectedShortcut OpenItem(const std::string& level, const std::string& installDir = kInstallDir);
ExpectedShortcut DOSPromptItem(const std::string& level, const std::string& installDir = kInstallDir);

// The link file loads through IShellLinkA with these properties, show
// command 1 and icon index 0. Needs OLE.
testing::AssertionResult IsShortcut(const std::string& linkFile, const ExpectedShortcut& expected);

// The files and folders in `folder` and, `depth` levels down, below it
// (relative names), each with its attributes.
std::set<std::string> Snapshot(const std::string& folder, int depth);

// Names of the files and folders directly in `folder`.
std::set<std::string> Entries(const std::string& folder);

// Writes bytes over a file, so a later save can be told from the old one.
void Spoil(const std::string& path);

}  // namespace menutest
