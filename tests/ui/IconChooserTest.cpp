// The two icon buttons of the real program's main dialog and the file-open
// dialog they run; the icons a button shows, inside this program.

#include "framework/HostWindow.h"
#include "res/resource.h"
#include "settings/SettingsStore.h"
#include "tests/support/WineTest.h"
#include "tests/ui/MainDialogRun.h"
#include "ui/IconChooser.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace testing_support;
using namespace ui_testing;

namespace {

// The file-open dialog's file name box and file type list.
constexpr int kFileNameBox = 0x47C;   // cmb13
constexpr int kFileTypeList = 0x470;  // cmb1

void Append(std::vector<BYTE>& bytes, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<BYTE>(value >> (8 * i)));
}

// An icon file with one 32 x 32 image of 32 bits per pixel.
void WriteIconFile(const std::string& path) {
    constexpr uint32_t kSide = 32;
    constexpr uint32_t kColours = kSide * kSide * 4;
    constexpr uint32_t kMask = kSide * kSide / 8;
    std::vector<BYTE> bytes;
    Append(bytes, 0, 2);  // icon directory: reserved, type 1, one image
    Append(bytes, 1, 2);
    Append(bytes, 1, 2);
    Append(bytes, kSide, 1);  // entry: width, height, colours, reserved, planes, bits
    Append(bytes, kSide, 1);
    Append(bytes, 0, 2);
    Append(bytes, 1, 2);
    Append(bytes, 32, 2);
    Append(bytes, 40 + kColours + kMask, 4);
    Append(bytes, 6 + 16, 4);
    Append(bytes, 40, 4);  // bitmap header, twice the height for the mask
    Append(bytes, kSide, 4);
    Append(bytes, kSide * 2, 4);
    Append(bytes, 1, 2);
    Append(bytes, 32, 2);
    Append(bytes, 0, 4);
    Append(bytes, kColours + kMask, 4);
    Append(bytes, 0, 16);
    for (uint32_t pixel = 0; pixel < kSide * kSide; ++pixel) Append(bytes, 0xFF2060C0, 4);
    bytes.resize(bytes.size() + kMask, 0);
    fw::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
}

HICON ButtonIcon(const MainDialogRun& run, int id) {
    return reinterpret_cast<HICON>(::SendMessageA(run.Item(id), BM_GETIMAGE, IMAGE_ICON, 0));
}

class IconChooser : public MainDialogTest {
protected:
    void SetUp() override {
        MainDialogTest::SetUp();
        WriteIconFile(icon);
    }

    // Opens the chooser of a button and returns the file dialog.
    static HWND OpenChooser(const MainDialogRun& run, int button) {
        PostClick(run.Dialog(), button);
        return run.WaitForOwnedWindow();
    }

    static void Choose(HWND chooser, const std::string& path) {
        ::SendMessageA(::GetDlgItem(chooser, kFileNameBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        ::PostMessageA(chooser, WM_COMMAND, IDOK, 0);
    }

    // Named outside any single code page: the program and this test program
    // both run in UTF-8.
    TempFolder folder{"rootcaster icons Ελληνικά 日本語 😀"};
    const std::string icon = folder.Path() + "\\Open Folder.ico";
};

TEST_F(IconChooser, ChosenFileIsStoredAndShownAndProposedAtTheNextUse) {
    MainDialogRun run;
    ASSERT_TRUE(run.Dialog());
    EXPECT_FALSE(ButtonIcon(run, IDC_OPEN_ICON));
    HWND chooser = OpenChooser(run, IDC_OPEN_ICON);
    ASSERT_TRUE(chooser);
    EXPECT_EQ(WindowText(chooser), "Open") << "the system's own title";
    EXPECT_EQ(WindowText(::GetDlgItem(chooser, kFileTypeList)), "Icon Files (*.ICO)");
    EXPECT_EQ(WindowText(::GetDlgItem(chooser, kFileNameBox)), "") << "nothing chosen before";
    Choose(chooser, icon);
    ASSERT_TRUE(WaitUntilGone(chooser));
    ASSERT_TRUE(run.StillOpen());
    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kConfigKey, "OpenIcon"), icon);
    EXPECT_TRUE(ButtonIcon(run, IDC_OPEN_ICON));
    EXPECT_FALSE(ReadText(HKEY_CURRENT_USER, kConfigKey, "DOSIcon")) << "the other chooser is untouched";
    EXPECT_FALSE(ButtonIcon(run, IDC_DOS_ICON));

    chooser = OpenChooser(run, IDC_OPEN_ICON);
    ASSERT_TRUE(chooser);
    EXPECT_EQ(WindowText(::GetDlgItem(chooser, kFileNameBox)), "Open Folder.ico");
    ::PostMessageA(chooser, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntilGone(chooser));
    EXPECT_TRUE(run.Done());
}

