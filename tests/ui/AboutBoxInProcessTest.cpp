// CAboutDlg run modally inside the test program, while a second thread moves
// the mouse over it through messages and reads the cursor it set.

#include "res/resource.h"
#include "settings/SettingsStore.h"
#include "tests/support/WindowDriver.h"
#include "tests/support/Thread.h"
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
};

// The cursor the dialog's thread shows after a mouse move to (x, y).
HCURSOR CursorAfterMoveTo(HWND about, int x, int y) {
    ::SetCursor(nullptr);
    ::SendMessageA(about, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    return ::GetCursor();
}

TEST(AboutBoxInProcess, HandCursorShowsOverTheLogoOnly) {
    settings::SettingsStore::Instance().SetRegistryKey(settings::kCompanyKey);
    const HCURSOR hand = ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_LINK_HAND));
    ASSERT_TRUE(hand);
    CursorSeen seen;
    const DWORD dialogThread = ::GetCurrentThreadId();
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
}

}  // namespace
