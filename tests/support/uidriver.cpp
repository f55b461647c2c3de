// Works RootCaster's open dialog from outside, for scripts that show it:
//   uidriver wait                 waits for the main dialog
//   uidriver select C:\Windows    expands the tree along the path and selects it
//   uidriver about                opens the About box
//   uidriver close                closes the About box, if open, and presses "Done"
//   uidriver geometry CAPTION     prints the window's screen rectangle as WxH+X+Y
// Exit status 0 when the step was done, 1 when a window or item was missing.

#include "res/resource.h"
#include "tests/support/WindowDriver.h"

#include <cstdio>
#include <string>

using namespace testing_support;

namespace {

const std::string kMainCaption = "RootCaster";
const std::string kAboutCaption = "About RootCaster";

HWND MainDialog() {
    return WaitFor([] { return FindTopLevelWindow(0, kMainCaption); });
}

int Fail(const char* what) {
    std::fprintf(stderr, "uidriver: %s\n", what);
    return 1;
}

// As a user's click would, the selection also activates the dialog and puts
// the focus into the tree.
int Select(HWND dialog, const std::string& path) {
    HWND treeWindow = ::GetDlgItem(dialog, IDC_TREE);
    const RemoteTree tree(treeWindow);
    if (!tree.ExpandTo(path)) return Fail("no such item in the tree");
    ::SetForegroundWindow(dialog);
    ::PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(treeWindow), TRUE);
    return 0;
}

int OpenAbout(HWND dialog) {
    ::PostMessageA(dialog, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    return WaitFor([] { return FindTopLevelWindow(0, kAboutCaption); }) ? 0 : Fail("no About box");
}

int PrintGeometry(const std::string& caption) {
    HWND window = WaitFor([&] { return FindTopLevelWindow(0, caption); });
    RECT rect;
    if (!window || !::GetWindowRect(window, &rect)) return Fail("no such window");
    std::printf("%ldx%ld+%ld+%ld\n", rect.right - rect.left, rect.bottom - rect.top, rect.left, rect.top);
    return 0;
}

int Close(HWND dialog) {
    if (HWND about = FindTopLevelWindow(0, kAboutCaption)) {
        PostClick(about, IDOK);
        WaitUntilGone(about);
    }
    PostClick(dialog, IDCANCEL);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    HWND dialog = MainDialog();
    if (!dialog) return Fail("no RootCaster dialog");
    if (command == "wait") return 0;
    if (command == "select" && argc > 2) return Select(dialog, argv[2]);
    if (command == "about") return OpenAbout(dialog);
    if (command == "close") return Close(dialog);
    if (command == "geometry" && argc > 2) return PrintGeometry(argv[2]);
    return Fail("usage: uidriver wait | select PATH | about | close | geometry CAPTION");
}
