#include "tray/ShellIcons.h"

#include "framework/RuntimeLink.h"
#include "framework/WideText.h"
#include "listing/DirectoryReader.h"
#include "menubuilder/MenuPath.h"

#include <shellapi.h>

#include <algorithm>
#include <array>

namespace tray {
namespace {

constexpr UINT kIndexQuery = SHGFI_SYSICONINDEX | SHGFI_SMALLICON;

using GetFileInfoW = DWORD_PTR WINAPI(LPCWSTR, DWORD, SHFILEINFOW*, UINT, UINT);

// What SHGetFileInfo returns for the query: an index, or the image list.
DWORD_PTR QueryShell(const std::wstring& path, DWORD attributes, UINT flags, int& index) {
    if (fw::IsNt()) {
        if (auto* getFileInfo = fw::LookUp<GetFileInfoW>("shell32.dll", "SHGetFileInfoW")) {
            SHFILEINFOW info{};
            const DWORD_PTR result = getFileInfo(path.c_str(), attributes, &info, sizeof(info), flags);
            index = info.iIcon;
            return result;
        }
    }
    SHFILEINFOA info{};
    const DWORD_PTR result = ::SHGetFileInfoA(fw::Narrow(path).c_str(), attributes, &info, sizeof(info), flags);
    index = info.iIcon;
    return result;
}

int LookUpIndex(const std::wstring& path, DWORD attributes, UINT flags) {
    int index = kNoIcon;
    return QueryShell(path, attributes, kIndexQuery | flags, index) ? index : kNoIcon;
}

// The extension with its dot, in upper case where ASCII; empty when none.
std::wstring ExtensionOf(const std::wstring& path) {
    const size_t dot = path.find_last_of(L".\\");
    if (dot == std::wstring::npos || path[dot] != L'.') return std::wstring();
    std::wstring extension = path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(), menubuilder::FoldAsciiCase<wchar_t>);
    return extension;
}

// A drive, server or share root: the shell draws each one its own way.
bool IsRoot(const std::wstring& path) {
    const size_t separators = static_cast<size_t>(std::count(path.begin(), path.end(), L'\\'));
    return menubuilder::IsNetworkPath<wchar_t>(path) ? separators <= 4 : separators <= 1;
}

// Whether the file at `path` carries its own icon, by its extension.
bool CarriesOwnIcon(const std::wstring& path) {
    static constexpr std::array<const wchar_t*, 9> kOwnIconTypes = {L".EXE", L".ICO", L".LNK", L".CUR", L".ANI",
                                                                    L".PIF", L".SCR", L".CPL", L".URL"};
    const std::wstring extension = ExtensionOf(path);
    return std::any_of(kOwnIconTypes.begin(), kOwnIconTypes.end(),
                       [&](const wchar_t* type) { return extension == type; });
}

}  // namespace

HIMAGELIST ShellIcons::Images() const {
    int unused = 0;
    return reinterpret_cast<HIMAGELIST>(
        QueryShell(L"C:\\", FILE_ATTRIBUTE_DIRECTORY, kIndexQuery | SHGFI_USEFILEATTRIBUTES, unused));
}

int ShellIcons::IndexOf(const std::wstring& path, DWORD attributes) {
    const bool directory = listing::IsDirectoryAttribute(attributes);
    // An entry's own icon is read from its medium, which the menu must not
    // wait for: on a server or a removable drive its type's icon stands in.
    if ((directory ? IsRoot(path) : CarriesOwnIcon(path)) && !listing::MayBlock(path)) return LookUpIndex(path, 0, 0);
    std::wstring type = directory ? L"\\" : ExtensionOf(path);
    const auto known = m_byType.find(type);
    if (known != m_byType.end()) return known->second;
    const int index = directory ? LookUpIndex(L"folder", FILE_ATTRIBUTE_DIRECTORY, SHGFI_USEFILEATTRIBUTES)
                                : LookUpIndex(L"file" + type, FILE_ATTRIBUTE_NORMAL, SHGFI_USEFILEATTRIBUTES);
    m_byType.emplace(std::move(type), index);
    return index;
}

IconsAtSize::IconsAtSize(const ShellIcons& shell, int size) : m_system(shell.Images()), m_size(size) {
    int width = 0;
    int height = 0;
    if (m_system && ::ImageList_GetIconSize(m_system, &width, &height) && width == size) return;
    m_own.Create(size, size, ILC_COLOR32 | ILC_MASK, 16, 16);
}

int IconsAtSize::IndexOf(int shellIndex) {
    if (!m_own.Get() || shellIndex < 0) return shellIndex;
    const auto known = m_added.find(shellIndex);
    if (known != m_added.end()) return known->second;
    // Added at the list's size: the list draws the icon to it.
    const fw::UniqueIcon icon(::ImageList_GetIcon(m_system, shellIndex, ILD_TRANSPARENT));
    const int index = m_own.AddIcon(icon.get());
    m_added.emplace(shellIndex, index < 0 ? kNoIcon : index);
    return index < 0 ? kNoIcon : index;
}

}  // namespace tray
