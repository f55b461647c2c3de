#pragma once
// The two icon buttons of the main dialog: each shows the icon file that a
// setting names, and lets the user choose another one.

#include "framework/Button.h"
#include "framework/UniqueHandle.h"
#include "settings/SettingsCatalogue.h"

#include <string>

namespace ui {

// A button keeps its image but never destroys it, so the wrapper owns the
// icon it shows: until another one replaces it, or until the wrapper goes
// after its dialog.
class IconButton : public fw::Button {
public:
    // `kind` names the items whose icon the button chooses.
    IconButton(const settings::TextSetting& setting, const char* kind) : m_setting(setting), m_kind(kind) {}

    // Shows the icon file the setting names, or while it names none the one
    // the items show.
    void ShowStoredIcon();

    // Lets the user choose an icon file in the file-open dialog, stores its
    // path in the setting and shows it. Cancelling changes nothing.
    void ChooseIcon(HWND owner);

private:
    void ShowIconFile(const std::string& path);

    const settings::TextSetting& m_setting;
    const char* m_kind;
    fw::UniqueIcon m_icon;
};

}  // namespace ui
