#include "settings/SettingsStore.h"

#include "framework/Application.h"
#include "framework/UniqueHandle.h"

#include <cstdint>
#include <vector>

namespace settings {
namespace {

constexpr REGSAM kReadWrite = KEY_READ | KEY_WRITE;

bool CreateOrOpen(HKEY parent, const char* name, fw::UniqueKey& key) {
    return ::RegCreateKeyExA(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, kReadWrite, nullptr, key.put(),
                             nullptr) == ERROR_SUCCESS;
}

// Software is opened, never created; the keys below it are created when
// missing, so even a read leaves them behind.
fw::UniqueKey OpenSectionKey(const std::string& company, const std::string& application, const char* section) {
    fw::UniqueKey software, companyKey, applicationKey, sectionKey;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, kReadWrite, software.put()) != ERROR_SUCCESS ||
        !CreateOrOpen(software.get(), company.c_str(), companyKey) ||
        !CreateOrOpen(companyKey.get(), application.c_str(), applicationKey)) {
        return {};
    }
    software.reset();
    companyKey.reset();
    CreateOrOpen(applicationKey.get(), section, sectionKey);
    return sectionKey;
}

}  // namespace

SettingsStore& SettingsStore::Instance() {
    static SettingsStore store;
    return store;
}

SettingsStore::SettingsStore() : m_application(fw::ModuleBaseName()) {}

void SettingsStore::SetRegistryKey(const std::string& company) {
    m_company = company;
}

int SettingsStore::ReadInt(const char* section, const char* entry, int whenAbsent) const {
    fw::UniqueKey key = OpenSectionKey(m_company, m_application, section);
    if (!key) return whenAbsent;
    uint8_t data[4] = {};
    DWORD type = 0;
    DWORD size = sizeof(data);
    if (::RegQueryValueExA(key.get(), entry, nullptr, &type, data, &size) != ERROR_SUCCESS) return whenAbsent;
    const uint32_t value = data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<uint32_t>(data[3]) << 24);
    return static_cast<int>(value);
}

std::string SettingsStore::ReadString(const char* section, const char* entry, const char* whenAbsent) const {
    std::string fallback = whenAbsent ? whenAbsent : "";
    fw::UniqueKey key = OpenSectionKey(m_company, m_application, section);
    if (!key) return fallback;
    DWORD size = 0;
    if (::RegQueryValueExA(key.get(), entry, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return fallback;
    std::vector<char> data(size + 1, '\0');  // one more: a zero even when the data has none
    if (::RegQueryValueExA(key.get(), entry, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &size) !=
        ERROR_SUCCESS) {
        return fallback;
    }
    return std::string(data.data());
}

bool SettingsStore::WriteInt(const char* section, const char* entry, int value) const {
    fw::UniqueKey key = OpenSectionKey(m_company, m_application, section);
    const DWORD data = static_cast<DWORD>(value);
    return key && ::RegSetValueExA(key.get(), entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                                   sizeof(data)) == ERROR_SUCCESS;
}

bool SettingsStore::WriteString(const char* section, const char* entry, const std::string& text) const {
    fw::UniqueKey key = OpenSectionKey(m_company, m_application, section);
    return key && ::RegSetValueExA(key.get(), entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                   static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

}  // namespace settings
