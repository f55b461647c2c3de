#include "tests/support/WineTest.h"

#include "framework/UniqueHandle.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdio>
#include <cstdlib>

namespace testing_support {
namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) {
        ADD_FAILURE() << name << " is not set: run the test through CTest";
        return std::string();
    }
    return value;
}

}  // namespace

std::string ProgramPath() {
    return Environment("ROOTCASTER_EXE");
}
std::string MenuReaderPath() {
    return Environment("MENUREADER_EXE");
}

ProcessResult RunProcess(const std::string& program, const std::string& commandLine, DWORD timeoutMs) {
    ProcessResult result;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::string line = commandLine;
    const char* application = program.empty() ? nullptr : program.c_str();
    if (!::CreateProcessA(application, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        ADD_FAILURE() << "cannot start " << commandLine << ": error " << ::GetLastError();
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
    WIN32_FIND_DATAA entry;
    fw::UniqueFind find(::FindFirstFileA((path + "\\*").c_str(), &entry));
    if (find) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            const std::string child = path + "\\" + name;
            ::SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                ::DeleteFileA(child.c_str());
            }
        } while (::FindNextFileA(find.get(), &entry));
    }
    find.reset();
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryA(path.c_str());
}

bool FolderExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
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
