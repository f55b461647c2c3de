#include "framework/ItemList.h"

#include <cstring>

namespace fw {
namespace {

constexpr UINT kTerminatorSize = sizeof(USHORT);

// Bytes of the items, without the terminating zero.
UINT ItemsSize(LPCITEMIDLIST list) {
    UINT size = 0;
    for (LPCITEMIDLIST item = list; item && item->mkid.cb; item = Rest(item)) size += item->mkid.cb;
    return size;
}

UniqueItemList Allocate(UINT itemsSize) {
    auto* list = static_cast<LPITEMIDLIST>(::CoTaskMemAlloc(itemsSize + kTerminatorSize));
    if (list) std::memset(reinterpret_cast<BYTE*>(list) + itemsSize, 0, kTerminatorSize);
    return UniqueItemList(list);
}

BYTE* CopyItems(BYTE* to, LPCITEMIDLIST items, UINT size) {
    if (items && size) std::memcpy(to, items, size);
    return to + size;
}

}  // namespace

bool IsEmpty(LPCITEMIDLIST list) {
    return !list || list->mkid.cb == 0;
}

bool IsSingle(LPCITEMIDLIST list) {
    return !IsEmpty(list) && IsEmpty(Rest(list));
}

LPCITEMIDLIST Rest(LPCITEMIDLIST list) {
    return reinterpret_cast<LPCITEMIDLIST>(reinterpret_cast<const BYTE*>(list) + list->mkid.cb);
}

UniqueItemList Clone(LPCITEMIDLIST list) {
    return Combine(list, nullptr);
}

UniqueItemList CloneFirst(LPCITEMIDLIST list) {
    const UINT size = IsEmpty(list) ? 0 : list->mkid.cb;
    UniqueItemList copy = Allocate(size);
    if (copy) std::memcpy(copy.get(), list, size);
    return copy;
}

UniqueItemList Combine(LPCITEMIDLIST first, LPCITEMIDLIST second) {
    const UINT firstSize = ItemsSize(first);
    const UINT secondSize = ItemsSize(second);
    UniqueItemList combined = Allocate(firstSize + secondSize);
    if (combined) CopyItems(CopyItems(reinterpret_cast<BYTE*>(combined.get()), first, firstSize), second, secondSize);
    return combined;
}

LPCITEMIDLIST LastItem(LPCITEMIDLIST list) {
    if (IsEmpty(list)) return nullptr;
    while (!IsSingle(list)) list = Rest(list);
    return list;
}

UniqueItemList CloneAllButLast(LPCITEMIDLIST list) {
    const LPCITEMIDLIST last = LastItem(list);
    const UINT size =
        last ? static_cast<UINT>(reinterpret_cast<const BYTE*>(last) - reinterpret_cast<const BYTE*>(list)) : 0;
    UniqueItemList copy = Allocate(size);
    if (copy) CopyItems(reinterpret_cast<BYTE*>(copy.get()), list, size);
    return copy;
}

std::string_view FirstItemKey(LPCITEMIDLIST list) {
    if (IsEmpty(list)) return std::string_view();
    return std::string_view(reinterpret_cast<const char*>(list), list->mkid.cb);
}

}  // namespace fw
