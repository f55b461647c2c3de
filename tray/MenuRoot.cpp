#include "tray/MenuRoot.h"

#include "framework/RuntimeLink.h"
#include "framework/UniqueHandle.h"
#include "framework/WideText.h"
#include "menubuilder/MenuPath.h"

namespace tray {
namespace {

using PathFromListW = BOOL WINAPI(LPCITEMIDLIST, LPWSTR);

// The path in the system's own text: wide on NT, ANSI elsewhere.
std::wstring PathOf(LPCITEMIDLIST items) {
    if (fw::IsNt()) {
        if (auto* pathFromList = fw::LookUp<PathFromListW>("shell32.dll", "SHGetPathFromIDListW")) {
            wchar_t path[MAX_PATH] = {};
            return pathFromList(items, path) ? std::wstring(path) : std::wstring();
        }
    }
    char path[MAX_PATH] = {};
    return ::SHGetPathFromIDListA(items, path) ? fw::Widen(path) : std::wstring();
}

}  // namespace

std::wstring MenuRootFolder() {
    fw::UniqueItemList items;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_STARTMENU, items.put()))) return std::wstring();
    const std::wstring startMenu = PathOf(items.get());
    if (startMenu.empty()) return std::wstring();
    return startMenu + L'\\' + fw::Widen(menubuilder::kMenuRootName) + L'\\';
}

}  // namespace tray
