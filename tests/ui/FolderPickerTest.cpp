// CFolderPicker inside the test program: the shell's browse-for-folder
// dialog, worked from a second thread.

#include "tests/support/WineTest.h"
#include "tests/support/WindowDriver.h"
#include "tests/support/Thread.h"
#include "tree/FolderPicker.h"

#include <gtest/gtest.h>
#include <objbase.h>

using namespace testing_support;

namespace {

class FolderPicker : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr))); }
    void TearDown() override { ::CoUninitialize(); }

    // Runs Browse; `work` gets the browse dialog on another thread and must
    // close it. Returns Browse's result.
    template <class Work>
    static bool BrowseAndWork(CFolderPicker& picker, Work work) {
        Thread helper([&] {
            HWND dialog = WaitFor([] { return FindProcessWindow(::GetCurrentProcessId()); });
            if (dialog) work(dialog);
        });
        const bool chosen = picker.Browse(nullptr);
        helper.Join();
        return chosen;
    }

    // Selects the top item of the dialog's tree, then confirms it.
    static void ConfirmTopItem(HWND dialog) {
        const RemoteTree tree(::FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr));
        tree.Select(tree.Root());
        ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    }
};

TEST_F(FolderPicker, RootThatNamesNoFolderShowsNothing) {
    CFolderPicker picker;
    picker.m_strRoot = "C:\\no such folder\\at all";
    EXPECT_FALSE(picker.Browse(nullptr));
    picker.m_strRoot = "C:\\" + std::string(300, 'a');
    EXPECT_FALSE(picker.Browse(nullptr)) << "a root too long for the buffer";
}

TEST_F(FolderPicker, EmptyTitleShowsOpenAndCancelGivesFalse) {
    CFolderPicker picker;
    std::string texts;
    EXPECT_FALSE(BrowseAndWork(picker, [&](HWND dialog) {
        texts = StaticTexts(dialog);
        ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
    EXPECT_NE(texts.find("Open|"), std::string::npos) << texts;
}

// In process, the picker works in this program's code page: UTF-8, by the
// manifest it shares with the program.
TEST_F(FolderPicker, ConfirmedFolderGivesItsPathWithoutFinalBackslash) {
    for (const std::string name : {"rootcaster picker", "rootcaster Ελληνικά 日本語 😀"}) {
        TempFolder folder(name);
        CFolderPicker picker;
        picker.m_strRoot = folder.Path();
        picker.m_strTitle = "Pick one";
        std::string texts;
        EXPECT_TRUE(BrowseAndWork(picker, [&](HWND dialog) {
            texts = StaticTexts(dialog);
            ConfirmTopItem(dialog);
        }));
        EXPECT_EQ(picker.m_strPath, folder.Path());
        EXPECT_NE(texts.find("Pick one|"), std::string::npos) << texts;
    }
}

TEST_F(FolderPicker, ConfirmedDriveGivesItsRootWithBackslash) {
    CFolderPicker picker;
    picker.m_strRoot = "C:\\";
    EXPECT_TRUE(BrowseAndWork(picker, ConfirmTopItem));
    EXPECT_EQ(picker.m_strPath, "C:\\");
}

}  // namespace
