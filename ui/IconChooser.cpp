#include "ui/IconChooser.h"

#include "framework/FileDialog.h"
#include "framework/UniqueHandle.h"
#include "settings/SettingsStore.h"

#include <commdlg.h>

#include <string>

namespace ui {
namespace {

constexpr char kIconFilter[] = "Icon Files (*.ICO)|*.ICO||";

// The image a button shows: 32 x 32 pixels, or none when the file is not an
// icon. Shared, so the system keeps it.
HICON LoadIconFile(const std::string& path) {
    return static_cast<HICON>(::LoadImageA(nullptr, path.c_str(), IMAGE_ICON, 32, 32, LR_LOADFROMFILE | LR_SHARED));
}

}  // namespace

void ShowIconFile(const settings::TextSetting& setting, const fw::Button& button) {
    const std::string path = settings::SettingsStore::Instance().Read(setting);
    if (path.empty()) return;
    fw::UniqueIcon previous(button.SetIcon(LoadIconFile(path)));
}

void ChooseIcon(HWND owner, const settings::TextSetting& setting, const fw::Button& button) {
    const settings::SettingsStore& store = settings::SettingsStore::Instance();
    fw::FileOpenDialog dialog(store.Read(setting), kIconFilter,
                              OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST);
    if (!dialog.DoModal(owner)) return;
    // Stored before loading: a file that is no icon is still remembered.
    store.Write(setting, dialog.PathName());
    button.SetIcon(LoadIconFile(dialog.PathName()));
}

}  // namespace ui
