// Which directory paths the builder refuses before it creates anything: paths
// inside the Start Menu, paths whose folders, markers or items would not land
// under their own names below the menu root, paths too long for the platform.

#include "menubuilder/MenuPath.h"
#include "tests/support/LeadBytes.h"

#include <gtest/gtest.h>

namespace {

using menubuilder::CheckDirectoryPath;
using menubuilder::PathVerdict;
using testing_support::Cp932LeadByte;
using testing_support::NoLeadBytes;

const std::string kStartMenu = "C:\\WINDOWS\\Start Menu";

PathVerdict Check(std::string_view path, menubuilder::LeadByteTest isLeadByte = NoLeadBytes) {
    return CheckDirectoryPath(kStartMenu, path, isLeadByte);
}

void ExpectAll(PathVerdict verdict, const std::vector<std::string>& paths) {
    for (const std::string& path : paths) EXPECT_EQ(Check(path), verdict) << "path: " << path;
}

TEST(CheckDirectoryPath, AcceptsOrdinaryPaths) {
    ExpectAll(PathVerdict::kAccepted, {
                                          "C:\\Windows\\System",
                                          "C:\\Windows\\System\\",
                                          "\\\\srv\\pub\\docs",
                                          "\\\\srv\\",
                                          "D:",
                                          "C:\\",
                                          "",
                                          "\\\\",
                                          "C:\\Program Files\\Tools",
                                          "C:\\Does\\Not\\Exist",
                                          "C:\\.hidden\\a.b\\...x\\ lead",
                                          "C:\\CONSOLE\\COM10\\nul_x\\LPTA\\Open.lnk.old",
                                          "C:\\RootCaster\\Start Menu",
                                          "C:\\\xE4rger",
                                          "C:\\Ελληνικά\\日本語\\😀",
                                          "C:\\COM\xC2\xB4",
                                      });
}

TEST(CheckDirectoryPath, RefusesPathsInsideTheStartMenuInAnyLetterCase) {
    ExpectAll(PathVerdict::kInsideStartMenu, {
                                                 kStartMenu,
                                                 "c:\\windows\\start menu\\Programs",
                                                 "C:\\WINDOWS\\START MENU\\",
                                                 "C:\\WINDOWS\\Start Menu Backup",
                                             });
}

TEST(CheckDirectoryPath, RefusesStepsUpAndNamesThePlatformWouldChange) {
    ExpectAll(PathVerdict::kUnsafeName, {
                                            "C:\\..\\..\\x",
                                            "C:\\Windows\\..",
                                            "C:\\.\\x",
                                            "C:\\...",
                                            "C:\\.. \\..\\x",
                                            "C:\\x.",
                                            "C:\\x \\y",
                                        });
}

TEST(CheckDirectoryPath, RefusesOtherSeparatorsAndEmptyNames) {
    ExpectAll(PathVerdict::kUnsafeName, {
                                            "C:\\Windows/System",
                                            "C:\\\\x",
                                            "\\\\\\x",
                                            "\\\\\\\\x",
                                            "\\\\..\\x",
                                            "\\\\.\\C:\\x",
                                            "\\\\?\\C:\\x",
                                            "\\\\?\\UNC\\srv\\share",
                                        });
}

TEST(CheckDirectoryPath, RefusesColonsWhoseRemovalMakesStepsUp) {
    ExpectAll(PathVerdict::kUnsafeName, {"C:\\.:.\\x", "C:\\x\\..:", "\\\\srv\\.:"});
}

// Relative to a current drive or directory, or no path at all: the menu
// folder would name a server while the items point elsewhere. Colons before
// the start of a network path would put items into the menu root.
TEST(CheckDirectoryPath, RefusesPathsThatAreNeitherDriveNorNetworkPaths) {
    ExpectAll(PathVerdict::kRelative, {
                                          "relative\\dir",
                                          "Windows",
                                          "C:Windows",
                                          "C:x\\y",
                                          "C:..\\x",
                                          "C:/../x",
                                          ":..\\x",
                                          ".:.\\x",
                                          "..:\\x",
                                          "..",
                                          ".",
                                          "\\",
                                          "\\x",
                                          "\\Windows\\System",
                                          "1:\\x",
                                          " C:\\x",
                                          ":\\\\srv",
                                          ":\\\\",
                                          "::\\x",
                                          "\"C:\\Windows\"",
                                      });
}

TEST(CheckDirectoryPath, RefusesCharactersNoFileNameHolds) {
    ExpectAll(PathVerdict::kUnsafeName, {"C:\\x\"y", "C:\\Win*", "C:\\W?ndows", "C:\\a<b", "C:\\a>b", "C:\\a|b",
                                         "C:\\tab\there", "C:\\line\nbreak"});
    EXPECT_EQ(Check(std::string("C:\\a\0\\..\\..", 11)), PathVerdict::kUnsafeName) << "a zero would cut the path";
}

TEST(CheckDirectoryPath, RefusesDeviceNamesInAnyFolder) {
    ExpectAll(PathVerdict::kUnsafeName, {"C:\\CON", "C:\\con\\con", "C:\\x\\nul.txt", "C:\\com1", "C:\\LPT9\\x",
                                         "\\\\aux\\share", "C:\\CON .txt", "C:\\Prn", "C:\\conin$", "C:\\CLOCK$",
                                         "C:\\COM\xB9", "C:\\lpt0", "C:\\COM\xC2\xB9", "C:\\lpt\xC2\xB3.txt"});
}

// One rule for a level of a directory to add and for a name in an item ID,
// whatever the text type.
TEST(IsPlainName, RefusesWhatThePlatformWouldNotKeepAsOneName) {
    const struct {
        std::string name;
        bool plain;
    } cases[] = {
        {"beta", true},     {"a.b", true},       {"...x", true},    {" lead", true},
        {"CONSOLE", true},  {"COM10", true},     {"LPTA", true},    {"nul_x", true},
        {"Open.lnk", true}, {"\xE9t\xE9", true}, {"", false},       {".", false},
        {"..", false},      {"...", false},      {"a.", false},     {"a ", false},
        {"a. ", false},     {"CON", false},      {"con", false},    {"NUL", false},
        {"nul.txt", false}, {"CON .txt", false}, {"COM1", false},   {"lpt9.x", false},
        {"PRN", false},     {"AUX", false},      {"CONIN$", false}, {"conout$", false},
        {"LPT0", false},    {"a\\b", false},     {"a/b", false},    {"C:", false},
        {"*", false},       {"b?ta", false},     {"be<a", false},   {"be>a", false},
        {"be|a", false},    {"\"beta\"", false}, {"be\tta", false}, {std::string("be\0ta", 5), false},
    };
    for (const auto& row : cases) {
        const std::wstring wide(row.name.begin(), row.name.end());
        const std::u16string utf16(row.name.begin(), row.name.end());
        EXPECT_EQ(menubuilder::IsPlainName<char>(row.name), row.plain) << "ANSI: " << row.name;
        EXPECT_EQ(menubuilder::IsPlainName<wchar_t>(wide), row.plain) << "wide: " << row.name;
        EXPECT_EQ(menubuilder::IsPlainName<char16_t>(utf16), row.plain) << "UTF-16: " << row.name;
    }
    EXPECT_FALSE(menubuilder::IsPlainName<char16_t>(u"COM\u00B9")) << "a superscript port number, in wide text";
    EXPECT_TRUE(menubuilder::IsPlainName<char16_t>(u"COM\u00C2\u00B9")) << "two characters, not UTF-8 bytes";
}

TEST(CheckDirectoryPath, RefusesFolderNamesOfTheFilesAMenuFolderHolds) {
    ExpectAll(PathVerdict::kUnsafeName, {"C:\\desktop.ini", "C:\\x\\OPEN.LNK", "C:\\MS-DOS Prompt.lnk\\x"});
}

TEST(CheckDirectoryPath, RefusesABackslashHiddenInADoubleByteCharacter) {
    EXPECT_EQ(Check("C:\\\x95\\x", Cp932LeadByte), PathVerdict::kUnsafeName);
    EXPECT_EQ(Check("C:\\\x95", Cp932LeadByte), PathVerdict::kUnsafeName) << "it would take the closing backslash";
    EXPECT_EQ(Check("C:\\\x95:\\x", Cp932LeadByte), PathVerdict::kUnsafeName) << "once the colon is gone";
    EXPECT_EQ(Check("C:\\\x95\x95\\x", Cp932LeadByte), PathVerdict::kAccepted) << "a lead byte as trail byte";
    EXPECT_EQ(Check("C:\\\x95"
                    "A\\x",
                    Cp932LeadByte),
              PathVerdict::kAccepted);
    EXPECT_EQ(Check("C:\\\x95\\x", NoLeadBytes), PathVerdict::kAccepted) << "single-byte code page";
}

// Items are judged by the longer file name, whichever options are on: the
// options are read anew at every level, after the folders were made.
TEST(CheckDirectoryPath, RefusesPathsWhoseLongestItemPathExceeds259Characters) {
    const std::string name(206, 'n');
    const std::string longestItem = "C:\\WINDOWS\\Start Menu\\RootCaster\\C\\" + name + "\\MS-DOS Prompt.lnk";
    ASSERT_EQ(longestItem.size(), 259u);
    EXPECT_EQ(Check("C:\\" + name), PathVerdict::kAccepted);
    EXPECT_EQ(Check("C:\\" + name + "\\"), PathVerdict::kAccepted);
    EXPECT_EQ(Check("C:\\" + name + "n"), PathVerdict::kTooLong) << "260 characters";
    EXPECT_EQ(Check("C:\\" + name.substr(5) + "\\" + std::string(10, 'd')), PathVerdict::kTooLong)
        << "the deepest level decides";
    EXPECT_EQ(Check("C:\\" + std::string(300, 'n')), PathVerdict::kTooLong);
    // Bytes are counted, however many characters they make: three a character here.
    std::string threeByteName;
    while (threeByteName.size() + 3 <= name.size()) threeByteName += "日";
    EXPECT_EQ(Check("C:\\" + threeByteName), PathVerdict::kAccepted);
    EXPECT_EQ(Check("C:\\" + threeByteName + "日"), PathVerdict::kTooLong);
}

TEST(CheckDirectoryPath, RefusesAStartMenuWhoseMenuRootMarkerWouldNotFit) {
    const std::string fits(236, 's');
    ASSERT_EQ((fits + "\\RootCaster\\desktop.ini").size(), 259u);
    EXPECT_EQ(CheckDirectoryPath(fits, "", NoLeadBytes), PathVerdict::kAccepted);
    EXPECT_EQ(CheckDirectoryPath(fits + "s", "", NoLeadBytes), PathVerdict::kTooLong) << "260 characters";
}

}  // namespace
