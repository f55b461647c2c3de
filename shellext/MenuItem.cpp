#include "shellext/MenuItem.h"

#include <algorithm>
#include <cstring>

namespace shellext {
namespace {

// cb, signature, group, a pad byte, attributes, size, time, then the name and
// its terminator: every field at its natural offset, the name at an even one.
constexpr char kSignature[4] = {'R', 'c', 'M', '1'};
constexpr std::size_t kSignatureAt = 2;
constexpr std::size_t kGroupAt = 6;
constexpr std::size_t kAttributesAt = 8;
constexpr std::size_t kSizeAt = 12;
constexpr std::size_t kTimeAt = 20;
constexpr std::size_t kNameAt = 28;
constexpr std::size_t kLongestName = MAX_PATH - 1;

template <class Value>
Value ReadAt(const BYTE* item, std::size_t at) {
    Value value;
    std::memcpy(&value, item + at, sizeof(value));
    return value;
}

template <class Value>
void WriteAt(BYTE* item, std::size_t at, Value value) {
    std::memcpy(item + at, &value, sizeof(value));
}

}  // namespace

std::optional<MenuItem> MenuItem::Read(LPCITEMIDLIST list) {
    if (!list) return std::nullopt;
    const auto* item = reinterpret_cast<const BYTE*>(list);
    const std::size_t size = list->mkid.cb;
    if (size < kNameAt + 2 * sizeof(wchar_t) || (size - kNameAt) % sizeof(wchar_t) != 0 ||
        std::memcmp(item + kSignatureAt, kSignature, sizeof(kSignature)) != 0 ||
        item[kGroupAt] > static_cast<BYTE>(Group::kFile)) {
        return std::nullopt;
    }
    const std::size_t length = (size - kNameAt) / sizeof(wchar_t) - 1;
    if (ReadAt<wchar_t>(item, kNameAt + length * sizeof(wchar_t)) != L'\0') return std::nullopt;
    MenuItem read;
    read.group = static_cast<Group>(item[kGroupAt]);
    read.attributes = ReadAt<std::uint32_t>(item, kAttributesAt);
    read.size = ReadAt<std::uint64_t>(item, kSizeAt);
    read.lastWriteTime = ReadAt<std::uint64_t>(item, kTimeAt);
    const BYTE* name = item + kNameAt;
    read.m_length = length;
    if (reinterpret_cast<std::uintptr_t>(name) % alignof(wchar_t) == 0) {
        read.m_inPlace = reinterpret_cast<const wchar_t*>(name);
    } else {
        read.m_copy.resize(length);
        std::memcpy(&read.m_copy[0], name, length * sizeof(wchar_t));
    }
    if (read.Name().find(L'\0') != std::wstring_view::npos) return std::nullopt;
    return read;
}

MenuItem MenuItem::Of(const Entry& entry) {
    MenuItem facts;
    facts.group = entry.group;
    facts.attributes = entry.attributes;
    facts.size = entry.size;
    facts.lastWriteTime = entry.lastWriteTime;
    facts.m_copy = entry.name;
    return facts;
}

std::size_t MenuItemSize(const Entry& entry) {
    return kNameAt + (std::min(entry.name.size(), kLongestName) + 1) * sizeof(wchar_t);
}

void WriteMenuItem(const Entry& entry, void* to) {
    auto* item = static_cast<BYTE*>(to);
    const std::size_t size = MenuItemSize(entry);
    WriteAt(item, 0, static_cast<USHORT>(size));
    std::memcpy(item + kSignatureAt, kSignature, sizeof(kSignature));
    item[kGroupAt] = static_cast<BYTE>(entry.group);
    item[kGroupAt + 1] = 0;
    WriteAt(item, kAttributesAt, entry.attributes);
    WriteAt(item, kSizeAt, entry.size);
    WriteAt(item, kTimeAt, entry.lastWriteTime);
    const std::size_t nameBytes = size - kNameAt - sizeof(wchar_t);
    std::memcpy(item + kNameAt, entry.name.data(), nameBytes);
    WriteAt(item, kNameAt + nameBytes, L'\0');
}

UniqueItemList MakeMenuItem(const Entry& entry) {
    const std::size_t size = MenuItemSize(entry);
    auto* list = static_cast<BYTE*>(::CoTaskMemAlloc(size + sizeof(USHORT)));
    if (!list) return UniqueItemList();
    WriteMenuItem(entry, list);
    WriteAt(list, size, USHORT{0});
    return UniqueItemList(reinterpret_cast<LPITEMIDLIST>(list));
}

}  // namespace shellext
