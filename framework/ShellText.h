#pragma once
// The text a shell folder returns in a STRRET, in any of its three forms.

#include "framework/WideText.h"

#include <shlobj.h>

#include <string>

namespace fw {

// Frees what the STRRET owned; `item` is the item list it was asked for, where
// an offset form points.
inline std::wstring TakeText(STRRET& name, LPCITEMIDLIST item) {
    switch (name.uType) {
        case STRRET_WSTR: {
            std::wstring text = name.pOleStr ? name.pOleStr : L"";
            ::CoTaskMemFree(name.pOleStr);
            name.pOleStr = nullptr;
            return text;
        }
        case STRRET_CSTR: return Widen(name.cStr);
        case STRRET_OFFSET: return Widen(reinterpret_cast<const char*>(item) + name.uOffset);
        default: return std::wstring();
    }
}

}  // namespace fw
