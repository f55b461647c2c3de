// Opening documents through the ".htm" association of the prefix's class
// registry, with recorder.exe registered as the HTML program.

#include "framework/WaitCursor.h"
#include "launch/OpenWithHtmlViewer.h"
#include "tests/support/Recorder.h"
#include "tests/support/WineTest.h"

#include <gtest/gtest.h>

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
        launch::OpenWithHtmlViewer(document);
        return recorder.WaitForLines(1);
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
    launch::OpenWithHtmlViewer("a.htm");
    ASSERT_EQ(recorder.WaitForLines(1).size(), 1u);
    association.SetCommand(program + " second %1");
    launch::OpenWithHtmlViewer("b.htm");
    const auto lines = recorder.WaitForLines(2);
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
