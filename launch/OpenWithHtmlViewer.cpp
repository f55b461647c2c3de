#include "launch/OpenWithHtmlViewer.h"

#include "framework/WaitCursor.h"
#include "launch/DocumentCommand.h"
#include "settings/RegistryHelpers.h"
#include "settings/SettingsCatalogue.h"

#include <windows.h>

namespace launch {
namespace {

std::string HtmlOpenCommand() {
    const std::string type = settings::ReadRegistryString(HKEY_CLASSES_ROOT, settings::kHtmlExtensionKey);
    return settings::ReadRegistryString(HKEY_CLASSES_ROOT, (type + settings::kOpenCommandSuffix).c_str());
}

}  // namespace

void OpenWithHtmlViewer(const std::string& document) {
    fw::WaitCursor wait;
    if (document.empty()) return;
    const std::string command = HtmlOpenCommand();
    if (command.empty()) return;
    ::WinExec(InsertDocument(command, document, fw::AnsiLeadByte).c_str(), SW_SHOWNORMAL);
}

}  // namespace launch
