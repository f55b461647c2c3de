#include "menubuilder/ShortcutItem.h"

#include "framework/ComPtr.h"
#include "menubuilder/MenuPath.h"
#include "settings/RegistryHelpers.h"
#include "settings/SettingsCatalogue.h"

#include <shlobj.h>

#include <cstring>

namespace menubuilder {
namespace {

// Windows 95's own interpreter, for a system that names none.
constexpr char kDefaultCommandInterpreter[] = "c:\\Windows\\command.com";
constexpr char kOpenIconFile[] = "\\explore.ico";
constexpr char kDOSPromptIconFile[] = "\\msdos.ico";

// The command interpreter the system names (%ComSpec%, expanded), or the
// default when it names none or one too long for a link's target.
std::string CommandInterpreter() {
    char named[MAX_PATH];
    const DWORD length = ::GetEnvironmentVariableA("ComSpec", named, sizeof(named));
    if (length == 0 || length >= sizeof(named)) return kDefaultCommandInterpreter;
    // The ANSI expansion may ask for one byte more than it writes.
    char expanded[MAX_PATH + 1];
    const DWORD size = ::ExpandEnvironmentStringsA(named, expanded, sizeof(expanded));
    if (size == 0 || size > sizeof(expanded) || std::strlen(expanded) > kMaxPathLength) {
        return kDefaultCommandInterpreter;
    }
    return expanded;
}

void SetOpenProperties(IShellLinkA& link, const std::string& level, const std::string& kind,
                       const std::string& installDir) {
    link.SetPath(level.c_str());
    link.SetDescription(kind.c_str());
    link.SetShowCmd(SW_SHOWNORMAL);
    link.SetIconLocation((installDir + kOpenIconFile).c_str(), 0);
}

void SetDOSPromptProperties(IShellLinkA& link, const std::string& level, const std::string& kind,
                            const std::string& installDir) {
    link.SetPath(CommandInterpreter().c_str());
    link.SetWorkingDirectory(level.c_str());
    link.SetDescription(kind.c_str());
    link.SetShowCmd(SW_SHOWNORMAL);
    link.SetIconLocation((installDir + kDOSPromptIconFile).c_str(), 0);
}

// The link file's name for IPersistFile, or false when it would not arrive
// whole: too long for the buffer, or cut short by a zero.
bool ToWidePath(const std::string& path, WCHAR (&wide)[MAX_PATH]) {
    return path.find('\0') == std::string::npos &&
           ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH) != 0;
}

}  // namespace

HRESULT CreateShortcutItem(const std::string& level, const std::string& linkFile, const std::string& kind) {
    WCHAR widePath[MAX_PATH];
    if (!ToWidePath(linkFile, widePath)) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    const std::string installDir =
        settings::ReadRegistryString(HKEY_CLASSES_ROOT, settings::kExtensionClassKey, settings::kInstallDirValue);

    fw::ComPtr<IShellLinkA> link;
    HRESULT status =
        ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.put_void());
    if (FAILED(status)) return status;
    if (::lstrcmpiA(kind.c_str(), kOpenKind) == 0) {
        SetOpenProperties(*link.get(), level, kind, installDir);
    } else {
        SetDOSPromptProperties(*link.get(), level, kind, installDir);
    }
    fw::ComPtr<IPersistFile> file;
    status = link.QueryInterface(IID_IPersistFile, file);
    if (FAILED(status)) return status;
    return file->Save(widePath, TRUE);
}

}  // namespace menubuilder
