#include "tray/MenuRoot.h"

#include "framework/SpecialFolder.h"
#include "menubuilder/MenuPath.h"

namespace tray {

std::wstring MenuRootFolder() {
    const std::wstring startMenu = fw::SpecialFolderPathWide(CSIDL_STARTMENU);
    return startMenu.empty() ? std::wstring() : menubuilder::MenuBase(std::wstring_view(startMenu));
}

}  // namespace tray
