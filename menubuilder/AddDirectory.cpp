#include "menubuilder/AddDirectory.h"

#include "framework/NamedMutexLock.h"
#include "framework/SpecialFolder.h"
#include "menubuilder/MenuFolders.h"
#include "menubuilder/MenuPath.h"
#include "menubuilder/ShortcutItem.h"
#include "settings/SettingsStore.h"

namespace menubuilder {
namespace {

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

AddStatus CheckDirectory(const std::string& path, std::string& menuBase) {
    const std::string startMenu = fw::SpecialFolderPath(CSIDL_STARTMENU);
    if (startMenu.empty()) return AddStatus::kNoStartMenu;
    const AddStatus verdict = RefusalStatus(CheckDirectoryPath(startMenu, path, fw::AnsiLeadByte));
    if (verdict == AddStatus::kAdded) menuBase = MenuBase(startMenu);
    return verdict;
}

AddStatus AddDirectory(std::string& path) {
    std::string menuBase;
    const AddStatus verdict = CheckDirectory(path, menuBase);
    if (verdict != AddStatus::kAdded) return verdict;
    // Explorer starts one process per selected folder, all at once, and their
    // menus share the upper levels: one add at a time.
    const fw::NamedMutexLock lock(kMenusLockName);
    bool complete = CreateMenuFolders(menuBase + EncodeMenuPath(path), menuBase);

    EnsureClosingBackslash(path);
    for (const std::string& level : ItemLevels(path)) {
        complete = MakeLevelItems(level, menuBase + EncodeMenuPath(level)) && complete;
    }
    return complete ? AddStatus::kAdded : AddStatus::kIncomplete;
}

}  // namespace menubuilder
