#pragma once
// Where a menu folder stands below the menu root, read from its path alone,
// free of Windows.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace shellext {

// The path below the menu root of `folder` when it is the menu root of one of
// `startMenus` ("<Start Menu>\RootCaster") or a folder below it: empty for the
// menu root, "C\Windows" for <Start Menu>\RootCaster\C\Windows. The letters A
// to Z compare without case, as the file system compares them.
std::optional<std::wstring> MenuRelativePath(std::wstring_view folder, const std::vector<std::wstring>& startMenus);

}  // namespace shellext
