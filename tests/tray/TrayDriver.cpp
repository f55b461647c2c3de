#include "tests/tray/TrayDriver.h"

#include "framework/UniqueHandle.h"
#include "tray/SearchWindow.h"
#include "tray/TrayWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

namespace tray_driver {
namespace {

constexpr char kMenuClass[] = "#32768";

template <class Find>
auto Poll(Find find, DWORD timeoutMs) {
    for (DWORD waited = 0;; waited += 50) {
        if (auto found = find(); found || waited >= timeoutMs) return found;
        ::Sleep(50);
    }
}

BOOL CALLBACK CollectMenu(HWND window, LPARAM found) {
    char name[16] = {};
    ::GetClassNameA(window, name, sizeof(name));
    if (::IsWindowVisible(window) && lstrcmpA(name, kMenuClass) == 0) {
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    }
    return TRUE;
}

}  // namespace

HWND WaitForTray(DWORD timeoutMs) {
    return Poll([] { return ::FindWindowA(tray::kTrayWindowClass, nullptr); }, timeoutMs);
}

std::vector<HWND> MenuWindows() {
    std::vector<HWND> found;
    ::EnumWindows(CollectMenu, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool WaitForMenus(size_t count, DWORD timeoutMs) {
    return Poll([&] { return MenuWindows().size() == count; }, timeoutMs);
}

bool ClickIcon(HWND tray, UINT buttonUp) {
    ::PostMessageA(tray, tray::kIconMessage, 0, buttonUp);
    return WaitForMenus(1);
}

void PressKey(HWND tray, WPARAM virtualKey) {
    ::PostMessageA(tray, WM_KEYDOWN, virtualKey, 1);
    ::PostMessageA(tray, WM_KEYUP, virtualKey, 0xC0000001);
}

void TypeCharacter(HWND tray, char character) {
    ::PostMessageA(tray, WM_CHAR, static_cast<unsigned char>(character), 1);
}

HWND WaitForSearchWindow(DWORD timeoutMs) {
    return Poll(
        [] {
            const HWND search = ::FindWindowA(tray::kSearchWindowClass, nullptr);
            return search && ::IsWindowVisible(search) ? search : nullptr;
        },
        timeoutMs);
}

void TypeIntoSearch(HWND search, const std::string& text) {
    const HWND edit = ::GetDlgItem(search, tray::kSearchEditId);
    for (const char character : text) ::PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(character), 1);
}

void PressSearchKey(HWND search, WPARAM virtualKey) {
    const HWND edit = ::GetDlgItem(search, tray::kSearchEditId);
    ::PostMessageA(edit, WM_KEYDOWN, virtualKey, 1);
    ::PostMessageA(edit, WM_KEYUP, virtualKey, 0xC0000001);
}

namespace {

// Memory in another process, for the list view to write a row's text into.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, size_t size)
        : m_process(process), m_address(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
    ~RemoteBuffer() {
        if (m_address) ::VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    char* Address() const { return static_cast<char*>(m_address); }

private:
    HANDLE m_process;
    void* m_address;
};

std::string RemoteItemText(HWND list, HANDLE process, const RemoteBuffer& remote, int row, int column) {
    constexpr int kTextSize = 1024;
    LVITEMA item{};
    item.iSubItem = column;
    item.cchTextMax = kTextSize;
    item.pszText = remote.Address() + sizeof(LVITEMA);
    SIZE_T moved = 0;
    ::WriteProcessMemory(process, remote.Address(), &item, sizeof(item), &moved);
    ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote.Address()));
    char text[kTextSize] = "";
    ::ReadProcessMemory(process, item.pszText, text, kTextSize - 1, &moved);
    return text;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> SearchRows(HWND search) {
    const HWND list = ::GetDlgItem(search, tray::kSearchListId);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(list, &processId);
    const fw::UniqueProcess process(
        ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
    std::vector<std::pair<std::string, std::string>> rows;
    if (!process) return rows;
    const RemoteBuffer remote(process.get(), sizeof(LVITEMA) + 1024);
    const int count = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count && remote.Address(); ++row) {
        rows.emplace_back(RemoteItemText(list, process.get(), remote, row, 0),
                          RemoteItemText(list, process.get(), remote, row, 1));
    }
    return rows;
}

std::string MenusGeometry() {
    RECT all{0, 0, 0, 0};
    for (HWND menu : MenuWindows()) {
        RECT rect;
        ::GetWindowRect(menu, &rect);
        ::UnionRect(&all, &all, &rect);
    }
    char text[64];
    std::snprintf(text, sizeof(text), "%ldx%ld+%ld+%ld", all.right - all.left, all.bottom - all.top, all.left, all.top);
    return text;
}

}  // namespace tray_driver
