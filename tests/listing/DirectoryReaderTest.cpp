// The listing read from real folders of the Wine prefix: order, what is left
// out, live reads, wide names on NT, ANSI reads on Windows 95, and directories
// that cannot be read or do not answer in time.

#include "listing/DirectoryReader.h"

#include "framework/ThreadErrorMode.h"
#include "framework/UniqueHandle.h"
#include "tests/support/Thread.h"
#include "tests/support/WineTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <new>

using namespace testing_support;
using listing::Group;
using listing::ReadListing;
using listing::State;

namespace {

void MakeFolder(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_DIRECTORY) {
    ASSERT_TRUE(::CreateDirectoryW(path.c_str(), nullptr)) << "error " << ::GetLastError();
    ASSERT_TRUE(::SetFileAttributesW(path.c_str(), attributes));
}

std::vector<std::wstring> Names(const listing::Listing& listed) {
    std::vector<std::wstring> names;
    for (const listing::WideEntry& entry : listed.entries) names.push_back(entry.name);
    return names;
}

// A directory in mixed case with hidden and system entries, and a menu folder
// with its marker, two items and a deeper menu folder.
class ListingFolders : public ::testing::Test {
protected:
    TempFolder m_root{"listing-test"};
    std::wstring m_directory = Wide(m_root.Path()) + L"\\dir\\";
    std::wstring m_menuFolder = Wide(m_root.Path()) + L"\\menu";

