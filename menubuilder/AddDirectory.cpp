#include "menubuilder/AddDirectory.h"

#include "framework/SpecialFolder.h"
#include "menubuilder/MenuFolders.h"
#include "menubuilder/MenuPath.h"
#include "menubuilder/ShortcutItem.h"
#include "settings/SettingsStore.h"

namespace menubuilder {
namespace {

// The user's Start Menu folder; empty when the shell can't tell.
std::string StartMenuPath() {
    return fw::SpecialFolderPath(CSIDL_STARTMENU);
}

}  // namespace

void AddDirectory(std::string& path) {
    const std::string startMenu = StartMenuPath();
    if (startMenu.empty() || CheckDirectoryPath(startMenu, path, fw::AnsiLeadByte) != PathVerdict::kAccepted) return;
    const std::string menuBase = MenuBase(startMenu);
    CreateMenuFolders(menuBase + EncodeMenuPath(path), menuBase);

    EnsureClosingBackslash(path);
    // The options are read again for every level: the store caches nothing.
    const settings::SettingsStore& store = settings::SettingsStore::Instance();
    for (const std::string& level : ItemLevels(path)) {
        const std::string menuFolder = menuBase + EncodeMenuPath(level);
        if (store.Read(settings::kAddOpen)) CreateShortcutItem(level, menuFolder + kOpenItemFileName, kOpenKind);
        if (store.Read(settings::kAddDOSPrompt)) {
            CreateShortcutItem(level, menuFolder + kDOSPromptItemFileName, kDOSPromptKind);
        }
    }
}

}  // namespace menubuilder
