#include "menubuilder/ShortcutItem.h"

#include "framework/ComPtr.h"
#include "framework/WideText.h"
#include "menubuilder/MenuPath.h"
#include "settings/ClassRegistry.h"

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

// What an item's link holds, in the ANSI code page.
struct LinkTexts {
    std::string target;
    std::string workingDirectory;  // empty: none is set
    std::string description;
    std::string iconFile;
};

bool IsOpenKind(const std::string& kind) {
    return ::lstrcmpiA(kind.c_str(), kOpenKind) == 0;
}

LinkTexts ItemTexts(const std::string& level, const std::string& kind) {
    if (IsOpenKind(kind)) return {level, std::string(), kind, ItemIconFile(kind)};
    return {CommandInterpreter(), level, kind, ItemIconFile(kind)};
}

std::wstring Wide(const std::string& text) {
    return fw::Widen(text.c_str());
}

const std::string& Ansi(const std::string& text) {
    return text;
}

template <class Link, class Convert>
void SetTexts(Link& link, const LinkTexts& texts, Convert convert) {
    link.SetPath(convert(texts.target).c_str());
    if (!texts.workingDirectory.empty()) link.SetWorkingDirectory(convert(texts.workingDirectory).c_str());
    link.SetDescription(convert(texts.description).c_str());
    link.SetShowCmd(SW_SHOWNORMAL);
    link.SetIconLocation(convert(texts.iconFile).c_str(), 0);
}

// Saves a shell link made through the interface `Link`; `convert` turns the
// texts into the strings that interface takes.
template <class Link, class Convert>
HRESULT SaveLink(REFIID linkInterface, const LinkTexts& texts, Convert convert, const WCHAR* linkFile) {
    fw::ComPtr<Link> link;
    HRESULT status = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, linkInterface, link.put_void());
    if (FAILED(status)) return status;
    SetTexts(*link.get(), texts, convert);
    fw::ComPtr<IPersistFile> file;
    status = link.QueryInterface(IID_IPersistFile, file);
    if (FAILED(status)) return status;
    return file->Save(linkFile, TRUE);
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
    const LinkTexts texts = ItemTexts(level, kind);
    // The wide interface takes the names as UTF-16, which every reader of the
    // link resolves, whatever its code page. Where the link object lacks it
    // (Windows 95 and 98 may), the ANSI interface takes the texts as they are.
    const HRESULT status = SaveLink<IShellLinkW>(IID_IShellLinkW, texts, Wide, widePath);
    return status == E_NOINTERFACE ? SaveLink<IShellLinkA>(IID_IShellLinkA, texts, Ansi, widePath) : status;
}

// Read anew each time: a setup may have moved it.
std::string ItemIconFile(const std::string& kind) {
    return settings::ReadInstallDir() + (IsOpenKind(kind) ? kOpenIconFile : kDOSPromptIconFile);
}

}  // namespace menubuilder
