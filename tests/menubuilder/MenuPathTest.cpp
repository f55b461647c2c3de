// The folder-menu builder's path logic: encoding, levels, the folder walk,
// the markers' identifiers and bytes.

#include "menubuilder/MenuPath.h"
#include "tests/support/LeadBytes.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using menubuilder::FolderStep;
using testing_support::Cp932LeadByte;
using testing_support::NoLeadBytes;

const std::string kStartMenu = "C:\\WINDOWS\\Start Menu";
const std::string kBase = "C:\\WINDOWS\\Start Menu\\RootCaster\\";

TEST(EncodeMenuPath, RemovesColonsThenTwoLeadingBackslashes) {
    using menubuilder::EncodeMenuPath;
    EXPECT_EQ(EncodeMenuPath("C:\\Windows\\System"), "C\\Windows\\System");
    EXPECT_EQ(EncodeMenuPath("C:\\"), "C\\");
    EXPECT_EQ(EncodeMenuPath("D:"), "D");
    EXPECT_EQ(EncodeMenuPath("\\\\srv\\pub\\docs"), "srv\\pub\\docs");
    EXPECT_EQ(EncodeMenuPath("\\\\srv\\"), "srv\\");
    EXPECT_EQ(EncodeMenuPath(""), "");
    EXPECT_EQ(EncodeMenuPath("C:\\a:b\\"), "C\\ab\\") << "every colon goes";
    EXPECT_EQ(EncodeMenuPath(":\\\\srv"), "srv") << "colons go before the backslashes are looked at";
    EXPECT_EQ(EncodeMenuPath("\\\\\\\\x"), "\\\\x") << "only two backslashes go";
    EXPECT_EQ(EncodeMenuPath("\"C:\\Windows\""), "\"C\\Windows\"") << "quotes stay";
}

TEST(DirectoryOfMenuFolder, SingleLetterIsADriveAnyOtherNameAServer) {
    using menubuilder::DirectoryOfMenuFolder;
    for (const auto& [relative, directory, why] : std::vector<std::tuple<std::string, std::string, const char*>>{
             {"C", "C:\\", ""},
             {"d", "d:\\", ""},
             {"C\\Windows\\System", "C:\\Windows\\System\\", ""},
             {"srv", "\\\\srv\\", ""},
             {"srv\\pub\\docs", "\\\\srv\\pub\\docs\\", ""},
             {"C\\Windows\\", "C:\\Windows\\", "a closing backslash is not doubled"},
             {"C1\\x", "\\\\C1\\x\\", "two characters make a server"},
             {"1\\x", "\\\\1\\x\\", "a digit is no drive"},
             {"\xC4\\x", "\\\\\xC4\\x\\", "a letter beyond A to Z is no drive"},
             {"", "", "the menu root stands for no directory"}}) {
        EXPECT_EQ(DirectoryOfMenuFolder(relative), directory) << why;
        // The same rule over wide text, and over names outside any ANSI code page.
        const std::wstring wideRelative(relative.begin(), relative.end());
        const std::wstring wideDirectory(directory.begin(), directory.end());
        EXPECT_EQ(DirectoryOfMenuFolder(wideRelative), wideDirectory) << why;
    }
    EXPECT_EQ(DirectoryOfMenuFolder(L"C\\\u03A9\u6F22"), L"C:\\\u03A9\u6F22\\");
    EXPECT_EQ(DirectoryOfMenuFolder<char16_t>(u"\u03A9\\x"), u"\\\\\u03A9\\x\\") << "one Greek letter is a server";
}

// The reader undoes what the builder did, for every first level it can make.
TEST(DirectoryOfMenuFolder, UndoesTheEncodingOfDrivesAndServers) {
    for (const std::string path : {"C:\\", "C:\\Windows\\", "\\\\srv\\", "\\\\srv\\pub\\docs\\"}) {
        std::string encoded = menubuilder::EncodeMenuPath(path);
        encoded.pop_back();
        EXPECT_EQ(menubuilder::DirectoryOfMenuFolder(encoded), path);
    }
}

TEST(MenuBase, IsTheStartMenuWithTheMenuRootAndABackslash) {
    EXPECT_EQ(menubuilder::MenuBase(kStartMenu), kBase);
    EXPECT_EQ(menubuilder::MenuBase(std::wstring_view(L"C:\\WINDOWS\\Start Menu")),
              L"C:\\WINDOWS\\Start Menu\\RootCaster\\");
}

