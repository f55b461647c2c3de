// menureader [START_MENU_FOLDER]
// Prints the menu tree below START_MENU_FOLDER\RootCaster (default: the
// user's Start Menu) as the folder-menu shell extension reads it: every menu
// folder with the directory it stands for and the state of its marker, and
// every shortcut item with its target, working directory and icon.
// Exit status: 0 all markers right, 1 a marker is wrong, 2 no menu root or
// no Start Menu, 3 bad usage.

#include "framework/OleSession.h"
#include "framework/SpecialFolder.h"
#include "menureader/MenuReader.h"

#include <algorithm>
#include <cstdio>

namespace {

enum ExitStatus { kMarkersRight = 0, kMarkerWrong = 1, kNoMenuRoot = 2, kBadUsage = 3 };

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2) {
        std::fputs("usage: menureader [START_MENU_FOLDER]\n", stderr);
        return kBadUsage;
    }
    fw::OleSession ole;
    const std::string startMenu = argc == 2 ? argv[1] : fw::SpecialFolderPath(CSIDL_STARTMENU);
    const std::vector<menureader::MenuFolder> tree =
        startMenu.empty() ? std::vector<menureader::MenuFolder>() : menureader::ReadMenuTree(startMenu);
    if (tree.empty()) {
        std::fprintf(stderr, "no menu root below \"%s\"\n", startMenu.c_str());
        return kNoMenuRoot;
    }
    std::fputs(menureader::FormatMenuTree(tree).c_str(), stdout);
    const bool allRight = std::all_of(
        tree.begin(), tree.end(), [](const menureader::MenuFolder& folder) { return folder.markerProblem.empty(); });
    return allRight ? kMarkersRight : kMarkerWrong;
}
