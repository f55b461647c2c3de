#include "shellext/MenuFolder.h"

#include "menubuilder/MenuPath.h"
#include "listing/DirectoryReader.h"
#include "shellext/ItemEnumerator.h"
#include "shellext/MenuPlace.h"
#include "shellext/ServedClasses.h"
#include "shellext/ShellAccess.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

namespace shellext {
namespace {

constexpr UINT kNameColumn = 0;
constexpr UINT kSizeColumn = 1;

bool IsLinkFile(const MenuItem& item) {
    return !listing::IsDirectoryAttribute(item.attributes) &&
           listing::ItemDisplayName(item.Name()).size() < item.Name().size();
}

bool Wanted(const Entry& entry, SHCONTF flags) {
    return (flags & (listing::IsDirectoryAttribute(entry.attributes) ? SHCONTF_FOLDERS : SHCONTF_NONFOLDERS)) != 0;
}

SFGAOF AttributesOf(const MenuItem& item) {
    SFGAOF attributes = SFGAO_FILESYSTEM | SFGAO_CANCOPY | SFGAO_CANLINK;
    if (listing::IsDirectoryAttribute(item.attributes)) {
        attributes |= SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSANCESTOR;
    }
    if (IsLinkFile(item)) attributes |= SFGAO_LINK;
    if (item.attributes & FILE_ATTRIBUTE_READONLY) attributes |= SFGAO_READONLY;
    return attributes;
}

int Order(const Entry& a, const Entry& b) {
    if (a.group != b.group) return a.group < b.group ? -1 : 1;
    if (a.sortKey != b.sortKey) return a.sortKey < b.sortKey ? -1 : 1;
    if (a.name != b.name) return a.name < b.name ? -1 : 1;
    return 0;
}

HRESULT CompareResult(int order) {
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, static_cast<USHORT>(static_cast<short>(order)));
}

std::wstring SizeText(const MenuItem& item) {
    if (listing::IsDirectoryAttribute(item.attributes)) return std::wstring();
    std::wstring digits;
    for (std::uint64_t kilobytes = (item.size + 1023) / 1024;; kilobytes /= 10) {
        digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + kilobytes % 10));
        if (kilobytes < 10) break;
    }
    return digits + L" KB";
}

// How many levels below the menu root the folder at `relative` lies.
int DepthOf(const std::wstring& relative) {
    return relative.empty() ? 0 : 1 + static_cast<int>(std::count(relative.begin(), relative.end(), L'\\'));
}

using CreateViewFunction = HRESULT(WINAPI*)(CSFV*, IShellView**);

// Exported by ordinal only on the oldest systems, by name on newer ones.
HRESULT CreateDefaultView(IShellFolder* folder, LPCITEMIDLIST self, IShellView** view) {
    constexpr WORD kCreateViewOrdinal = 174;
    HMODULE shell = ::GetModuleHandleA("shell32.dll");
    const auto create = reinterpret_cast<CreateViewFunction>(
        reinterpret_cast<void*>(::GetProcAddress(shell, MAKEINTRESOURCEA(kCreateViewOrdinal))));
    if (!create) return E_NOTIMPL;
    CSFV settings;
    std::memset(&settings, 0, sizeof(settings));
    settings.cbSize = sizeof(settings);
    settings.pshf = folder;
    settings.pidl = self;
    settings.fvm = FVM_DETAILS;
    return create(&settings, view);
}

}  // namespace

MenuFolder::MenuFolder(REFCLSID classId, UniqueItemList self, std::wstring menuRoot, std::wstring relative)
    : m_classId(classId),
      m_self(std::move(self)),
      m_placed(true),
      m_menuRoot(std::move(menuRoot)),
      m_relative(std::move(relative)) {}

