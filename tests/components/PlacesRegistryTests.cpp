// The places bar's list in the registry: the stored format, the order it
// comes back in, and what damaged or missing entries do.
#include "PlacesBarOptions.h"
#include "ScriptedMessageBoxes.h"
#include "ShellFolders.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <aclapi.h>

#include <string>
#include <vector>

namespace {
class PlacesRegistry : public ::testing::Test {
protected:
    static constexpr const char* TestsRoot = "Software\\Corvane\\QuilloTests";

    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        key_ = std::string(TestsRoot) + "\\" + info->test_suite_name() + "." + info->name() + "." +
               std::to_string(GetCurrentProcessId());
        RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str());
        options_.RegistryKey = key_;
    }

    void TearDown() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, TestsRoot); // only goes once it is empty
    }

    std::vector<std::string> SubKeys() const
    {
        std::vector<std::string> names;
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return names;
        char name[256];
        for (DWORD i = 0;; ++i) {
            DWORD size = sizeof name;
            if (RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            names.emplace_back(name, size);
        }
        RegCloseKey(key);
        return names;
    }

    struct RawValue {
        DWORD type = REG_NONE;
        std::string bytes;
    };
    RawValue Value(const std::string& subKey, const std::string& name) const
    {
        RawValue value;
        char data[512];
        DWORD size = sizeof data;
        if (RegGetValueA(HKEY_CURRENT_USER, (key_ + "\\" + subKey).c_str(), name.c_str(), RRF_RT_ANY, &value.type,
                         data, &size) == ERROR_SUCCESS)
            value.bytes.assign(data, size);
        return value;
    }

    void SetValue(const std::string& subKey, const std::string& name, DWORD type, const void* data, DWORD size)
    {
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, (key_ + "\\" + subKey).c_str(), name.c_str(), type, data, size),
                  ERROR_SUCCESS);
    }

    void DeleteValue(const std::string& subKey, const std::string& name)
    {
        ASSERT_EQ(RegDeleteKeyValueA(HKEY_CURRENT_USER, (key_ + "\\" + subKey).c_str(), name.c_str()), ERROR_SUCCESS);
    }

    static std::vector<std::string> Captions(const TApPlaces& places)
    {
        std::vector<std::string> captions;
        for (int i = 0; i < places.Count(); ++i)
            captions.push_back(GetPlaceName(places.Items(i)));
        return captions;
    }

    TApPlace& AddPlace(const std::string& name, const std::string& path = "C:\\")
    {
        TApPlace& place = options_.Places().Add();
        place.PlaceName = name;
        place.PlacePath = path;
        return place;
    }

    std::string key_;
    TApPlacesBarOptions options_;
};

DWORD Dword(const std::string& bytes)
{
    DWORD value = 0;
    if (bytes.size() == sizeof value)
        memcpy(&value, bytes.data(), sizeof value);
    return value;
}

std::string Sz(const std::string& text) { return text + '\0'; }
} // namespace

TEST_F(PlacesRegistry, SavingWritesOneKeyPerPlaceWithTypedValuesAndDropsOlderKeys)
{
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, (key_ + "\\Place_5").c_str(), "Name", REG_SZ, "old", 4), ERROR_SUCCESS);
    TApPlace& docs = AddPlace("ignored", "C:\\Docs\\report.txt");
    docs.AutoCaption = true;
    docs.PlaceDesc = "The reports";
    docs.PlaceIconDll = "shell32.dll";
    docs.PlaceIcon = 3;
    docs.PlaceHotIcon = 4;
    TApPlace& personal = AddPlace("Mine", "");
    personal.PlaceRegPath = "Personal";
    AddPlace("Desk").PlaceSpecPath = TApSpecShellFolder::ftDesktop;

    options_.SaveToRegistry();

    EXPECT_EQ(SubKeys(), (std::vector<std::string>{"Place_0", "Place_1", "Place_2"}));
    struct Expected {
        std::string key, name;
        DWORD type;
        std::string bytes;
    } expected[] = {
        {"Place_0", "Name", REG_SZ, Sz("report.txt")},
        {"Place_0", "Path", REG_SZ, Sz("C:\\Docs\\report.txt")},
        {"Place_0", "RegPath", REG_SZ, Sz("")},
        {"Place_0", "IconDll", REG_SZ, Sz("shell32.dll")},
        {"Place_0", "Hint", REG_SZ, Sz("The reports")},
        {"Place_1", "RegPath", REG_SZ, Sz("Personal")},
        {"Place_1", "Name", REG_SZ, Sz("Mine")},
    };
    for (const Expected& e : expected) {
        const RawValue value = Value(e.key, e.name);
        EXPECT_EQ(value.type, e.type) << e.key << " " << e.name;
        EXPECT_EQ(value.bytes, e.bytes) << e.key << " " << e.name;
    }
    struct Number {
        std::string key, name;
        DWORD value;
    } numbers[] = {
        {"Place_0", "Icon", 3},         {"Place_0", "IconHot", 4},
        {"Place_0", "AutoCaption", 1},  {"Place_1", "AutoCaption", 0},
        {"Place_0", "SpecFolder", static_cast<DWORD>(-1976)}, {"Place_2", "SpecFolder", 0},
    };
    for (const Number& n : numbers) {
        const RawValue value = Value(n.key, n.name);
        EXPECT_EQ(value.type, static_cast<DWORD>(REG_DWORD)) << n.key << " " << n.name;
        EXPECT_EQ(Dword(value.bytes), n.value) << n.key << " " << n.name;
    }
}

