#pragma once
// Reads a menu tree below a Start Menu folder back through the platform, the
// way the folder-menu shell extension sees it.

#include <windows.h>

#include <string>
#include <vector>

namespace menureader {

// A shortcut item loaded through IShellLinkA and IPersistFile::Load.
struct ShortcutFacts {
    HRESULT loaded = E_FAIL;
    std::string target;
    std::string workingDirectory;
    std::string description;
    int showCommand = 0;
    std::string iconFile;
    int iconIndex = 0;
};

// Loads a link file. Needs OLE on the calling thread.
ShortcutFacts ReadShortcut(const std::string& linkFile);

struct MenuItem {
    std::string fileName;
    ShortcutFacts shortcut;
};

struct MenuFolder {
    std::string relative;       // path below the menu root; empty for the root
    int depth = 0;              // 0: the menu root
    std::string directory;      // the directory it stands for
    std::string markerProblem;  // empty when the marker is right
    std::vector<MenuItem> items;
};

// The menu root `startMenu`\RootCaster and every folder below it, top down,
// each folder before its subfolders, names in case-insensitive order. Empty
// when there is no menu root.
std::vector<MenuFolder> ReadMenuTree(const std::string& startMenu);

// One line per folder and per item, as menureader.exe prints them.
std::string FormatMenuTree(const std::vector<MenuFolder>& tree);

}  // namespace menureader
