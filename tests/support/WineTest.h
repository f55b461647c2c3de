#pragma once
// Helpers for tests that run under Wine against the real registry, file
// system and programs of the test prefix.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace testing_support {

// A variable CTest sets for the test; a failure when it is missing.
std::string CTestVariable(const char* name);

// Paths of the programs under test, handed over by CTest (Windows paths).
std::string ProgramPath();
std::string MenuReaderPath();
std::string SetupPath();
// A file built into the same folder as RootCaster.exe.
std::string BesideProgram(const std::string& fileName);

struct ProcessResult {
    bool finished = false;  // false: still running at the time-out, then ended
    DWORD exitCode = 0;
};

// A directory named in Greek, Japanese and an emoji (one character of two
// UTF-16 units), for the tests of names outside the prefix's code page.
inline const std::wstring kWorldDirectory = L"C:\\Ελληνικά\\日本語\\😀";

// Text between a code page (this program's ANSI code page unless told) and
// UTF-16.
std::wstring Wide(const std::string& text, UINT codePage = CP_ACP);
std::string Narrow(const std::wstring& text, UINT codePage = CP_ACP);

// Starts `program` with the whole command line `commandLine` (which, as on
// Windows, normally begins with the program's name) and waits for its end.
// An empty `program` lets the command line name it, as the shell does when
// it runs a command stored in the registry.
ProcessResult RunProcess(const std::string& program, const std::string& commandLine, DWORD timeoutMs = 60000);

// The same with UTF-16 texts, as Explorer starts a verb's command.
ProcessResult RunProcessWide(const std::wstring& program, const std::wstring& commandLine, DWORD timeoutMs = 60000);

// The program started as `"program" tail` (just `"program"` for an empty tail).
ProcessResult RunProgram(const std::string& program, const std::string& tail, DWORD timeoutMs = 60000);

// Registry, read back without the code under test.
void DeleteKeyTree(HKEY root, const std::string& path);
bool KeyExists(HKEY root, const std::string& path);
std::optional<DWORD> ReadDword(HKEY root, const std::string& path, const char* value);
std::optional<std::string> ReadText(HKEY root, const std::string& path, const char* value);
struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};
std::optional<RawValue> ReadRaw(HKEY root, const std::string& path, const char* value);
void SetText(HKEY root, const std::string& path, const char* value, const std::string& text);
void SetRaw(HKEY root, const std::string& path, const char* value, DWORD type, const std::vector<BYTE>& data);
void SetDword(HKEY root, const std::string& path, const char* value, DWORD number);

// The user's Start Menu folder, as the shell reports it.
std::string StartMenuPath();
// The menu root RootCaster manages: the Start Menu's folder "RootCaster".
std::string MenuRoot();

// A fresh, empty folder below the temporary directory, removed at the end.
class TempFolder {
public:
    explicit TempFolder(const std::string& name);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

// Removes a folder with everything below it (attributes cleared first),
// whatever the names below it.
void RemoveTree(const std::string& path);
void RemoveTree(const std::wstring& path);

// Every missing folder along a UTF-16 path, made for the object's life.
class FoldersAlong {
public:
    explicit FoldersAlong(const std::wstring& path);
    ~FoldersAlong();
    FoldersAlong(const FoldersAlong&) = delete;
    FoldersAlong& operator=(const FoldersAlong&) = delete;

private:
    std::vector<std::wstring> m_made;
};

// A link file read back through IShellLinkW: the target path it keeps, and
// the path of the item IDs it keeps. Needs OLE.
struct LinkTarget {
    HRESULT loaded = E_FAIL;
    std::wstring path;
    std::wstring itemIdPath;
};
LinkTarget ReadLinkTarget(const std::wstring& linkFile);
bool FolderExists(const std::string& path);
bool FileExists(const std::string& path);
// Makes or replaces a file with these attributes and bytes, through the wide
// functions so that any name can be made.
bool MakeFile(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL, const std::string& bytes = {});
bool MakeFile(const std::string& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL);
std::vector<BYTE> ReadFileBytes(const std::string& path);

// Makes Wine report another Windows version to one program (by file name),
// e.g. "win95", "win98", "nt40", for as long as the object lives.
class ScopedWindowsVersion {
public:
    ScopedWindowsVersion(const std::string& programFileName, const std::string& version);
    ~ScopedWindowsVersion();
    ScopedWindowsVersion(const ScopedWindowsVersion&) = delete;
    ScopedWindowsVersion& operator=(const ScopedWindowsVersion&) = delete;

private:
    std::string m_key;
};

// A value as hex, for failure messages.
std::string Hex(unsigned long value);

}  // namespace testing_support
