// The settings store against the real registry. Every test points the
// settings root at a key of its own below HKCU "Software\Corvane\QuilloTests"
// and removes it afterwards; set-up and checks use the raw API where they
// must not lean on the code under test.

#include "Exceptions.h"
#include "Registry.h"
#include "SettingsRegistry.h"
#include "SettingsRoot.h"

#include "TestSettingsRoot.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <type_traits>
#include <vector>

namespace {

const std::string Folder = "C:\\Quillo\\";

DWORD RegTypeOf(SettingKind kind) { return kind == SettingKind::String ? REG_SZ : REG_DWORD; }

// The names and types a table says its group writes.
template <class Record>
std::map<std::string, DWORD> Expected(const SettingValues<Record>& values)
{
    std::map<std::string, DWORD> types;
    for (const auto& value : values)
        types[value.name] = RegTypeOf(value.Kind());
    return types;
}

// Field by field through the table, so a new field cannot be forgotten here.
template <class Record>
void ExpectSameValues(const SettingValues<Record>& values, const Record& actual, const Record& expected,
                      std::size_t from = 0, std::size_t to = SIZE_MAX)
{
    for (std::size_t i = from; i < values.size() && i < to; ++i) {
        const auto& value = values[i];
        SCOPED_TRACE(value.name);
        switch (value.Kind()) {
        case SettingKind::Bool: {
            const auto member = std::get<bool Record::*>(value.member);
            EXPECT_EQ(actual.*member, expected.*member);
            break;
        }
        case SettingKind::Int: {
            const auto member = std::get<int Record::*>(value.member);
            EXPECT_EQ(actual.*member, expected.*member);
            break;
        }
        case SettingKind::String: {
            const auto member = std::get<std::string Record::*>(value.member);
            EXPECT_EQ(actual.*member, expected.*member);
            break;
        }
        }
    }
}

// A record in which every stored field differs from its default.
template <class Record>
Record Changed(const SettingValues<Record>& values, const Record& from)
{
    Record record = from;
    int n = 100;
    for (const auto& value : values) {
        switch (value.Kind()) {
        case SettingKind::Bool: record.*std::get<bool Record::*>(value.member) ^= true; break;
        case SettingKind::Int: record.*std::get<int Record::*>(value.member) = -(++n); break;
        case SettingKind::String:
            record.*std::get<std::string Record::*>(value.member) = std::string("v\xE4") + value.name;
            break;
        }
    }
    return record;
}

TOptionSettings DefaultOptions()
{
    TOptionSettings options;
    SetDefaultOptions(options, Folder);
    return options;
}

TUserSettings DefaultUser()
{
    TUserSettings user;
    SetDefaultUserSettings(user, Folder);
    return user;
}

class SettingsStoreTest : public TestSettingsRoot {
protected:
    std::string Path(const std::string& sub) const { return sub.empty() ? base_ : base_ + "\\" + sub; }

    // Every value of the key with its stored type; empty when the key is missing.
    std::map<std::string, DWORD> ValuesOf(const std::string& sub) const
    {
        std::map<std::string, DWORD> types;
        TRegistry registry(KEY_READ);
        if (!registry.OpenKeyReadOnly("\\" + Path(sub)))
            return types;
        for (const std::string& name : registry.GetValueNames()) {
            DWORD type = REG_NONE;
            EXPECT_EQ(RegQueryValueExA(registry.CurrentKey(), name.c_str(), nullptr, &type, nullptr, nullptr),
                      ERROR_SUCCESS);
            types[name] = type;
        }
        return types;
    }

    DWORD RawDword(const std::string& sub, const std::string& name) const
    {
        DWORD value = 0xDEAD;
        DWORD size = sizeof value;
        EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, Path(sub).c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr, &value,
                               &size),
                  ERROR_SUCCESS);
        return value;
    }

    void SetRawDword(const std::string& sub, const std::string& name, DWORD value)
    {
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, Path(sub).c_str(), name.c_str(), REG_DWORD, &value, sizeof value),
                  ERROR_SUCCESS);
    }

    void SetRawString(const std::string& sub, const std::string& name, const std::string& value)
    {
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, Path(sub).c_str(), name.c_str(), REG_SZ, value.c_str(),
                                  static_cast<DWORD>(value.size() + 1)),
                  ERROR_SUCCESS);
    }

    void DeleteRawValue(const std::string& sub, const std::string& name)
    {
        ASSERT_EQ(RegDeleteKeyValueA(HKEY_CURRENT_USER, Path(sub).c_str(), name.c_str()), ERROR_SUCCESS);
    }

    void DeleteRawKey(const std::string& sub) { ASSERT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, Path(sub).c_str()), 0); }
};

