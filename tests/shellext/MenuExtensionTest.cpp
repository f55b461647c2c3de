// The folder-menu extension registered in the test prefix and driven as the
// shell's clients drive it: the desktop folder, ParseDisplayName,
// BindToObject, EnumObjects, then names, attributes and ShellExecuteEx on
// what the menu lists.

#include "framework/ComPtr.h"
#include "framework/OleSession.h"
#include "framework/ShellText.h"
#include "framework/UniqueHandle.h"
#include "tests/shellext/MenuServer.h"
#include "tests/shellext/ShellListing.h"
#include "tests/support/Recorder.h"
#include "tests/support/Thread.h"
#include "tests/support/WineTest.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <iterator>
#include <utility>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

const char* const kClassIds[] = {"{5A3C71E4-2B90-11D1-A4F6-00C04F7B3E28}", "{5A3C71E4-2B90-11D3-A4F6-00C04F7B3E28}",
                                 "{5A3C71E4-2B90-11D2-A4F6-00C04F7B3E28}"};
const std::string kClassesKey = "Software\\Classes\\CLSID\\";
const std::string kApprovedKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
const std::string kConfigKey = "Software\\Quillmoor\\RootCaster\\Config";
const std::string kProbe = "C:\\rootcaster menu probe";
const std::string kProbeMenu = "\\C\\rootcaster menu probe";
const std::string kServerMenu = "\\127.0.0.1";

class MenuExtension : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_ole.Ok());
        ASSERT_FALSE(MenuDllPath().empty());
        ASSERT_TRUE(RunRegsvr32(""));
        RemoveTree(kProbe);
        ASSERT_TRUE(::CreateDirectoryA(kProbe.c_str(), nullptr));
    }

    void TearDown() override {
        RemoveTree(kProbe);
        RemoveTree(MenuRoot() + kProbeMenu);
        RemoveTree(MenuRoot() + kServerMenu);
        RunRegsvr32("/u");
    }

    // The directory with two subfolders, two files and a hidden one, added
    // from the command line as the Explorer verb adds it.
    static void AddProbe() {
        SetDword(HKEY_CURRENT_USER, kConfigKey, "AddOpen", 1);
        SetDword(HKEY_CURRENT_USER, kConfigKey, "AddDOSPrompt", 0);
        ASSERT_TRUE(::CreateDirectoryA((kProbe + "\\Alpha").c_str(), nullptr));
        ASSERT_TRUE(::CreateDirectoryA((kProbe + "\\beta").c_str(), nullptr));
        MakeFile(Wide(kProbe + "\\Alpha\\inner.txt"));
        MakeFile(Wide(kProbe + "\\b.txt"));
        MakeFile(Wide(kProbe + "\\A.txt"));
        MakeFile(Wide(kProbe + "\\secret.txt"), FILE_ATTRIBUTE_HIDDEN);
        const ProcessResult run = RunProgram(ProgramPath(), kProbe, 30000);
        ASSERT_TRUE(run.finished);
        ASSERT_TRUE(FolderExists(MenuRoot() + kProbeMenu));
    }

    fw::OleSession m_ole;
};

TEST_F(MenuExtension, RegistersThreeClassesAndUnregistersAllButInstallDir) {
    SetText(HKEY_LOCAL_MACHINE, kClassesKey + kClassIds[0], "InstallDir", "C:\\Program Files\\RootCaster");
    for (const char* id : kClassIds) {
        SCOPED_TRACE(id);
        const std::string server = kClassesKey + id + "\\InProcServer32";
        EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, server, nullptr), MenuDllPath());
        EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, server, "ThreadingModel"), "Apartment");
        EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kClassesKey + id, nullptr), "RootCaster folder menu");
        EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kApprovedKey, id), "RootCaster folder menu");
    }
    fw::ComPtr<IShellFolder> folder;
    CLSID root{};
    std::wstring rootText = Wide(kClassIds[0]);
    ::CLSIDFromString(&rootText[0], &root);
    EXPECT_EQ(::CoCreateInstance(root, nullptr, CLSCTX_INPROC_SERVER, IID_IShellFolder, folder.put_void()), S_OK);
    folder.reset();

    ASSERT_TRUE(RunRegsvr32("/u"));
    for (const char* id : kClassIds) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kClassesKey + id + "\\InProcServer32"));
        EXPECT_FALSE(ReadText(HKEY_LOCAL_MACHINE, kClassesKey + id, nullptr));
        EXPECT_FALSE(ReadText(HKEY_LOCAL_MACHINE, kApprovedKey, id));
    }
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kClassesKey + kClassIds[1]));
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kClassesKey + kClassIds[0], "InstallDir"), "C:\\Program Files\\RootCaster");
    DeleteKeyTree(HKEY_LOCAL_MACHINE, kClassesKey + kClassIds[0]);
}

