#include "tray/ShellActions.h"

#include "framework/ItemList.h"
#include "framework/RuntimeLink.h"
#include "framework/UniqueHandle.h"
#include "framework/WideText.h"
#include "menubuilder/MenuPath.h"
#include "tray/TrackMenu.h"

#include <shellapi.h>

namespace tray {
namespace {

constexpr UINT kFirstCommand = 1;
constexpr UINT kLastCommand = 0x7FFF;

using ShellExecuteExWFunction = BOOL WINAPI(SHELLEXECUTEINFOW*);

void OpenWide(HWND owner, const std::wstring& path, ShellExecuteExWFunction* execute) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = owner;
    info.lpFile = path.c_str();
    info.nShow = SW_SHOWNORMAL;
    execute(&info);
}

void OpenAnsi(HWND owner, const std::string& path) {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof(info);
    info.hwnd = owner;
    info.lpFile = path.c_str();
    info.nShow = SW_SHOWNORMAL;
    ::ShellExecuteExA(&info);
}

}  // namespace

void OpenWithShell(HWND owner, const std::wstring& path) {
    const std::wstring target = menubuilder::WithoutClosingBackslash(path);
    auto* execute = fw::IsNt() ? fw::LookUp<ShellExecuteExWFunction>("shell32.dll", "ShellExecuteExW") : nullptr;
    if (execute) {
        OpenWide(owner, target, execute);
    } else {
        OpenAnsi(owner, fw::Narrow(target));
    }
}

// The item's parent folder is bound and asked for the item's menu, as
// Explorer does for a selected item.
bool ShellContextMenu::Create(const std::wstring& path) {
    fw::ComPtr<IShellFolder> desktop;
    if (FAILED(::SHGetDesktopFolder(desktop.put()))) return false;
    std::wstring name = menubuilder::WithoutClosingBackslash(path);
    fw::UniqueItemList full;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, name.data(), nullptr, full.put(), nullptr)) ||
        fw::IsEmpty(full.get())) {
        return false;
    }
    fw::ComPtr<IShellFolder> parent;
    if (fw::IsSingle(full.get())) {
        parent = std::move(desktop);
    } else {
        const fw::UniqueItemList parentList = fw::CloneAllButLast(full.get());
        if (!parentList ||
            FAILED(desktop->BindToObject(parentList.get(), nullptr, IID_IShellFolder, parent.put_void()))) {
            return false;
        }
    }
    LPCITEMIDLIST child = fw::LastItem(full.get());  // not null: the list is not empty
    if (FAILED(parent->GetUIObjectOf(nullptr, 1, &child, IID_IContextMenu, nullptr, m_menu.put_void()))) return false;
    m_menu.QueryInterface(IID_IContextMenu2, m_menu2);
    return true;
}

void ShellContextMenu::Track(HWND owner, POINT at) const {
    const fw::UniqueMenu menu(::CreatePopupMenu());
    if (!menu || FAILED(m_menu->QueryContextMenu(menu.get(), 0, kFirstCommand, kLastCommand, CMF_NORMAL))) return;
    const UINT command = TrackMenu(owner, menu.get(), at, TPM_RIGHTBUTTON);
    if (command < kFirstCommand) return;
    CMINVOKECOMMANDINFO invoke{};
    invoke.cbSize = sizeof(invoke);
    invoke.hwnd = owner;
    invoke.lpVerb = MAKEINTRESOURCEA(command - kFirstCommand);
    invoke.nShow = SW_SHOWNORMAL;
    m_menu->InvokeCommand(&invoke);
}

bool ShellContextMenu::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const {
    result = 0;
    switch (message) {
        case WM_INITMENUPOPUP:
        case WM_DRAWITEM:
        case WM_MEASUREITEM: return m_menu2 && SUCCEEDED(m_menu2->HandleMenuMsg(message, wParam, lParam));
        default: return false;
    }
}

}  // namespace tray
