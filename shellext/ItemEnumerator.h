#pragma once
// Hands out copies of one enumeration's items, in menu order.

#include "shellext/ComObject.h"
#include "shellext/Contents.h"

#include <memory>

namespace shellext {

class ItemEnumerator final : public ComObject<IEnumIDList> {
public:
    ItemEnumerator(std::shared_ptr<const Contents> contents, std::size_t position)
        : m_contents(std::move(contents)), m_position(position) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE Next(ULONG count, LPITEMIDLIST* items, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumIDList** copy) override;

private:
    std::shared_ptr<const Contents> m_contents;
    std::size_t m_position;
};

}  // namespace shellext
