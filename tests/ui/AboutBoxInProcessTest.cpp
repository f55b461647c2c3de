// CAboutDlg run modally inside the test program, while a second thread moves
// the mouse over it and reads the cursor it set.

#include "res/resource.h"
#include "settings/SettingsStore.h"
#include "tests/support/WindowDriver.h"
#include "tests/support/Thread.h"
#include "tests/support/Watchdog.h"
#include "ui/AboutDlg.h"

#include <gtest/gtest.h>

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
};

// The cursor the dialog's thread shows after a mouse move to (x, y).
HCURSOR CursorAfterMoveTo(HWND about, int x, int y) {
    ::SetCursor(nullptr);
    ::SendMessageA(about, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    return ::GetCursor();
}

// The cursor the dialog's thread shows when the system asks for one with
// the pointer at (x, y), as it does before every mouse move.
HCURSOR CursorAskedAt(HWND about, int x, int y) {
    POINT point{x, y};
    ::ClientToScreen(about, &point);
    ::SetCursorPos(point.x, point.y);
    // Wine moves the X pointer asynchronously: the dialog must read the new
    // position, not the one a previous run left.
    POINT now{};
    for (int tries = 0; tries < 40 && (!::GetCursorPos(&now) || now.x != point.x || now.y != point.y); ++tries) {
        ::Sleep(25);
    }
    ::SetCursor(nullptr);
    ::SendMessageA(about, WM_SETCURSOR, reinterpret_cast<WPARAM>(about), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return ::GetCursor();
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
        seen.onLogo = CursorAfterMoveTo(about, logo.x + 20, logo.y + 20) == hand;
        seen.onLastPixel = CursorAfterMoveTo(about, logo.x + kLogoSize - 1, logo.y + kLogoSize - 1) == hand;
        seen.rightOfLogo = CursorAfterMoveTo(about, logo.x + kLogoSize + 5, logo.y + 20) == hand;
        seen.belowLogo = CursorAfterMoveTo(about, logo.x + 20, logo.y + kLogoSize + 5) == hand;
        // Beside the logo first: moving the real pointer onto the logo also
        // makes a mouse move of its own, which, handled late, would show the
        // hand during the check beside it.
        seen.askedBesideLogo = CursorAskedAt(about, logo.x + kLogoSize + 5, logo.y + 20) == hand;
        seen.askedOnLogo = CursorAskedAt(about, logo.x + 20, logo.y + 20) == hand;
        ::AttachThreadInput(::GetCurrentThreadId(), dialogThread, FALSE);
        ::PostMessageA(about, WM_COMMAND, IDOK, 0);
    });
    CAboutDlg about;
    EXPECT_EQ(about.DoModal(), IDOK);
    helper.Join();
    EXPECT_TRUE(seen.onLogo);
    EXPECT_TRUE(seen.onLastPixel);
    EXPECT_FALSE(seen.rightOfLogo);
    EXPECT_FALSE(seen.belowLogo);
    EXPECT_TRUE(seen.askedOnLogo) << "WM_SETCURSOR over the logo";
    EXPECT_FALSE(seen.askedBesideLogo) << "WM_SETCURSOR beside the logo";
}

}  // namespace
