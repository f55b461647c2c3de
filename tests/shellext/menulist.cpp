// Prints the live menu of an added directory as the shell's clients see it:
// its menu folder reached from the desktop by parsing name, bound, enumerated
// (so through the folder-menu extension, not read from the disk).
//   menulist DIRECTORY
// One line per entry, in the menu's order: its name, "\" after a folder, and
// the path it opens. Exit status 0 when the folder was bound, 1 otherwise.

#include "framework/OleSession.h"
#include "framework/SpecialFolder.h"
#include "menubuilder/MenuPath.h"
#include "tests/shellext/ShellListing.h"
#include "tests/support/WineTest.h"

#include <cstdio>
#include <string>

using namespace testing_support;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: menulist DIRECTORY\n");
        return 2;
    }
    const fw::OleSession ole;
    std::string menuFolder =
        menubuilder::MenuBase(fw::SpecialFolderPath(CSIDL_STARTMENU)) + menubuilder::EncodeMenuPath(argv[1]);
    if (menuFolder.back() == '\\') menuFolder.pop_back();
    const ShellFolderAt menu(Wide(menuFolder));
    if (menu.Status() != S_OK) {
        std::printf("live menu of %s: cannot be bound (0x%08lX)\n", argv[1], static_cast<unsigned long>(menu.Status()));
        return 1;
    }
    std::printf("live menu of %s, through the shell:\n", argv[1]);
    for (const Listed& entry : menu.List()) {
        const bool folder = (entry.attributes & SFGAO_FOLDER) != 0;
        std::printf("  %-32ls -> %ls\n", (entry.name + (folder ? L"\\" : L"")).c_str(), entry.parsing.c_str());
    }
    return 0;
}