TEST(BeginsWithFolder, IgnoresTheCaseOfAToZOnly) {
    using menubuilder::BeginsWithFolder;
    EXPECT_TRUE(BeginsWithFolder(kStartMenu, kStartMenu));
    EXPECT_TRUE(BeginsWithFolder("c:\\windows\\start menu\\Programs", kStartMenu));
    EXPECT_TRUE(BeginsWithFolder("C:\\WINDOWS\\Start Menu Backup", kStartMenu)) << "a beginning of text is enough";
    EXPECT_FALSE(BeginsWithFolder("C:\\WINDOWS\\Start Men", kStartMenu)) << "shorter than the folder";
    EXPECT_FALSE(BeginsWithFolder("C:\\WINDOWS\\Start_Menu", kStartMenu));
    EXPECT_FALSE(BeginsWithFolder("C:\\\xC4rger", "C:\\\xE4rger")) << "no case folding beyond A to Z";
    EXPECT_TRUE(BeginsWithFolder("C:\\\xE4rger\\x", "c:\\\xE4RGER"));
}

// One rule for joining and for the closing backslash: it is added once, and
// only a drive root keeps it when a folder names itself.
TEST(ClosingBackslash, AppendedOnlyWhenMissingAndKeptOnlyByADriveRoot) {
    for (const auto& [before, after] : std::vector<std::pair<std::string, std::string>>{
             {"C:\\Windows", "C:\\Windows\\"}, {"C:\\Windows\\", "C:\\Windows\\"}, {"", "\\"}, {"D:", "D:\\"}}) {
        std::string path = before;
        menubuilder::EnsureClosingBackslash(path);
        EXPECT_EQ(path, after);
    }
    for (const auto& [before, after] : std::vector<std::pair<std::wstring, std::wstring>>{
             {L"C:\\Windows\\", L"C:\\Windows"}, {L"C:\\", L"C:\\"}, {L"\\\\srv\\", L"\\\\srv"}, {L"", L""}}) {
        EXPECT_EQ(menubuilder::WithoutClosingBackslash(before), after);
    }
    EXPECT_EQ(menubuilder::JoinPath("C:\\Start Menu", "RootCaster"), "C:\\Start Menu\\RootCaster");
    EXPECT_EQ(menubuilder::JoinPath("C:\\", "RootCaster"), "C:\\RootCaster") << "no second backslash";
    EXPECT_EQ(menubuilder::JoinPath(L"", L"C"), L"C") << "no folder: the name alone";
}

TEST(ItemLevels, EveryPrefixEndingWithABackslashFromPositionOne) {
    using menubuilder::ItemLevels;
    using Levels = std::vector<std::string>;
    EXPECT_EQ(ItemLevels("C:\\Windows\\System\\"), (Levels{"C:\\", "C:\\Windows\\", "C:\\Windows\\System\\"}));
    EXPECT_EQ(ItemLevels("C:\\"), (Levels{"C:\\"}));
    EXPECT_EQ(ItemLevels("D:\\"), (Levels{"D:\\"}));
    EXPECT_EQ(ItemLevels("\\"), Levels{}) << "the empty path finds no level";
    EXPECT_EQ(ItemLevels("\\\\srv\\pub\\docs\\"), (Levels{"\\\\srv\\", "\\\\srv\\pub\\", "\\\\srv\\pub\\docs\\"}))
        << "the bare \\\\ of a network path has no items";
}

TEST(MenuDepth, CountsFoldersBelowTheMenuRoot) {
    using menubuilder::MenuDepth;
    EXPECT_EQ(MenuDepth(kBase.substr(0, kBase.size() - 1), kBase), 0);
    EXPECT_EQ(MenuDepth(kBase + "C", kBase), 1);
    EXPECT_EQ(MenuDepth(kBase + "srv", kBase), 1);
    EXPECT_EQ(MenuDepth(kBase + "C\\Windows", kBase), 2);
    EXPECT_EQ(MenuDepth(kBase + "C\\Windows\\System", kBase), 3);
    EXPECT_EQ(MenuDepth(kStartMenu, kBase), -1);
    EXPECT_EQ(MenuDepth("C:\\WINDOWS", kBase), -1);
    EXPECT_EQ(MenuDepth("C:\\WINDOWS\\Start Menu\\RootCasterX", kBase), -1);
}

TEST(ClassIdForDepth, RootFirstLevelAndDeeper) {
    EXPECT_STREQ(menubuilder::ClassIdForDepth(0), "{5A3C71E4-2B90-11D1-A4F6-00C04F7B3E28}");
    EXPECT_STREQ(menubuilder::ClassIdForDepth(1), "{5A3C71E4-2B90-11D3-A4F6-00C04F7B3E28}");
    EXPECT_STREQ(menubuilder::ClassIdForDepth(2), "{5A3C71E4-2B90-11D2-A4F6-00C04F7B3E28}");
    EXPECT_STREQ(menubuilder::ClassIdForDepth(7), "{5A3C71E4-2B90-11D2-A4F6-00C04F7B3E28}");
}

