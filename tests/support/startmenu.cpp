// Works Wine's own start menu (explorer's desktop with a Start button) from
// inside that desktop, as a user would with the mouse and the keyboard:
//   startmenu open PATH RESULT   opens the Start menu, walks down PATH (below
//                                the user's Start Menu folder, e.g.
//                                RootCaster\C\dir\page.htm) and opens its last
//                                entry with Enter
//   startmenu show PATH RESULT   the same, but leaves the menus open down to
//                                PATH's last entry (a folder), for a picture
// Run it in the desktop: explorer /desktop=shell,1024x768 startmenu.exe ...
// Writes "ok", or what went wrong, to the file RESULT when done.
//
// The menus of another process cannot be read from outside, so the driver
// works out where each entry stands as the start menu orders it: every entry
// of the shell folder by its in-folder name, folders before files, each group
// sorted without regard to case, folders with no file anywhere below left
// out; the root menu merges the user's and the common Start Menu. An entry is
// picked by the last part of its parsing name.

#include "framework/ComPtr.h"
#include "framework/OleSession.h"
#include "framework/ShellText.h"
#include "framework/UniqueHandle.h"
#include "tests/support/WindowDriver.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

constexpr DWORD kMenuTimeoutMs = 60000;

struct MenuEntry {
    std::wstring name;
    std::wstring lastPart;            // of its parsing name
    fw::ComPtr<IShellFolder> folder;  // empty for a file
};

std::wstring NameOf(IShellFolder* folder, LPCITEMIDLIST item, SHGDNF flags) {
    STRRET name{};
    return SUCCEEDED(folder->GetDisplayNameOf(item, flags, &name)) ? fw::TakeText(name, item) : std::wstring();
}

std::wstring LastPart(std::wstring path) {
    while (!path.empty() && path.back() == L'\\') path.pop_back();
    return path.substr(path.find_last_of(L'\\') + 1);  // npos + 1: all of it
}

bool SameName(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

// The start menu's test: a file anywhere below, looked for files first.
bool HoldsAFile(IShellFolder* folder) {
    fw::ComPtr<IEnumIDList> files;
    fw::UniqueItemList item;
    if (folder->EnumObjects(nullptr, SHCONTF_NONFOLDERS, files.put()) == S_OK &&
        files->Next(1, item.put(), nullptr) == S_OK) {
        return true;
    }
    fw::ComPtr<IEnumIDList> folders;
    if (folder->EnumObjects(nullptr, SHCONTF_FOLDERS, folders.put()) != S_OK) return false;
    while (folders->Next(1, item.put(), nullptr) == S_OK) {
        fw::ComPtr<IShellFolder> child;
        if (folder->BindToObject(item.get(), nullptr, IID_IShellFolder, child.put_void()) == S_OK &&
            HoldsAFile(child.get())) {
            return true;
        }
    }
    return false;
}

void AddEntries(IShellFolder* folder, std::vector<MenuEntry>& entries) {
    fw::ComPtr<IEnumIDList> items;
    if (folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, items.put()) != S_OK) return;
    LPITEMIDLIST raw = nullptr;
    while (items->Next(1, &raw, nullptr) == S_OK) {
        const fw::UniqueItemList item(raw);
        MenuEntry entry;
        entry.name = NameOf(folder, item.get(), SHGDN_INFOLDER);
        entry.lastPart = LastPart(NameOf(folder, item.get(), SHGDN_FORPARSING));
        SFGAOF attributes = SFGAO_FOLDER;
        LPCITEMIDLIST asked = item.get();
        folder->GetAttributesOf(1, &asked, &attributes);
        if (attributes & SFGAO_FOLDER) {
            folder->BindToObject(item.get(), nullptr, IID_IShellFolder, entry.folder.put_void());
            if (entry.folder && !HoldsAFile(entry.folder.get())) continue;
        }
        const bool isFolder = static_cast<bool>(entry.folder);
        const bool shownAlready = std::any_of(entries.begin(), entries.end(), [&](const MenuEntry& other) {
            return static_cast<bool>(other.folder) == isFolder && SameName(other.name, entry.name);
        });
        if (!shownAlready) entries.push_back(std::move(entry));
    }
}

// The entries of a menu made of these folders, in the start menu's order.
std::vector<MenuEntry> MenuOf(const std::vector<IShellFolder*>& folders) {
    std::vector<MenuEntry> entries;
    for (IShellFolder* folder : folders) AddEntries(folder, entries);
    std::stable_sort(entries.begin(), entries.end(), [](const MenuEntry& a, const MenuEntry& b) {
        if (static_cast<bool>(a.folder) != static_cast<bool>(b.folder)) return static_cast<bool>(a.folder);
        return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.name.c_str(), -1, b.name.c_str(), -1) ==
               CSTR_LESS_THAN;
    });
    return entries;
}

