#include "tests/shellext/ShellListing.h"

#include "framework/ShellText.h"

#include <gtest/gtest.h>

namespace testing_support {
namespace {

std::wstring NameOf(IShellFolder* folder, LPCITEMIDLIST item, SHGDNF flags) {
    STRRET name{};
    if (FAILED(folder->GetDisplayNameOf(item, flags, &name))) return L"<no name>";
    return fw::TakeText(name, item);
}

}  // namespace

std::vector<Listed> ListFolder(IShellFolder* folder) {
    std::vector<Listed> listed;
    if (!folder) {
        ADD_FAILURE() << "no folder to list";
        return listed;
    }
    fw::ComPtr<IEnumIDList> items;
    EXPECT_EQ(folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, items.put()), S_OK);
    if (!items) return listed;
    LPITEMIDLIST item = nullptr;
    while (items->Next(1, &item, nullptr) == S_OK) {
        Listed entry;
        entry.item.reset(item);
        entry.name = NameOf(folder, item, SHGDN_NORMAL);
        entry.parsing = NameOf(folder, item, SHGDN_FORPARSING);
        entry.attributes = SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_LINK;
        LPCITEMIDLIST asked = item;
        EXPECT_EQ(folder->GetAttributesOf(1, &asked, &entry.attributes), S_OK);
        listed.push_back(std::move(entry));
    }
    return listed;
}

ShellFolderAt::ShellFolderAt(const std::wstring& path) {
    ::SHGetDesktopFolder(m_desktop.put());
    std::wstring text = path;
    m_status = m_desktop->ParseDisplayName(nullptr, nullptr, &text[0], nullptr, m_self.put(), nullptr);
    if (SUCCEEDED(m_status)) {
        m_status = m_desktop->BindToObject(m_self.get(), nullptr, IID_IShellFolder, m_folder.put_void());
    }
}

std::vector<std::wstring> NamesOf(const std::vector<Listed>& listed) {
    std::vector<std::wstring> names;
    for (const Listed& entry : listed) names.push_back(entry.name);
    return names;
}

const Listed* Find(const std::vector<Listed>& listed, const std::wstring& name) {
    for (const Listed& entry : listed) {
        if (entry.name == name) return &entry;
    }
    return nullptr;
}

}  // namespace testing_support
