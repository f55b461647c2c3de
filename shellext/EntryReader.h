#pragma once
// Reads what a menu folder shows, live from the file system.

#include "shellext/Contents.h"

#include <optional>
#include <string>
#include <vector>

namespace shellext {

// The first-level menu folders lying in the menu root, in menu order.
std::vector<Entry> ReadFirstLevels(const std::wstring& menuRoot);

// The items of `menuFolder`, then the subfolders and files of `directory`.
std::vector<Entry> ReadMenu(const std::wstring& menuFolder, const std::wstring& directory);

// What the file system says of one path now.
std::optional<Entry> ReadEntry(const std::wstring& path);

}  // namespace shellext
