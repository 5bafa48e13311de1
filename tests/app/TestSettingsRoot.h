#pragma once
// A settings key of the test's own under HKCU "Software\Corvane\QuilloTests",
// made with the program's keys before each test and removed after it, so no
// test ever touches a user's real settings.

#include "SettingsRegistry.h"
#include "SettingsRoot.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

class TestSettingsRoot : public ::testing::Test {
protected:
    static constexpr const char* TestsRoot = "Software\\Corvane\\QuilloTests";

    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        base_ = std::string(TestsRoot) + "\\" + info->test_suite_name() + "." + info->name() + "." +
                std::to_string(GetCurrentProcessId()) + "\\1";
        RegDeleteTreeA(HKEY_CURRENT_USER, Parent().c_str());
        SetSettingsRoot(base_);
        ASSERT_TRUE(CreateSettingsKeys());
    }

    void TearDown() override
    {
        SetSettingsErrorReporter(nullptr);
        SetSettingsRoot(DefaultSettingsRoot);
        SettingsRegistry().CloseKey();
        RegDeleteTreeA(HKEY_CURRENT_USER, Parent().c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, TestsRoot); // only goes once it is empty
    }

    std::string Parent() const { return base_.substr(0, base_.rfind('\\')); }

    static bool RawKeyExists(const std::string& path)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    std::string base_;
};
