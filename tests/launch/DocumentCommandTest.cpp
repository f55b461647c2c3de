#include "launch/DocumentCommand.h"
#include "tests/support/LeadBytes.h"

#include <gtest/gtest.h>

namespace {

using testing_support::Cp932LeadByte;
using testing_support::NoLeadBytes;

std::string Line(std::string_view command, std::string_view document, launch::LeadByteTest test = NoLeadBytes) {
    return launch::InsertDocument(command, document, test);
}

TEST(InsertDocument, WithoutPlaceholderABlankAndTheDocumentAreAppended) {
    EXPECT_EQ(Line("C:\\Web\\browse.exe -nohome", "C:\\Help\\index.htm"),
              "C:\\Web\\browse.exe -nohome C:\\Help\\index.htm");
    EXPECT_EQ(Line("browse.exe ", "x"), "browse.exe  x") << "a blank already there is kept";
    EXPECT_EQ(Line("browse.exe %L %2 %*", "x"), "browse.exe %L %2 %* x") << "other placeholders are not expanded";
}

TEST(InsertDocument, FirstPlaceholderIsReplacedAndItsSurroundingsKept) {
    EXPECT_EQ(Line("\"C:\\Program Files\\Web\\web.exe\" \"%1\"", "https://example.org/a b"),
              "\"C:\\Program Files\\Web\\web.exe\" \"https://example.org/a b\"");
    EXPECT_EQ(Line("web.exe %1", "C:\\My Docs\\help.htm"), "web.exe C:\\My Docs\\help.htm")
        << "no quotation marks are added";
    EXPECT_EQ(Line("web.exe %1 -and %1", "d"), "web.exe d -and %1");
    EXPECT_EQ(Line("%1", "d"), "d");
    EXPECT_EQ(Line("web.exe -url=%1", "%1"), "web.exe -url=%1") << "the document is not searched again";
    EXPECT_EQ(Line("web.exe %%1 %2", "d"), "web.exe %d %2");
}

TEST(InsertDocument, PlaceholderIsCaseAndCharacterExact) {
    EXPECT_EQ(Line("web.exe %l", "d"), "web.exe %l d");
    EXPECT_EQ(Line("web.exe % 1", "d"), "web.exe % 1 d");
    EXPECT_EQ(Line("web.exe %", "d"), "web.exe % d");
}

TEST(InsertDocument, Utf8TextGoesInWhole) {
    EXPECT_EQ(Line("\"C:\\Ελληνικά\\web.exe\" \"%1\"", "C:\\日本語\\😀.htm"),
              "\"C:\\Ελληνικά\\web.exe\" \"C:\\日本語\\😀.htm\"");
}

TEST(InsertDocument, TrailByteNeverStartsThePlaceholder) {
    // 0x81 leads a two-byte character whose trail byte is '%'.
    EXPECT_EQ(Line("web.exe \x81%1", "d", Cp932LeadByte), "web.exe \x81%1 d");
    EXPECT_EQ(Line("web.exe \x81%1", "d", NoLeadBytes),
              "web.exe \x81"
              "d");
    // A two-byte character before the placeholder is stepped over whole.
    EXPECT_EQ(Line("\x81\x40%1", "d", Cp932LeadByte),
              "\x81\x40"
              "d");
    EXPECT_EQ(Line("\x81%%1", "d", Cp932LeadByte), "\x81%d");
    // A lead byte at the very end has no trail byte to take.
    EXPECT_EQ(Line("web.exe \x81", "d", Cp932LeadByte), "web.exe \x81 d");
}

}  // namespace
