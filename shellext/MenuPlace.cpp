#include "shellext/MenuPlace.h"

#include "menubuilder/MenuPath.h"

#include <algorithm>

namespace shellext {
namespace {

bool BeginsWith(std::wstring_view text, std::wstring_view start) {
    return menubuilder::EqualIgnoringAsciiCase(text.substr(0, start.size()), start);
}

}  // namespace

std::optional<std::wstring> MenuRelativePath(std::wstring_view folder, const std::vector<std::wstring>& startMenus) {
    const std::wstring path = menubuilder::WithoutClosingBackslash(folder);
    for (const std::wstring& startMenu : startMenus) {
        if (startMenu.empty()) continue;
        std::wstring menuRoot = menubuilder::JoinPath(startMenu, L"");
        for (const char* c = menubuilder::kMenuRootName; *c; ++c) menuRoot += static_cast<wchar_t>(*c);
        if (!BeginsWith(path, menuRoot)) continue;
        if (path.size() == menuRoot.size()) return std::wstring();
        if (path[menuRoot.size()] == L'\\') return path.substr(menuRoot.size() + 1);
    }
    return std::nullopt;
}

}  // namespace shellext
