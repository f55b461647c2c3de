#pragma once
// One owner for every kind of Win32 handle: the traits name the handle type,
// its "empty" value and how it is closed. Each kind is one line below.

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <utility>

namespace fw {

template <class Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() = default;
    explicit UniqueHandle(Type handle) : m_handle(handle) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    Type get() const { return m_handle; }
    explicit operator bool() const { return m_handle != Traits::Empty(); }

    // Releases what is held and hands out the address for an out-parameter.
    Type* put() {
        reset();
        return &m_handle;
    }

    Type release() { return std::exchange(m_handle, Traits::Empty()); }

    void reset(Type handle = Traits::Empty()) {
        Type old = std::exchange(m_handle, handle);
        if (old != Traits::Empty()) Traits::Close(old);
    }

private:
    Type m_handle = Traits::Empty();
};

template <class T, T EmptyValue, auto CloseFunction>
struct HandleTraits {
    using Type = T;
    static Type Empty() { return EmptyValue; }
    static void Close(Type handle) { CloseFunction(handle); }
};

struct InvalidHandleTraits {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
};
struct FindTraits : InvalidHandleTraits {
    static void Close(Type handle) { ::FindClose(handle); }
};
struct FileTraits : InvalidHandleTraits {
    static void Close(Type handle) { ::CloseHandle(handle); }
};

using UniqueKey = UniqueHandle<HandleTraits<HKEY, nullptr, ::RegCloseKey>>;
using UniqueFind = UniqueHandle<FindTraits>;
using UniqueFile = UniqueHandle<FileTraits>;
using UniqueProcess = UniqueHandle<HandleTraits<HANDLE, nullptr, ::CloseHandle>>;
using UniqueEvent = UniqueProcess;
using UniqueThread = UniqueProcess;
using UniqueMutex = UniqueProcess;
using UniqueModule = UniqueHandle<HandleTraits<HMODULE, nullptr, ::FreeLibrary>>;
using UniqueIcon = UniqueHandle<HandleTraits<HICON, nullptr, ::DestroyIcon>>;
using UniqueBitmap = UniqueHandle<HandleTraits<HBITMAP, nullptr, ::DeleteObject>>;
using UniqueDC = UniqueHandle<HandleTraits<HDC, nullptr, ::DeleteDC>>;
using UniqueItemList = UniqueHandle<HandleTraits<LPITEMIDLIST, nullptr, ::CoTaskMemFree>>;
using UniqueMenu = UniqueHandle<HandleTraits<HMENU, nullptr, ::DestroyMenu>>;
using UniqueFont = UniqueHandle<HandleTraits<HFONT, nullptr, ::DeleteObject>>;
using UniqueBrush = UniqueHandle<HandleTraits<HBRUSH, nullptr, ::DeleteObject>>;
using UniqueHook = UniqueHandle<HandleTraits<HHOOK, nullptr, ::UnhookWindowsHookEx>>;

}  // namespace fw
