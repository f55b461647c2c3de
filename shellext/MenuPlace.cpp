#include "shellext/MenuPlace.h"

#include "menubuilder/MenuPath.h"

#include <algorithm>

namespace shellext {
namespace {

bool BeginsWith(std::wstring_view text, std::wstring_view start) {
    return menubuilder::EqualIgnoringAsciiCase(text.substr(0, start.size()), start);
}

std::wstring WithoutClosingBackslash(std::wstring_view path) {
    if (!path.empty() && path.back() == L'\\') path.remove_suffix(1);
    return std::wstring(path);
}

}  // namespace

std::optional<std::wstring> MenuRelativePath(std::wstring_view folder, const std::vector<std::wstring>& startMenus) {
    const std::wstring path = WithoutClosingBackslash(folder);
    for (const std::wstring& startMenu : startMenus) {
        if (startMenu.empty()) continue;
        std::wstring menuRoot = JoinPath(startMenu, L"");
        for (const char* c = menubuilder::kMenuRootName; *c; ++c) menuRoot += static_cast<wchar_t>(*c);
        if (!BeginsWith(path, menuRoot)) continue;
        if (path.size() == menuRoot.size()) return std::wstring();
        if (path[menuRoot.size()] == L'\\') return path.substr(menuRoot.size() + 1);
    }
    return std::nullopt;
}

std::wstring JoinPath(std::wstring_view folder, std::wstring_view name) {
    std::wstring path(folder);
    if (!path.empty() && path.back() != L'\\') path += L'\\';
    path += name;
    return path;
}

}  // namespace shellext
