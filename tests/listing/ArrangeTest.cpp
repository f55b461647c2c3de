// What a menu of a directory shows: its groups, their order, what is left out,
// and the names items show.

#include "listing/Listing.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string_view>
#include <tuple>

namespace {

using listing::Entry;
using listing::Group;
using listing::kAttributeDirectory;
using listing::kAttributeHidden;
using listing::kAttributeSystem;

// A stand-in for the platform's sort keys: the name in upper case.
std::string UpperKey(const std::string& name) {
    std::string key;
    for (const char c : name) key += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

Entry<char> Named(const std::string& name, std::uint32_t attributes = 0) {
    return {name, UpperKey(name), attributes};
}

std::vector<std::pair<std::string, Group>> Shown(const std::vector<Entry<char>>& arranged) {
    std::vector<std::pair<std::string, Group>> shown;
    for (const Entry<char>& entry : arranged) shown.emplace_back(entry.name, entry.group);
    return shown;
}

TEST(ListingArrange, ItemsThenSubfoldersThenFilesEachWithoutRegardToCase) {
    std::vector<Entry<char>> menuFolder = {Named("Open.lnk"),
                                           Named("desktop.ini"),
                                           Named("DESKTOP.INI"),
                                           Named("C", kAttributeDirectory),
                                           Named("MS-DOS Prompt.lnk"),
                                           Named("stray.lnk", kAttributeHidden),
                                           Named(".."),
                                           Named(".", kAttributeDirectory)};
    std::vector<Entry<char>> directory = {Named("b.txt"),
                                          Named("Zeta", kAttributeDirectory),
                                          Named(".", kAttributeDirectory),
                                          Named("..", kAttributeDirectory),
                                          Named("A.txt"),
                                          Named("hidden.txt", kAttributeHidden),
                                          Named("system.txt", kAttributeSystem),
                                          Named("Hidden", kAttributeDirectory | kAttributeHidden),
                                          Named("beta", kAttributeDirectory),
                                          Named("...", 0),
                                          Named("Alpha", kAttributeDirectory),
                                          Named("desktop.ini")};
    const std::vector<std::pair<std::string, Group>> expected = {{"MS-DOS Prompt.lnk", Group::kItem},
                                                                 {"Open.lnk", Group::kItem},
                                                                 {"Alpha", Group::kFolder},
                                                                 {"beta", Group::kFolder},
                                                                 {"Zeta", Group::kFolder},
                                                                 {"...", Group::kFile},
                                                                 {"A.txt", Group::kFile},
                                                                 {"b.txt", Group::kFile},
                                                                 {"desktop.ini", Group::kFile}};
    EXPECT_EQ(Shown(listing::Arrange(std::move(menuFolder), std::move(directory))), expected)
        << "the marker is never an item, but a directory's own visible desktop.ini is a file";
}

// The menu root's first-level menu folders carry the System attribute of
// their markers: it does not hide them there.
TEST(ListingArrange, MenuRootShowsItsMenuFoldersOnly) {
    std::vector<Entry<char>> menuRoot = {Named("srv", kAttributeDirectory | kAttributeSystem),
                                         Named("desktop.ini", kAttributeHidden | kAttributeSystem),
                                         Named("C", kAttributeDirectory | kAttributeSystem),
                                         Named("Gone", kAttributeDirectory | kAttributeHidden),
                                         Named("stray.lnk"),
                                         Named("..", kAttributeDirectory),
                                         Named("d", kAttributeDirectory)};
    const std::vector<std::pair<std::string, Group>> expected = {
        {"C", Group::kFolder}, {"d", Group::kFolder}, {"srv", Group::kFolder}};
    EXPECT_EQ(Shown(listing::ArrangeMenuRoot(std::move(menuRoot))), expected);
}

// Equal keys fall back to the names' code units, so every input order gives
// the same menu; key bytes compare unsigned, shorter first.
TEST(ListingArrange, OrderIsTotalAndKeysCompareAsUnsignedBytes) {
    const std::vector<Entry<char>> entries = {{"b", "K"},      {"a", "K"},       {"B", "K"}, {"high", "\x80"},
                                              {"low", "\x7F"}, {"longer", "KK"}, {"", ""}};
    std::vector<std::string> first;
    std::vector<size_t> order = {0, 1, 2, 3, 4, 5, 6};
    do {
        std::vector<Entry<char>> directory;
        for (size_t i : order) directory.push_back(entries[i]);
        std::vector<std::string> names;
        for (const Entry<char>& entry : listing::Arrange<char>({}, std::move(directory))) names.push_back(entry.name);
        if (first.empty()) first = names;
        ASSERT_EQ(names, first);
    } while (std::next_permutation(order.begin(), order.end()));
    EXPECT_EQ(first, (std::vector<std::string>{"", "B", "a", "b", "longer", "low", "high"}));
}

TEST(ListingDisplayName, ItemsLoseTheirLinkExtensionOtherEntriesKeepTheirNames) {
    for (const auto& [name, group, shown] :
         std::vector<std::tuple<std::string, Group, std::string>>{{"Open.lnk", Group::kItem, "Open"},
                                                                  {"MS-DOS Prompt.LNK", Group::kItem, "MS-DOS Prompt"},
                                                                  {".lnk", Group::kItem, ".lnk"},
                                                                  {"notes.lnk.txt", Group::kItem, "notes.lnk.txt"},
                                                                  {"readme.txt", Group::kItem, "readme.txt"},
                                                                  {"shortcut.lnk", Group::kFile, "shortcut.lnk"},
                                                                  {"links.lnk", Group::kFolder, "links.lnk"}}) {
        Entry<char> entry = Named(name);
        entry.group = group;
        EXPECT_EQ(listing::DisplayName(entry), shown) << name;
    }
    EXPECT_EQ(listing::ItemDisplayName<wchar_t>(L"\u03A9.Lnk"), L"\u03A9");
}

TEST(ListingServers, ABareServerAloneListsItsShares) {
    const struct {
        std::string_view directory;
        bool server;
    } cases[] = {
        {"\\\\srv", true}, {"\\\\srv\\", true},  {"\\\\srv\\pub", false}, {"\\\\srv\\pub\\", false}, {"\\\\", false},
        {"\\\\\\", false}, {"\\\\\\srv", false}, {"C:\\", false},         {"\\srv\\", false},        {"", false},
    };
    for (const auto& row : cases) EXPECT_EQ(listing::IsServerDirectory(row.directory), row.server) << row.directory;
}

}  // namespace
