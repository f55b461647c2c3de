#include "ui/IconChooser.h"

#include "framework/Dpi.h"
#include "framework/FileDialog.h"
#include "menubuilder/ShortcutItem.h"
#include "settings/SettingsStore.h"

#include <commdlg.h>

#include <utility>

namespace ui {
namespace {

constexpr char kIconFilter[] = "Icon Files (*.ICO)|*.ICO||";

}  // namespace

void IconButton::ShowStoredIcon() {
    const std::string path = settings::SettingsStore::Instance().Read(m_setting);
    ShowIconFile(path.empty() ? menubuilder::ItemIconFile(m_kind) : path);
}

void IconButton::ChooseIcon(HWND owner) {
    const settings::SettingsStore& store = settings::SettingsStore::Instance();
    fw::FileOpenDialog dialog(store.Read(m_setting), kIconFilter,
                              OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST);
    if (!dialog.DoModal(owner)) return;
    // Stored before loading: a file that is no icon is still remembered.
    store.Write(m_setting, dialog.PathName());
    ShowIconFile(dialog.PathName());
}

// The image is the large-icon size at the button's DPI (32 x 32 pixels at
// 96), or none when the file is not an icon. Not shared: a shared icon is
// the system's, and never destroyed.
void IconButton::ShowIconFile(const std::string& path) {
    const int size = fw::MetricAt(SM_CXICON, fw::DpiOf(m_hWnd));
    fw::UniqueIcon icon(
        static_cast<HICON>(::LoadImageA(nullptr, path.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE)));
    SetIcon(icon.get());
    m_icon = std::move(icon);
}

}  // namespace ui