using SettingsStoreWrite = SettingsStoreTest;
using SettingsStoreRead = SettingsStoreTest;
using SettingsStoreKeys = SettingsStoreTest;
using SettingsStoreErrors = SettingsStoreTest;

struct OptionGroup {
    const char* title;
    const SettingValues<TOptionSettings>& values;
    bool (*read)(TOptionSettings&);
    void (*write)(const TOptionSettings&);
};

void WriteGeneralFromRecord(const TOptionSettings& options) { WriteGeneralOptions(options); }

std::vector<OptionGroup> OptionGroups()
{
    return {
        {"general", GeneralOptionValues(), ReadGeneralOptions, WriteGeneralFromRecord},
        {"date", DateOptionValues(), ReadDateOptions, WriteDateOptions},
        {"behaviour", BehaviourOptionValues(), ReadBehaviourOptions, WriteBehaviourOptions},
        {"folders", FolderOptionValues(), ReadFolderOptions, WriteFolderOptions},
        {"web", WebOptionValues(), ReadWebOptions, WriteWebOptions},
    };
}

} // namespace

TEST_F(SettingsStoreWrite, EachOptionGroupWritesExactlyItsValuesAndTypes)
{
    std::map<std::string, DWORD> all;
    for (const OptionGroup& group : OptionGroups()) {
        SCOPED_TRACE(group.title);
        DeleteRawKey("Options");
        ASSERT_TRUE(CreateSettingsKeys());
        group.write(DefaultOptions());
        EXPECT_EQ(ValuesOf("Options"), Expected(group.values));
        const auto expected = Expected(group.values);
        all.insert(expected.begin(), expected.end());
    }
    for (const OptionGroup& group : OptionGroups())
        group.write(DefaultOptions());
    EXPECT_EQ(all.size(), 40u);
    EXPECT_EQ(ValuesOf("Options"), all);
    EXPECT_EQ(ValuesOf("Options").at("ExternalFolder"), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(RawDword("Options", "SortType"), static_cast<DWORD>(-1));
}

TEST_F(SettingsStoreWrite, UserWritesItsTwelveValuesAndShowWelcome)
{
    TUserSettings user = DefaultUser();
    user.Toolbar = false;
    WriteUserSettings(user);
    const auto values = ValuesOf("User");
    EXPECT_EQ(values, Expected(UserSettingValues()));
    EXPECT_EQ(values.size(), 13u);
    EXPECT_EQ(values.at("ShowWelcome"), static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(RawDword("User", "ShowWelcome"), 0u);
    EXPECT_EQ(RawDword("User", "Height"), 472u);
}

TEST_F(SettingsStoreWrite, DialogStatesWriteAll34ValuesFlagSetOrNot)
{
    WriteDialogStates(TDialogStates{});
    const auto values = ValuesOf("States");
    EXPECT_EQ(values, Expected(DialogStateWriteValues()));
    EXPECT_EQ(values.size(), 34u);
    EXPECT_EQ(values.count("HyperlinkTop"), 0u);
    EXPECT_EQ(values.at("PagesFileEdit"), static_cast<DWORD>(REG_SZ));
}

TEST_F(SettingsStoreWrite, GeneralOptionsTakeTheViewFromTheMenuChecks)
{
    TOptionSettings options = DefaultOptions();
    WriteGeneralOptions(options, ViewMenuChecks{false, true});
    EXPECT_EQ(RawDword("Options", "NormalView"), 0u);
    EXPECT_EQ(RawDword("Options", "OutlineView"), 1u);
}

TEST_F(SettingsStoreWrite, ChangedRecordsRoundTrip)
{
    const TOptionSettings options = Changed(GeneralOptionValues(), DefaultOptions());
    TOptionSettings changed = options;
    for (const OptionGroup& group : OptionGroups())
        if (&group.values != &GeneralOptionValues())
            changed = Changed(group.values, changed);
    for (const OptionGroup& group : OptionGroups())
        group.write(changed);
    TOptionSettings read = DefaultOptions();
    for (const OptionGroup& group : OptionGroups()) {
        SCOPED_TRACE(group.title);
        EXPECT_TRUE(group.read(read));
        ExpectSameValues(group.values, read, changed);
    }

    const TUserSettings user = Changed(UserSettingValues(), DefaultUser());
    WriteUserSettings(user);
    TUserSettings userRead = DefaultUser();
    EXPECT_TRUE(ReadUserSettings(userRead));
    ExpectSameValues(UserSettingValues(), userRead, user);

    // With every flag set every group is read back.
    const TDialogStates states = Changed(DialogStateWriteValues(), TDialogStates{});
    WriteDialogStates(states);
    TDialogStates statesRead;
    EXPECT_TRUE(ReadDialogStates(statesRead));
    ExpectSameValues(DialogStateWriteValues(), statesRead, states);
}

namespace {
enum class Tamper { Delete, AsDword, AsString };

struct ReadCase {
    const char* key;
    const char* name;
    Tamper tamper;
    bool succeeds;
};
} // namespace

// Each case stores a record that differs from the defaults everywhere, spoils
// one value, and reads into a record of defaults: the values before the spoilt
// one come from the registry, the ones from it on keep the defaults -- unless
// the read succeeds, when a missing string reads empty and the rest is read.
TEST_F(SettingsStoreRead, OneSpoiltValueStopsTheReadAtItsPlace)
{
    const ReadCase cases[] = {
        {"Options", "OutlineFontSize", Tamper::Delete, false}, // an integer in the middle of group 1
        {"Options", "TreeLines", Tamper::Delete, false},       // a boolean
        {"Options", "DocumentsFolder", Tamper::Delete, true},  // a missing string reads empty
        {"Options", "PageFontFace", Tamper::AsDword, false},   // a mistyped string fails
        {"Options", "BackupCopy", Tamper::Delete, false},      // group 2 keeps DateTimeFormat
        {"Options", "SortType", Tamper::Delete, false},
        {"Options", "BackupFolder", Tamper::AsDword, false},   // group 4 fails only when mistyped
        {"Options", "ExternalFolder", Tamper::Delete, true},
        {"Options", "AllowHtml", Tamper::AsString, false},     // a mistyped boolean
        {"User", "Height", Tamper::Delete, false},
        {"User", "Name", Tamper::Delete, true},
        {"User", "Maximized", Tamper::AsString, false},
        {"States", "OptionsIndex", Tamper::Delete, false},
        {"States", "PagesNameEdit", Tamper::Delete, true},
    };

    const TOptionSettings optionDefaults = DefaultOptions();
    TOptionSettings options = optionDefaults;
    for (const OptionGroup& group : OptionGroups())
        options = Changed(group.values, options);
    const TUserSettings userDefaults = DefaultUser();
    const TUserSettings user = Changed(UserSettingValues(), userDefaults);
    TDialogStates states = Changed(DialogStateWriteValues(), TDialogStates{});

    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (const OptionGroup& group : OptionGroups())
            group.write(options);
        WriteUserSettings(user);
        WriteDialogStates(states);
        switch (c.tamper) {
        case Tamper::Delete: DeleteRawValue(c.key, c.name); break;
        case Tamper::AsDword: SetRawDword(c.key, c.name, 7); break;
        case Tamper::AsString: SetRawString(c.key, c.name, "1"); break;
        }

        // Runs one group's reader and checks the read against the table.
        const auto check = [&c](const auto& values, auto reader, const auto& written, const auto& before) {
            std::size_t at = values.size();
            for (std::size_t i = 0; i < values.size(); ++i)
                if (std::string(values[i].name) == c.name)
                    at = i;
            if (at == values.size())
                return false;
            auto record = before;
            EXPECT_EQ(reader(record), c.succeeds);
            if (c.succeeds) {
                ExpectSameValues(values, record, written, 0, at);
                ExpectSameValues(values, record, written, at + 1);
                using Record = std::decay_t<decltype(before)>;
                EXPECT_EQ(values[at].Kind(), SettingKind::String);
                if (values[at].Kind() == SettingKind::String) {
                    EXPECT_EQ(record.*std::get<std::string Record::*>(values[at].member), "");
                }
            } else {
                ExpectSameValues(values, record, written, 0, at);
                ExpectSameValues(values, record, before, at);
            }
            return true;
        };
        bool found = false;
        if (std::string(c.key) == "Options")
            for (const OptionGroup& group : OptionGroups())
                found = check(group.values, group.read, options, optionDefaults) || found;
        else if (std::string(c.key) == "User")
            found = check(UserSettingValues(), ReadUserSettings, user, userDefaults);
        else
            found = check(DialogStateReadValues(), ReadDialogStates, states, TDialogStates{});
        EXPECT_TRUE(found);
    }

    // The strings that were missing read as empty.
    for (const OptionGroup& group : OptionGroups())
        group.write(options);
    DeleteRawValue("Options", "DocumentsFolder");
    TOptionSettings read = optionDefaults;
    EXPECT_TRUE(ReadGeneralOptions(read));
    EXPECT_EQ(read.DocumentsFolder, "");
    WriteUserSettings(user);
    DeleteRawValue("User", "Name");
    TUserSettings userRead = userDefaults;
    EXPECT_TRUE(ReadUserSettings(userRead));
    EXPECT_EQ(userRead.Name, "");
}

TEST_F(SettingsStoreRead, MaximizedTwoReadsAsMaximizedAndIsWrittenBackAsOne)
{
    WriteUserSettings(DefaultUser());
    SetRawDword("User", "Maximized", 2);
    TUserSettings user = DefaultUser();
    ASSERT_TRUE(ReadUserSettings(user));
    EXPECT_TRUE(user.Maximized);
    WriteUserSettings(user);
    EXPECT_EQ(RawDword("User", "Maximized"), 1u);
}

TEST_F(SettingsStoreRead, DialogStatesSkipGroupsWhoseFlagIsClear)
{
    WriteDialogStates(TDialogStates{});
    DeleteRawValue("States", "PrintKBTop");
    DeleteRawValue("States", "FindRWhole");
    TDialogStates states;
    states.PrintKBTop = 9;
    EXPECT_TRUE(ReadDialogStates(states));
    EXPECT_EQ(states.PrintKBTop, 9);
}

TEST_F(SettingsStoreRead, DialogStatesFailWhenPagesIsMarkedAndPagesFileEditIsEmpty)
{
    TDialogStates states;
    states.PagesInitialized = true;
    states.PagesFileEdit = "";
    states.FindRInitialized = true;
    states.FindRTop = 5;
    WriteDialogStates(states);
    TDialogStates read;
    EXPECT_FALSE(ReadDialogStates(read));
    EXPECT_TRUE(read.PagesInitialized);
    EXPECT_EQ(read.FindRTop, 0); // the read stopped before the Find group

    states.PagesFileEdit = "C:\\x.kbf";
    WriteDialogStates(states);
    EXPECT_TRUE(ReadDialogStates(read));
    EXPECT_EQ(read.FindRTop, 5);

    // Unmarked, an empty PagesFileEdit is not even read.
    states.PagesInitialized = false;
    states.PagesFileEdit = "";
    WriteDialogStates(states);
    EXPECT_TRUE(ReadDialogStates(read));
}

// A path opened one component at a time would leave the object on the last
// component that opened, so a reader would take the parent's values and a
// writer would write into the parent.
TEST_F(SettingsStoreKeys, AMissingKeyNeverSendsReadsOrWritesToItsParent)
{
    TOptionSettings options = DefaultOptions();
    options.AutoSave = 12;
    TUserSettings user = DefaultUser();
    for (const OptionGroup& group : OptionGroups())
        group.write(options);
    WriteUserSettings(user);
    // The same names in the settings key itself, as a stray write would leave them.
    TRegistry raw;
    ASSERT_TRUE(raw.OpenKey("\\" + base_, false));
    for (const OptionGroup& group : OptionGroups())
        for (const auto& value : group.values)
            raw.WriteInteger(value.name, 0);
    raw.CloseKey();
    const auto parentBefore = ValuesOf("");

    DeleteRawKey("Options");
    DeleteRawKey("User");
    // Whatever key the shared object had open must not matter either.
    ASSERT_TRUE(SettingsRegistry().OpenKey("\\" + base_, false));

    for (const OptionGroup& group : OptionGroups()) {
        SCOPED_TRACE(group.title);
        TOptionSettings read = DefaultOptions();
        EXPECT_FALSE(group.read(read));
        ExpectSameValues(group.values, read, DefaultOptions());
        EXPECT_THROW(group.write(options), ERegistryException);
    }
    TUserSettings userRead = DefaultUser();
    EXPECT_FALSE(ReadUserSettings(userRead));
    EXPECT_THROW(WriteUserSettings(user), ERegistryException);
    EXPECT_EQ(SettingsRegistry().CurrentKey(), nullptr);

    EXPECT_EQ(ValuesOf(""), parentBefore);
    EXPECT_FALSE(RawKeyExists(Path("Options")));
    EXPECT_FALSE(RawKeyExists(Path("User")));
    EXPECT_TRUE(ValuesOf("Reopen").empty());
}

TEST_F(SettingsStoreKeys, WriteDialogStatesCreatesStatesOnlyBelowTheSettingsKey)
{
    EXPECT_FALSE(RawKeyExists(Path("States")));
    TDialogStates states;
    states.OptionsIndex = 4;
    WriteDialogStates(states);
    EXPECT_EQ(RawDword("States", "OptionsIndex"), 4u);

    // Without the settings key the write fails instead of building it.
    RegDeleteTreeA(HKEY_CURRENT_USER, base_.c_str());
    try {
        WriteDialogStates(states);
        ADD_FAILURE() << "no exception";
    } catch (const ERegistryException& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'PrintKBInitialized'");
    }
    EXPECT_FALSE(RawKeyExists(base_));
    TDialogStates read;
    EXPECT_FALSE(ReadDialogStates(read));
}

TEST_F(SettingsStoreKeys, KeysMissingUntilAllThreeExist)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, base_.c_str());
    EXPECT_TRUE(SettingsKeysMissing());
    EXPECT_TRUE(RawKeyExists(base_)); // made on the way
    EXPECT_TRUE(ValuesOf("").empty());
    EXPECT_TRUE(CreateSettingsKeys());
    EXPECT_FALSE(SettingsKeysMissing());
    for (const char* key : {"User", "Options", "Reopen"}) {
        SCOPED_TRACE(key);
        DeleteRawKey(key);
        EXPECT_TRUE(SettingsKeysMissing());
        EXPECT_TRUE(CreateSettingsKeys());
        EXPECT_FALSE(SettingsKeysMissing());
    }
    EXPECT_EQ(SettingsRegistry().CurrentKey(), nullptr);
    EXPECT_FALSE(RawKeyExists(Path("States")));
}

