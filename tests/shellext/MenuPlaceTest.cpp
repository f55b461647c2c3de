// Where a menu folder stands below the menu root, read from its path.

#include "shellext/MenuPlace.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::wstring> kStartMenus = {L"C:\\users\\me\\Start Menu", L"C:\\users\\Public\\Start Menu\\"};

TEST(MenuRelativePath, RootFirstLevelAndDeeperBelowEitherStartMenu) {
    struct Case {
        const wchar_t* folder;
        std::optional<std::wstring> relative;
    };
    const Case cases[] = {
        {L"C:\\users\\me\\Start Menu\\RootCaster", L""},
        {L"C:\\users\\me\\Start Menu\\RootCaster\\", L""},
        {L"c:\\USERS\\me\\start menu\\rootcaster\\C", L"C"},
        {L"C:\\users\\me\\Start Menu\\RootCaster\\srv\\pub\\\u0395\u65e5", L"srv\\pub\\\u0395\u65e5"},
        {L"C:\\users\\Public\\Start Menu\\RootCaster\\C\\Windows", L"C\\Windows"},
        {L"C:\\users\\me\\Start Menu\\RootCasterX\\C", std::nullopt},
        {L"C:\\users\\me\\Start Menu", std::nullopt},
        {L"D:\\RootCaster\\C", std::nullopt},
        {L"", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(shellext::MenuRelativePath(c.folder, kStartMenus), c.relative) << std::wstring(c.folder).size();
    }
}

TEST(MenuRelativePath, NonAsciiLettersCompareExactly) {
    const std::vector<std::wstring> startMenus = {L"C:\\users\\\u00e9ric\\Start Menu"};
    EXPECT_EQ(shellext::MenuRelativePath(L"C:\\users\\\u00e9ric\\Start Menu\\RootCaster\\C", startMenus), L"C");
    EXPECT_EQ(shellext::MenuRelativePath(L"C:\\users\\\u00c9ric\\Start Menu\\RootCaster\\C", startMenus), std::nullopt);
}

}  // namespace
