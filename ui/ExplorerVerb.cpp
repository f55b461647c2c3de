#include "ui/ExplorerVerb.h"

#include "settings/RegistryHelpers.h"
#include "settings/SettingsCatalogue.h"

#include <windows.h>

#include <string>

namespace ui {
namespace {

// The program lies in the shell extension's installation directory, which
// usually contains blanks ("C:\Program Files\..."): unquoted, Windows would
// try "C:\Program.exe" first. %1 stays unquoted, so the directory reaches
// the program as its whole command-line text.
std::string VerbCommand() {
    const std::string installDir =
        settings::ReadRegistryString(HKEY_CLASSES_ROOT, settings::kExtensionClassKey, settings::kInstallDirValue);
    return "\"" + installDir + "\\RootCaster.exe\" %1";
}

// The command first, then the menu text, so the verb never has a menu text
// without a command.
void InstallVerb() {
    settings::WriteRegistryString(HKEY_CLASSES_ROOT, settings::kVerbCommandKey, nullptr, VerbCommand().c_str());
    settings::WriteRegistryString(HKEY_CLASSES_ROOT, settings::kVerbKey, nullptr, settings::kVerbMenuText);
}

void RemoveVerb() {
    settings::WriteRegistryString(HKEY_CLASSES_ROOT, settings::kVerbCommandKey, nullptr, nullptr);
    settings::WriteRegistryString(HKEY_CLASSES_ROOT, settings::kVerbKey, nullptr, nullptr);
    settings::DeleteRegistryTree(HKEY_CLASSES_ROOT, settings::kVerbKey);
}

}  // namespace

void UpdateExplorerVerb(int install) {
    if (install) {
        InstallVerb();
    } else {
        RemoveVerb();
    }
}

}  // namespace ui
