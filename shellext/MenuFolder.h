#pragma once
// A menu folder in the shell's namespace. One implementation serves the menu
// root, every menu folder below it and every folder reached further down:
// each knows its place below the menu root from its path. The root lists the
// first-level menu folders; every other level lists the items lying in its
// menu folder, then the subfolders and files of the directory its path names
// (read live at every enumeration). Its items are its own and carry what the
// enumeration read, which answers names and attributes; icons, context
// menus, data objects and opening go to the shell's folder where the entry
// lies (the menu folder or the directory), with the item that folder gives it.

#include "shellext/ComObject.h"
#include "framework/ComPtr.h"
#include "framework/CriticalSection.h"
#include "shellext/Contents.h"
#include "shellext/MenuItem.h"

#include <shlobj.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace shellext {

class MenuFolder final : public ComObject<IShellFolder2, IPersistFolder3> {
public:
    explicit MenuFolder(REFCLSID classId) : m_classId(classId) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;

    // IShellFolder
    HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND window, IBindCtx* context, LPWSTR name, ULONG* eaten,
                                               LPITEMIDLIST* item, ULONG* attributes) override;
    HRESULT STDMETHODCALLTYPE EnumObjects(HWND window, SHCONTF flags, IEnumIDList** items) override;
    HRESULT STDMETHODCALLTYPE BindToObject(LPCITEMIDLIST item, IBindCtx* context, REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE BindToStorage(LPCITEMIDLIST item, IBindCtx* context, REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM column, LPCITEMIDLIST first, LPCITEMIDLIST second) override;
    HRESULT STDMETHODCALLTYPE CreateViewObject(HWND window, REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT count, LPCITEMIDLIST* items, SFGAOF* attributes) override;
    HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND window, UINT count, LPCITEMIDLIST* items, REFIID iid, UINT* reserved,
                                            void** out) override;
    HRESULT STDMETHODCALLTYPE GetDisplayNameOf(LPCITEMIDLIST item, SHGDNF flags, STRRET* name) override;
    HRESULT STDMETHODCALLTYPE SetNameOf(HWND window, LPCITEMIDLIST item, LPCWSTR name, SHGDNF flags,
                                        LPITEMIDLIST* renamed) override;

    // IShellFolder2
    HRESULT STDMETHODCALLTYPE GetDefaultSearchGUID(GUID* guid) override;
    HRESULT STDMETHODCALLTYPE EnumSearches(IEnumExtraSearch** searches) override;
    HRESULT STDMETHODCALLTYPE GetDefaultColumn(DWORD reserved, ULONG* sort, ULONG* display) override;
    HRESULT STDMETHODCALLTYPE GetDefaultColumnState(UINT column, SHCOLSTATEF* state) override;
    HRESULT STDMETHODCALLTYPE GetDetailsEx(LPCITEMIDLIST item, const SHCOLUMNID* column, VARIANT* value) override;
    HRESULT STDMETHODCALLTYPE GetDetailsOf(LPCITEMIDLIST item, UINT column, SHELLDETAILS* details) override;
    HRESULT STDMETHODCALLTYPE MapColumnToSCID(UINT column, SHCOLUMNID* id) override;

    // IPersist, IPersistFolder, IPersistFolder2, IPersistFolder3
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* classId) override;
    HRESULT STDMETHODCALLTYPE Initialize(LPCITEMIDLIST self) override;
    HRESULT STDMETHODCALLTYPE GetCurFolder(LPITEMIDLIST* self) override;
    HRESULT STDMETHODCALLTYPE InitializeEx(IBindCtx* context, LPCITEMIDLIST self,
                                           const PERSIST_FOLDER_TARGET_INFO* target) override;
    HRESULT STDMETHODCALLTYPE GetFolderTargetInfo(PERSIST_FOLDER_TARGET_INFO* target) override;

private:
    // A folder below this one, made by BindToObject.
    MenuFolder(REFCLSID classId, UniqueItemList self, std::wstring menuRoot, std::wstring relative);

    HRESULT InitializeAt(LPCITEMIDLIST self, const std::wstring& path);
    bool IsRoot() const { return m_relative.empty(); }
    std::wstring MenuFolderPath() const;
    std::wstring DirectoryPath() const;
    // Where the entries of `group` lie on disk, and the shell's folder there.
    bool IsMenuSource(Group group) const;
    std::wstring SourcePath(Group group) const;
    fw::ComPtr<IShellFolder> SourceFolder(Group group) const;

    std::vector<Entry> ReadEntries() const;
    std::optional<Entry> ReadEntryNamed(const std::wstring& name) const;
    // The facts of the first item of `item`: ours carry them; an item that
    // the shell's folder of our directory or menu folder gave (the shell
    // hands those back from the data objects made there) is read by its name.
    std::optional<MenuItem> FactsOf(LPCITEMIDLIST item) const;
    // The entry of the first item of `item`, sort key and all: from the
    // latest enumeration (shared with it, not copied), else from its facts;
    // null when there are none.
    std::shared_ptr<const Entry> EntryOf(LPCITEMIDLIST item) const;
    // The name of `item`: in place where it can be, else built in `built`.
    std::wstring_view NameOf(const MenuItem& item, SHGDNF flags, std::wstring& built) const;

    // The latest enumeration's contents, which other threads read while an
    // enumeration on one thread replaces them.
    std::shared_ptr<const Contents> Latest() const;
    void SetLatest(std::shared_ptr<const Contents> contents);

    HRESULT BindToChild(LPCITEMIDLIST item, const MenuItem& facts, REFIID iid, void** out);
    template <class Call>
    HRESULT InChildFolder(LPCITEMIDLIST item, Call&& call);

    CLSID m_classId;
    UniqueItemList m_self;
    bool m_placed = false;    // false: not a menu folder we know; shows nothing
    std::wstring m_menuRoot;  // <Start Menu>\RootCaster
    std::wstring m_relative;  // below the menu root; empty for the root
    mutable fw::CriticalSection m_latestGuard;
    std::shared_ptr<const Contents> m_latest;  // under m_latestGuard
};

}  // namespace shellext
