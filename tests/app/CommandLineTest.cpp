#include "app/CommandLine.h"
#include "framework/PathText.h"
#include "tests/support/LeadBytes.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

using testing_support::Cp932LeadByte;
using testing_support::NoLeadBytes;

std::string Text(std::string_view line, app::LeadByteTest test = NoLeadBytes) {
    return app::CommandLineText(line, test);
}

TEST(CommandLineText, ProgramNameAloneOrWithBlanksIsEmpty) {
    EXPECT_EQ(Text(""), "");
    EXPECT_EQ(Text("RootCaster.exe"), "");
    EXPECT_EQ(Text("RootCaster.exe   \t "), "");
    EXPECT_EQ(Text("\"C:\\Program Files\\RootCaster.exe\""), "");
    EXPECT_EQ(Text("\"C:\\Program Files\\RootCaster.exe\" \t\x01\x1f "), "");
}

TEST(CommandLineText, RestIsOnePathWithBlanksQuotesAndTrailingBlanks) {
    EXPECT_EQ(Text("RootCaster.exe C:\\Windows"), "C:\\Windows");
    EXPECT_EQ(Text("RootCaster.exe C:\\Program Files\\Tools"), "C:\\Program Files\\Tools");
    EXPECT_EQ(Text("RootCaster.exe \"C:\\Program Files\" "), "\"C:\\Program Files\" ");
    EXPECT_EQ(Text("\"C:\\A B\\RootCaster.exe\" D:\\x  y  "), "D:\\x  y  ");
}

TEST(CommandLineText, UnquotedNameEndsAtAnyControlCharacter) {
    EXPECT_EQ(Text("RootCaster.exe\tC:\\"), "C:\\");
    EXPECT_EQ(Text("RootCaster.exe\x01\x02"
                   "C:\\"),
              "C:\\");
    EXPECT_EQ(Text("Root\"Caster.exe C:\\"), "C:\\") << "a quote inside an unquoted name is part of it";
}

TEST(CommandLineText, QuotedNameRunsToTheNextQuoteEvenWithoutBlank) {
    EXPECT_EQ(Text("\"RootCaster.exe\"C:\\Windows"), "C:\\Windows");
    EXPECT_EQ(Text("\"RootCaster.exe C:\\Windows"), "") << "no closing quote: the name runs to the end";
}

TEST(CommandLineText, TrailByteOfADoubleByteCharacterIsNeverAQuote) {
    // 0x81 0x22 is one double-byte character; the name ends at the later quote.
    const std::string line = "\"C:\\\x81\"x.exe\" D:\\dir";
    EXPECT_EQ(Text(line, Cp932LeadByte), "D:\\dir");
    EXPECT_EQ(Text(line, NoLeadBytes), "x.exe\" D:\\dir") << "single-byte code page: 0x22 ends the name";
    EXPECT_EQ(Text("\"a\x81", Cp932LeadByte), "") << "a lead byte at the very end";
}

TEST(CommandLineText, HighCharactersAreNotSkipped) {
    EXPECT_EQ(Text("RootCaster.exe \xE4rger"), "\xE4rger");
    // UTF-8 has no lead bytes, and no byte of its characters is a quote or a blank.
    EXPECT_EQ(Text("\"C:\\日本語\\RootCaster.exe\" C:\\Ελληνικά\\😀"), "C:\\Ελληνικά\\😀");
    EXPECT_EQ(Text(std::string_view("RootCaster.exe C:\\\0ignored", 26)), "C:\\");
}

// Only a text that begins with "/remove " and a blank asks for a removal;
// every other text keeps its meaning, the directory it names kept whole.
TEST(CommandLineRequest, RemoveSwitchSelectsRemovalOfTheRest) {
    using Task = app::Request::Task;
    const std::vector<std::tuple<std::string, Task, std::string>> cases = {
        {"", Task::kShowDialog, ""},
        {"C:\\Windows", Task::kAdd, "C:\\Windows"},
        {"/remove C:\\Windows", Task::kRemove, "C:\\Windows"},
        {"/remove \\\\srv\\pub  ", Task::kRemove, "\\\\srv\\pub  "},
        {"/remove  C:\\", Task::kRemove, " C:\\"},
        {"/remove ", Task::kRemove, ""},
        {"/remove", Task::kAdd, "/remove"},
        {"/removeC:\\", Task::kAdd, "/removeC:\\"},
        {"/remove\tC:\\", Task::kAdd, "/remove\tC:\\"},
        {"/REMOVE C:\\", Task::kAdd, "/REMOVE C:\\"},
        {" /remove C:\\", Task::kAdd, " /remove C:\\"},
        {"C:\\/remove x", Task::kAdd, "C:\\/remove x"},
    };
    for (const auto& [text, task, directory] : cases) {
        const app::Request request = app::ReadRequest(text);
        EXPECT_EQ(static_cast<int>(request.task), static_cast<int>(task)) << "'" << text << "'";
        EXPECT_EQ(request.directory, directory) << "'" << text << "'";
    }
    EXPECT_EQ(app::ReadRequest(Text("\"RootCaster.exe\" /remove D:\\x")).directory, "D:\\x");
}

// The program's file name names its settings key.
TEST(ProgramBaseName, FileNameWithoutDirectoryAndExtension) {
    EXPECT_EQ(fw::FileBaseName("C:\\Program Files\\RootCaster\\RootCaster.exe", NoLeadBytes), "RootCaster");
    EXPECT_EQ(fw::FileBaseName("C:\\v1.2\\Root.Caster.EXE", NoLeadBytes), "Root.Caster");
    EXPECT_EQ(fw::FileBaseName("D:RootCaster", NoLeadBytes), "RootCaster");
    EXPECT_EQ(fw::FileBaseName("\\\\server\\share/tools/app.exe", NoLeadBytes), "app");
    EXPECT_EQ(fw::FileBaseName("C:\\dir.d\\", NoLeadBytes), "");
    EXPECT_EQ(fw::FileBaseName("", NoLeadBytes), "");
}

// 0x81 0x5C and 0x81 0x2E are double-byte characters, never a backslash or a dot.
TEST(ProgramBaseName, TrailBytesAreNeverSeparatorsOrDots) {
    EXPECT_EQ(fw::FileBaseName("C:\\\x81\\name.exe", Cp932LeadByte), "\x81\\name");
    EXPECT_EQ(fw::FileBaseName("C:\\\x81\\name.exe", NoLeadBytes), "name") << "single-byte code page";
    EXPECT_EQ(fw::FileBaseName("C:\\tool\x81.", Cp932LeadByte), "tool\x81.");
    EXPECT_EQ(fw::FileBaseName("C:\\tool\x81", Cp932LeadByte), "tool\x81") << "a lead byte at the very end";
}

}  // namespace
