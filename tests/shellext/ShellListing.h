#pragma once
// Folders of the shell's namespace read as its clients read them: reached
// from the desktop by parsing name, enumerated, each entry asked for its
// names and attributes.

#include "framework/ComPtr.h"
#include "framework/UniqueHandle.h"

#include <shlobj.h>

#include <string>
#include <vector>

namespace testing_support {

// One entry as the shell's client sees it.
struct Listed {
    std::wstring name;        // SHGDN_NORMAL
    std::wstring parsing;     // SHGDN_FORPARSING
    SFGAOF attributes = 0;    // of SFGAO_FOLDER, SFGAO_FILESYSTEM, SFGAO_LINK
    fw::UniqueItemList item;  // relative to the folder
};

// Every entry of `folder`, in the order it gives them.
std::vector<Listed> ListFolder(IShellFolder* folder);

// A folder reached from the desktop by its parsing name.
class ShellFolderAt {
public:
    explicit ShellFolderAt(const std::wstring& path);

    HRESULT Status() const { return m_status; }
    IShellFolder* Folder() const { return m_folder.get(); }
    LPCITEMIDLIST Self() const { return m_self.get(); }
    std::vector<Listed> List() const { return ListFolder(m_folder.get()); }

private:
    fw::ComPtr<IShellFolder> m_desktop;
    fw::UniqueItemList m_self;
    fw::ComPtr<IShellFolder> m_folder;
    HRESULT m_status = E_FAIL;
};

std::vector<std::wstring> NamesOf(const std::vector<Listed>& listed);
// The entry showing `name`, or null.
const Listed* Find(const std::vector<Listed>& listed, const std::wstring& name);

}  // namespace testing_support
