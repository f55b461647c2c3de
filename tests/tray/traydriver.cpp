// Works the running tray program from outside, for scripts that show it:
//   traydriver open           opens the folder menus from the icon
//   traydriver key NAME...    presses keys in the open menu, one after the
//                             other: right, left, up, down, end, enter,
//                             escape, or a character to type
//   traydriver search TEXT    chooses "Search..." in the open menu, types TEXT
//                             and waits for the first rows
//   traydriver geometry       prints the rectangle around the open menus
//   traydriver close          closes the program as its uninstaller does
// Exit status 0 when the step was done, 1 when the program or a menu was missing.

#include "tests/tray/TrayDriver.h"

#include <cstdio>
#include <map>
#include <string>

namespace {

int Fail(const char* what) {
    std::fprintf(stderr, "traydriver: %s\n", what);
    return 1;
}

void Press(HWND tray, const std::string& name) {
    static const std::map<std::string, WPARAM> kKeys = {{"right", VK_RIGHT},  {"left", VK_LEFT},    {"up", VK_UP},
                                                        {"down", VK_DOWN},    {"end", VK_END},      {"home", VK_HOME},
                                                        {"enter", VK_RETURN}, {"escape", VK_ESCAPE}};
    const auto key = kKeys.find(name);
    if (key != kKeys.end()) {
        tray_driver::PressKey(tray, key->second);
    } else {
        tray_driver::TypeCharacter(tray, name[0]);
    }
    ::Sleep(300);  // a submenu opening is shown before the next key
}

int Search(HWND tray, const std::string& text) {
    tray_driver::TypeCharacter(tray, 's');
    const HWND search = tray_driver::WaitForSearchWindow();
    if (!search) return Fail("no search window");
    tray_driver::TypeIntoSearch(search, text);
    for (DWORD waited = 0; waited < 30000; waited += 100) {
        if (!tray_driver::SearchRows(search).empty()) return 0;
        ::Sleep(100);
    }
    return Fail("no rows");
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    HWND tray = tray_driver::WaitForTray();
    if (!tray) return Fail("no tray program");
    if (command == "open") return tray_driver::ClickIcon(tray, WM_LBUTTONUP) ? 0 : Fail("no menu");
    if (command == "key") {
        for (int i = 2; i < argc; ++i) Press(tray, argv[i]);
        return 0;
    }
    if (command == "search" && argc > 2) return Search(tray, argv[2]);
    if (command == "geometry") {
        std::printf("%s\n", tray_driver::MenusGeometry().c_str());
        return 0;
    }
    if (command == "close") {
        ::PostMessageA(tray, WM_CLOSE, 0, 0);
        return 0;
    }
    return Fail("usage: traydriver open | key NAME... | search TEXT | geometry | close");
}
