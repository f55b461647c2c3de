#include "shellext/Registration.h"

#include "framework/PlatformText.h"
#include "framework/UniqueHandle.h"
#include "framework/WideText.h"
#include "menubuilder/MenuPath.h"
#include "shellext/ServedClasses.h"

#include <olectl.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace shellext {
namespace {

// ANSI throughout, like the setup program that runs us: an installation
// directory it can name, we can name.
constexpr char kClassName[] = "RootCaster folder menu";
constexpr char kApprovedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";

enum class Data { kClassName, kModulePath, kApartment };

struct RegistryValue {
    std::string key;   // below the root the classes are registered in
    std::string name;  // empty: the key's default value
    Data data;
    bool keyIsOurs;  // removed with its last value
};

std::vector<RegistryValue> RegistryTable() {
    std::vector<RegistryValue> table;
    for (int i = 0; i < kServedClassCount; ++i) {
        const std::string classId = ServedClassText(i);
        const std::string classKey = "Software\\Classes\\CLSID\\" + classId;
        const std::string serverKey = classKey + "\\InProcServer32";
        table.push_back({serverKey, "ThreadingModel", Data::kApartment, true});
        table.push_back({serverKey, "", Data::kModulePath, true});
        table.push_back({classKey, "", Data::kClassName, true});
        if (fw::IsNt()) table.push_back({kApprovedKey, classId, Data::kClassName, false});
    }
    return table;
}

std::string TextOf(Data data, const std::string& modulePath) {
    switch (data) {
        case Data::kClassName: return kClassName;
        case Data::kModulePath: return modulePath;
        case Data::kApartment: return "Apartment";
    }
    return std::string();
}

LONG WriteValue(HKEY root, const RegistryValue& value, const std::string& text) {
    fw::UniqueKey key;
    const LONG created =
        ::RegCreateKeyExA(root, value.key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr);
    if (created != ERROR_SUCCESS) return created;
    return ::RegSetValueExA(key.get(), value.name.empty() ? nullptr : value.name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(text.size() + 1));
}

bool KeyIsEmpty(HKEY key) {
    DWORD subkeys = 0;
    DWORD values = 0;
    return ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                              nullptr, nullptr) == ERROR_SUCCESS &&
           subkeys == 0 && values == 0;
}

// Windows 95 deletes a key with everything below it, so only an empty key
// is deleted: whatever else it holds is not ours.
void RemoveValue(HKEY root, const RegistryValue& value) {
    fw::UniqueKey key;
    if (::RegOpenKeyExA(root, value.key.c_str(), 0, KEY_SET_VALUE | KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
        return;
    }
    ::RegDeleteValueA(key.get(), value.name.empty() ? nullptr : value.name.c_str());
    const bool empty = KeyIsEmpty(key.get());
    key.reset();
    if (value.keyIsOurs && empty) ::RegDeleteKeyA(root, value.key.c_str());
}

}  // namespace

HRESULT RegisterServer(HINSTANCE module, HKEY root) {
    const std::string modulePath = fw::ModuleFilePath(module);
    if (modulePath.empty()) return SELFREG_E_CLASS;
    const std::vector<RegistryValue> table = RegistryTable();
    for (auto value = table.rbegin(); value != table.rend(); ++value) {
        const LONG written = WriteValue(root, *value, TextOf(value->data, modulePath));
        if (written != ERROR_SUCCESS) return HRESULT_FROM_WIN32(written);
    }
    return S_OK;
}

HRESULT UnregisterServer(HKEY root) {
    for (const RegistryValue& value : RegistryTable()) RemoveValue(root, value);
    return S_OK;
}

std::optional<HKEY> InstallRoot(const wchar_t* commandLine) {
    if (!commandLine || !*commandLine) return HKEY_LOCAL_MACHINE;
    // Not lstrcmpiW, which Windows 95 lacks.
    if (menubuilder::EqualsAsciiIgnoringCase(std::wstring_view(commandLine), "user")) return HKEY_CURRENT_USER;
    return std::nullopt;
}

}  // namespace shellext
