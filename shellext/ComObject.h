#pragma once
// The parts every COM object of the extension shares: reference counting,
// the module's count of live objects, and QueryInterface read from a table.

#include <objbase.h>

#include <cstddef>
#include <new>
#include <utility>

namespace shellext {

// Live objects and server locks; the module may unload only at zero.
void AddModuleReference();
void ReleaseModuleReference();
bool ModuleInUse();

template <class Object>
struct InterfaceEntry {
    const IID* iid;
    IUnknown* (*cast)(Object*);
};

// One row of an object's interface table; `Via` picks the base for
// interfaces the object inherits more than once (IUnknown, IPersist).
template <class Object, class Interface, class Via = Interface>
constexpr InterfaceEntry<Object> Implements() {
    return {&__uuidof(Interface),
            [](Object* object) -> IUnknown* { return static_cast<Interface*>(static_cast<Via*>(object)); }};
}

template <class Object, std::size_t N>
HRESULT FindInterface(Object* object, const InterfaceEntry<Object> (&table)[N], REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    for (const InterfaceEntry<Object>& entry : table) {
        if (!IsEqualIID(iid, *entry.iid)) continue;
        IUnknown* found = entry.cast(object);
        found->AddRef();
        *out = found;
        return S_OK;
    }
    return E_NOINTERFACE;
}

// Implements AddRef and Release for every interface it derives from; the
// object answers QueryInterface from its own table.
template <class... Interfaces>
class ComObject : public Interfaces... {
public:
    ComObject() { AddModuleReference(); }
    virtual ~ComObject() { ReleaseModuleReference(); }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_references)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = ::InterlockedDecrement(&m_references);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

private:
    LONG m_references = 1;
};

// Makes an object and hands out the interface asked for; the caller's
// reference is the only one left.
template <class Object, class... Arguments>
HRESULT CreateObject(REFIID iid, void** out, Arguments&&... arguments) {
    if (!out) return E_POINTER;
    *out = nullptr;
    Object* object = new (std::nothrow) Object(std::forward<Arguments>(arguments)...);
    if (!object) return E_OUTOFMEMORY;
    const HRESULT status = object->QueryInterface(iid, out);
    object->Release();
    return status;
}

// Runs a method's body so that no exception crosses the COM boundary.
template <class Body>
HRESULT Guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

}  // namespace shellext
