#pragma once
// Makes menu folders of one of the served classes.

#include "shellext/ComObject.h"

namespace shellext {

class ClassFactory final : public ComObject<IClassFactory> {
public:
    explicit ClassFactory(REFCLSID classId) : m_classId(classId) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    CLSID m_classId;
};

}  // namespace shellext
