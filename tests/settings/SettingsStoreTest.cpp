// The settings store against the real registry. This test program's own file
// name is the application name, so its settings live under
// HKCU\Software\Quillmoor\settings_tests.

#include "settings/SettingsStore.h"
#include "tests/support/WineTest.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <optional>

using namespace testing_support;
using settings::SettingsStore;

namespace {

const std::string kCompanyPath = "Software\\Quillmoor";
const std::string kAppPath = kCompanyPath + "\\settings_tests";

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteKeyTree(HKEY_CURRENT_USER, kAppPath);
        store.SetRegistryKey(settings::kCompanyKey);
    }
    void TearDown() override { DeleteKeyTree(HKEY_CURRENT_USER, kAppPath); }

    SettingsStore& store = SettingsStore::Instance();
};

TEST_F(SettingsStoreTest, ApplicationNameIsTheProgramFileName) {
    const std::string rootCasterConfig = kCompanyPath + "\\RootCaster\\Config";
    const std::optional<DWORD> before = ReadDword(HKEY_CURRENT_USER, rootCasterConfig, "AddOpen");
    SetDword(HKEY_CURRENT_USER, rootCasterConfig, "AddOpen", 0x5EA1);
    EXPECT_EQ(store.ApplicationName(), "settings_tests");
    store.Write(settings::kAddOpen, 7);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kAppPath + "\\Config", "AddOpen"), 7u);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, rootCasterConfig, "AddOpen"), 0x5EA1u) << "RootCaster's own value";
    if (before) {
        SetDword(HKEY_CURRENT_USER, rootCasterConfig, "AddOpen", *before);
    } else {
        ::SHDeleteValueA(HKEY_CURRENT_USER, rootCasterConfig.c_str(), "AddOpen");
    }
}

TEST_F(SettingsStoreTest, EmptyRegistryGivesTheCatalogueDefaultsAndLeavesTheKeys) {
    ASSERT_FALSE(KeyExists(HKEY_CURRENT_USER, kAppPath));
    EXPECT_EQ(store.Read(settings::kAddToRootCaster), 1);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kAppPath + "\\Config"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kAppPath + "\\Stats"));
    EXPECT_EQ(store.Read(settings::kAddOpen), 1);
    EXPECT_EQ(store.Read(settings::kAddDOSPrompt), 0);
    EXPECT_EQ(store.Read(settings::kOpenIcon), "");
    EXPECT_EQ(store.Read(settings::kDOSIcon), "");
    EXPECT_EQ(store.Read(settings::kHelpFile), "");
    EXPECT_EQ(store.Read(settings::kTimes), 0);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kAppPath + "\\Stats"));
    EXPECT_EQ(store.ReadString("Config", "OpenIcon", "fallback"), "fallback");
}

TEST_F(SettingsStoreTest, NumbersRoundTripAsDwords) {
    EXPECT_TRUE(store.WriteInt("Stats", "Times", -1));
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kAppPath + "\\Stats", "Times"), 0xFFFFFFFFu);
    EXPECT_EQ(store.ReadInt("Stats", "Times", 0), -1);
}

TEST_F(SettingsStoreTest, NumberTypeIsNotCheckedButLengthIs) {
    const std::string config = kAppPath + "\\Config";
    SetRaw(HKEY_CURRENT_USER, config, "Four", REG_BINARY, {0x78, 0x56, 0x34, 0x12});
    EXPECT_EQ(store.ReadInt("Config", "Four", 5), 0x12345678);
    SetRaw(HKEY_CURRENT_USER, config, "Five", REG_BINARY, {1, 2, 3, 4, 5});
    EXPECT_EQ(store.ReadInt("Config", "Five", 5), 5) << "longer than 4 bytes reads as absent";
    // Shorter data reads as its bytes, little-endian, the rest zero.
    SetRaw(HKEY_CURRENT_USER, config, "Two", REG_BINARY, {0x34, 0x12});
    EXPECT_EQ(store.ReadInt("Config", "Two", 5), 0x1234);
    SetRaw(HKEY_CURRENT_USER, config, "Empty", REG_BINARY, {});
    EXPECT_EQ(store.ReadInt("Config", "Empty", 5), 0);
}

TEST_F(SettingsStoreTest, TextIsStoredWithItsZeroByteCounted) {
    EXPECT_TRUE(store.WriteString("Config", "OpenIcon", "abc"));
    const auto raw = ReadRaw(HKEY_CURRENT_USER, kAppPath + "\\Config", "OpenIcon");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw->data, (std::vector<BYTE>{'a', 'b', 'c', 0}));
    EXPECT_EQ(store.Read(settings::kOpenIcon), "abc");
}

TEST_F(SettingsStoreTest, TextIsReadUpToItsFirstZeroWithoutLengthLimit) {
    const std::string config = kAppPath + "\\Config";
    SetRaw(HKEY_CURRENT_USER, config, "DOSIcon", REG_SZ, {'a', 'b', 0, 'c', 0});
    EXPECT_EQ(store.Read(settings::kDOSIcon), "ab");
    SetRaw(HKEY_CURRENT_USER, config, "DOSIcon", REG_BINARY, {'x', 'y'});
    EXPECT_EQ(store.Read(settings::kDOSIcon), "xy") << "data without a zero byte";
    const std::string longText(5000, 'L');
    store.Write(settings::kHelpFile, longText);
    EXPECT_EQ(store.Read(settings::kHelpFile), longText);
}

}  // namespace
