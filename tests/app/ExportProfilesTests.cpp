// The export profiles' registry key: created where the settings live, holding
// no values, and never moved elsewhere when keys above it are missing.
#include "ExportProfiles.h"
#include "ExportProfilesRegistry.h"
#include "SettingsRoot.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {
const char* const TestsRoot = "Software\\Corvane\\QuilloTests";

class ExportProfileKey : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        parent_ = std::string(TestsRoot) + "\\" + info->name() + "." + std::to_string(GetCurrentProcessId());
        RegDeleteTreeA(HKEY_CURRENT_USER, parent_.c_str());
        SetSettingsRoot(parent_ + "\\1");
    }
    void TearDown() override
    {
        SetSettingsRoot(DefaultSettingsRoot);
        RegDeleteTreeA(HKEY_CURRENT_USER, parent_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, TestsRoot); // only goes once it is empty
    }

    // Subkeys and values of a key, or -1 each when it does not exist.
    static std::pair<long, long> Contents(const std::string& path)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return {-1, -1};
        DWORD subKeys = 0;
        DWORD values = 0;
        RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr, nullptr,
            nullptr, nullptr);
        RegCloseKey(key);
        return {static_cast<long>(subKeys), static_cast<long>(values)};
    }

    std::string parent_;
};

TEST_F(ExportProfileKey, IsCreatedBelowTheSettingsAndHoldsNoValues)
{
    HKEY root = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (parent_ + "\\1").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                  &root, nullptr),
        ERROR_SUCCESS);
    RegCloseKey(root);
    EXPECT_TRUE(CreateExportProfilesKey());
    EXPECT_EQ(Contents(parent_ + "\\1\\ExportProfiles"), std::make_pair(0L, 0L));
    EXPECT_EQ(Contents(parent_ + "\\1"), std::make_pair(1L, 0L));
    // Again, with the key there: nothing changes.
    ExportProfileList list;
    EXPECT_TRUE(CreateExportProfilesKey());
    EXPECT_EQ(Contents(parent_ + "\\1\\ExportProfiles"), std::make_pair(0L, 0L));
    EXPECT_EQ(list.Count(), 1);
}

TEST_F(ExportProfileKey, AMissingSettingsKeyIsCreatedOnTheWayNotSkipped)
{
    EXPECT_TRUE(CreateExportProfilesKey());
    EXPECT_EQ(Contents(parent_ + "\\1\\ExportProfiles"), std::make_pair(0L, 0L));
    // Nothing landed in the parent of the missing key.
    EXPECT_EQ(Contents(parent_), std::make_pair(1L, 0L));
    EXPECT_EQ(Contents(parent_ + "\\ExportProfiles"), std::make_pair(-1L, -1L));
}
} // namespace
