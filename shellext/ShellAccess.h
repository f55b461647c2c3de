#pragma once
// The shell's own namespace as the extension uses it: folders of real paths,
// their items, and the text the shell hands back.

#include "framework/ComPtr.h"
#include "shellext/MenuItem.h"

#include <shlobj.h>

#include <string>
#include <string_view>
#include <vector>

namespace shellext {

// The shell's folder for a real path; empty when the path cannot be bound.
fw::ComPtr<IShellFolder> FolderOfPath(const std::wstring& path);

// The shell's plain file-system folder for `path`, whose item list is
// `self`: a menu folder's own files, without the class its marker names
// (which would be this extension again).
fw::ComPtr<IShellFolder> FileSystemFolder(LPCITEMIDLIST self, const std::wstring& path);

// The name `folder` gives its item `item` (or, for an empty item, the
// desktop's name of a full item list); empty on failure.
std::wstring NameFromFolder(IShellFolder* folder, LPCITEMIDLIST item, SHGDNF flags);

// The user's and all users' Start Menu folders, as far as the system has
// them: as last looked up, or looked up afresh (after a start menu moved).
enum class Lookup { kRemembered, kAfresh };
std::vector<std::wstring> StartMenus(Lookup lookup);

class FindDataHolder;

// Makes the items that shell folders give entries lying in them, from the
// facts our items carry: the shell does not read the disk again where it
// takes such facts. One bind context carries the facts of one entry after
// another, written in place.
class ItemMaker {
public:
    ItemMaker();
    ~ItemMaker();
    ItemMaker(const ItemMaker&) = delete;
    ItemMaker& operator=(const ItemMaker&) = delete;
    UniqueItemList Make(IShellFolder* folder, const MenuItem& facts) const;

private:
    fw::ComPtr<IBindCtx> m_context;
    fw::ComPtr<FindDataHolder> m_facts;
};

// Text handed to the shell, in its allocator.
HRESULT ToStrRet(std::wstring_view text, STRRET* out);

}  // namespace shellext
