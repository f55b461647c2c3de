#pragma once
// A minimal owning COM interface pointer.

#include <objbase.h>

#include <utility>

namespace fw {

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }

    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : m_ptr(std::exchange(other.m_ptr, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            m_ptr = std::exchange(other.m_ptr, nullptr);
        }
        return *this;
    }

    T* get() const { return m_ptr; }
    T* operator->() const { return m_ptr; }
    explicit operator bool() const { return m_ptr != nullptr; }

    // For calls that return an interface through void**.
    void** put_void() {
        reset();
        return reinterpret_cast<void**>(&m_ptr);
    }
    T** put() {
        reset();
        return &m_ptr;
    }

    void reset() {
        if (T* old = std::exchange(m_ptr, nullptr)) old->Release();
    }

    template <class U>
    HRESULT QueryInterface(REFIID iid, ComPtr<U>& out) const {
        return m_ptr->QueryInterface(iid, out.put_void());
    }

private:
    T* m_ptr = nullptr;
};

}  // namespace fw
