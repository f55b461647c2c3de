#pragma once
// The two icon buttons of the main dialog: each shows the icon file that a
// setting names, and lets the user choose another one.

#include "framework/Button.h"
#include "settings/SettingsCatalogue.h"

namespace ui {

// Shows the icon file the setting names, if any, on the button.
void ShowIconFile(const settings::TextSetting& setting, const fw::Button& button);

// Lets the user choose an icon file in the file-open dialog, stores its path
// in the setting and shows it on the button. Cancelling changes nothing.
void ChooseIcon(HWND owner, const settings::TextSetting& setting, const fw::Button& button);

}  // namespace ui
