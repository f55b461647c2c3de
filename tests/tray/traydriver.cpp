// Works the running tray program from outside, for scripts that show it:
//   traydriver open           opens the folder menus from the icon
//   traydriver key NAME...    presses keys in the open menu, one after the
//                             other: right, left, up, down, end, enter,
//                             escape, or a character to type
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
    if (command == "geometry") {
        std::printf("%s\n", tray_driver::MenusGeometry().c_str());
        return 0;
    }
    if (command == "close") {
        ::PostMessageA(tray, WM_CLOSE, 0, 0);
        return 0;
    }
    return Fail("usage: traydriver open | key NAME... | geometry | close");
}