HRESULT MenuFolder::QueryInterface(REFIID iid, void** out) {
    static const InterfaceEntry<MenuFolder> kInterfaces[] = {
        Implements<MenuFolder, IUnknown, IShellFolder2>(),
        Implements<MenuFolder, IShellFolder, IShellFolder2>(),
        Implements<MenuFolder, IShellFolder2>(),
        Implements<MenuFolder, IPersist, IPersistFolder3>(),
        Implements<MenuFolder, IPersistFolder, IPersistFolder3>(),
        Implements<MenuFolder, IPersistFolder2, IPersistFolder3>(),
        Implements<MenuFolder, IPersistFolder3>(),
    };
    return FindInterface(this, kInterfaces, iid, out);
}

// ---- where the folder stands ----

HRESULT MenuFolder::InitializeAt(LPCITEMIDLIST self, const std::wstring& path) {
    m_self = Clone(self);
    if (!m_self) return E_OUTOFMEMORY;
    std::optional<std::wstring> relative = MenuRelativePath(path, StartMenus(Lookup::kRemembered));
    if (!relative) relative = MenuRelativePath(path, StartMenus(Lookup::kAfresh));
    m_placed = relative.has_value();
    m_relative = relative.value_or(std::wstring());
    const std::size_t rootLength = path.size() - m_relative.size() - (m_relative.empty() ? 0 : 1);
    m_menuRoot = menubuilder::WithoutClosingBackslash(std::wstring_view(path).substr(0, rootLength));
    SetLatest(nullptr);
    return S_OK;
}

std::wstring MenuFolder::MenuFolderPath() const {
    return IsRoot() ? m_menuRoot : menubuilder::JoinPath(m_menuRoot, m_relative);
}

std::wstring MenuFolder::DirectoryPath() const {
    return menubuilder::DirectoryOfMenuFolder(std::wstring_view(m_relative));
}

std::wstring MenuFolder::SourcePath(Group group) const {
    return IsMenuSource(group) ? MenuFolderPath() : DirectoryPath();
}

bool MenuFolder::IsMenuSource(Group group) const {
    return IsRoot() || group == Group::kItem;
}

// The shell parses the directory's path with no bound of its own: on a server
// or a removable drive it is asked first whether it answers within the wait.
fw::ComPtr<IShellFolder> MenuFolder::SourceFolder(Group group) const {
    if (IsMenuSource(group)) return FileSystemFolder(m_self.get(), MenuFolderPath());
    const std::wstring directory = DirectoryPath();
    return listing::AnswersWithinWait(directory) ? FolderOfPath(directory) : fw::ComPtr<IShellFolder>();
}

// ---- reading ----

std::vector<Entry> MenuFolder::ReadEntries() const {
    if (!m_placed) return {};
    if (IsRoot()) return listing::ReadMenuFolders(m_menuRoot);
    return listing::ReadListing(MenuFolderPath(), DirectoryPath()).entries;
}

// What the menu would show under `name`: a menu item comes before a
// directory entry of the same name, as in the menu; a deeper menu folder is
// found without reading its directory, so that it opens (then empty) while
// its drive is removed or its server away. Both lookups share one network
// wait.
std::optional<Entry> MenuFolder::ReadEntryNamed(const std::wstring& name) const {
    if (!m_placed) return std::nullopt;
    const listing::EntryLookup lookup;
    std::optional<Entry> inMenuFolder = lookup.Read(MenuFolderPath(), name);
    if (inMenuFolder && listing::IsMenuFolder(*inMenuFolder)) {
        inMenuFolder->group = Group::kFolder;
        return inMenuFolder;
    }
    if (IsRoot()) return std::nullopt;
    if (inMenuFolder && listing::GroupInMenu(*inMenuFolder, true)) {
        inMenuFolder->group = Group::kItem;
        return inMenuFolder;
    }
    std::optional<Entry> inDirectory = lookup.Read(DirectoryPath(), name);
    if (!inDirectory) return std::nullopt;
    const std::optional<Group> group = listing::GroupInMenu(*inDirectory, false);
    if (!group) return std::nullopt;
    inDirectory->group = *group;
    return inDirectory;
}

