// The raw registry helpers against the real registry, below a scratch key.

#include "framework/UniqueHandle.h"
#include "settings/RegistryHelpers.h"
#include "tests/support/WineTest.h"

#include <gtest/gtest.h>

using namespace testing_support;
using namespace settings;

namespace {

const std::string kScratch = "Software\\RootCasterTests";

class RegistryHelpersTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteKeyTree(HKEY_CURRENT_USER, kScratch); }
    void TearDown() override { DeleteKeyTree(HKEY_CURRENT_USER, kScratch); }
};

TEST_F(RegistryHelpersTest, ReadTakesUpTo511CharactersAndItsZero) {
    SetText(HKEY_CURRENT_USER, kScratch, "Fits", std::string(511, 'a'));
    SetText(HKEY_CURRENT_USER, kScratch, "TooLong", std::string(512, 'b'));
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, kScratch.c_str(), "Fits"), std::string(511, 'a'));
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, kScratch.c_str(), "TooLong"), "");
}

TEST_F(RegistryHelpersTest, ReadGivesDefaultValueOrEmptyText) {
    SetText(HKEY_CURRENT_USER, kScratch + "\\WithDefault", nullptr, "the default");
    SetText(HKEY_CURRENT_USER, kScratch + "\\NoDefault", "Named", "x");
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, (kScratch + "\\WithDefault").c_str()), "the default");
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, (kScratch + "\\NoDefault").c_str()), "");
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, (kScratch + "\\Missing").c_str(), "Named"), "");
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, (kScratch + "\\NoDefault").c_str(), "Missing"), "");
}

TEST_F(RegistryHelpersTest, ReadReturnsExpandableTextUnexpanded) {
    const std::string text = "%SystemRoot%\\x";
    SetRaw(HKEY_CURRENT_USER, kScratch, "Expand", REG_EXPAND_SZ,
           std::vector<BYTE>(text.c_str(), text.c_str() + text.size() + 1));
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, kScratch.c_str(), "Expand"), text);
}

TEST_F(RegistryHelpersTest, WriteCreatesThePathAndStoresZeroTerminatedText) {
    const std::string path = kScratch + "\\A\\B";
    WriteRegistryString(HKEY_CURRENT_USER, path.c_str(), nullptr, "value");
    const auto raw = ReadRaw(HKEY_CURRENT_USER, path, nullptr);
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw->data, (std::vector<BYTE>{'v', 'a', 'l', 'u', 'e', 0}));
    WriteRegistryString(HKEY_CURRENT_USER, path.c_str(), "Named", "other");
    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, path, "Named"), "other");
}

TEST_F(RegistryHelpersTest, WriteWithoutTextDeletesTheValueAndLeavesTheKey) {
    const std::string path = kScratch + "\\C";
    WriteRegistryString(HKEY_CURRENT_USER, path.c_str(), nullptr, "value");
    WriteRegistryString(HKEY_CURRENT_USER, path.c_str(), nullptr, nullptr);
    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, path, nullptr), std::nullopt);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, path));

    const std::string missing = kScratch + "\\D\\E";
    WriteRegistryString(HKEY_CURRENT_USER, missing.c_str(), nullptr, nullptr);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, missing)) << "an empty key is left behind";
}

TEST_F(RegistryHelpersTest, DeleteTreeRefusesAnEmptyPath) {
    SetText(HKEY_CURRENT_USER, kScratch + "\\Keep", nullptr, "x");
    fw::UniqueKey scratch;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, kScratch.c_str(), 0, KEY_ALL_ACCESS, scratch.put()), ERROR_SUCCESS);
    EXPECT_EQ(DeleteRegistryTree(scratch.get(), ""), 1010);
    EXPECT_EQ(DeleteRegistryTree(scratch.get(), nullptr), 1010);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kScratch + "\\Keep"));
}

TEST_F(RegistryHelpersTest, DeleteTreeOfAMissingPathGivesTheOpenError) {
    EXPECT_EQ(DeleteRegistryTree(HKEY_CURRENT_USER, (kScratch + "\\Missing").c_str()), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryHelpersTest, DeleteTreeRemovesThreeLevelsAndKeepsTheParent) {
    for (const char* leaf : {"\\Top\\One\\Two\\Three", "\\Top\\One\\Sibling", "\\Top\\Second"}) {
        SetText(HKEY_CURRENT_USER, kScratch + leaf, "v", "x");
    }
    SetText(HKEY_CURRENT_USER, kScratch + "\\Beside", nullptr, "stays");
    EXPECT_EQ(DeleteRegistryTree(HKEY_CURRENT_USER, (kScratch + "\\Top").c_str()), 0);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kScratch + "\\Top"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kScratch + "\\Beside"));
}

TEST_F(RegistryHelpersTest, WorkBelowTheClassRegistry) {
    const std::string path = "RootCasterTests\\Shell\\Verb";
    WriteRegistryString(HKEY_CLASSES_ROOT, path.c_str(), nullptr, "text");
    EXPECT_EQ(ReadRegistryString(HKEY_CLASSES_ROOT, path.c_str()), "text");
    EXPECT_EQ(DeleteRegistryTree(HKEY_CLASSES_ROOT, "RootCasterTests"), 0);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "RootCasterTests"));
}

}  // namespace