    void SetUp() override {
        MakeFolder(m_directory);
        MakeFolder(m_menuFolder, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM);
        for (const wchar_t* folder : {L"zeta", L"Alpha", L"beta"}) MakeFolder(m_directory + folder);
        MakeFolder(m_directory + L"Hidden", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
        MakeFolder(m_menuFolder + L"\\C", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM);
    }

    void MakeFiles() {
        MakeFile(m_directory + L"b.txt", FILE_ATTRIBUTE_NORMAL, "abc");
        MakeFile(m_directory + L"A.txt");
        MakeFile(m_directory + L"hidden.txt", FILE_ATTRIBUTE_HIDDEN);
        MakeFile(m_directory + L"system.txt", FILE_ATTRIBUTE_SYSTEM);
        MakeFile(m_menuFolder + L"\\desktop.ini", FILE_ATTRIBUTE_HIDDEN);
        MakeFile(m_menuFolder + L"\\Open.lnk");
        MakeFile(m_menuFolder + L"\\MS-DOS Prompt.lnk");
    }
};

TEST_F(ListingFolders, ItemsThenSubfoldersThenFilesWithoutHiddenOnes) {
    MakeFiles();
    const listing::Listing listed = ReadListing(m_menuFolder, m_directory);
    EXPECT_EQ(listed.state, State::kListed);
    EXPECT_EQ(Names(listed), (std::vector<std::wstring>{L"MS-DOS Prompt.lnk", L"Open.lnk", L"Alpha", L"beta", L"zeta",
                                                        L"A.txt", L"b.txt"}));
    ASSERT_EQ(listed.entries.size(), 7u);
    EXPECT_EQ(listing::DisplayName(listed.entries[0]), L"MS-DOS Prompt");
    EXPECT_EQ(listed.entries[2].group, Group::kFolder);
    const listing::WideEntry& file = listed.entries[6];
    WIN32_FILE_ATTRIBUTE_DATA facts{};
    ASSERT_TRUE(::GetFileAttributesExW((m_directory + L"b.txt").c_str(), GetFileExInfoStandard, &facts));
    EXPECT_EQ(file.group, Group::kFile);
    EXPECT_EQ(file.size, 3u);
    EXPECT_EQ(Hex(file.attributes), Hex(facts.dwFileAttributes));
    EXPECT_EQ(file.lastWriteTime,
              (std::uint64_t{facts.ftLastWriteTime.dwHighDateTime} << 32) | facts.ftLastWriteTime.dwLowDateTime);
}

TEST_F(ListingFolders, ReadsLiveEveryTime) {
    EXPECT_EQ(Names(ReadListing(m_menuFolder, m_directory)), (std::vector<std::wstring>{L"Alpha", L"beta", L"zeta"}));
    MakeFile(m_directory + L"new.txt");
    EXPECT_EQ(Names(ReadListing(m_menuFolder, m_directory)),
              (std::vector<std::wstring>{L"Alpha", L"beta", L"zeta", L"new.txt"}));
}

TEST_F(ListingFolders, MissingOrEmptyDirectoriesAndMissingMenuFolders) {
    EXPECT_EQ(ReadListing(m_menuFolder, m_directory + L"missing\\").state, State::kNotAvailable);
    EXPECT_EQ(ReadListing(L"", L"").state, State::kNotAvailable) << "the menu root stands for no directory";
    EXPECT_EQ(ReadListing(m_menuFolder + L"\\none", m_directory + L"beta\\").state, State::kEmpty);
    EXPECT_EQ(Names(ReadListing(m_menuFolder + L"\\none", m_directory)),
              (std::vector<std::wstring>{L"Alpha", L"beta", L"zeta"}))
        << "below the levels that got menu folders the directory still lists";
    MakeFile(m_directory + L"file.txt");
    EXPECT_EQ(ReadListing(L"", m_directory + L"file.txt").state, State::kNotAvailable) << "a file lists nothing";
}

// A bare server lists no directory of its own: its menu shows its shares that
// have menu folders, for the extension and the tray alike.
TEST_F(ListingFolders, ServerShowsItsSharesThatHaveMenuFolders) {
    MakeFiles();
    for (const wchar_t* server : {L"\\\\127.0.0.1\\", L"\\\\127.0.0.1"}) {
        const listing::Listing listed = ReadListing(m_menuFolder, server);
        EXPECT_EQ(listed.state, State::kListed) << Narrow(server);
        EXPECT_EQ(Names(listed), std::vector<std::wstring>{L"C"}) << Narrow(server);
        EXPECT_TRUE(!listed.entries.empty() && listed.entries[0].group == Group::kFolder);
    }
    EXPECT_EQ(ReadListing(m_menuFolder + L"\\C", L"\\\\127.0.0.1\\").state, State::kEmpty);
}

// More entries than one query of the system returns: every one arrives, as
// FindFirstFileW sees it, with its sort key.
TEST_F(ListingFolders, LargeFolderReadsAsFindFirstFileSeesIt) {
    const std::wstring padding(120, L'x');
    for (int i = 0; i < 1500; ++i) MakeFile(m_directory + std::to_wstring(i * 7919 % 10007) + padding);
    std::vector<listing::WideEntry> found;
    WIN32_FIND_DATAW entry;
    const fw::UniqueFind search(::FindFirstFileW((m_directory + L"*").c_str(), &entry));
    ASSERT_TRUE(search);
    do {
        found.push_back(
            {entry.cFileName, listing::SortKeyOf(entry.cFileName), entry.dwFileAttributes, entry.nFileSizeLow,
             std::uint64_t{entry.ftLastWriteTime.dwHighDateTime} << 32 | entry.ftLastWriteTime.dwLowDateTime});
    } while (::FindNextFileW(search.get(), &entry));
    const listing::Listing listed = ReadListing(L"", m_directory);
    const std::vector<listing::WideEntry> expected = listing::Arrange({}, std::move(found));
    ASSERT_EQ(listed.entries.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const listing::WideEntry& read = listed.entries[i];
        EXPECT_TRUE(read.name == expected[i].name && read.sortKey == expected[i].sortKey &&
                    read.attributes == expected[i].attributes && read.size == expected[i].size &&
                    read.lastWriteTime == expected[i].lastWriteTime)
            << "entry " << i << ": " << Narrow(read.name) << " where FindFirstFileW saw " << Narrow(expected[i].name);
    }
}

// Greek, CJK and an emoji (a surrogate pair): outside every ANSI code page.
const std::wstring kWideName = L"z\u0391\u03B8\u03AE\u03BD\u03B1 \u6F22\u5B57 \U0001F600.txt";

TEST_F(ListingFolders, KeepsNamesOutsideTheAnsiCodePageOnNt) {
    MakeFile(m_directory + kWideName);
    EXPECT_EQ(Names(ReadListing(L"", m_directory)), (std::vector<std::wstring>{L"Alpha", L"beta", L"zeta", kWideName}));
}

// Run as a child told it runs on Windows 95: the ANSI functions read the
// folder, so the wide name arrives as the ANSI code page spells it.
TEST(DISABLED_Windows95Listing, ReadsWithTheAnsiFunctions) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    ASSERT_TRUE(::GetVersionExA(&version));
    ASSERT_EQ(version.dwPlatformId, DWORD{VER_PLATFORM_WIN32_WINDOWS});
    char root[MAX_PATH] = {};
    ASSERT_GT(::GetEnvironmentVariableA("LISTING_TEST_ROOT", root, MAX_PATH), 0u);
    const std::vector<std::wstring> names = Names(ReadListing(Wide(root) + L"\\menu", Wide(root) + L"\\dir\\"));
    ASSERT_EQ(names.size(), 8u);
    EXPECT_EQ(
        std::vector<std::wstring>(names.begin(), names.begin() + 7),
        (std::vector<std::wstring>{L"MS-DOS Prompt.lnk", L"Open.lnk", L"Alpha", L"beta", L"zeta", L"A.txt", L"b.txt"}));
    EXPECT_NE(names[7], kWideName);
    EXPECT_EQ(names[7].front(), L'z');
}

TEST_F(ListingFolders, Windows95ReadsWithTheAnsiFunctions) {
    MakeFiles();
    MakeFile(m_directory + kWideName);
    ::SetEnvironmentVariableA("LISTING_TEST_ROOT", m_root.Path().c_str());
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    ScopedWindowsVersion version("listing_tests.exe", "win95");
    const ProcessResult child =
        RunProgram(self, "--gtest_filter=DISABLED_Windows95Listing.* --gtest_also_run_disabled_tests");
    EXPECT_TRUE(child.finished);
    EXPECT_EQ(child.exitCode, 0u) << "the child's checks failed; run it alone to see them";
}

// The worker's reader for a directory that answers late: it waits for the
// test to let it go, then reports that it ran to its end.
fw::UniqueEvent g_letGo(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
fw::UniqueEvent g_ranToEnd(::CreateEventA(nullptr, TRUE, FALSE, nullptr));

listing::RawListing AnswerLate(const std::wstring&, const std::wstring&) {
    ::WaitForSingleObject(g_letGo.get(), 60000);
    listing::RawListing raw;
    raw.directoryRead = true;
    raw.directory.push_back({L"late.txt", "late"});
    ::SetEvent(g_ranToEnd.get());
    return raw;
}

listing::RawListing AnswerAtOnce(const std::wstring&, const std::wstring& directory) {
    listing::RawListing raw;
    raw.directoryRead = true;
    raw.directory.push_back({directory, "x"});
    return raw;
}

TEST(NetworkListing, ServerThatAnswersLateIsNotAvailableAndItsWorkerEndsOnItsOwn) {
    listing::ReadOptions options;
    options.networkWaitMs = 100;
    options.reader = AnswerLate;
    EXPECT_EQ(ReadListing(L"", L"\\\\127.0.0.1\\late\\", options).state, State::kNotAvailable);
    ::SetEvent(g_letGo.get());
    EXPECT_EQ(::WaitForSingleObject(g_ranToEnd.get(), 60000), WAIT_OBJECT_0) << "the worker outlived its caller";

    options.reader = AnswerAtOnce;
    options.networkWaitMs = 60000;
    const listing::Listing listed = ReadListing(L"", L"\\\\127.0.0.1\\quick\\", options);
    EXPECT_EQ(listed.state, State::kListed);
    EXPECT_EQ(Names(listed), std::vector<std::wstring>{L"\\\\127.0.0.1\\quick\\"}) << "read on the worker";
}

// A server that does not answer until the test lets it: how many reads
// started on it.
LONG g_silentReads = 0;
fw::UniqueEvent g_answer(::CreateEventA(nullptr, TRUE, FALSE, nullptr));

listing::RawListing AnswerWhenLetGo(const std::wstring& menuFolder, const std::wstring& directory) {
    ::InterlockedIncrement(&g_silentReads);
    ::WaitForSingleObject(g_answer.get(), 60000);
    return AnswerAtOnce(menuFolder, directory);
}

// A menu of a server that does not answer, opened again and again, holds one
// blocked worker, not one per opening; a request while it runs gets its
// result when it ends within the wait.
TEST(NetworkListing, OneWorkerPerDirectoryHoweverOftenItIsAsked) {
    listing::ReadOptions options;
    options.networkWaitMs = 50;
    options.reader = AnswerWhenLetGo;
    const std::wstring directory = L"\\\\127.0.0.1\\silent\\";
    for (int request = 0; request < 5; ++request) {
        EXPECT_EQ(ReadListing(L"", directory, options).state, State::kNotAvailable);
    }
    EXPECT_EQ(g_silentReads, 1);
    EXPECT_EQ(ReadListing(L"", L"\\\\127.0.0.1\\other\\", options).state, State::kNotAvailable);
    EXPECT_EQ(g_silentReads, 2) << "another directory is read by a worker of its own";

    const Thread answer([] {
        ::Sleep(200);
        ::SetEvent(g_answer.get());
    });
    options.networkWaitMs = 30000;
    EXPECT_EQ(Names(ReadListing(L"", directory, options)), std::vector<std::wstring>{directory});
    EXPECT_EQ(g_silentReads, 2) << "the running read was joined";
    EXPECT_EQ(ReadListing(L"", directory, options).state, State::kListed);
    EXPECT_EQ(g_silentReads, 3) << "once it ended, the next request reads afresh";
}

listing::RawListing AnswerAfterASecond(const std::wstring& menuFolder, const std::wstring& directory) {
    ::Sleep(1000);
    return AnswerAtOnce(menuFolder, directory);
}

// Milliseconds `read` took.
template <class Read>
DWORD Timed(Read read) {
    const DWORD start = ::GetTickCount();
    read();
    return ::GetTickCount() - start;
}

// A menu folder on a server (a redirected Start Menu) is read within the
// wait as well, and so is asked a directory the shell would parse without a
// bound; the lookups of one name in a level's menu folder and directory share
// one wait.
TEST(NetworkListing, ReadsOnASlowServerTakeOneWaitEach) {
    listing::ReadOptions options;
    options.networkWaitMs = 300;
    options.reader = AnswerAfterASecond;
    EXPECT_LT(Timed([&] {
                  EXPECT_EQ(ReadListing(L"\\\\127.0.0.1\\menus\\C", L"C:\\windows\\", options).state,
                            State::kNotAvailable);
              }),
              700u);
    EXPECT_LT(Timed([&] { EXPECT_FALSE(listing::AnswersWithinWait(L"\\\\127.0.0.1\\slow\\dir\\", options)); }), 500u)
        << "what the shell would parse without a bound is asked first";
    options.reader = AnswerAtOnce;
    EXPECT_TRUE(listing::AnswersWithinWait(L"\\\\127.0.0.1\\quick\\dir\\", options));
    options.reader = AnswerAfterASecond;
    const listing::EntryLookup lookup(options);
    EXPECT_LT(Timed([&] {
                  EXPECT_FALSE(lookup.Read(L"\\\\127.0.0.1\\menus\\C\\dir", L"name"));
                  EXPECT_FALSE(lookup.Read(L"\\\\127.0.0.1\\slow\\dir", L"name"));
              }),
              500u);
}

listing::RawListing RunOutOfMemory(const std::wstring&, const std::wstring&) {
    throw std::bad_alloc();
}

// On the worker thread (a share) and on the caller's (a local folder) alike.
TEST(NetworkListing, ReaderThatThrowsEndsAsNotAvailable) {
    listing::ReadOptions options;
    options.reader = RunOutOfMemory;
    for (const wchar_t* directory : {L"\\\\127.0.0.1\\huge\\", L"C:\\windows\\"}) {
        EXPECT_EQ(ReadListing(L"", directory, options).state, State::kNotAvailable) << Narrow(directory);
    }
}

TEST(NetworkListing, ShareThatDoesNotExistIsNotAvailable) {
    EXPECT_EQ(ReadListing(L"", L"\\\\127.0.0.1\\nosuchshare\\").state, State::kNotAvailable);
}

// On 64-bit Windows a 32-bit program that asks for System32 reads SysWOW64:
// the x64 edition lists the System32 that Explorer and the system's 64-bit
// programs see. A probe in each folder tells them apart.
TEST(SystemFolder, System32IsTheNativeFolderNotSysWow64) {
    if (!FolderExists("C:\\windows\\syswow64")) GTEST_SKIP() << "a 32-bit Windows: nothing is redirected";
    const std::wstring native = L"C:\\windows\\system32\\rootcaster-native-probe.txt";
    const std::wstring redirected = L"C:\\windows\\syswow64\\rootcaster-wow64-probe.txt";
    ASSERT_TRUE(MakeFile(native)) << ::GetLastError();
    ASSERT_TRUE(MakeFile(redirected)) << ::GetLastError();
    const std::vector<std::wstring> names = Names(ReadListing(L"", L"C:\\windows\\system32\\"));
    ::DeleteFileW(native.c_str());
    ::DeleteFileW(redirected.c_str());
    const auto listed = [&](const wchar_t* name) { return std::count(names.begin(), names.end(), name) == 1; };
    EXPECT_TRUE(listed(L"rootcaster-native-probe.txt")) << names.size() << " entries";
    EXPECT_FALSE(listed(L"rootcaster-wow64-probe.txt")) << "System32 was read through its 32-bit redirection";
}

// A drive without its medium is read quietly on the reading thread alone:
// the process's mode belongs to the program that loaded the extension.
TEST(QuietCriticalErrors, OnlyTheReadingThreadsModeChanges) {
    const auto processMode = fw::LookUp<UINT WINAPI()>("kernel32.dll", "GetErrorMode");
    const auto threadMode = fw::LookUp<DWORD WINAPI()>("kernel32.dll", "GetThreadErrorMode");
    ASSERT_TRUE(processMode && threadMode) << "Wine has both";
    const UINT before = ::SetErrorMode(SEM_NOOPENFILEERRORBOX);
    {
        const fw::CriticalErrorsFailQuietly quiet;
        EXPECT_EQ(Hex(processMode()), Hex(SEM_NOOPENFILEERRORBOX));
        EXPECT_EQ(Hex(threadMode() & SEM_FAILCRITICALERRORS), Hex(SEM_FAILCRITICALERRORS));
    }
    EXPECT_EQ(Hex(threadMode()), Hex(0));
    EXPECT_EQ(Hex(processMode()), Hex(SEM_NOOPENFILEERRORBOX));
    ::SetErrorMode(before);
}

}  // namespace
