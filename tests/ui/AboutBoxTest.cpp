// The real program's About box, opened from its main dialog.

#include "res/resource.h"
#include "tests/support/Recorder.h"
#include "tests/support/WineTest.h"
#include "tests/ui/MainDialogRun.h"

#include <gtest/gtest.h>

using namespace testing_support;
using namespace ui_testing;

namespace {

constexpr int kLogoSize = 75;

// Opens the About box with the "About..." button.
HWND OpenAbout(const MainDialogRun& run) {
    PostClick(run.Dialog(), IDC_ABOUT);
    return run.WaitForAboutBox();
}

// "OK", then "Done".
void CloseAll(const MainDialogRun& run, HWND about) {
    Click(about, IDOK);
    EXPECT_TRUE(WaitUntilGone(about));
    EXPECT_TRUE(run.Done());
}

class AboutBox : public MainDialogTest {
protected:
    // Where the box places its logo in client coordinates: moved by the fixed
    // sizes of a dialog frame and caption.
    static RECT LogoArea(HWND about) {
        RECT box;
        RECT logo;
        ::GetWindowRect(about, &box);
        ::GetWindowRect(::GetDlgItem(about, IDC_LOGO), &logo);
        const LONG left = logo.left - box.left - ::GetSystemMetrics(SM_CXDLGFRAME);
        const LONG top = logo.top - box.top - ::GetSystemMetrics(SM_CYCAPTION) - ::GetSystemMetrics(SM_CYDLGFRAME);
        return RECT{left, top, left + logo.right - logo.left, top + logo.bottom - logo.top};
    }

    static void ClickAt(HWND about, LONG x, LONG y) {
        ::SendMessageA(about, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        ::SendMessageA(about, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }

    // Made before the program starts, which inherits its environment.
    Recorder recorder;
    const std::string program = "\"" + Recorder::ProgramPath() + "\"";
    ScopedHtmlAssociation association{program + " %1"};
};

TEST_F(AboutBox, ShowsTheUsageCountAsASigned32BitNumber) {
    const struct {
        DWORD stored;
        const char* shown;
    } counts[] = {{1, "1"}, {0x80000000, "-2147483648"}, {0xFFFFFFFF, "-1"}};
    const DWORD before = ReadDword(HKEY_CURRENT_USER, kStatsKey, "Times").value_or(0);
    for (const auto& count : counts) {
        SCOPED_TRACE(count.shown);
        SetDword(HKEY_CURRENT_USER, kStatsKey, "Times", count.stored);
        MainDialogRun run;
        ASSERT_TRUE(run.Dialog());
        HWND about = OpenAbout(run);
        ASSERT_TRUE(about);
        EXPECT_EQ(WindowText(::GetDlgItem(about, IDC_USAGE)),
                  std::string("You have used RootCaster ") + count.shown + " times.");
        CloseAll(run, about);
    }
    SetDword(HKEY_CURRENT_USER, kStatsKey, "Times", before);
}

TEST_F(AboutBox, IsModalOverTheDialogWithoutCloseBoxAndEscapeClosesIt) {
    MainDialogRun run;
    HWND about = OpenAbout(run);
    ASSERT_TRUE(about);
    EXPECT_EQ(::GetWindow(about, GW_OWNER), run.Dialog());
    EXPECT_FALSE(::IsWindowEnabled(run.Dialog()));
    EXPECT_FALSE(::GetWindowLongA(about, GWL_STYLE) & WS_SYSMENU) << "no close box in the caption";
    EXPECT_EQ(WindowText(about), "About RootCaster");
    EXPECT_NE(StaticTexts(about).find("RootCaster Version 1.0.5|"), std::string::npos) << StaticTexts(about);
    ::PostMessageA(about, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntilGone(about));
    EXPECT_TRUE(::IsWindowEnabled(run.Dialog()));
    EXPECT_TRUE(run.Done());
}

TEST_F(AboutBox, EveryClickOnTheLogoOpensTheHomePage) {
    MainDialogRun run;
    HWND about = OpenAbout(run);
    ASSERT_TRUE(about);
    RECT logo;
    ::GetWindowRect(::GetDlgItem(about, IDC_LOGO), &logo);
    EXPECT_EQ(logo.right - logo.left, kLogoSize);
    EXPECT_EQ(logo.bottom - logo.top, kLogoSize);

    const RECT area = LogoArea(about);
    ClickAt(about, area.left + 30, area.top + 30);
    ClickAt(about, area.left + 30, area.top + 30);
    const auto lines = recorder.WaitForLines(2);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], program + " https://www.quillmoor.com/rootcaster/");
    EXPECT_EQ(lines[1], lines[0]);
    EXPECT_TRUE(::IsWindowVisible(about)) << "the box stays open";
    CloseAll(run, about);
}

TEST_F(AboutBox, LogoTakesItsLeftAndTopEdgesButNotItsRightAndBottomEdges) {
    MainDialogRun run;
    HWND about = OpenAbout(run);
    ASSERT_TRUE(about);
    const RECT area = LogoArea(about);
    ClickAt(about, area.right, area.top + 10);
    ClickAt(about, area.left + 10, area.bottom);
    ClickAt(about, area.left - 1, area.top + 10);
    ClickAt(about, area.left + 10, area.top - 1);
    EXPECT_TRUE(recorder.LinesOnceNoneRuns().empty()) << "outside the logo";
    ClickAt(about, area.left, area.top);
    ClickAt(about, area.right - 1, area.bottom - 1);
    EXPECT_EQ(recorder.WaitForLines(2).size(), 2u) << "the first and last pixel of the logo";
    CloseAll(run, about);
}

}  // namespace