// DllInstall with "user" writes the same table below HKEY_CURRENT_USER and
// leaves the machine's registration alone; any other text is refused.
TEST_F(MenuExtension, RegistersForTheCurrentUserFromTheSameTable) {
    ASSERT_TRUE(RunRegsvr32("/n /i:user"));
    for (const char* id : kClassIds) {
        SCOPED_TRACE(id);
        const std::string server = kClassesKey + id + "\\InProcServer32";
        EXPECT_EQ(ReadText(HKEY_CURRENT_USER, server, nullptr), MenuDllPath());
        EXPECT_EQ(ReadText(HKEY_CURRENT_USER, server, "ThreadingModel"), "Apartment");
        EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kClassesKey + id, nullptr), "RootCaster folder menu");
    }
    ASSERT_TRUE(RunRegsvr32("/u /n /i:user"));
    for (const char* id : kClassIds) {
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kClassesKey + id)) << id;
        EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kClassesKey + id + "\\InProcServer32", nullptr), MenuDllPath()) << id;
    }
    EXPECT_FALSE(RunRegsvr32("/n /i:everyone"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kClassesKey + kClassIds[0]));
}

TEST_F(MenuExtension, MenuRootListsTheDriveAsAFolder) {
    AddProbe();
    const ShellFolderAt root(Wide(MenuRoot()));
    ASSERT_EQ(root.Status(), S_OK) << Hex(static_cast<DWORD>(root.Status()));
    const std::vector<Listed> listed = root.List();
    const Listed* drive = Find(listed, L"C:");
    ASSERT_TRUE(drive) << listed.size();
    EXPECT_EQ(drive->attributes & (SFGAO_FOLDER | SFGAO_FILESYSTEM), SFGAO_FOLDER | SFGAO_FILESYSTEM);
    EXPECT_EQ(drive->parsing, Wide(MenuRoot() + "\\C"));
}

