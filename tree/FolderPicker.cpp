#include "tree/FolderPicker.h"

#include "framework/ComPtr.h"
#include "framework/PlatformText.h"

#include <shlobj.h>

#include <utility>

namespace {

// An item identifier list, freed through the shell's allocator.
class ShellItemList {
public:
    explicit ShellItemList(IMalloc& allocator) : m_allocator(allocator) {}
    ~ShellItemList() { reset(); }
    ShellItemList(const ShellItemList&) = delete;
    ShellItemList& operator=(const ShellItemList&) = delete;

    LPITEMIDLIST get() const { return m_list; }
    LPITEMIDLIST* put() {
        reset();
        return &m_list;
    }
    void reset(LPITEMIDLIST list = nullptr) {
        if (LPITEMIDLIST old = std::exchange(m_list, list)) m_allocator.Free(old);
    }

private:
    IMalloc& m_allocator;
    LPITEMIDLIST m_list = nullptr;
};

// The item list of a folder path, parsed by the desktop folder. True also
// when the desktop folder is unavailable: the root is then ignored.
bool ParseRoot(const std::string& root, ShellItemList& list) {
    fw::ComPtr<IShellFolder> desktop;
    if (FAILED(::SHGetDesktopFolder(desktop.put()))) return true;
    WCHAR wide[MAX_PATH] = {};
    // A root too long for the buffer names no folder; never parse a cut one.
    // No flags: precomposed is the default, and where the code page is UTF-8
    // Windows fails the call given any flag but MB_ERR_INVALID_CHARS.
    if (::MultiByteToWideChar(CP_ACP, 0, root.c_str(), -1, wide, MAX_PATH) == 0) return false;
    return SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, wide, nullptr, list.put(), nullptr));
}

}  // namespace

bool CFolderPicker::Browse(HWND owner) {
    fw::ComPtr<IMalloc> allocator;
    if (FAILED(::SHGetMalloc(allocator.put()))) return false;

    ShellItemList root(*allocator.get());
    if (!m_strRoot.empty() && !ParseRoot(m_strRoot, root)) return false;

    char displayName[MAX_PATH] = {};
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pidlRoot = root.get();
    info.pszDisplayName = displayName;
    info.lpszTitle = m_strTitle.empty() ? "Open" : m_strTitle.c_str();
    // Only file-system folders can be confirmed.
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS;

    ShellItemList chosen(*allocator.get());
    chosen.reset(::SHBrowseForFolderA(&info));
    if (!chosen.get()) return false;
    m_nImage = info.iImage;

    char path[MAX_PATH] = {};
    const std::optional<std::string> whole =
        ::SHGetPathFromIDListA(chosen.get(), path) ? fw::WholeText(path) : std::nullopt;
    m_strPath = whole.value_or(std::string());
    return whole.has_value();
}
