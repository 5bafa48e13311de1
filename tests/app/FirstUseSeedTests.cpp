// The start command marks the first-use help as seen in a new Wine prefix by
// importing first-use-seen.reg (copied beside the test programs). The store
// it makes must be one that Quillo's load keeps, help off, and its values
// must stay Quillo's own defaults.
#include "ProgramFolder.h"
#include "SettingsLoad.h"
#include "SettingsRecords.h"
#include "TestSettingsRoot.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

const char* const SeededRoot = "HKEY_CURRENT_USER\\Software\\Corvane\\Quillo\\1";
const char* const ProgramFolder = "C:\\Quillo\\";

std::string Unescaped(const std::string& text)
{
    std::string plain;
    for (size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\\' && at + 1 < text.size())
            ++at;
        plain += text[at];
    }
    const std::string placeholder = "@PROGRAM_FOLDER@";
    if (const size_t found = plain.find(placeholder); found != std::string::npos)
        plain.replace(found, placeholder.size(), ProgramFolder);
    return plain;
}

// Writes the seed's keys and values under root instead of Quillo's own key.
void ImportSeed(const std::string& root)
{
    std::ifstream seed(ExeFolder() + "first-use-seen.reg");
    ASSERT_TRUE(seed) << "first-use-seen.reg is not beside the test program";
    std::string key;
    for (std::string line; std::getline(seed, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.starts_with("[")) {
            const std::string path = line.substr(1, line.size() - 2);
            ASSERT_TRUE(path.starts_with(SeededRoot)) << path;
            key = root + path.substr(std::string(SeededRoot).size());
            HKEY created = nullptr;
            ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &created,
                                      nullptr),
                      ERROR_SUCCESS);
            RegCloseKey(created);
            continue;
        }
        const size_t equals = line.find("\"=");
        if (!line.starts_with("\"") || equals == std::string::npos)
            continue;
        const std::string name = line.substr(1, equals - 1);
        const std::string value = line.substr(equals + 2);
        if (value.starts_with("dword:")) {
            const DWORD number = std::stoul(value.substr(6), nullptr, 16);
            ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), name.c_str(), REG_DWORD, &number, sizeof number),
                      ERROR_SUCCESS);
        } else {
            const std::string text = Unescaped(value.substr(1, value.size() - 2));
            ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), name.c_str(), REG_SZ, text.c_str(),
                                      static_cast<DWORD>(text.size() + 1)),
                      ERROR_SUCCESS);
        }
    }
}

class FirstUseSeed : public TestSettingsRoot {
protected:
    void SetUp() override
    {
        options_ = OptionSettings;
        user_ = UserSettings;
        TestSettingsRoot::SetUp();
    }
    void TearDown() override
    {
        OptionSettings = options_;
        UserSettings = user_;
        TestSettingsRoot::TearDown();
    }

private:
    TOptionSettings options_;
    TUserSettings user_;
};

} // namespace

TEST_F(FirstUseSeed, TheStartCommandsSeedIsQuillosDefaultsWithTheHelpSeen)
{
    ImportSeed(base_);
    SetDefaultOptions(OptionSettings, ProgramFolder);
    SetDefaultUserSettings(UserSettings, ProgramFolder);
    LoadSettings(ProgramFolder, ViewMenuChecks{});

    TOptionSettings options;
    SetDefaultOptions(options, ProgramFolder);
    options.FirstUse = false;
    EXPECT_EQ(OptionSettings, options);
    TUserSettings user;
    SetDefaultUserSettings(user, ProgramFolder);
    EXPECT_EQ(UserSettings, user);
}