std::optional<MenuItem> MenuFolder::FactsOf(LPCITEMIDLIST item) const {
    if (std::optional<MenuItem> own = MenuItem::Read(item)) return own;
    if (IsEmpty(item)) return std::nullopt;
    // Every file-system folder reads the name from its own items alike.
    fw::ComPtr<IShellFolder> source = SourceFolder(Group::kFile);
    if (!source) source = SourceFolder(Group::kItem);
    if (!source) return std::nullopt;
    const UniqueItemList first = CloneFirst(item);
    const std::optional<Entry> read =
        ReadEntryNamed(NameFromFolder(source.get(), first.get(), SHGDN_INFOLDER | SHGDN_FORPARSING));
    return read ? std::optional<MenuItem>(MenuItem::Of(*read)) : std::nullopt;
}

std::shared_ptr<const Contents> MenuFolder::Latest() const {
    const fw::CriticalSectionLock lock(m_latestGuard);
    return m_latest;
}

void MenuFolder::SetLatest(std::shared_ptr<const Contents> contents) {
    std::shared_ptr<const Contents> replaced;
    {
        const fw::CriticalSectionLock lock(m_latestGuard);
        replaced = std::exchange(m_latest, std::move(contents));
    }
    // `replaced` may be the last owner: freed here, outside the lock.
}

std::shared_ptr<const Entry> MenuFolder::EntryOf(LPCITEMIDLIST item) const {
    if (const std::shared_ptr<const Contents> latest = Latest()) {
        if (const Entry* known = latest->Find(item)) return std::shared_ptr<const Entry>(latest, known);
    }
    // An item from an earlier enumeration, or the shell's: its facts and a
    // key made now.
    const std::optional<MenuItem> facts = FactsOf(item);
    if (!facts) return nullptr;
    std::wstring name(facts->Name());
    std::string key = listing::SortKeyOf(name);
    return std::make_shared<const Entry>(
        Entry{std::move(name), std::move(key), facts->attributes, facts->size, facts->lastWriteTime, facts->group});
}

std::wstring_view MenuFolder::NameOf(const MenuItem& item, SHGDNF flags, std::wstring& built) const {
    const bool forParsing = (flags & SHGDN_FORPARSING) != 0;
    const bool inFolder = (flags & SHGDN_INFOLDER) != 0;
    if (forParsing && !inFolder) return built = menubuilder::JoinPath(SourcePath(item.group), item.Name());
    if (forParsing || (flags & SHGDN_FOREDITING)) return item.Name();
    if (IsRoot()) return built = listing::MenuRootEntryText(item.Name());
    return listing::DisplayName(item.Name(), item.group);
}

// ---- IShellFolder ----

HRESULT MenuFolder::ParseDisplayName(HWND, IBindCtx*, LPWSTR name, ULONG* eaten, LPITEMIDLIST* item,
                                     ULONG* attributes) {
    if (!item) return E_POINTER;
    *item = nullptr;
    if (!name) return E_INVALIDARG;
    return Guarded([&] {
        const std::wstring text = name;
        const std::size_t separator = text.find(L'\\');
        const std::optional<Entry> entry = ReadEntryNamed(text.substr(0, separator));
        if (!entry) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
        UniqueItemList first = MakeMenuItem(*entry);
        if (!first) return E_OUTOFMEMORY;
        UniqueItemList whole;
        const std::wstring rest = separator == std::wstring::npos ? std::wstring() : text.substr(separator + 1);
        if (rest.empty()) {
            whole = std::move(first);
        } else {
            fw::ComPtr<IShellFolder> child;
            HRESULT bound = BindToChild(first.get(), MenuItem::Of(*entry), IID_IShellFolder, child.put_void());
            if (FAILED(bound)) return bound;
            std::wstring restText = rest;
            UniqueItemList below;
            bound = child->ParseDisplayName(nullptr, nullptr, &restText[0], nullptr, below.put(), nullptr);
            if (FAILED(bound)) return bound;
            whole = Combine(first.get(), below.get());
        }
        if (!whole) return E_OUTOFMEMORY;
        if (attributes && *attributes) {
            LPCITEMIDLIST parsed = whole.get();
            GetAttributesOf(1, &parsed, attributes);
        }
        if (eaten) *eaten = static_cast<ULONG>(text.size());
        *item = whole.release();
        return S_OK;
    });
}