fw::ComPtr<IShellFolder> SpecialFolder(int csidl) {
    fw::ComPtr<IShellFolder> desktop;
    fw::ComPtr<IShellFolder> folder;
    fw::UniqueItemList self;
    if (FAILED(::SHGetDesktopFolder(desktop.put())) ||
        FAILED(::SHGetSpecialFolderLocation(nullptr, csidl, self.put()))) {
        return folder;
    }
    desktop->BindToObject(self.get(), nullptr, IID_IShellFolder, folder.put_void());
    return folder;
}

BOOL CALLBACK CountMenu(HWND window, LPARAM counter) {
    char name[16] = {};
    ::GetClassNameA(window, name, sizeof(name));
    if (std::string(name) == "#32768" && ::IsWindowVisible(window)) ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

// Visible menus (class #32768) of this desktop.
int OpenMenus() {
    int count = 0;
    ::EnumWindows(CountMenu, reinterpret_cast<LPARAM>(&count));
    return count;
}

bool WaitForMenus(int count) {
    return WaitFor([&] { return OpenMenus() >= count ? ::GetDesktopWindow() : nullptr; }, kMenuTimeoutMs) != nullptr;
}

void Press(BYTE key, int times = 1) {
    for (int i = 0; i < times; ++i) {
        ::keybd_event(key, 0, 0, 0);
        ::keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
        ::Sleep(50);
    }
}

// The Start button clicked with the mouse, as a user opens the menu.
bool ClickStart() {
    HWND tray = WaitFor([] { return ::FindWindowA("Shell_TrayWnd", nullptr); });
    HWND button = tray ? WaitFor([&] { return ::FindWindowExA(tray, nullptr, "Button", nullptr); }) : nullptr;
    RECT rect;
    if (!button || !::GetWindowRect(button, &rect)) return false;
    ::SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    ::mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    ::mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    return WaitForMenus(1);
}

std::vector<std::wstring> PartsOf(const std::wstring& path) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start < path.size()) {
        const size_t end = std::min(path.find(L'\\', start), path.size());
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string Narrow(const std::wstring& wide) {
    char text[MAX_PATH * 2] = {};
    ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, text, sizeof(text) - 1, nullptr, nullptr);
    return text;
}

// Walks the menus down `parts`; the first menu is open, nothing selected.
std::string Walk(const std::vector<std::wstring>& parts, bool openLast) {
    fw::ComPtr<IShellFolder> user = SpecialFolder(CSIDL_STARTMENU);
    fw::ComPtr<IShellFolder> common = SpecialFolder(CSIDL_COMMON_STARTMENU);
    std::vector<IShellFolder*> folders;
    for (IShellFolder* folder : {user.get(), common.get()}) {
        if (folder) folders.push_back(folder);
    }
    std::vector<MenuEntry> menu = MenuOf(folders);
    fw::ComPtr<IShellFolder> opened;
    for (size_t level = 0; level < parts.size(); ++level) {
        const auto found = std::find_if(menu.begin(), menu.end(),
                                        [&](const MenuEntry& entry) { return SameName(entry.lastPart, parts[level]); });
        if (found == menu.end()) return "no entry " + Narrow(parts[level]) + " in its menu";
        const int index = static_cast<int>(found - menu.begin());
        // The root menu opens with nothing selected, a submenu with its first entry.
        Press(VK_DOWN, level == 0 ? index + 1 : index);
        const bool last = level + 1 == parts.size();
        if (last && openLast) {
            Press(VK_RETURN);
            return "ok";
        }
        if (!found->folder) return Narrow(parts[level]) + " is no folder";
        Press(VK_RIGHT);
        if (!WaitForMenus(static_cast<int>(level) + 2)) return "the menu of " + Narrow(parts[level]) + " did not open";
        opened = std::move(found->folder);
        menu = MenuOf({opened.get()});
    }
    return "ok";
}

void Report(const char* resultFile, const std::string& result) {
    fw::UniqueFile file(
        ::CreateFileA(resultFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    const std::string line = result + "\n";
    DWORD written = 0;
    if (file) ::WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    std::fprintf(stderr, "startmenu: %s\n", result.c_str());
}

}  // namespace

int main() {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!arguments || count != 4) {
        std::fprintf(stderr, "usage: startmenu open|show PATH RESULT_FILE\n");
        return 2;
    }
    const std::wstring mode = arguments[1];
    const std::vector<std::wstring> parts = PartsOf(arguments[2]);
    const std::string resultFile = Narrow(arguments[3]);
    ::LocalFree(arguments);
    const fw::OleSession ole;
    const std::string result = ClickStart() ? Walk(parts, mode == L"open") : "the Start menu did not open";
    Report(resultFile.c_str(), result);
    return result == "ok" ? 0 : 1;
}
