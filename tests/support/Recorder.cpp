#include "tests/support/Recorder.h"

#include "framework/UniqueHandle.h"
#include "tests/support/WineTest.h"

#include <shlwapi.h>
#include <tlhelp32.h>

#include <sstream>

namespace testing_support {
namespace {

constexpr char kOutputVariable[] = "ROOTCASTER_RECORDER_OUTPUT";
constexpr char kTestHtmlType[] = "RootCasterTest.HtmlFile";
const std::string kTestHtmlCommandKey = std::string(kTestHtmlType) + "\\shell\\open\\command";

}  // namespace

bool Recorder::AnyRuns() {
    // A snapshot handle is closed like a file's.
    const fw::UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32First(snapshot.get(), &entry); more; more = ::Process32Next(snapshot.get(), &entry)) {
        if (::lstrcmpiA(entry.szExeFile, "recorder.exe") == 0) return true;
    }
    return false;
}

Recorder::Recorder() {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    m_output = std::string(temp) + "rootcaster-recorder.txt";
    ::DeleteFileA(m_output.c_str());
    ::SetEnvironmentVariableA(kOutputVariable, m_output.c_str());
}

Recorder::~Recorder() {
    ::SetEnvironmentVariableA(kOutputVariable, nullptr);
    ::DeleteFileA(m_output.c_str());
}

std::string Recorder::ProgramPath() {
    return BesideProgram("recorder.exe");
}

std::vector<std::string> Recorder::Lines() const {
    const std::vector<BYTE> bytes = ReadFileBytes(m_output);
    std::istringstream text(std::string(bytes.begin(), bytes.end()));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> Recorder::WaitForLines(size_t count, DWORD timeoutMs) const {
    for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
        std::vector<std::string> lines = Lines();
        if (lines.size() >= count) return lines;
        ::Sleep(50);
    }
    return Lines();
}

std::vector<std::string> Recorder::LinesOnceNoneRuns(DWORD timeoutMs) const {
    for (DWORD waited = 0; waited < timeoutMs && AnyRuns(); waited += 50) ::Sleep(50);
    return Lines();
}

ScopedHtmlAssociation::ScopedHtmlAssociation(const std::string& command)
    : m_previousType(ReadText(HKEY_CLASSES_ROOT, ".htm", nullptr).value_or("")) {
    SetText(HKEY_CLASSES_ROOT, ".htm", nullptr, kTestHtmlType);
    SetCommand(command);
}

ScopedHtmlAssociation::~ScopedHtmlAssociation() {
    if (m_previousType.empty()) {
        ::SHDeleteValueA(HKEY_CLASSES_ROOT, ".htm", nullptr);
    } else {
        SetText(HKEY_CLASSES_ROOT, ".htm", nullptr, m_previousType);
    }
    DeleteKeyTree(HKEY_CLASSES_ROOT, kTestHtmlType);
}

void ScopedHtmlAssociation::SetCommand(const std::string& command) const {
    SetText(HKEY_CLASSES_ROOT, kTestHtmlCommandKey, nullptr, command);
}

}  // namespace testing_support
