// The menu reader's side of the contract: the marker each depth calls for.

#include "menubuilder/MenuPath.h"
#include "menureader/MenuContract.h"

#include <gtest/gtest.h>

namespace {

using menureader::MarkerFacts;
using menureader::MarkerProblem;

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