// A server lists no directory of its own: its menu shows its shares that have
// menu folders, as the tray's does.
TEST_F(MenuExtension, ServerMenuListsItsSharesThatHaveMenuFolders) {
    AddProbe();
    ASSERT_TRUE(::CreateDirectoryA((MenuRoot() + kServerMenu).c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA((MenuRoot() + kServerMenu + "\\share").c_str(), nullptr));
    const ShellFolderAt root(Wide(MenuRoot()));
    const std::vector<Listed> listed = root.List();
    const Listed* server = Find(listed, L"\\\\127.0.0.1");
    ASSERT_TRUE(server) << listed.size();
    fw::ComPtr<IShellFolder> folder;
    ASSERT_EQ(root.Folder()->BindToObject(server->item.get(), nullptr, IID_IShellFolder, folder.put_void()), S_OK);
    const std::vector<Listed> shares = ListFolder(folder.get());
    ASSERT_EQ(NamesOf(shares), std::vector<std::wstring>{L"share"});
    EXPECT_EQ(shares[0].parsing, L"\\\\127.0.0.1\\share");
    EXPECT_EQ(shares[0].attributes & SFGAO_FOLDER, SFGAOF{SFGAO_FOLDER}) << Hex(shares[0].attributes);
}

TEST_F(MenuExtension, MenuOfAnAddedDirectoryListsItsItemThenFoldersThenFilesLive) {
    AddProbe();
    const ShellFolderAt menu(Wide(MenuRoot() + kProbeMenu));
    ASSERT_EQ(menu.Status(), S_OK) << Hex(static_cast<DWORD>(menu.Status()));
    std::vector<Listed> listed = menu.List();
    const std::vector<std::wstring> expected = {L"Open", L"Alpha", L"beta", L"A.txt", L"b.txt"};
    EXPECT_EQ(NamesOf(listed), expected);
    const struct {
        const wchar_t* name;
        std::string parsing;
        SFGAOF attributes;
    } entries[] = {
        {L"Open", MenuRoot() + kProbeMenu + "\\Open.lnk", SFGAO_FILESYSTEM | SFGAO_LINK},
        {L"Alpha", kProbe + "\\Alpha", SFGAO_FILESYSTEM | SFGAO_FOLDER},
        {L"b.txt", kProbe + "\\b.txt", SFGAO_FILESYSTEM},
    };
    for (const auto& wanted : entries) {
        const Listed* entry = Find(listed, wanted.name);
        ASSERT_TRUE(entry) << Hex(wanted.attributes);
        EXPECT_EQ(entry->parsing, Wide(wanted.parsing));
        EXPECT_EQ(entry->attributes, wanted.attributes) << Hex(entry->attributes);
    }

    // A file window gets the shell's own view of it.
    fw::ComPtr<IShellView> view;
    EXPECT_EQ(menu.Folder()->CreateViewObject(nullptr, IID_IShellView, view.put_void()), S_OK);
    view.reset();

    MakeFile(Wide(kProbe + "\\later.txt"));
    listed = menu.List();
    EXPECT_TRUE(Find(listed, L"later.txt")) << "a file made after the add shows at once";

    // Alpha has no menu folder of its own.
    fw::ComPtr<IShellFolder> alpha;
    ASSERT_EQ(
        menu.Folder()->BindToObject(Find(listed, L"Alpha")->item.get(), nullptr, IID_IShellFolder, alpha.put_void()),
        S_OK);
    const std::vector<Listed> inner = ListFolder(alpha.get());
    ASSERT_EQ(inner.size(), 1u);
    EXPECT_EQ(inner[0].name, L"inner.txt");
    EXPECT_EQ(inner[0].parsing, Wide(kProbe + "\\Alpha\\inner.txt"));
}

// Where the shell would draw `item` of `folder` from: its icon file and index.
std::pair<std::wstring, int> IconOf(IShellFolder* folder, LPCITEMIDLIST item) {
    fw::ComPtr<IExtractIconW> icon;
    if (folder->GetUIObjectOf(nullptr, 1, &item, IID_IExtractIconW, nullptr, icon.put_void()) != S_OK) return {};
    wchar_t file[MAX_PATH] = {};
    int index = 0;
    UINT flags = 0;
    if (FAILED(icon->GetIconLocation(GIL_FORSHELL, file, MAX_PATH, &index, &flags))) return {L"(no location)", 0};
    return {file, index};
}

// The extension's items are its own; what the shell's folder does for an
// entry (its icon, its context menu) is done for the real file or folder.
TEST_F(MenuExtension, EntriesTakeTheirTargetsIconsAndMenusAndTheShellsItemsAnswerAlike) {
    AddProbe();
    const ShellFolderAt menu(Wide(MenuRoot() + kProbeMenu));
    const ShellFolderAt directory(Wide(kProbe));
    ASSERT_EQ(directory.Status(), S_OK);
    const std::vector<Listed> listed = menu.List();
    const std::vector<Listed> real = directory.List();
    for (const wchar_t* name : {L"Alpha", L"b.txt"}) {
        const Listed* entry = Find(listed, name);
        const Listed* target = Find(real, name);
        ASSERT_TRUE(entry && target) << Narrow(name);
        const std::pair<std::wstring, int> icon = IconOf(menu.Folder(), entry->item.get());
        EXPECT_FALSE(icon.first.empty()) << Narrow(name);
        EXPECT_EQ(icon, IconOf(directory.Folder(), target->item.get())) << Narrow(name);

        fw::ComPtr<IContextMenu> commands;
        LPCITEMIDLIST item = entry->item.get();
        ASSERT_EQ(menu.Folder()->GetUIObjectOf(nullptr, 1, &item, IID_IContextMenu, nullptr, commands.put_void()),
                  S_OK);
        const fw::UniqueMenu popup(::CreatePopupMenu());
        commands->QueryContextMenu(popup.get(), 0, 1, 0x7FFF, CMF_NORMAL);
        EXPECT_GT(::GetMenuItemCount(popup.get()), 0) << Narrow(name);
    }

    // The directory folder's own item (which the shell hands back from the
    // data objects made there) names the same entry.
    LPCITEMIDLIST shellItem = Find(real, L"b.txt")->item.get();
    SFGAOF attributes = SFGAO_FILESYSTEM | SFGAO_FOLDER;
    EXPECT_EQ(menu.Folder()->GetAttributesOf(1, &shellItem, &attributes), S_OK);
    EXPECT_EQ(attributes, SFGAOF{SFGAO_FILESYSTEM}) << Hex(attributes);
    STRRET name{};
    ASSERT_EQ(menu.Folder()->GetDisplayNameOf(shellItem, SHGDN_FORPARSING, &name), S_OK);
    EXPECT_EQ(fw::TakeText(name, shellItem), Wide(kProbe + "\\b.txt"));
}

// An item list of one item: `item`'s bytes before its name, then `name`
// and a terminator, then the list's end; `cut` bytes short of that when
// given (the terminator then lies outside the item).
std::vector<BYTE> Crafted(LPCITEMIDLIST item, std::size_t nameLength, const std::wstring& name, USHORT cut = 0) {
    const std::size_t headerSize = item->mkid.cb - (nameLength + 1) * sizeof(wchar_t);
    std::vector<BYTE> crafted(reinterpret_cast<const BYTE*>(item), reinterpret_cast<const BYTE*>(item) + headerSize);
    crafted.insert(crafted.end(), reinterpret_cast<const BYTE*>(name.c_str()),
                   reinterpret_cast<const BYTE*>(name.c_str() + name.size() + 1));
    const USHORT size = static_cast<USHORT>(crafted.size() - cut);
    std::memcpy(crafted.data(), &size, sizeof(size));
    crafted.resize(size);
    crafted.resize(size + sizeof(USHORT), 0);
    return crafted;
}

// Item IDs come from any program. Ours made with a name that is not one plain
// name (one that climbs out of the folder, names a drive or a device, holds a
// wildcard or a NUL, or ends in a dot or a blank the platform would strip)
// are refused before anything is joined into a path.
TEST_F(MenuExtension, CraftedItemsWithNamesNoDirectoryListsAreRefused) {
    AddProbe();
    const ShellFolderAt menu(Wide(MenuRoot() + kProbeMenu));
    const std::vector<Listed> listed = menu.List();
    const Listed* alpha = Find(listed, L"Alpha");
    ASSERT_TRUE(alpha);
    const struct {
        std::wstring name;
        USHORT cut;
        HRESULT expected;
    } cases[] = {
        {L"beta", 0, S_OK},  // a name the directory lists: the crafted item is otherwise sound
        {L"beta", sizeof(wchar_t), E_INVALIDARG},
        {L"..", 0, E_INVALIDARG},
        {L".", 0, E_INVALIDARG},
        {L"..\\..\\windows", 0, E_INVALIDARG},
        {L"..\\", 0, E_INVALIDARG},
        {L"\\", 0, E_INVALIDARG},
        {L"beta\\..\\..", 0, E_INVALIDARG},
        {L"..//..", 0, E_INVALIDARG},
        {L"C:", 0, E_INVALIDARG},
        {L"C:\\windows", 0, E_INVALIDARG},
        {L"\\\\127.0.0.1\\c$", 0, E_INVALIDARG},
        {L"CON", 0, E_INVALIDARG},
        {L"NUL", 0, E_INVALIDARG},
        {L"COM1", 0, E_INVALIDARG},
        {L"nul.txt", 0, E_INVALIDARG},
        {L"a.", 0, E_INVALIDARG},
        {L"a ", 0, E_INVALIDARG},
        {L"*", 0, E_INVALIDARG},
        {L"b?ta", 0, E_INVALIDARG},
        {L"be<a", 0, E_INVALIDARG},
        {L"be|a", 0, E_INVALIDARG},
        {L"\"beta\"", 0, E_INVALIDARG},
        {std::wstring(L"beta\0..", 7), 0, E_INVALIDARG},
        {L"be\tta", 0, E_INVALIDARG},
        {L"", 0, E_INVALIDARG},
        {std::wstring(300, L'b'), 0, E_INVALIDARG},
    };
    for (const auto& row : cases) {
        const std::string shown = Narrow(row.name.substr(0, 20)) + " cut " + std::to_string(row.cut);
        const std::vector<BYTE> crafted = Crafted(alpha->item.get(), 5, row.name, row.cut);
        LPCITEMIDLIST item = reinterpret_cast<LPCITEMIDLIST>(crafted.data());
        STRRET name{};
        const HRESULT named = menu.Folder()->GetDisplayNameOf(item, SHGDN_FORPARSING, &name);
        const std::wstring text = SUCCEEDED(named) ? fw::TakeText(name, item) : L"";
        EXPECT_EQ(Hex(static_cast<DWORD>(named)), Hex(static_cast<DWORD>(row.expected)))
            << shown << ": " << Narrow(text);
        if (row.expected == S_OK) {
            EXPECT_EQ(text, Wide(kProbe + "\\beta"));
        }
        SFGAOF attributes = SFGAO_FOLDER | SFGAO_FILESYSTEM;
        const HRESULT asked = menu.Folder()->GetAttributesOf(1, &item, &attributes);
        EXPECT_EQ(Hex(static_cast<DWORD>(asked)), Hex(static_cast<DWORD>(row.expected)))
            << shown << ": " << Hex(attributes);
        fw::ComPtr<IShellFolder> bound;
        const HRESULT binding = menu.Folder()->BindToObject(item, nullptr, IID_IShellFolder, bound.put_void());
        EXPECT_EQ(Hex(static_cast<DWORD>(binding)), Hex(static_cast<DWORD>(row.expected))) << shown;
    }
}

// A target path that fills its buffer without a terminator is refused, not
// read past its end.
TEST_F(MenuExtension, TargetPathWithoutTerminatorIsRefused) {
    CLSID menuClass{};
    std::wstring classText = Wide(kClassIds[2]);
    ASSERT_EQ(::CLSIDFromString(&classText[0], &menuClass), S_OK);
    fw::ComPtr<IPersistFolder3> folder;
    ASSERT_EQ(::CoCreateInstance(menuClass, nullptr, CLSCTX_INPROC_SERVER, IID_IPersistFolder3, folder.put_void()),
              S_OK);
    const ShellFolderAt probe(Wide(kProbe));
    ASSERT_EQ(probe.Status(), S_OK);
    PERSIST_FOLDER_TARGET_INFO target{};
    std::fill(std::begin(target.szTargetParsingName), std::end(target.szTargetParsingName), L'a');
    target.dwAttributes = 0x41414141;
    target.csidl = 0x41414141;
    EXPECT_EQ(Hex(static_cast<DWORD>(folder->InitializeEx(nullptr, probe.Self(), &target))), Hex(E_INVALIDARG));
    const std::wstring path = Wide(kProbe);
    std::fill(std::begin(target.szTargetParsingName), std::end(target.szTargetParsingName), L'\0');
    path.copy(target.szTargetParsingName, MAX_PATH - 1);
    EXPECT_EQ(Hex(static_cast<DWORD>(folder->InitializeEx(nullptr, probe.Self(), &target))), Hex(S_OK));
}

// Every object counts itself, so the server unloads once the last is gone.
TEST_F(MenuExtension, ServerUnloadsWhenItsObjectsAreReleased) {
    AddProbe();
    {
        const ShellFolderAt menu(Wide(MenuRoot() + kProbeMenu));
        ASSERT_EQ(menu.List().size(), 5u);
        EXPECT_TRUE(::GetModuleHandleA("RootCasterMenu.dll"));
    }
    ::CoFreeUnusedLibrariesEx(0, 0);
    EXPECT_FALSE(::GetModuleHandleA("RootCasterMenu.dll"));
}

TEST_F(MenuExtension, MissingDirectoryGivesAnEmptyFolder) {
    AddProbe();
    RemoveTree(kProbe);
    const ShellFolderAt menu(Wide(MenuRoot() + kProbeMenu));
    ASSERT_EQ(menu.Status(), S_OK) << Hex(static_cast<DWORD>(menu.Status()));
    EXPECT_EQ(NamesOf(menu.List()), std::vector<std::wstring>());
}

TEST_F(MenuExtension, ShellExecuteOnAnEntrysFullItemListOpensItsTarget) {
    MakeFile(Wide(kProbe + "\\page.htm"));
    AddProbe();
    Recorder recorder;
    ScopedHtmlAssociation association("\"" + Recorder::ProgramPath() + "\" %1");
    const ShellFolderAt menu(Wide(MenuRoot() + kProbeMenu));
    const std::vector<Listed> listed = menu.List();
    const Listed* page = Find(listed, L"page.htm");
    ASSERT_TRUE(page);
    const fw::UniqueItemList full(::ILCombine(menu.Self(), page->item.get()));

    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof(execute);
    execute.fMask = SEE_MASK_IDLIST | SEE_MASK_FLAG_NO_UI;
    execute.lpIDList = full.get();
    execute.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(::ShellExecuteExW(&execute)) << ::GetLastError();
    const std::vector<std::string> lines = recorder.WaitForLines(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(kProbe + "\\page.htm"), std::string::npos) << lines[0];
}

// Names outside the ANSI code page, read and shown with the wide functions.
TEST_F(MenuExtension, NamesInAnyScriptShowIntactAndOpenAsFolders) {
    const std::wstring name = L"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac \u65e5\u672c\u8a9e \U0001F600";
    const std::wstring folder = Wide(kProbe) + L"\\" + name;
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    MakeFile(folder + L"\\\u03b1\u03b2\u03b3.txt");
    AddProbe();
    const ShellFolderAt menu(Wide(MenuRoot() + kProbeMenu));
    const std::vector<Listed> listed = menu.List();
    const Listed* entry = Find(listed, name);
    ASSERT_TRUE(entry) << listed.size();
    EXPECT_EQ(entry->parsing, folder);
    fw::ComPtr<IShellFolder> inside;
    ASSERT_EQ(menu.Folder()->BindToObject(entry->item.get(), nullptr, IID_IShellFolder, inside.put_void()), S_OK);
    const std::vector<Listed> inner = ListFolder(inside.get());
    ASSERT_EQ(inner.size(), 1u);
    EXPECT_EQ(inner[0].name, L"\u03b1\u03b2\u03b3.txt");
}

// How many entries one enumeration of `folder` hands out; -1 when it fails.
int CountEnumerated(IShellFolder* folder) {
    fw::ComPtr<IEnumIDList> items;
    if (folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, items.put()) != S_OK) return -1;
    int count = 0;
    LPITEMIDLIST item = nullptr;
    while (items->Next(1, &item, nullptr) == S_OK) {
        ::CoTaskMemFree(item);
        ++count;
    }
    return count;
}