HRESULT MenuFolder::EnumObjects(HWND, SHCONTF flags, IEnumIDList** items) {
    if (!items) return E_POINTER;
    *items = nullptr;
    return Guarded([&] {
        std::vector<Entry> entries = ReadEntries();
        entries.erase(
            std::remove_if(entries.begin(), entries.end(), [&](const Entry& entry) { return !Wanted(entry, flags); }),
            entries.end());
        auto contents = std::make_shared<const Contents>(std::move(entries));
        SetLatest(contents);
        return CreateObject<ItemEnumerator>(IID_IEnumIDList, reinterpret_cast<void**>(items), std::move(contents),
                                            std::size_t{0});
    });
}

HRESULT MenuFolder::BindToChild(LPCITEMIDLIST item, const MenuItem& facts, REFIID iid, void** out) {
    if (!listing::IsDirectoryAttribute(facts.attributes)) {
        const fw::ComPtr<IShellFolder> source = SourceFolder(facts.group);
        const UniqueItemList shellItem = source ? ItemMaker().Make(source.get(), facts) : UniqueItemList();
        return shellItem ? source->BindToObject(shellItem.get(), nullptr, iid, out) : E_FAIL;
    }
    const std::wstring relative =
        IsRoot() ? std::wstring(facts.Name()) : menubuilder::JoinPath(m_relative, facts.Name());
    const UniqueItemList first = CloneFirst(item);
    if (!first) return E_OUTOFMEMORY;
    UniqueItemList self = Combine(m_self.get(), first.get());
    if (!self) return E_OUTOFMEMORY;
    fw::ComPtr<MenuFolder> child;
    *child.put() =
        new (std::nothrow) MenuFolder(ClassOfDepth(DepthOf(relative)), std::move(self), m_menuRoot, relative);
    if (!child) return E_OUTOFMEMORY;
    return IsSingle(item) ? child->QueryInterface(iid, out) : child->BindToObject(Rest(item), nullptr, iid, out);
}

HRESULT MenuFolder::BindToObject(LPCITEMIDLIST item, IBindCtx*, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEmpty(item)) return E_INVALIDARG;
    return Guarded([&] {
        const std::optional<MenuItem> facts = FactsOf(item);
        return facts ? BindToChild(item, *facts, iid, out) : E_INVALIDARG;
    });
}

HRESULT MenuFolder::BindToStorage(LPCITEMIDLIST, IBindCtx*, REFIID, void** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

// Runs `call` on the folder of `item`'s first item with the rest of it.
template <class Call>
HRESULT MenuFolder::InChildFolder(LPCITEMIDLIST item, Call&& call) {
    fw::ComPtr<IShellFolder2> child;
    const UniqueItemList first = CloneFirst(item);
    const HRESULT bound = BindToObject(first.get(), nullptr, IID_IShellFolder2, child.put_void());
    return FAILED(bound) ? bound : call(child.get(), Rest(item));
}

HRESULT MenuFolder::CompareIDs(LPARAM, LPCITEMIDLIST first, LPCITEMIDLIST second) {
    if (IsEmpty(first) || IsEmpty(second)) return CompareResult(IsEmpty(first) ? (IsEmpty(second) ? 0 : -1) : 1);
    return Guarded([&] {
        const std::shared_ptr<const Entry> a = EntryOf(first);
        const std::shared_ptr<const Entry> b = EntryOf(second);
        if (!a || !b) return E_INVALIDARG;
        const int order = Order(*a, *b);
        if (order != 0 || (IsSingle(first) && IsSingle(second))) return CompareResult(order);
        if (IsSingle(first) != IsSingle(second)) return CompareResult(IsSingle(first) ? -1 : 1);
        return InChildFolder(
            first, [&](IShellFolder2* child, LPCITEMIDLIST rest) { return child->CompareIDs(0, rest, Rest(second)); });
    });
}

HRESULT MenuFolder::CreateViewObject(HWND, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IShellView)) return E_NOINTERFACE;
    return CreateDefaultView(this, m_self.get(), reinterpret_cast<IShellView**>(out));
}

