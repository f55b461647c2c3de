// The tray menus' model apart from Windows: which look each system gets,
// where a typed letter goes in the root with "Search..." atop it, and when
// the menus and the search window turn dark.

#include "tray/DarkModeChoice.h"
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

// Dark only where the user chose dark, high contrast is off, the build has
// the entry points and every one was found; never under Wine.
TEST(TrayDarkMode, FollowsTheChoiceWhereTheSystemHasTheMeans) {
    const struct {
        const char* system;
        tray::DarkModeFacts facts;
        bool mayLookUp, dark;
    } cases[] = {
        {"dark", {false, 10, 19041, true, true, false}, true, true},
        {"light", {false, 10, 19041, true, false, false}, true, false},
        {"high contrast", {false, 10, 19041, true, true, true}, true, false},
        {"1803, too old", {false, 10, 17134, true, true, false}, false, false},
        {"1809", {false, 10, 17763, true, true, false}, true, true},
        {"11", {false, 10, 22621, true, true, false}, true, true},
        {"8.1", {false, 6, 9600, true, true, false}, false, false},
        {"Wine", {true, 10, 19041, true, true, false}, false, false},
        {"one entry missing", {false, 10, 19041, false, true, false}, true, false},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(tray::MayLookUpDarkMode(test.facts), test.mayLookUp) << test.system;
        EXPECT_EQ(tray::WindowsAreDark(test.facts), test.dark) << test.system;
    }
}

TEST(TrayDarkMode, CaptionAttributeFollowsTheBuild) {
    const struct {
        unsigned build, captionAttribute;
    } cases[] = {{17763, 19}, {18362, 19}, {18984, 19}, {18985, 20}, {22000, 20}};
    for (const auto& test : cases) {
        EXPECT_EQ(tray::DarkCaptionAttribute(test.build), test.captionAttribute) << test.build;
    }
}

TEST(TrayDarkMode, KnowsAColourSchemeChange) {
    EXPECT_TRUE(tray::IsColorSchemeChange(0, "ImmersiveColorSet"));
    EXPECT_TRUE(tray::IsColorSchemeChange(0x0043, nullptr)) << "high contrast turned on or off";
    EXPECT_FALSE(tray::IsColorSchemeChange(0, nullptr));
    EXPECT_FALSE(tray::IsColorSchemeChange(0, "Environment"));
    EXPECT_FALSE(tray::IsColorSchemeChange(0, "ImmersiveColorSetX"));
}

}  // namespace