TEST(DesktopIniText, IsTheExact65ByteMarker) {
    const std::string text = menubuilder::DesktopIniText(menubuilder::kFirstLevelClassId);
    ASSERT_EQ(text.size(), 65u);
    EXPECT_EQ(text.substr(0, 19), "[.ShellClassInfo]\r\n");
    EXPECT_EQ(text.substr(19), "CLSID={5A3C71E4-2B90-11D3-A4F6-00C04F7B3E28}\r\n");
}

std::vector<std::pair<std::string, int>> Walk(const std::string& menuFolder, const std::string& base = kBase,
                                              menubuilder::LeadByteTest isLeadByte = NoLeadBytes) {
    std::vector<std::pair<std::string, int>> steps;
    for (const FolderStep& step : menubuilder::MenuFolderWalk(menuFolder, base, isLeadByte)) {
        steps.emplace_back(step.folder, step.depth);
    }
    return steps;
}

TEST(MenuFolderWalk, CreatesFromTheTopAndMarksFromTheMenuRootDown) {
    using Steps = std::vector<std::pair<std::string, int>>;
    const std::string root = kBase.substr(0, kBase.size() - 1);
    EXPECT_EQ(Walk(kBase + "C\\Windows\\System"), (Steps{{"C:\\WINDOWS", -1},
                                                         {kStartMenu, -1},
                                                         {root, 0},
                                                         {kBase + "C", 1},
                                                         {kBase + "C\\Windows", 2},
                                                         {kBase + "C\\Windows\\System", 3}}));
    EXPECT_EQ(Walk(kBase + "C\\"), (Steps{{"C:\\WINDOWS", -1}, {kStartMenu, -1}, {root, 0}, {kBase + "C", 1}}))
        << "a drive root's closing backslash adds no step";
    EXPECT_EQ(Walk(kBase + "C"), Walk(kBase + "C\\"));
    EXPECT_EQ(Walk(kBase), (Steps{{"C:\\WINDOWS", -1}, {kStartMenu, -1}, {root, 0}})) << "the empty path";
    EXPECT_EQ(Walk(kBase + "srv\\pub").back(), (std::pair<std::string, int>{kBase + "srv\\pub", 2}));
}

TEST(MenuFolderWalk, NeverTakesTheFirstFourCharactersAsSeparators) {
    const std::string base = "\\\\pc\\menu\\RootCaster\\";
    const auto steps = Walk(base + "C", base);
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.front().first, "\\\\pc") << "the backslash at position 4 is the first one taken";
    EXPECT_EQ(Walk("C:\\x\\RootCaster\\C", "C:\\x\\RootCaster\\").front().first, "C:\\x");
}

// In code page 932, U+30BD (katakana so) is 83 5C: its trail byte is a
// backslash, which must not cut the Start Menu's own path.
TEST(MenuFolderWalk, StepsOverDoubleByteCharactersWhoseTrailByteIsABackslash) {
    using Steps = std::vector<std::pair<std::string, int>>;
    const std::string user = "C:\\Users\\\x83\x5C\x83\x74\x83\x67";
    const std::string base = user + "\\Start Menu\\RootCaster\\";
    EXPECT_EQ(Walk(base + "C", base, Cp932LeadByte), (Steps{{"C:\\Users", -1},
                                                            {user, -1},
                                                            {user + "\\Start Menu", -1},
                                                            {user + "\\Start Menu\\RootCaster", 0},
                                                            {base + "C", 1}}));
    EXPECT_EQ(Walk(base + "C", base, NoLeadBytes).at(1).first, "C:\\Users\\\x83") << "read as single bytes";
    EXPECT_EQ(Walk("C:\\\x83\\\\RootCaster\\C", "C:\\\x83\\\\RootCaster\\", Cp932LeadByte).front().first, "C:\\\x83\\")
        << "a character across position 4";
}

// A "RootCaster" elsewhere in the path is just a name: only the menu root
// below the Start Menu is marked as the root, and nothing above it is marked.
TEST(MenuFolderWalk, OtherFoldersNamedRootCasterAreNotMenuRoots) {
    const std::string base = "C:\\Users\\RootCaster\\Start Menu\\RootCaster\\";
    const auto steps = Walk(base + "C\\Program Files\\RootCaster", base);
    ASSERT_EQ(steps.size(), 7u);
    EXPECT_EQ(steps[1], (std::pair<std::string, int>{"C:\\Users\\RootCaster", -1}));
    EXPECT_EQ(steps[2], (std::pair<std::string, int>{"C:\\Users\\RootCaster\\Start Menu", -1}));
    EXPECT_EQ(steps[3].second, 0);
    EXPECT_EQ(steps[6], (std::pair<std::string, int>{base + "C\\Program Files\\RootCaster", 3}));
}

}  // namespace
