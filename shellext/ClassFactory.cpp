#include "shellext/ClassFactory.h"

#include "shellext/MenuFolder.h"

namespace shellext {

HRESULT ClassFactory::QueryInterface(REFIID iid, void** out) {
    static const InterfaceEntry<ClassFactory> kInterfaces[] = {
        Implements<ClassFactory, IUnknown, IClassFactory>(),
        Implements<ClassFactory, IClassFactory>(),
    };
    return FindInterface(this, kInterfaces, iid, out);
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return CreateObject<MenuFolder>(iid, out, m_classId);
}

HRESULT ClassFactory::LockServer(BOOL lock) {
    if (lock) {
        AddModuleReference();
    } else {
        ReleaseModuleReference();
    }
    return S_OK;
}

}  // namespace shellext
