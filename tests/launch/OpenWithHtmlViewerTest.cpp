// Opening documents through the ".htm" association of the prefix's class
// registry, with recorder.exe registered as the HTML program.

#include "framework/WaitCursor.h"
#include "launch/OpenWithHtmlViewer.h"
#include "tests/support/Recorder.h"
#include "tests/support/WineTest.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace testing_support;

namespace {

const std::string kDocument = "C:\\Program Files\\Quillmoor\\Help\\index.htm";

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

class OpenWithHtmlViewer : public ::testing::Test {
protected:
    std::vector<std::string> Open(const std::string& command, const std::string& document) {
        ScopedHtmlAssociation association(command);
        return OpenAndWaitForLines(document, 1);
    }

    // Under load, Wine has once lost a program start: no line came and no
    // recorder ran. Such a start is tried once more, so that only a start
    // that fails again fails the test.
    std::vector<std::string> OpenAndWaitForLines(const std::string& document, size_t count) {
        launch::OpenWithHtmlViewer(document);
        std::vector<std::string> lines = recorder.WaitForLines(count);
        if (lines.size() + 1 == count && !Recorder::AnyRuns()) {
            std::printf("no recorder started for %s: opened again\n", document.c_str());
            launch::OpenWithHtmlViewer(document);
            lines = recorder.WaitForLines(count);
        }
        return lines;
    }

    Recorder recorder;
    const std::string program = Quoted(Recorder::ProgramPath());
};

TEST_F(OpenWithHtmlViewer, DocumentTakesThePlaceOfTheFirstPlaceholderOnly) {
    const auto lines = Open(program + " \"%1\" -x %1", "https://www.example.org/a b");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], program + " \"https://www.example.org/a b\" -x %1");
}

TEST_F(OpenWithHtmlViewer, CommandWithoutPlaceholderGetsABlankAndTheDocument) {
    const auto lines = Open(program + " -nohome", kDocument);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], program + " -nohome " + kDocument) << "the document is not quoted";
}

TEST_F(OpenWithHtmlViewer, EmptyDocumentStartsNothing) {
    ScopedHtmlAssociation association(program + " %1");
    launch::OpenWithHtmlViewer("");
    EXPECT_TRUE(recorder.LinesOnceNoneRuns().empty());
    EXPECT_EQ(fw::WaitCursor::Depth(), 0);
}

TEST_F(OpenWithHtmlViewer, AssociationIsReadAfreshAtEveryCall) {
    ScopedHtmlAssociation association(program + " first %1");
    ASSERT_EQ(OpenAndWaitForLines("a.htm", 1).size(), 1u);
    association.SetCommand(program + " second %1");
    const auto lines = OpenAndWaitForLines("b.htm", 2);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], program + " second b.htm");
    EXPECT_EQ(fw::WaitCursor::Depth(), 0) << "the wait cursor is switched off again";
}

TEST_F(OpenWithHtmlViewer, MissingCommandStartsNothing) {
    ScopedHtmlAssociation association(program + " %1");
    DeleteKeyTree(HKEY_CLASSES_ROOT, "RootCasterTest.HtmlFile\\shell");
    launch::OpenWithHtmlViewer(kDocument);
    EXPECT_TRUE(recorder.LinesOnceNoneRuns().empty());
}

}  // namespace