HRESULT MenuFolder::GetAttributesOf(UINT count, LPCITEMIDLIST* items, SFGAOF* attributes) {
    if (!attributes || (count && !items)) return E_POINTER;
    return Guarded([&] {
        SFGAOF common = *attributes;
        for (UINT i = 0; i < count; ++i) {
            if (IsEmpty(items[i])) return E_INVALIDARG;
            if (!IsSingle(items[i])) {
                SFGAOF below = common;
                const HRESULT asked = InChildFolder(items[i], [&](IShellFolder2* child, LPCITEMIDLIST rest) {
                    return child->GetAttributesOf(1, &rest, &below);
                });
                if (FAILED(asked)) return asked;
                common &= below;
                continue;
            }
            const std::optional<MenuItem> facts = FactsOf(items[i]);
            if (!facts) return E_INVALIDARG;
            common &= AttributesOf(*facts);
        }
        *attributes = common;
        return S_OK;
    });
}

// Items from one folder on disk go to the shell's folder for it, as its own.
HRESULT MenuFolder::GetUIObjectOf(HWND window, UINT count, LPCITEMIDLIST* items, REFIID iid, UINT* reserved,
                                  void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (count == 0 || !items) return E_INVALIDARG;
    return Guarded([&] {
        std::vector<MenuItem> facts;
        for (UINT i = 0; i < count; ++i) {
            std::optional<MenuItem> read = IsSingle(items[i]) ? FactsOf(items[i]) : std::nullopt;
            if (!read || IsMenuSource(read->group) != IsMenuSource(facts.empty() ? read->group : facts[0].group))
                return E_INVALIDARG;
            facts.push_back(std::move(*read));
        }
        const fw::ComPtr<IShellFolder> folder = SourceFolder(facts[0].group);
        if (!folder) return E_FAIL;
        const ItemMaker maker;
        std::vector<UniqueItemList> shellItems;
        std::vector<LPCITEMIDLIST> lists;
        for (const MenuItem& item : facts) {
            shellItems.push_back(maker.Make(folder.get(), item));
            if (!shellItems.back()) return E_FAIL;
            lists.push_back(shellItems.back().get());
        }
        return folder->GetUIObjectOf(window, count, lists.data(), iid, reserved, out);
    });
}

HRESULT MenuFolder::GetDisplayNameOf(LPCITEMIDLIST item, SHGDNF flags, STRRET* name) {
    if (!name) return E_POINTER;
    return Guarded([&] {
        if (IsEmpty(item)) return ToStrRet(MenuFolderPath(), name);
        if (!IsSingle(item)) {
            return InChildFolder(item, [&](IShellFolder2* child, LPCITEMIDLIST rest) {
                return child->GetDisplayNameOf(rest, flags, name);
            });
        }
        const std::optional<MenuItem> facts = FactsOf(item);
        std::wstring built;
        return facts ? ToStrRet(NameOf(*facts, flags, built), name) : E_INVALIDARG;
    });
}

HRESULT MenuFolder::SetNameOf(HWND, LPCITEMIDLIST, LPCWSTR, SHGDNF, LPITEMIDLIST* renamed) {
    if (renamed) *renamed = nullptr;
    return E_NOTIMPL;
}

// ---- IShellFolder2: the columns a file window shows ----

HRESULT MenuFolder::GetDefaultSearchGUID(GUID*) {
    return E_NOTIMPL;
}

