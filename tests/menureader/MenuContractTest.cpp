// The menu reader's side of the contract: the naming rule read backwards and
// the marker each depth calls for.

#include "menubuilder/MenuPath.h"
#include "menureader/MenuContract.h"

#include <gtest/gtest.h>

namespace {

using menureader::DirectoryOfMenuFolder;
using menureader::MarkerFacts;
using menureader::MarkerProblem;

TEST(DirectoryOfMenuFolder, SingleLetterIsADriveAnyOtherNameAServer) {
    EXPECT_EQ(DirectoryOfMenuFolder("C"), "C:\\");
    EXPECT_EQ(DirectoryOfMenuFolder("d"), "d:\\");
    EXPECT_EQ(DirectoryOfMenuFolder("C\\Windows\\System"), "C:\\Windows\\System\\");
    EXPECT_EQ(DirectoryOfMenuFolder("srv"), "\\\\srv\\");
    EXPECT_EQ(DirectoryOfMenuFolder("srv\\pub\\docs"), "\\\\srv\\pub\\docs\\");
    EXPECT_EQ(DirectoryOfMenuFolder("C1\\x"), "\\\\C1\\x\\") << "two characters make a server";
    EXPECT_EQ(DirectoryOfMenuFolder("1\\x"), "\\\\1\\x\\") << "a digit is no drive";
    EXPECT_EQ(DirectoryOfMenuFolder(""), "") << "the menu root stands for no directory";
}

// The reader undoes what the builder did, for every first level it can make.
TEST(DirectoryOfMenuFolder, UndoesTheEncodingOfDrivesAndServers) {
    for (const std::string path : {"C:\\", "C:\\Windows\\", "\\\\srv\\", "\\\\srv\\pub\\docs\\"}) {
        std::string encoded = menubuilder::EncodeMenuPath(path);
        encoded.pop_back();
        EXPECT_EQ(DirectoryOfMenuFolder(encoded), path);
    }
}

MarkerFacts Marked(int depth) {
    return {true, true, true, menubuilder::DesktopIniText(menubuilder::ClassIdForDepth(depth))};
}

TEST(MarkerProblem, NoneWhenEveryPartIsRight) {
    for (int depth : {0, 1, 2, 5}) EXPECT_EQ(MarkerProblem(Marked(depth), depth), "") << depth;
}

TEST(MarkerProblem, NamesWhatIsWrong) {
    MarkerFacts facts = Marked(1);
    facts.folderIsSystem = false;
    EXPECT_EQ(MarkerProblem(facts, 1), "folder lacks the System attribute");
    facts = Marked(1);
    facts.markerExists = false;
    EXPECT_EQ(MarkerProblem(facts, 1), "no desktop.ini");
    facts = Marked(1);
    facts.markerIsHidden = false;
    EXPECT_EQ(MarkerProblem(facts, 1), "desktop.ini is not hidden");
    EXPECT_EQ(MarkerProblem(Marked(2), 1),
              "desktop.ini names {5A3C71E4-2B90-11D2-A4F6-00C04F7B3E28} where "
              "{5A3C71E4-2B90-11D3-A4F6-00C04F7B3E28} belongs");
    facts = Marked(0);
    facts.markerBytes += "\r\n";
    EXPECT_EQ(MarkerProblem(facts, 0), "desktop.ini is not the 65-byte marker (67 bytes)");
    facts.markerBytes = "[.ShellClassInfo]\r\n";
    EXPECT_EQ(MarkerProblem(facts, 0),
              "desktop.ini names no identifier where {5A3C71E4-2B90-11D1-A4F6-00C04F7B3E28} belongs");
}

}  // namespace
