#include "ui/ExplorerVerb.h"

#include "settings/ClassRegistry.h"
#include "settings/RegistryHelpers.h"
#include "settings/SettingsCatalogue.h"

#include <windows.h>

#include <string>

namespace ui {
namespace {

using settings::ClassesPlace;

// The program lies in the shell extension's installation directory, which
// usually contains blanks ("C:\Program Files\..."): unquoted, Windows would
// try "C:\Program.exe" first. %1 stays unquoted, so the directory reaches
// the program as its whole command-line text.
std::string VerbCommand() {
    return "\"" + settings::ReadInstallDir() + "\\RootCaster.exe\" %1";
}

// The command first, then the menu text, so the verb never has a menu text
// without a command.
void InstallVerb(const ClassesPlace& place) {
    settings::WriteRegistryString(place.root, place.Path(settings::kVerbCommandKey).c_str(), nullptr,
                                  VerbCommand().c_str());
    settings::WriteRegistryString(place.root, place.Path(settings::kVerbKey).c_str(), nullptr, settings::kVerbMenuText);
}

void RemoveVerb(const ClassesPlace& place) {
    settings::WriteRegistryString(place.root, place.Path(settings::kVerbCommandKey).c_str(), nullptr, nullptr);
    settings::WriteRegistryString(place.root, place.Path(settings::kVerbKey).c_str(), nullptr, nullptr);
    settings::DeleteRegistryTree(place.root, place.Path(settings::kVerbKey).c_str());
}

}  // namespace

void UpdateExplorerVerb(int install) {
    const ClassesPlace place = settings::OwnClasses();
    if (install) {
        InstallVerb(place);
        return;
    }
    RemoveVerb(place);
    // Earlier versions wrote the verb below HKEY_CLASSES_ROOT, which on these
    // systems put it in the machine's classes. It goes where the user may
    // delete it and otherwise stays, unreported.
    if (settings::HasUserClasses()) {
        settings::DeleteRegistryTree(settings::kMachineClasses.root,
                                     settings::kMachineClasses.Path(settings::kVerbKey).c_str());
    }
}

}  // namespace ui
