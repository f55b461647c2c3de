// The index and its queries: what it holds after readings and re-readings,
// and the order of what a typed text finds.

#include "search/Query.h"
#include "search/SearchIndex.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace {

using listing::kAttributeDirectory;
using listing::kAttributeHidden;
using Entry = listing::Entry<char>;
using Index = search::SearchIndex<char>;

char Fold(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

Entry Named(const std::string& name, std::uint32_t attributes = 0) {
    std::string key;
    for (const char c : name) key += Fold(c);
    return {name, key, attributes};
}

Entry Folder(const std::string& name) {
    return Named(name, kAttributeDirectory);
}

// Reads `folder` as the menu shows `directory` with the items `menuFolder`.
std::vector<std::uint32_t> Read(Index& index, std::uint32_t folder, std::vector<Entry> directory,
                                std::vector<Entry> menuFolder = {}) {
    return index.Replace(folder, listing::Arrange(std::move(menuFolder), std::move(directory)), 0);
}

std::vector<std::string> PathsOf(const Index& index, const search::Found& found) {
    std::vector<std::string> paths;
    for (const std::uint32_t entry : found.entries) paths.push_back(index.PathOf(index.EntryAt(entry)));
    return paths;
}

// C:\ with items in its menu folder, two subfolders and files; D:\ after it.
class SearchIndexTest : public testing::Test {
protected:
    void SetUp() override {
        c = index.AddRoot("C:\\", "M\\C\\");
        const std::uint32_t d = index.AddRoot("D:\\", "M\\D\\");
        const std::vector<std::uint32_t> cFolders = Read(
            index, c, {Folder("Tools"), Folder("apps"), Named("readme.txt"), Named("secret.txt", kAttributeHidden)},
            {Named("Open.lnk"), Named("desktop.ini")});
        ASSERT_EQ(cFolders.size(), 2u);
        apps = cFolders[0];
        tools = cFolders[1];
        Read(index, apps, {Named("Tool Box.exe"), Named("paint.exe")});
        Read(index, tools, {Named("toolkit.txt"), Named("other tool.txt")});
        Read(index, d, {Named("tools.txt")});
    }

    // The paths the text finds, in order. One search lives through the
    // whole test, as the user types on; what it finds must be what a search
    // of its own finds.
    std::vector<std::string> Find(const std::string& text, std::size_t limit = 100) {
        const search::Found typed = typing.Find(index, text, Fold, limit);
        const search::Found fresh = search::Search<char>().Find(index, text, Fold, limit);
        EXPECT_EQ(typed.total, fresh.total) << text;
        EXPECT_EQ(PathsOf(index, typed), PathsOf(index, fresh)) << text;
        return PathsOf(index, fresh);
    }

    Index index;
    search::Search<char> typing;
    std::uint32_t c = 0;
    std::uint32_t apps = 0;
    std::uint32_t tools = 0;
};

TEST_F(SearchIndexTest, HoldsWhatTheMenusShowWithTheirPaths) {
    EXPECT_EQ(index.EntryCount(), 9u);  // Open, apps, Tools, readme; 2 + 2 below; tools.txt
    EXPECT_EQ(Find("open"), std::vector<std::string>{"M\\C\\Open.lnk"});
    EXPECT_TRUE(Find("secret").empty());
    EXPECT_TRUE(Find("desktop").empty());
    EXPECT_TRUE(Find("lnk").empty()) << "items match by the name the menu shows";
    EXPECT_EQ(Find("APPS"), std::vector<std::string>{"C:\\apps\\"});
    EXPECT_EQ(index.Directory(tools), "C:\\Tools\\");
    EXPECT_EQ(index.MenuFolder(tools), "M\\C\\Tools\\");
}

TEST_F(SearchIndexTest, BeginningFirstThenShallowerThenMenuOrder) {
    const std::vector<std::string> expected = {
        "C:\\Tools\\",               // begins, depth 1
        "D:\\tools.txt",             // begins, depth 1, later root
        "C:\\apps\\Tool Box.exe",    // begins, depth 2, earlier folder
        "C:\\Tools\\toolkit.txt",    // begins, depth 2
        "C:\\Tools\\other tool.txt"  // contains only
    };
    EXPECT_EQ(Find("tool"), expected);
    EXPECT_EQ(Find("tool", 2), std::vector<std::string>(expected.begin(), expected.begin() + 2));
    EXPECT_EQ(search::Search<char>().Find(index, std::string_view("tool"), Fold, 2).total, 5u);
}

TEST_F(SearchIndexTest, EveryWordMustMatchInAnyOrder) {
    EXPECT_EQ(Find("bo"), std::vector<std::string>{"C:\\apps\\Tool Box.exe"});
    EXPECT_EQ(Find("box tool"), std::vector<std::string>{"C:\\apps\\Tool Box.exe"});
    EXPECT_EQ(Find("  tool   other "), std::vector<std::string>{"C:\\Tools\\other tool.txt"});
    EXPECT_TRUE(Find("tool zzz").empty());
    EXPECT_TRUE(Find("   ").empty());
}

TEST_F(SearchIndexTest, ReadingAgainKeepsSubfoldersThatStayAndDropsTheRest) {
    // "apps" goes, "Tools" stays with its entries, "new" comes and waits to be read.
    const std::vector<std::uint32_t> added = Read(index, 0, {Folder("Tools"), Folder("new"), Named("readme.txt")});
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(index.Directory(added[0]), "C:\\new\\");
    EXPECT_FALSE(index.IsLive(apps));
    EXPECT_TRUE(Find("paint").empty());
    EXPECT_EQ(Find("toolkit"), std::vector<std::string>{"C:\\Tools\\toolkit.txt"});
    EXPECT_TRUE(Find("fr").empty());
    Read(index, added[0], {Named("fresh.txt")});
    EXPECT_EQ(Find("fresh"), std::vector<std::string>{"C:\\new\\fresh.txt"});
    EXPECT_EQ(index.EntryCount(), 7u);
}

// Where a change was reported, and a drive whose menu went.
TEST_F(SearchIndexTest, FoldersByTheirPathsAndRootsThatGo) {
    EXPECT_EQ(index.FolderAt(c, ""), c);
    EXPECT_EQ(index.FolderAt(c, "TOOLS\\"), tools);
    EXPECT_EQ(index.FolderAt(c, "apps\\"), apps);
    EXPECT_EQ(index.FolderAt(c, "readme.txt\\"), search::kNone) << "a file is no folder";
    EXPECT_EQ(index.FolderAt(c, "apps\\deeper\\"), search::kNone);
    EXPECT_EQ(Find("t").size(), 7u);
    index.DropRoot(c);
    EXPECT_EQ(Find("t"), std::vector<std::string>{"D:\\tools.txt"});
    EXPECT_EQ(index.EntryCount(), 1u);
}

// Many readings of the same folders leave no more than the live entries
// behind, and every path still resolves after the blocks moved.
TEST_F(SearchIndexTest, ReadingsOverAndOverReclaimWhatTheyLeaveBehind) {
    for (int i = 0; i < 50; ++i) {
        Read(index, tools, {Named("toolkit.txt"), Named("other tool.txt"), Named("n" + std::to_string(i))});
    }
    EXPECT_EQ(index.EntryCount(), 10u);
    EXPECT_LE(index.ArenaBytes(), 4096u);
    EXPECT_EQ(Find("n49"), std::vector<std::string>{"C:\\Tools\\n49"});
    EXPECT_EQ(Find("tool").size(), 5u);
    EXPECT_EQ(Find("box"), std::vector<std::string>{"C:\\apps\\Tool Box.exe"});
}

}  // namespace
