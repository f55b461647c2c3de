#include "menubuilder/AddDirectory.h"

#include "framework/NamedMutexLock.h"
#include "framework/SpecialFolder.h"
#include "menubuilder/MenuFolders.h"
#include "menubuilder/MenuPath.h"
#include "menubuilder/ShortcutItem.h"
#include "settings/SettingsStore.h"

namespace menubuilder {
namespace {

constexpr char kMenusLockName[] = "RootCaster menus";

AddStatus RefusalStatus(PathVerdict verdict) {
    switch (verdict) {
        case PathVerdict::kInsideStartMenu: return AddStatus::kInsideStartMenu;
        case PathVerdict::kRelative: return AddStatus::kRelative;
        case PathVerdict::kUnsafeName: return AddStatus::kUnsafeName;
        case PathVerdict::kTooLong: return AddStatus::kTooLong;
        case PathVerdict::kAccepted: break;
    }
    return AddStatus::kAdded;
}

// Makes the items the options ask for in the level's menu folder, "Open"
// first; false when one of them could not be saved. The options are read
// anew for every level: the store caches nothing.
bool MakeLevelItems(const std::string& level, const std::string& menuFolder) {
    const settings::SettingsStore& store = settings::SettingsStore::Instance();
    bool made = true;
    if (store.Read(settings::kAddOpen)) {
        made = SUCCEEDED(CreateShortcutItem(level, menuFolder + kOpenItemFileName, kOpenKind));
    }
    if (store.Read(settings::kAddDOSPrompt)) {
        made = SUCCEEDED(CreateShortcutItem(level, menuFolder + kDOSPromptItemFileName, kDOSPromptKind)) && made;
    }
    return made;
}

}  // namespace

AddStatus AddDirectory(std::string& path) {
    const std::string startMenu = fw::SpecialFolderPath(CSIDL_STARTMENU);
    if (startMenu.empty()) return AddStatus::kNoStartMenu;
    const PathVerdict verdict = CheckDirectoryPath(startMenu, path, fw::AnsiLeadByte);
    if (verdict != PathVerdict::kAccepted) return RefusalStatus(verdict);
    // Explorer starts one process per selected folder, all at once, and their
    // menus share the upper levels: one add at a time, so that no run finds
    // a marker or item of those levels half written, or held open, by another.
    const fw::NamedMutexLock lock(kMenusLockName);
    const std::string menuBase = MenuBase(startMenu);
    bool complete = CreateMenuFolders(menuBase + EncodeMenuPath(path), menuBase);

    EnsureClosingBackslash(path);
    for (const std::string& level : ItemLevels(path)) {
        complete = MakeLevelItems(level, menuBase + EncodeMenuPath(level)) && complete;
    }
    return complete ? AddStatus::kAdded : AddStatus::kIncomplete;
}

}  // namespace menubuilder