// Until the user chose one, a button shows the icon its items get from the
// installation directory; where that has none, nothing.
TEST_F(IconChooser, WithoutAChoiceTheItemsIconIsShown) {
    WriteIconFile(folder.Path() + "\\explore.ico");
    SetText(HKEY_CLASSES_ROOT, kExtensionClassKey, "InstallDir", folder.Path());
    MainDialogRun run;
    ASSERT_TRUE(run.Dialog());
    EXPECT_TRUE(ButtonIcon(run, IDC_OPEN_ICON)) << "explore.ico of the installation directory";
    EXPECT_FALSE(ButtonIcon(run, IDC_DOS_ICON)) << "no msdos.ico there";
    EXPECT_FALSE(ReadText(HKEY_CURRENT_USER, kConfigKey, "OpenIcon")) << "nothing is stored";
    EXPECT_TRUE(run.Done());
}

TEST_F(IconChooser, CancellingChangesNeitherSettingNorButton) {
    SetText(HKEY_CURRENT_USER, kConfigKey, "DOSIcon", icon);
    MainDialogRun run;
    ASSERT_TRUE(run.Dialog());
    const HICON shown = ButtonIcon(run, IDC_DOS_ICON);
    EXPECT_TRUE(shown) << "the stored icon is shown from the start";
    HWND chooser = OpenChooser(run, IDC_DOS_ICON);
    ASSERT_TRUE(chooser);
    ::PostMessageA(chooser, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntilGone(chooser));
    ASSERT_TRUE(run.StillOpen());
    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kConfigKey, "DOSIcon"), icon);
    EXPECT_EQ(ButtonIcon(run, IDC_DOS_ICON), shown);
    EXPECT_TRUE(run.Done());
}

TEST_F(IconChooser, FileThatIsNoIconIsStoredButShowsNothing) {
    const std::string missing = folder.Path() + "\\missing.ico";
    SetText(HKEY_CURRENT_USER, kConfigKey, "OpenIcon", missing);
    const std::string notAnIcon = folder.Path() + "\\text.ico";
    fw::UniqueFile(::CreateFileA(notAnIcon.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    MainDialogRun run;
    ASSERT_TRUE(run.Dialog());
    EXPECT_FALSE(ButtonIcon(run, IDC_OPEN_ICON));
    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kConfigKey, "OpenIcon"), missing) << "the setting is kept";

    HWND chooser = OpenChooser(run, IDC_DOS_ICON);
    ASSERT_TRUE(chooser);
    Choose(chooser, notAnIcon);
    ASSERT_TRUE(WaitUntilGone(chooser));
    ASSERT_TRUE(run.StillOpen());
    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kConfigKey, "DOSIcon"), notAnIcon);
    EXPECT_FALSE(ButtonIcon(run, IDC_DOS_ICON));
    EXPECT_TRUE(run.Done());
}

// An icon that can still be read (a destroyed one can't).
bool IconAlive(HICON icon) {
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info)) return false;
    const fw::UniqueBitmap colour(info.hbmColor);
    const fw::UniqueBitmap mask(info.hbmMask);
    return true;
}

// Icons loaded from files are the button wrapper's to destroy: the one
// replaced at once, the last one when the wrapper goes after its window.
TEST(IconButtonInProcess, DestroysTheIconItReplacedAndAtTheEndTheOneItShowed) {
    TempFolder folder("rootcaster icon button");
    const std::string first = folder.Path() + "\\first.ico";
    const std::string second = folder.Path() + "\\second.ico";
    WriteIconFile(first);
    WriteIconFile(second);
    settings::SettingsStore& store = settings::SettingsStore::Instance();
    store.SetRegistryKey(settings::kCompanyKey);
    fw::HostWindow host;
    ASSERT_TRUE(host.Create("icons", WS_OVERLAPPEDWINDOW, 200, 100));
    HICON shownFirst = nullptr;
    HICON shownSecond = nullptr;
    {
        ui::IconButton button(settings::kOpenIcon, "Open");
        button.Attach(::CreateWindowExA(0, "BUTTON", "", WS_CHILD | BS_ICON, 0, 0, 40, 40, host.Hwnd(), nullptr,
                                        ::GetModuleHandleA(nullptr), nullptr));
        ASSERT_TRUE(button.Hwnd());
        store.Write(settings::kOpenIcon, first);
        button.ShowStoredIcon();
        shownFirst = button.GetIcon();
        EXPECT_TRUE(IconAlive(shownFirst));
        store.Write(settings::kOpenIcon, second);
        button.ShowStoredIcon();
        shownSecond = button.GetIcon();
        EXPECT_TRUE(IconAlive(shownSecond));
        EXPECT_NE(shownSecond, shownFirst);
        EXPECT_FALSE(IconAlive(shownFirst)) << "the replaced icon";
        ::DestroyWindow(button.Detach());
        EXPECT_TRUE(IconAlive(shownSecond)) << "the wrapper still holds it";
    }
    EXPECT_FALSE(IconAlive(shownSecond)) << "the last icon goes with the wrapper";
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Quillmoor\\ui_tests");
}

}  // namespace
