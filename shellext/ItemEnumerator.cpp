#include "shellext/ItemEnumerator.h"

#include <algorithm>

namespace shellext {

HRESULT ItemEnumerator::QueryInterface(REFIID iid, void** out) {
    static const InterfaceEntry<ItemEnumerator> kInterfaces[] = {
        Implements<ItemEnumerator, IUnknown, IEnumIDList>(),
        Implements<ItemEnumerator, IEnumIDList>(),
    };
    return FindInterface(this, kInterfaces, iid, out);
}

HRESULT ItemEnumerator::Next(ULONG count, LPITEMIDLIST* items, ULONG* fetched) {
    if (!items || (count > 1 && !fetched)) return E_POINTER;
    ULONG given = 0;
    while (given < count && m_position < m_contents->Count()) {
        UniqueItemList copy = shellext::Clone(m_contents->Item(m_position));
        if (!copy) break;
        items[given++] = copy.release();
        ++m_position;
    }
    if (fetched) *fetched = given;
    return given == count ? S_OK : S_FALSE;
}

HRESULT ItemEnumerator::Skip(ULONG count) {
    const std::size_t left = m_contents->Count() - m_position;
    m_position += std::min<std::size_t>(count, left);
    return count <= left ? S_OK : S_FALSE;
}

HRESULT ItemEnumerator::Reset() {
    m_position = 0;
    return S_OK;
}

HRESULT ItemEnumerator::Clone(IEnumIDList** copy) {
    return Guarded([&] {
        return CreateObject<ItemEnumerator>(IID_IEnumIDList, reinterpret_cast<void**>(copy), m_contents, m_position);
    });
}

}  // namespace shellext