TEST_F(SettingsStoreErrors, AFailedWriteIsShownOnceAndTheOtherWritersGoOn)
{
    std::vector<std::string> shown;
    SetSettingsErrorReporter([&shown](const std::string& message) { shown.push_back(message); });
    DeleteRawKey("Options");
    const TOptionSettings options = DefaultOptions();
    TUserSettings user = DefaultUser();
    user.Width = 900;

    const bool wrote = WriteSettingsReporting({
        [&] { WriteGeneralOptions(options); },
        [&] { WriteDateOptions(options); },
        [&] { WriteUserSettings(user); },
        [&] { WriteWebOptions(options); },
        [&] { WriteDialogStates(TDialogStates{}); },
    });
    EXPECT_FALSE(wrote);
    EXPECT_EQ(shown, (std::vector<std::string>{"Failed to set data for 'StatusBar'"}));
    EXPECT_EQ(RawDword("User", "Width"), 900u);
    EXPECT_EQ(ValuesOf("States").size(), 34u);

    shown.clear();
    ASSERT_TRUE(CreateSettingsKeys());
    EXPECT_TRUE(WriteSettingsReporting({[&] { WriteGeneralOptions(options); }}));
    EXPECT_TRUE(shown.empty());
}

TEST_F(SettingsStoreErrors, WithoutAReporterAFailedWriteStillGoesOn)
{
    DeleteRawKey("User");
    bool ranAfter = false;
    EXPECT_FALSE(WriteSettingsReporting({[] { WriteUserSettings(TUserSettings{}); }, [&] { ranAfter = true; }}));
    EXPECT_TRUE(ranAfter);
}