// Explorer's view enumerates on a background thread with the folder object
// its window asks names, attributes and order of at the same time.
TEST_F(MenuExtension, OneFolderAnswersTwoThreadsAtOnce) {
    constexpr int kFiles = 400;
    constexpr int kEnumerations = 200;
    for (int i = 0; i < kFiles; ++i) MakeFile(Wide(kProbe + "\\file " + std::to_string(1000 + i) + ".txt"));
    AddProbe();
    const ShellFolderAt menu(Wide(MenuRoot() + kProbeMenu));
    ASSERT_EQ(menu.Status(), S_OK) << Hex(static_cast<DWORD>(menu.Status()));
    const std::vector<Listed> listed = menu.List();
    ASSERT_EQ(listed.size(), kFiles + 5u);

    std::atomic<bool> enumerating{true};
    std::atomic<int> wrongCounts{0};
    Thread background([&] {
        const fw::OleSession ole;
        for (int round = 0; round < kEnumerations; ++round) {
            if (CountEnumerated(menu.Folder()) != kFiles + 5) ++wrongCounts;
        }
        enumerating = false;
    });
    int rounds = 0;
    int failures = 0;
    std::wstring failed;
    while (enumerating) {
        const Listed& first = listed[rounds % (listed.size() - 1)];
        const Listed& second = listed[rounds % (listed.size() - 1) + 1];
        ++rounds;
        const HRESULT order = menu.Folder()->CompareIDs(0, first.item.get(), second.item.get());
        SFGAOF attributes = SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_LINK;  // as ListFolder asks
        LPCITEMIDLIST asked = first.item.get();
        STRRET name{};
        const HRESULT named = menu.Folder()->GetDisplayNameOf(asked, SHGDN_INFOLDER, &name);
        const std::wstring text = SUCCEEDED(named) ? fw::TakeText(name, asked) : L"<no name>";
        if (static_cast<short>(HRESULT_CODE(order)) >= 0 || text != first.name ||
            menu.Folder()->GetAttributesOf(1, &asked, &attributes) != S_OK || attributes != first.attributes) {
            if (failures++ == 0) failed = first.name + L" / " + text + L" " + Wide(Hex(static_cast<DWORD>(order)));
        }
    }
    background.Join();
    EXPECT_EQ(wrongCounts, 0);
    EXPECT_EQ(failures, 0) << "first failure: " << Narrow(failed) << " in " << rounds << " rounds";
    EXPECT_GT(rounds, 1000) << "the two threads hardly overlapped";
}

}  // namespace
