// CRootCasterDlg run modally inside the test program (its resources are
// linked in), while a second thread looks at the window and closes it.

#include "res/resource.h"
#include "settings/SettingsStore.h"
#include "tests/support/WineTest.h"
#include "tests/support/WindowDriver.h"
#include "tests/support/Thread.h"
#include "tests/ui/MainDialogRun.h"
#include "ui/RootCasterDlg.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// Runs the dialog; `look` gets its window on another thread, before Done.
template <class Look>
void RunDialogAndLook(Look look) {
    settings::SettingsStore::Instance().SetRegistryKey(settings::kCompanyKey);
    Thread helper([&] {
        HWND dialog = WaitFor([] { return FindTopLevelWindow(::GetCurrentProcessId(), "RootCaster"); });
        if (!dialog) return;
        look(dialog);
        ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    CRootCasterDlg dialog;
    const INT_PTR result = dialog.DoModal();
    helper.Join();
    EXPECT_EQ(result, IDCANCEL);
}

struct MenuItem {
    UINT id = 0;
    UINT type = 0;
    std::string text;
};

MenuItem ItemAt(HMENU menu, int position) {
    MenuItem item;
    char text[256] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof(text);
    if (::GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info)) {
        item = {info.wID, info.fType, text};
    }
    return item;
}

using MainDialogInProcess = ui_testing::MainDialogTest;

TEST_F(MainDialogInProcess, SystemMenuEndsWithASeparatorAndTheAboutItem) {
    MenuItem separator;
    MenuItem about;
    RunDialogAndLook([&](HWND dialog) {
        HMENU menu = ::GetSystemMenu(dialog, FALSE);
        const int count = ::GetMenuItemCount(menu);
        separator = ItemAt(menu, count - 2);
        about = ItemAt(menu, count - 1);
    });
    EXPECT_TRUE(separator.type & MFT_SEPARATOR) << Hex(separator.type);
    EXPECT_EQ(about.id, 16u);
    EXPECT_EQ(about.text, "&About RootCaster...");
}

TEST_F(MainDialogInProcess, WindowIconsAndDragIconAreTheApplicationIcon) {
    LRESULT big = 0;
    LRESULT small = 0;
    LRESULT drag = 0;
    RunDialogAndLook([&](HWND dialog) {
        big = ::SendMessageA(dialog, WM_GETICON, ICON_BIG, 0);
        small = ::SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0);
        drag = ::SendMessageA(dialog, WM_QUERYDRAGICON, 0, 0);
    });
    EXPECT_NE(big, 0);
    EXPECT_EQ(small, big);
    EXPECT_EQ(drag, big);
}

}  // namespace
