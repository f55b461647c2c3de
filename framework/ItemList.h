#pragma once
// Item ID lists read in place, or copied into an owner that frees them with
// the shell's allocator.

#include "framework/UniqueHandle.h"

#include <shlobj.h>

#include <string_view>

namespace fw {

// Whether the list holds no item (the empty list names the folder itself).
bool IsEmpty(LPCITEMIDLIST list);
// Whether the list holds exactly one item.
bool IsSingle(LPCITEMIDLIST list);
// The list after its first item.
LPCITEMIDLIST Rest(LPCITEMIDLIST list);

UniqueItemList Clone(LPCITEMIDLIST list);
UniqueItemList CloneFirst(LPCITEMIDLIST list);
// `first` followed by `second`; either may be empty or null.
UniqueItemList Combine(LPCITEMIDLIST first, LPCITEMIDLIST second);
// The last item of a list, in place; null for an empty or null list.
LPCITEMIDLIST LastItem(LPCITEMIDLIST list);
// The list without its last item (empty for a list of one or none).
UniqueItemList CloneAllButLast(LPCITEMIDLIST list);

// The bytes of the first item, read in place: a key for looking it up.
std::string_view FirstItemKey(LPCITEMIDLIST list);

}  // namespace fw
