// The tray menus' model apart from Windows: which look each system gets,
// and where a typed letter goes in the root with "Search..." atop it.

#include "tray/MenuPages.h"

#include <gtest/gtest.h>

namespace {

using tray::MenuCharAnswer;
using tray::MenuLook;

TEST(TrayMenuLook, FollowsTheReportedWindows) {
    const struct {
        const char* system;
        unsigned major, minor;
        bool nt;
        MenuLook look;
    } cases[] = {{"95", 4, 0, false, MenuLook::kOwnerDrawn},      {"NT 4.0", 4, 0, true, MenuLook::kOwnerDrawn},
                 {"98", 4, 10, false, MenuLook::kBitmapCallback}, {"Me", 4, 90, false, MenuLook::kBitmapCallback},
                 {"2000", 5, 0, true, MenuLook::kBitmapCallback}, {"XP", 5, 1, true, MenuLook::kBitmapCallback},
                 {"Vista", 6, 0, true, MenuLook::kThemed},        {"10", 10, 0, true, MenuLook::kThemed}};
    for (const auto& test : cases) {
        EXPECT_EQ(tray::MenuLookFor(test.major, test.minor, test.nt), test.look) << test.system;
    }
}

// "Search..." takes an "s" that no drive takes; positions count it and its
// separator.
TEST(TrayMenuChar, SearchTakesWhatNoEntryTakes) {
    std::vector<tray::Line> lines = {tray::SearchLine(1), tray::SeparatorLine(),
                                     tray::FolderLine(L"C:", L"C:\\", L"m\\C\\", 0),
                                     tray::FolderLine(L"D:", L"D:\\", L"m\\D\\", 0)};
    const auto answer = [&](size_t highlighted, wchar_t c) {
        const MenuCharAnswer got = tray::AnswerMenuChar(lines, nullptr, highlighted, c);
        return std::make_pair(got.action, got.position);
    };
    EXPECT_EQ(answer(4, L's'), std::make_pair(MenuCharAnswer::Action::kExecute, size_t{0}));
    EXPECT_EQ(answer(4, L'd'), std::make_pair(MenuCharAnswer::Action::kExecute, size_t{3}));
    EXPECT_EQ(answer(4, L'q').first, MenuCharAnswer::Action::kIgnore);
    lines.push_back(tray::FolderLine(L"Server", L"\\\\Server\\", L"m\\Server\\", 0));
    EXPECT_EQ(answer(4, L'S'), std::make_pair(MenuCharAnswer::Action::kExecute, size_t{4}));
    lines.push_back(tray::FolderLine(L"Share", L"\\\\Share\\", L"m\\Share\\", 0));
    EXPECT_EQ(answer(4, L's'), std::make_pair(MenuCharAnswer::Action::kSelect, size_t{5}));
    EXPECT_EQ(answer(5, L's'), std::make_pair(MenuCharAnswer::Action::kSelect, size_t{4}));
}

}  // namespace
