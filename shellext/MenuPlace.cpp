#include "shellext/MenuPlace.h"

#include "menubuilder/MenuPath.h"

#include <algorithm>
#include <string_view>

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
        const std::string_view rootName = menubuilder::kMenuRootName;  // ASCII
        menuRoot.append(rootName.begin(), rootName.end());
        if (!BeginsWith(path, menuRoot)) continue;
        if (path.size() == menuRoot.size()) return std::wstring();
        if (path[menuRoot.size()] == L'\\') return path.substr(menuRoot.size() + 1);
    }
    return std::nullopt;
}

}  // namespace shellext
