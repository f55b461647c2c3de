#include "tests/support/WineTest.h"

#include "framework/ComPtr.h"
#include "framework/UniqueHandle.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdio>
#include <cstdlib>

namespace testing_support {

std::string CTestVariable(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) {
        ADD_FAILURE() << name << " is not set: run the test through CTest";
        return std::string();
    }
    return value;
}

std::string ProgramPath() {
    return CTestVariable("ROOTCASTER_EXE");
}
std::string MenuReaderPath() {
    return CTestVariable("MENUREADER_EXE");
}
std::string SetupPath() {
    return CTestVariable("ROOTCASTER_SETUP");
}

std::string BesideProgram(const std::string& fileName) {
    const std::string program = ProgramPath();
    return program.substr(0, program.find_last_of('\\') + 1) + fileName;
}

std::wstring Wide(const std::string& text, UINT codePage) {
    const int size = static_cast<int>(text.size());
    std::wstring wide(static_cast<size_t>(::MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0)), L'\0');
    if (!wide.empty()) ::MultiByteToWideChar(codePage, 0, text.data(), size, &wide[0], static_cast<int>(wide.size()));
    return wide;
}

// No default character: UTF-8 takes none, and Windows fails a call given one.
std::string Narrow(const std::wstring& text, UINT codePage) {
    const int size = static_cast<int>(text.size());
    std::string narrow(
        static_cast<size_t>(::WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr)), '\0');
    if (!narrow.empty()) {
        ::WideCharToMultiByte(codePage, 0, text.data(), size, &narrow[0], static_cast<int>(narrow.size()), nullptr,
                              nullptr);
    }
    return narrow;
}

ProcessResult RunProcess(const std::string& program, const std::string& commandLine, DWORD timeoutMs) {
    return RunProcessWide(Wide(program), Wide(commandLine), timeoutMs);
}

ProcessResult RunProcessWide(const std::wstring& program, const std::wstring& commandLine, DWORD timeoutMs) {
    ProcessResult result;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    const wchar_t* application = program.empty() ? nullptr : program.c_str();
    // Wine's CreateProcess now and then fails with ERROR_INTERNAL_ERROR on a
    // busy machine, a difference from Windows: the program is started again.
    DWORD error = ERROR_INTERNAL_ERROR;
    for (int attempt = 0; attempt < 3 && error == ERROR_INTERNAL_ERROR; ++attempt) {
        std::wstring line = commandLine;
        error = ::CreateProcessW(application, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)
                    ? ERROR_SUCCESS
                    : ::GetLastError();
        if (error == ERROR_INTERNAL_ERROR) ::Sleep(200);
    }
    if (error != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot start " << Narrow(commandLine, CP_UTF8) << ": error " << error;
        return result;
    }
    fw::UniqueProcess process(info.hProcess);
    fw::UniqueProcess thread(info.hThread);
    result.finished = ::WaitForSingleObject(process.get(), timeoutMs) == WAIT_OBJECT_0;
    if (!result.finished) {
        ::TerminateProcess(process.get(), 99);
        ::WaitForSingleObject(process.get(), 5000);
    }
    ::GetExitCodeProcess(process.get(), &result.exitCode);
    return result;
}

ProcessResult RunProgram(const std::string& program, const std::string& tail, DWORD timeoutMs) {
    std::string line = "\"" + program + "\"";
    if (!tail.empty()) line += " " + tail;
    return RunProcess(program, line, timeoutMs);
}

void DeleteKeyTree(HKEY root, const std::string& path) {
    ::SHDeleteKeyA(root, path.c_str());
}

