// The export profile list: its "Default" profile, a fresh profile's settings,
// and finding, adding and removing profiles.
#include "ExportProfiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace {
using SettingValue = std::variant<std::int32_t, bool, std::string>;

struct DefaultCase {
    const char* field;
    std::function<SettingValue(const ExportSettings&)> read;
    SettingValue expected;
};

const std::vector<DefaultCase>& DefaultCases()
{
    static const std::vector<DefaultCase> cases = {
        {"ExportItems", [](const ExportSettings& s) -> SettingValue { return s.ExportItems; }, std::int32_t{2}},
        {"ExportSource", [](const ExportSettings& s) -> SettingValue { return s.ExportSource; }, std::int32_t{0}},
        {"ExportProperties", [](const ExportSettings& s) -> SettingValue { return s.ExportProperties; }, false},
        {"ExportIndentation", [](const ExportSettings& s) -> SettingValue { return s.ExportIndentation; },
            std::int32_t{2}},
        {"SpaceNumber", [](const ExportSettings& s) -> SettingValue { return s.SpaceNumber; }, std::int32_t{2}},
        {"TabNumber", [](const ExportSettings& s) -> SettingValue { return s.TabNumber; }, std::int32_t{1}},
        {"ExportNumbering", [](const ExportSettings& s) -> SettingValue { return s.ExportNumbering; },
            std::int32_t{0}},
        {"LineAfterTitle", [](const ExportSettings& s) -> SettingValue { return s.LineAfterTitle; }, true},
        {"BreakAfterTitle", [](const ExportSettings& s) -> SettingValue { return s.BreakAfterTitle; }, false},
        {"LineAfterText", [](const ExportSettings& s) -> SettingValue { return s.LineAfterText; }, true},
        {"BreakAfterText", [](const ExportSettings& s) -> SettingValue { return s.BreakAfterText; }, false},
        {"ExportComments", [](const ExportSettings& s) -> SettingValue { return s.ExportComments; }, std::int32_t{0}},
        {"OpenComment", [](const ExportSettings& s) -> SettingValue { return s.OpenComment; }, std::string()},
        {"CloseComment", [](const ExportSettings& s) -> SettingValue { return s.CloseComment; }, std::string()},
        {"SimulateStates", [](const ExportSettings& s) -> SettingValue { return s.SimulateStates; }, false},
    };
    return cases;
}

TEST(ExportProfileSettings, FifteenSettingsWithTheirDefaults)
{
    ASSERT_EQ(DefaultCases().size(), 15u);
    const ExportSettings fresh;
    for (const DefaultCase& test : DefaultCases()) {
        SCOPED_TRACE(test.field);
        EXPECT_EQ(test.read(fresh), test.expected);
    }
}

TEST(ExportProfileSettings, DefaultAndAddedProfilesStartWithTheDefaults)
{
    ExportProfileList list;
    const ExportProfile* added = list.Add("Printer");
    for (const ExportProfile* profile : std::vector<const ExportProfile*>{list.Default(), added}) {
        SCOPED_TRACE(profile->Name);
        for (const DefaultCase& test : DefaultCases()) {
            SCOPED_TRACE(test.field);
            EXPECT_EQ(test.read(profile->Settings), test.expected);
        }
    }
}

TEST(ExportProfileList, StartsWithDefaultAsTheCurrentProfile)
{
    const ExportProfileList list;
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Items(0)->Name, "Default");
    EXPECT_EQ(list.Default(), list.Items(0));
    EXPECT_EQ(list.Current(), list.Items(0));
    EXPECT_EQ(list.Items(1), nullptr);
    EXPECT_EQ(list.Items(-1), nullptr);
    EXPECT_EQ(list.OutputFile, "");
    EXPECT_EQ(list.NumberText, "");
}

TEST(ExportProfileList, FindIgnoresCase)
{
    ExportProfileList list;
    ExportProfile* web = list.Add("Web Page");
    ExportProfile* accented = list.Add("\xC9t\xE9"); // "Été" in code page 1252
    struct Case {
        const char* name;
        ExportProfile* expected;
    };
    const Case cases[] = {
        {"DEFAULT", list.Default()},
        {"Default", list.Default()},
        {"default", list.Default()},
        {"web page", web},
        {"WEB PAGE", web},
        {"\xE9T\xC9", accented},
        {"Defaults", nullptr},
        {"Web", nullptr},
        {"", nullptr},
        {"Nothing like it", nullptr},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(FindExportProfile(list, test.name), test.expected);
    }
}

TEST(ExportProfileList, FindGivesTheFirstOfEqualNames)
{
    ExportProfileList list;
    ExportProfile* first = list.Add("Notes");
    list.Add("NOTES");
    EXPECT_EQ(FindExportProfile(list, "notes"), first);
}

TEST(ExportProfileList, RemoveTakesOutAProfileOfTheList)
{
    ExportProfileList list;
    ExportProfile* a = list.Add("A");
    ExportProfile* b = list.Add("B");
    EXPECT_TRUE(RemoveExportProfile(list, a));
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(1), b);
    EXPECT_EQ(FindExportProfile(list, "A"), nullptr);
    EXPECT_EQ(list.Current(), list.Default());
}

TEST(ExportProfileList, RemoveLeavesAnythingElseAlone)
{
    ExportProfileList list;
    ExportProfileList other;
    ExportProfile* foreign = other.Add("A");
    list.Add("A");
    EXPECT_FALSE(RemoveExportProfile(list, foreign));
    EXPECT_FALSE(RemoveExportProfile(list, nullptr));
    // The list always holds "Default".
    EXPECT_FALSE(RemoveExportProfile(list, list.Default()));
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(other.Count(), 2);
    EXPECT_EQ(list.Items(0)->Name, "Default");
}

TEST(ExportProfileList, RemovingTheCurrentProfileMakesDefaultCurrent)
{
    ExportProfileList list;
    ExportProfile* web = list.Add("Web");
    list.SetCurrent(web);
    ASSERT_EQ(list.Current(), web);
    web->Settings.ExportSource = 1;
    EXPECT_TRUE(RemoveExportProfile(list, web));
    EXPECT_EQ(list.Current(), list.Default());
    EXPECT_EQ(list.Current()->Name, "Default");
}

TEST(ExportProfileList, CurrentIsNeverAProfileOutsideTheList)
{
    ExportProfileList list;
    ExportProfileList other;
    ExportProfile* mine = list.Add("Mine");
    list.SetCurrent(mine);
    list.SetCurrent(FindExportProfile(list, "no such profile"));
    EXPECT_EQ(list.Current(), list.Default());
    list.SetCurrent(mine);
    list.SetCurrent(other.Default());
    EXPECT_EQ(list.Current(), list.Default());
}

TEST(ExportProfileList, ProfilesKeepTheirOwnSettings)
{
    ExportProfileList list;
    ExportProfile* plain = list.Add("Plain");
    plain->Settings.ExportIndentation = 0;
    plain->Settings.OpenComment = "<!-- ";
    plain->Name = "Plain text";
    EXPECT_EQ(list.Default()->Settings.ExportIndentation, 2);
    EXPECT_EQ(list.Default()->Settings.OpenComment, "");
    EXPECT_EQ(FindExportProfile(list, "PLAIN TEXT"), plain);
    EXPECT_EQ(FindExportProfile(list, "Plain"), nullptr);
}
} // namespace
