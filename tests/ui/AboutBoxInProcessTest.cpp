// CAboutDlg run modally inside the test program, while a second thread moves
// the mouse over it and reads the cursor it set.

#include "res/resource.h"
#include "settings/SettingsStore.h"
#include "tests/support/WindowDriver.h"
#include "tests/support/Thread.h"
#include "tests/support/Watchdog.h"
#include "ui/AboutDlg.h"

#include <gtest/gtest.h>

#include <string>

using namespace testing_support;

namespace {

constexpr int kLogoSize = 75;

struct CursorSeen {
    bool onLogo = false;
    bool onLastPixel = false;
    bool rightOfLogo = false;
    bool belowLogo = false;
    bool askedOnLogo = false;
    bool askedBesideLogo = false;
    std::string pointer;
};

// The cursor the dialog's thread shows after a mouse move to (x, y).
HCURSOR CursorAfterMoveTo(HWND about, int x, int y) {
    ::SetCursor(nullptr);
    ::SendMessageA(about, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    return ::GetCursor();
}

bool PointerIsAt(POINT point) {
    POINT now{};
    return ::GetCursorPos(&now) && now.x == point.x && now.y == point.y;
}

// Wine moves the X pointer asynchronously: this waits until it says the
// pointer is there.
bool MovePointerTo(POINT point) {
    ::SetCursorPos(point.x, point.y);
    for (int tries = 0; tries < 80; ++tries, ::Sleep(25)) {
        if (PointerIsAt(point)) return true;
    }
    return false;
}

std::string Describe(POINT point) {
    return std::to_string(point.x) + "," + std::to_string(point.y);
}

// The cursor the dialog's thread shows when the system asks for one with
// the pointer at (x, y), as it does before every mouse move. Wine may report
// an earlier position for a while, so an answer counts only when the pointer
// was at (x, y) before and after it; `where` tells where the pointer was
// when none counted.
HCURSOR CursorAskedAt(HWND about, int x, int y, std::string& where) {
    POINT point{x, y};
    ::ClientToScreen(about, &point);
    MovePointerTo(point);
    for (int tries = 0; tries < 80; ++tries, ::Sleep(25)) {
        if (!PointerIsAt(point)) continue;
        ::SetCursor(nullptr);
        ::SendMessageA(about, WM_SETCURSOR, reinterpret_cast<WPARAM>(about), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        const HCURSOR shown = ::GetCursor();
        if (PointerIsAt(point)) return shown;
    }
    POINT now{};
    ::GetCursorPos(&now);
    where += "pointer at " + Describe(now) + ", not " + Describe(point) + "; ";
    return nullptr;
}

// The system's own mouse messages reach the dialog's thread at any time and
// may put the class's arrow back between a question and its answer; with
// the pointer off the logo they never show the hand. So the hand counts as
// shown when any of a few askings showed it.
template <class Ask>
bool HandShown(HCURSOR hand, Ask ask) {
    for (int tries = 0; tries < 5; ++tries) {
        if (ask() == hand) return true;
    }
    return false;
}

TEST(AboutBoxInProcess, HandCursorShowsOverTheLogoOnly) {
    settings::SettingsStore::Instance().SetRegistryKey(settings::kCompanyKey);
    const HCURSOR hand = ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_LINK_HAND));
    ASSERT_TRUE(hand);
    CursorSeen seen;
    const DWORD dialogThread = ::GetCurrentThreadId();
    Watchdog watchdog("the About box");
    Thread helper([&] {
        HWND about = WaitFor([] { return FindTopLevelWindow(::GetCurrentProcessId(), "About RootCaster"); });
        if (!about) return;
        // Sharing the dialog thread's input state shares its cursor.
        ::AttachThreadInput(::GetCurrentThreadId(), dialogThread, TRUE);
        POINT logo{0, 0};
        ::MapWindowPoints(::GetDlgItem(about, IDC_LOGO), about, &logo, 1);
        // The mouse moves below are the test's own; the pointer waits
        // beside the dialog, where the system's never show the hand.
        RECT dialog{};
        ::GetWindowRect(about, &dialog);
        if (!MovePointerTo({dialog.right + 5, dialog.bottom + 5})) seen.pointer += "pointer not parked; ";
        const auto movedTo = [&](int x, int y) {
            return HandShown(hand, [&] { return CursorAfterMoveTo(about, logo.x + x, logo.y + y); });
        };
        seen.onLogo = movedTo(20, 20);
        seen.onLastPixel = movedTo(kLogoSize - 1, kLogoSize - 1);
        seen.rightOfLogo = movedTo(kLogoSize + 5, 20);
        seen.belowLogo = movedTo(20, kLogoSize + 5);
        // Beside the logo first: moving the real pointer onto the logo also
        // makes a mouse move of its own, which, handled late, would show the
        // hand during the check beside it.
        const auto askedAt = [&](int x, int y) {
            return HandShown(hand, [&] { return CursorAskedAt(about, logo.x + x, logo.y + y, seen.pointer); });
        };
        seen.askedBesideLogo = askedAt(kLogoSize + 5, 20);
        seen.askedOnLogo = askedAt(20, 20);
        ::AttachThreadInput(::GetCurrentThreadId(), dialogThread, FALSE);
        ::PostMessageA(about, WM_COMMAND, IDOK, 0);
    });
    CAboutDlg about;
    EXPECT_EQ(about.DoModal(), IDOK);
    helper.Join();
    EXPECT_TRUE(seen.onLogo) << seen.pointer;
    EXPECT_TRUE(seen.onLastPixel) << seen.pointer;
    EXPECT_FALSE(seen.rightOfLogo);
    EXPECT_FALSE(seen.belowLogo);
    EXPECT_TRUE(seen.askedOnLogo) << "WM_SETCURSOR over the logo; " << seen.pointer;
    EXPECT_FALSE(seen.askedBesideLogo) << "WM_SETCURSOR beside the logo";
}

}  // namespace
