#pragma once
// The per-user settings: one value per entry in the key
// HKEY_CURRENT_USER\Software\<company>\<application>\<section>. Every call opens its section key afresh and
// closes it before returning; nothing is cached.

#include "settings/SettingsCatalogue.h"

#include <string>

namespace settings {

class SettingsStore {
public:
    // The one store of the process.
    static SettingsStore& Instance();

    // Names the company key; the application name is the program file's name.
    void SetRegistryKey(const std::string& company);
    // A companion program shares the settings of the program it belongs to.
    void SetApplicationName(const std::string& application) { m_application = application; }
    const std::string& CompanyKey() const { return m_company; }
    const std::string& ApplicationName() const { return m_application; }

    // The stored number, or `whenAbsent` when it can't be read. The type is
    // not checked; data longer than 4 bytes reads as absent, and data of 1 to
    // 3 bytes reads as those bytes, little-endian, with the rest zero.
    int ReadInt(const char* section, const char* entry, int whenAbsent) const;
    // The stored text up to its first zero byte, or `whenAbsent` (none: empty).
    std::string ReadString(const char* section, const char* entry, const char* whenAbsent = nullptr) const;
    bool WriteInt(const char* section, const char* entry, int value) const;
    bool WriteString(const char* section, const char* entry, const std::string& text) const;

    int Read(const NumberSetting& setting) const { return ReadInt(setting.section, setting.entry, setting.whenAbsent); }
    std::string Read(const TextSetting& setting) const { return ReadString(setting.section, setting.entry); }
    bool Write(const NumberSetting& setting, int value) const {
        return WriteInt(setting.section, setting.entry, value);
    }
    bool Write(const TextSetting& setting, const std::string& text) const {
        return WriteString(setting.section, setting.entry, text);
    }

private:
    SettingsStore();

    std::string m_company;
    std::string m_application;
};

}  // namespace settings
