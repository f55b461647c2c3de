#include "tests/support/WindowDriver.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace testing_support {
namespace {

constexpr DWORD kSendTimeoutMs = 30000;
constexpr size_t kTextCapacity = 512;

LRESULT SendWithin(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kSendTimeoutMs, &result);
    return static_cast<LRESULT>(result);
}

struct WindowQuery {
    DWORD processId;
    const std::string* caption;
    HWND owner;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam) {
    auto& query = *reinterpret_cast<WindowQuery*>(lParam);
    if (!::IsWindowVisible(window)) return TRUE;
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (query.processId && processId != query.processId) return TRUE;
    if (query.owner && ::GetWindow(window, GW_OWNER) != query.owner) return TRUE;
    if (query.caption && WindowText(window) != *query.caption) return TRUE;
    query.found = window;
    return FALSE;
}

HWND FindWindowBy(DWORD processId, const std::string* caption, HWND owner) {
    WindowQuery query{processId, caption, owner, nullptr};
    ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

BOOL CALLBACK CollectStaticText(HWND window, LPARAM lParam) {
    char className[32] = {};
    ::GetClassNameA(window, className, sizeof(className));
    if (::IsWindowVisible(window) && ::lstrcmpiA(className, "Static") == 0) {
        auto& texts = *reinterpret_cast<std::string*>(lParam);
        texts += WindowText(window) + "|";
    }
    return TRUE;
}

}  // namespace

ProgramRun::ProgramRun(const std::string& program, const std::string& tail) {
    std::string line = "\"" + program + "\"";
    if (!tail.empty()) line += " " + tail;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        m_startError = ::GetLastError();
        return;
    }
    m_process.reset(info.hProcess);
    fw::UniqueProcess thread(info.hThread);
    m_id = info.dwProcessId;
}

ProgramRun::~ProgramRun() {
    if (!Running()) return;
    ::TerminateProcess(m_process.get(), 99);
    ::WaitForSingleObject(m_process.get(), 5000);
}

bool ProgramRun::Running() const {
    return m_process && ::WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT;
}

bool ProgramRun::WaitForExit(DWORD timeoutMs) const {
    return m_process && ::WaitForSingleObject(m_process.get(), timeoutMs) == WAIT_OBJECT_0;
}

HWND ProgramRun::WaitForWindow(const std::string& caption, DWORD timeoutMs) const {
    if (!m_process) return nullptr;
    return WaitFor([&] { return FindTopLevelWindow(m_id, caption); }, timeoutMs);
}

HWND FindTopLevelWindow(DWORD processId, const std::string& caption, HWND owner) {
    return FindWindowBy(processId, &caption, owner);
}

HWND FindOwnedWindow(HWND owner) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(owner, &processId);
    return FindWindowBy(processId, nullptr, owner);
}

HWND FindProcessWindow(DWORD processId) {
    return FindWindowBy(processId, nullptr, nullptr);
}

bool WaitUntilGone(HWND window, DWORD timeoutMs) {
    return WaitFor([&] { return ::IsWindow(window) ? nullptr : window; }, timeoutMs) != nullptr;
}

bool AnswersMessages(HWND window, DWORD timeoutMs) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

std::string WindowText(HWND window) {
    char text[kTextCapacity] = {};
    SendWithin(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

std::string StaticTexts(HWND window) {
    std::string texts;
    ::EnumChildWindows(window, CollectStaticText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

void Click(HWND dialog, int id) {
    SendWithin(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void PostClick(HWND dialog, int id) {
    ::PostMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

int CheckState(HWND dialog, int id) {
    return static_cast<int>(SendWithin(::GetDlgItem(dialog, id), BM_GETCHECK, 0, 0));
}

RemoteTree::RemoteTree(HWND tree) : m_tree(tree) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(tree, &processId);
    m_process.reset(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
    if (m_process) {
        m_remote =
            ::VirtualAllocEx(m_process.get(), nullptr, sizeof(TVITEMA) + kTextCapacity, MEM_COMMIT, PAGE_READWRITE);
    }
}

RemoteTree::~RemoteTree() {
    if (m_remote) ::VirtualFreeEx(m_process.get(), m_remote, 0, MEM_RELEASE);
}

HTREEITEM RemoteTree::Next(HTREEITEM item, UINT relation) const {
    return reinterpret_cast<HTREEITEM>(SendWithin(m_tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

std::string RemoteTree::Text(HTREEITEM item) const {
    if (!m_remote || !item) return std::string();
    char* remoteText = static_cast<char*>(m_remote) + sizeof(TVITEMA);
    TVITEMA record{};
    record.mask = TVIF_TEXT;
    record.hItem = item;
    record.pszText = remoteText;
    record.cchTextMax = kTextCapacity;
    char text[kTextCapacity] = {};
    if (!::WriteProcessMemory(m_process.get(), m_remote, &record, sizeof(record), nullptr) ||
        !SendWithin(m_tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(m_remote)) ||
        !::ReadProcessMemory(m_process.get(), remoteText, text, sizeof(text) - 1, nullptr)) {
        return std::string();
    }
    return text;
}

HTREEITEM RemoteTree::Child(HTREEITEM parent, const std::string& text) const {
    for (HTREEITEM item = FirstChild(parent); item; item = NextSibling(item)) {
        if (::lstrcmpiA(Text(item).c_str(), text.c_str()) == 0) return item;
    }
    return nullptr;
}

void RemoteTree::Expand(HTREEITEM item) const {
    SendWithin(m_tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
}

// Drive items stand in the order of the drive list, whatever their texts.
HTREEITEM RemoteTree::DriveItem(char letter) const {
    char drives[500] = {};
    ::GetLogicalDriveStringsA(sizeof(drives), drives);
    HTREEITEM item = FirstChild(Root());
    for (const char* drive = drives; *drive && item; drive += std::strlen(drive) + 1) {
        if (std::toupper(static_cast<unsigned char>(*drive)) == std::toupper(static_cast<unsigned char>(letter))) {
            return item;
        }
        item = NextSibling(item);
    }
    return nullptr;
}

HTREEITEM RemoteTree::ExpandTo(const std::string& path) const {
    if (path.size() < 3 || path[1] != ':') return nullptr;
    HTREEITEM item = DriveItem(path[0]);
    size_t start = 3;
    while (item && start < path.size()) {
        const size_t end = std::min(path.find('\\', start), path.size());
        Expand(item);
        item = Child(item, path.substr(start, end - start));
        start = end + 1;
    }
    if (item) Select(item);
    return item;
}

void RemoteTree::Select(HTREEITEM item) const {
    SendWithin(m_tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    SendWithin(m_tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
}

}  // namespace testing_support
