#include "shellext/ShellAccess.h"

#include "framework/CriticalSection.h"
#include "framework/ShellText.h"
#include "framework/SpecialFolder.h"
#include "shellext/ComObject.h"

#include <cstring>

namespace shellext {

// Hands the shell the facts of one entry, so that parsing its name makes the
// item without another look at the disk.
class FindDataHolder final : public ComObject<IFileSystemBindData> {
public:
    FindDataHolder() { std::memset(&m_data, 0, sizeof(m_data)); }
    WIN32_FIND_DATAW& Data() { return m_data; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        static const InterfaceEntry<FindDataHolder> kInterfaces[] = {
            Implements<FindDataHolder, IUnknown, IFileSystemBindData>(),
            Implements<FindDataHolder, IFileSystemBindData>(),
        };
        return FindInterface(this, kInterfaces, iid, out);
    }
    HRESULT STDMETHODCALLTYPE SetFindData(const WIN32_FIND_DATAW* data) override {
        if (!data) return E_POINTER;
        m_data = *data;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetFindData(WIN32_FIND_DATAW* data) override {
        if (!data) return E_POINTER;
        *data = m_data;
        return S_OK;
    }

private:
    WIN32_FIND_DATAW m_data;
};

namespace {

fw::ComPtr<IShellFolder> Desktop() {
    fw::ComPtr<IShellFolder> desktop;
    ::SHGetDesktopFolder(desktop.put());
    return desktop;
}

// Writes the facts of `item` over those of the one before; the fields left
// alone stay zero.
void WriteFindData(const MenuItem& item, WIN32_FIND_DATAW& data) {
    data.dwFileAttributes = item.attributes;
    data.nFileSizeHigh = static_cast<DWORD>(item.size >> 32);
    data.nFileSizeLow = static_cast<DWORD>(item.size);
    data.ftLastWriteTime.dwHighDateTime = static_cast<DWORD>(item.lastWriteTime >> 32);
    data.ftLastWriteTime.dwLowDateTime = static_cast<DWORD>(item.lastWriteTime);
    data.ftCreationTime = data.ftLastAccessTime = data.ftLastWriteTime;
    data.cFileName[item.Name().copy(data.cFileName, MAX_PATH - 1)] = L'\0';
}

// The shell takes milliseconds for each start menu's lookup, and every folder
// object asks: remembered for the life of the process, shared by its threads.
fw::CriticalSection g_startMenusGuard;
std::vector<std::wstring> g_startMenus;

}  // namespace

fw::ComPtr<IShellFolder> FolderOfPath(const std::wstring& path) {
    fw::ComPtr<IShellFolder> folder;
    const fw::ComPtr<IShellFolder> desktop = Desktop();
    if (!desktop) return folder;
    std::wstring text = path;
    UniqueItemList item;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, &text[0], nullptr, item.put(), nullptr))) return folder;
    desktop->BindToObject(item.get(), nullptr, IID_IShellFolder, folder.put_void());
    return folder;
}

fw::ComPtr<IShellFolder> FileSystemFolder(LPCITEMIDLIST self, const std::wstring& path) {
    fw::ComPtr<IShellFolder> folder;
    fw::ComPtr<IPersistFolder> persist;
    if (FAILED(::CoCreateInstance(CLSID_ShellFSFolder, nullptr, CLSCTX_INPROC_SERVER, IID_IPersistFolder,
                                  persist.put_void()))) {
        return folder;
    }
    fw::ComPtr<IPersistFolder3> target;
    HRESULT initialized = E_FAIL;
    if (SUCCEEDED(persist.QueryInterface(IID_IPersistFolder3, target))) {
        PERSIST_FOLDER_TARGET_INFO info;
        std::memset(&info, 0, sizeof(info));
        path.copy(info.szTargetParsingName, MAX_PATH - 1);
        info.dwAttributes = FILE_ATTRIBUTE_DIRECTORY;
        info.csidl = -1;
        initialized = target->InitializeEx(nullptr, self, &info);
    } else {
        initialized = persist->Initialize(self);
    }
    if (SUCCEEDED(initialized)) persist.QueryInterface(IID_IShellFolder, folder);
    return folder;
}

std::wstring NameFromFolder(IShellFolder* folder, LPCITEMIDLIST item, SHGDNF flags) {
    fw::ComPtr<IShellFolder> desktop;
    if (!folder) {
        desktop = Desktop();
        folder = desktop.get();
    }
    STRRET name;
    std::memset(&name, 0, sizeof(name));
    if (!folder || FAILED(folder->GetDisplayNameOf(item, flags, &name))) return std::wstring();
    return fw::TakeText(name, item);
}

std::vector<std::wstring> StartMenus(Lookup lookup) {
    {
        const fw::CriticalSectionLock lock(g_startMenusGuard);
        if (lookup == Lookup::kRemembered && !g_startMenus.empty()) return g_startMenus;
    }
    std::vector<std::wstring> found = {fw::SpecialFolderPathWide(CSIDL_STARTMENU),
                                       fw::SpecialFolderPathWide(CSIDL_COMMON_STARTMENU)};
    const fw::CriticalSectionLock lock(g_startMenusGuard);
    g_startMenus = found;
    return found;
}

ItemMaker::ItemMaker() {
    FindDataHolder* facts = new (std::nothrow) FindDataHolder();
    if (!facts) return;
    *m_facts.put() = facts;
    if (FAILED(::CreateBindCtx(0, m_context.put())) ||
        FAILED(m_context->RegisterObjectParam(const_cast<LPOLESTR>(STR_FILE_SYS_BIND_DATA), facts))) {
        m_context.reset();
    }
}

UniqueItemList ItemMaker::Make(IShellFolder* folder, const MenuItem& facts) const {
    UniqueItemList item;
    if (!m_context) return item;
    WriteFindData(facts, m_facts->Data());
    wchar_t name[MAX_PATH];
    std::memcpy(name, m_facts->Data().cFileName, sizeof(name));
    folder->ParseDisplayName(nullptr, m_context.get(), name, nullptr, item.put(), nullptr);
    return item;
}

ItemMaker::~ItemMaker() = default;

HRESULT ToStrRet(std::wstring_view text, STRRET* out) {
    const std::size_t bytes = text.size() * sizeof(wchar_t);
    auto* copy = static_cast<LPWSTR>(::CoTaskMemAlloc(bytes + sizeof(wchar_t)));
    if (!copy) return E_OUTOFMEMORY;
    std::memcpy(copy, text.data(), bytes);
    copy[text.size()] = L'\0';
    out->uType = STRRET_WSTR;
    out->pOleStr = copy;
    return S_OK;
}

}  // namespace shellext