TEST_F(PlacesRegistry, TwelvePlacesComeBackInTheirOwnOrder)
{
    std::vector<std::string> names;
    for (int i = 0; i < 12; ++i) {
        names.push_back("Place " + std::to_string(i));
        AddPlace(names.back());
    }
    options_.SaveToRegistry();

    TApPlacesBarOptions loaded;
    loaded.RegistryKey = "\\" + key_ + "\\";
    loaded.LoadFromRegistry();
    EXPECT_EQ(Captions(loaded.Places()), names);
}

TEST_F(PlacesRegistry, TheStoredListReplacesThePlacesItWasLoadedInto)
{
    // Two folders of one name, and a designed place the user had deleted.
    AddPlace("Docs", "C:\\a\\Docs");
    AddPlace("Docs", "C:\\b\\Docs");
    options_.SaveToRegistry();

    TApPlacesBarOptions next;
    next.RegistryKey = key_;
    next.Places().Add().PlaceName = "Designed";
    next.Places().Add().PlaceName = "Docs";
    next.LoadFromRegistry();
    ASSERT_EQ(Captions(next.Places()), (std::vector<std::string>{"Docs", "Docs"}));
    EXPECT_EQ(next.Places().Items(0).PlacePath, "C:\\a\\Docs");
    EXPECT_EQ(next.Places().Items(1).PlacePath, "C:\\b\\Docs");

    // Every place deleted: the bar stays empty.
    next.Places().Clear();
    next.SaveToRegistry();
    options_.LoadFromRegistry();
    EXPECT_EQ(options_.Places().Count(), 0);
}

TEST_F(PlacesRegistry, NothingStoredYetLoadsNothingAndSaysNothing)
{
    ScriptedMessageBoxes boxes;
    AddPlace("Designed");
    options_.LoadFromRegistry();
    EXPECT_EQ(Captions(options_.Places()), (std::vector<std::string>{"Designed"}));
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(PlacesRegistry, AKeyThatCannotBeReadIsReported)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    // No entry at all in the access list: nobody may read the key.
    ACL emptyAcl;
    ASSERT_TRUE(InitializeAcl(&emptyAcl, sizeof emptyAcl, ACL_REVISION));
    SECURITY_DESCRIPTOR denied;
    InitializeSecurityDescriptor(&denied, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&denied, TRUE, &emptyAcl, FALSE);
    ASSERT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &denied), ERROR_SUCCESS);
    RegCloseKey(key);

    HKEY probe = nullptr;
    const LONG opened = RegOpenKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_READ, &probe);
    if (opened == ERROR_SUCCESS)
        RegCloseKey(probe);

    ScriptedMessageBoxes boxes;
    if (opened == ERROR_SUCCESS) {
        GTEST_SKIP() << "this system does not enforce registry key security";
    }
    boxes.Answer(IDOK);
    AddPlace("Designed");
    options_.LoadFromRegistry();
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Ostrel Places Bar: Could not load data from registry"}));
    EXPECT_EQ(options_.Places().Count(), 1);

    // The owner may always give the access back, so the key can go.
    HKEY owned = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, WRITE_DAC, &owned), ERROR_SUCCESS);
    SECURITY_DESCRIPTOR open;
    InitializeSecurityDescriptor(&open, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&open, TRUE, nullptr, FALSE);
    EXPECT_EQ(RegSetKeySecurity(owned, DACL_SECURITY_INFORMATION, &open), ERROR_SUCCESS);
    RegCloseKey(owned);
}

TEST_F(PlacesRegistry, MissingOrForeignValuesTakeTheDefaultsOfANewPlace)
{
    for (const char* name : {"A", "B", "C"})
        AddPlace(name).PlaceIcon = 7;
    options_.Places().Items(1).PlaceSpecPath = TApSpecShellFolder::ftFavorites;
    options_.Places().Items(2).AutoCaption = false;
    options_.SaveToRegistry();
    DeleteValue("Place_0", "Icon");
    DeleteValue("Place_0", "AutoCaption");
    const DWORD recent = 8;
    SetValue("Place_1", "SpecFolder", REG_DWORD, &recent, sizeof recent);
    SetValue("Place_2", "IconHot", REG_SZ, "five", 5);
    HKEY empty = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, (key_ + "\\Place_3").c_str(), &empty), ERROR_SUCCESS);
    RegCloseKey(empty);

    options_.Places().Clear();
    options_.LoadFromRegistry();
    ASSERT_EQ(options_.Places().Count(), 4);
    const TApPlace& first = options_.Places().Items(0);
    EXPECT_EQ(first.PlaceName, "A");
    EXPECT_EQ(first.PlaceIcon, 0);
    EXPECT_EQ(first.PlaceHotIcon, 0);
    EXPECT_FALSE(first.AutoCaption);
    EXPECT_EQ(options_.Places().Items(1).PlaceSpecPath, TApSpecShellFolder::ftNone);
    EXPECT_EQ(options_.Places().Items(1).PlaceIcon, 7);
    EXPECT_EQ(options_.Places().Items(2).PlaceHotIcon, 0);
    EXPECT_EQ(options_.Places().Items(3), TApPlace());
}
