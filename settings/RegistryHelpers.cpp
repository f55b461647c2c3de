#include "settings/RegistryHelpers.h"

#include "framework/UniqueHandle.h"

namespace settings {
namespace {
constexpr DWORD kValueBufferBytes = 512;
constexpr DWORD kSubkeyNameChars = 512;
}  // namespace

std::string ReadRegistryString(HKEY root, const char* keyPath, const char* valueName) {
    fw::UniqueKey key;
    if (::RegOpenKeyExA(root, keyPath, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return std::string();
    char buffer[kValueBufferBytes + 1] = {};  // the extra byte ends a value that fills all 512
    DWORD size = kValueBufferBytes;
    if (::RegQueryValueExA(key.get(), valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) !=
        ERROR_SUCCESS) {
        return std::string();
    }
    return std::string(buffer);
}

void WriteRegistryString(HKEY root, const char* keyPath, const char* valueName, const char* text) {
    fw::UniqueKey key;
    if (::RegCreateKeyExA(root, keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, key.put(),
                          nullptr) != ERROR_SUCCESS) {
        return;
    }
    if (text) {
        ::RegSetValueExA(key.get(), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                         static_cast<DWORD>(::lstrlenA(text) + 1));
    } else {
        ::RegDeleteValueA(key.get(), valueName);
    }
}

LONG DeleteRegistryTree(HKEY parent, const char* keyPath) {
    if (!keyPath || !*keyPath) return kNoKeyPath;
    fw::UniqueKey key;
    const LONG opened = ::RegOpenKeyExA(parent, keyPath, 0, DELETE | KEY_ENUMERATE_SUB_KEYS, key.put());
    if (opened != ERROR_SUCCESS) return opened;
    for (;;) {
        // Index 0 every time: the child just deleted no longer counts.
        char child[kSubkeyNameChars];
        DWORD length = kSubkeyNameChars;
        const LONG status = ::RegEnumKeyExA(key.get(), 0, child, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) return ::RegDeleteKeyA(parent, keyPath);
        if (status != ERROR_SUCCESS) return status;
        const LONG deleted = DeleteRegistryTree(key.get(), child);
        if (deleted != ERROR_SUCCESS) return deleted;
    }
}

}  // namespace settings