bool KeyExists(HKEY root, const std::string& path) {
    fw::UniqueKey key;
    return ::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

std::optional<DWORD> ReadDword(HKEY root, const std::string& path, const char* value) {
    DWORD data = 0, size = sizeof(data), type = 0;
    if (::SHGetValueA(root, path.c_str(), value, &type, &data, &size) != ERROR_SUCCESS || type != REG_DWORD) {
        return std::nullopt;
    }
    return data;
}

std::optional<std::string> ReadText(HKEY root, const std::string& path, const char* value) {
    char data[4096] = {};
    DWORD size = sizeof(data) - 1, type = 0;
    if (::SHGetValueA(root, path.c_str(), value, &type, data, &size) != ERROR_SUCCESS) return std::nullopt;
    return std::string(data);
}

std::optional<RawValue> ReadRaw(HKEY root, const std::string& path, const char* value) {
    RawValue raw;
    raw.data.resize(4096);
    DWORD size = static_cast<DWORD>(raw.data.size());
    if (::SHGetValueA(root, path.c_str(), value, &raw.type, raw.data.data(), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    raw.data.resize(size);
    return raw;
}

void SetText(HKEY root, const std::string& path, const char* value, const std::string& text) {
    ASSERT_EQ(::SHSetValueA(root, path.c_str(), value, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1)),
              ERROR_SUCCESS);
}

void SetRaw(HKEY root, const std::string& path, const char* value, DWORD type, const std::vector<BYTE>& data) {
    ASSERT_EQ(::SHSetValueA(root, path.c_str(), value, type, data.data(), static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
}

void SetDword(HKEY root, const std::string& path, const char* value, DWORD number) {
    SetRaw(root, path, value, REG_DWORD,
           {static_cast<BYTE>(number), static_cast<BYTE>(number >> 8), static_cast<BYTE>(number >> 16),
            static_cast<BYTE>(number >> 24)});
}

std::string StartMenuPath() {
    char path[MAX_PATH] = {};
    EXPECT_EQ(::SHGetFolderPathA(nullptr, CSIDL_STARTMENU, nullptr, 0, path), S_OK);
    return path;
}

std::string MenuRoot() {
    return StartMenuPath() + "\\RootCaster";
}

TempFolder::TempFolder(const std::string& name) {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    m_path = std::string(temp) + name;
    RemoveTree(m_path);
    ::SHCreateDirectoryExA(nullptr, m_path.c_str(), nullptr);
}

TempFolder::~TempFolder() {
    RemoveTree(m_path);
}

void RemoveTree(const std::string& path) {
    RemoveTree(Wide(path));
}

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW entry;
    fw::UniqueFind find(::FindFirstFileW((path + L"\\*").c_str(), &entry));
    if (find) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = path + L"\\" + name;
            ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                ::DeleteFileW(child.c_str());
            }
        } while (::FindNextFileW(find.get(), &entry));
    }
    find.reset();
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryW(path.c_str());
}

FoldersAlong::FoldersAlong(const std::wstring& path) {
    for (size_t end = path.find(L'\\', 3);; end = path.find(L'\\', end + 1)) {
        const std::wstring folder = path.substr(0, end);
        if (::CreateDirectoryW(folder.c_str(), nullptr)) m_made.push_back(folder);
        if (end == std::wstring::npos) break;
    }
}

FoldersAlong::~FoldersAlong() {
    for (auto folder = m_made.rbegin(); folder != m_made.rend(); ++folder) RemoveTree(*folder);
}

LinkTarget ReadLinkTarget(const std::wstring& linkFile) {
    LinkTarget target;
    fw::ComPtr<IShellLinkW> link;
    target.loaded =
        ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void());
    fw::ComPtr<IPersistFile> file;
    if (SUCCEEDED(target.loaded)) target.loaded = link.QueryInterface(IID_IPersistFile, file);
    if (SUCCEEDED(target.loaded)) target.loaded = file->Load(linkFile.c_str(), STGM_READ);
    if (FAILED(target.loaded)) return target;
    WCHAR text[MAX_PATH] = {};
    link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
    target.path = text;
    fw::UniqueItemList items;
    text[0] = L'\0';
    if (SUCCEEDED(link->GetIDList(items.put())) && ::SHGetPathFromIDListW(items.get(), text)) target.itemIdPath = text;
    return target;
}

bool FolderExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeFile(const std::wstring& path, DWORD attributes, const std::string& bytes) {
    const fw::UniqueFile file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

bool MakeFile(const std::string& path, DWORD attributes) {
    return MakeFile(Wide(path), attributes);
}

bool FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<BYTE> ReadFileBytes(const std::string& path) {
    std::vector<BYTE> bytes;
    fw::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    if (!file) return bytes;
    BYTE chunk[4096];
    DWORD read = 0;
    while (::ReadFile(file.get(), chunk, sizeof(chunk), &read, nullptr) && read > 0) {
        bytes.insert(bytes.end(), chunk, chunk + read);
    }
    return bytes;
}

ScopedWindowsVersion::ScopedWindowsVersion(const std::string& programFileName, const std::string& version)
    : m_key("Software\\Wine\\AppDefaults\\" + programFileName) {
    SetText(HKEY_CURRENT_USER, m_key, "Version", version);
}

ScopedWindowsVersion::~ScopedWindowsVersion() {
    DeleteKeyTree(HKEY_CURRENT_USER, m_key);
}

std::string Hex(unsigned long value) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%lX", value);
    return text;
}

}  // namespace testing_support