HRESULT MenuFolder::EnumSearches(IEnumExtraSearch** searches) {
    if (searches) *searches = nullptr;
    return E_NOTIMPL;
}

HRESULT MenuFolder::GetDefaultColumn(DWORD, ULONG* sort, ULONG* display) {
    if (!sort || !display) return E_POINTER;
    *sort = kNameColumn;
    *display = kNameColumn;
    return S_OK;
}

HRESULT MenuFolder::GetDefaultColumnState(UINT column, SHCOLSTATEF* state) {
    if (!state) return E_POINTER;
    if (column > kSizeColumn) return E_INVALIDARG;
    *state = (column == kNameColumn ? SHCOLSTATE_TYPE_STR : SHCOLSTATE_TYPE_INT) | SHCOLSTATE_ONBYDEFAULT;
    return S_OK;
}

HRESULT MenuFolder::GetDetailsEx(LPCITEMIDLIST, const SHCOLUMNID*, VARIANT*) {
    return E_NOTIMPL;
}

HRESULT MenuFolder::GetDetailsOf(LPCITEMIDLIST item, UINT column, SHELLDETAILS* details) {
    if (!details) return E_POINTER;
    if (column > kSizeColumn) return E_INVALIDARG;
    return Guarded([&] {
        details->fmt = column == kNameColumn ? LVCFMT_LEFT : LVCFMT_RIGHT;
        details->cxChar = column == kNameColumn ? 30 : 12;
        if (!item) return ToStrRet(column == kNameColumn ? L"Name" : L"Size", &details->str);
        const std::optional<MenuItem> facts = FactsOf(item);
        if (!facts) return E_INVALIDARG;
        if (column != kNameColumn) return ToStrRet(SizeText(*facts), &details->str);
        std::wstring built;
        return ToStrRet(NameOf(*facts, SHGDN_INFOLDER, built), &details->str);
    });
}

HRESULT MenuFolder::MapColumnToSCID(UINT, SHCOLUMNID*) {
    return E_NOTIMPL;
}

// ---- IPersistFolder3 and its bases ----

HRESULT MenuFolder::GetClassID(CLSID* classId) {
    if (!classId) return E_POINTER;
    *classId = m_classId;
    return S_OK;
}

HRESULT MenuFolder::Initialize(LPCITEMIDLIST self) {
    if (!self) return E_INVALIDARG;
    return Guarded([&] { return InitializeAt(self, NameFromFolder(nullptr, self, SHGDN_FORPARSING)); });
}

HRESULT MenuFolder::GetCurFolder(LPITEMIDLIST* self) {
    if (!self) return E_POINTER;
    *self = Clone(m_self.get()).release();
    return *self ? S_OK : E_FAIL;
}

// The target's path is read only within its buffer: a caller's buffer
// without a terminator is refused.
HRESULT MenuFolder::InitializeEx(IBindCtx*, LPCITEMIDLIST self, const PERSIST_FOLDER_TARGET_INFO* target) {
    if (!self) return E_INVALIDARG;
    const std::size_t targetLength =
        target ? std::find(target->szTargetParsingName, std::end(target->szTargetParsingName), L'\0') -
                     target->szTargetParsingName
               : 0;
    if (targetLength == MAX_PATH) return E_INVALIDARG;
    return Guarded([&] {
        return InitializeAt(self, targetLength ? std::wstring(target->szTargetParsingName, targetLength)
                                               : NameFromFolder(nullptr, self, SHGDN_FORPARSING));
    });
}

HRESULT MenuFolder::GetFolderTargetInfo(PERSIST_FOLDER_TARGET_INFO* target) {
    if (!target) return E_POINTER;
    return Guarded([&] {
        std::memset(target, 0, sizeof(*target));
        MenuFolderPath().copy(target->szTargetParsingName, MAX_PATH - 1);
        target->dwAttributes = FILE_ATTRIBUTE_DIRECTORY;
        target->csidl = -1;
        return S_OK;
    });
}

}  // namespace shellext
