// The registry object against the real registry. Every test works in a key of
// its own below HKCU "Software\Corvane\QuilloTests" and removes it afterwards;
// set-up and checks use the raw API so they do not lean on the code under test.

#include "Exceptions.h"
#include "Registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace {

const char* const TestsRoot = "Software\\Corvane\\QuilloTests";

std::string ErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const ERegistryException& e) {
        return e.what();
    }
    return "(no exception)";
}

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        base_ = std::string(TestsRoot) + "\\" + info->test_suite_name() + "." + info->name() + "." +
                std::to_string(GetCurrentProcessId());
        RegDeleteTreeA(HKEY_CURRENT_USER, base_.c_str());
        CreateRaw("");
    }

    void TearDown() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, base_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, TestsRoot); // only goes once it is empty
    }

    std::string Path(const std::string& sub) const { return sub.empty() ? base_ : base_ + "\\" + sub; }

    void CreateRaw(const std::string& sub)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, Path(sub).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    void SetRaw(const std::string& sub, const std::string& name, DWORD type, const void* data, DWORD size)
    {
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, Path(sub).c_str(), name.c_str(), type, data, size), ERROR_SUCCESS);
    }

    void SetRawDword(const std::string& sub, const std::string& name, DWORD value)
    {
        SetRaw(sub, name, REG_DWORD, &value, sizeof value);
    }

    // The stored type, or (DWORD)-1 when the value is not there.
    DWORD RawType(const std::string& sub, const std::string& name) const
    {
        DWORD type = 0;
        if (RegGetValueA(HKEY_CURRENT_USER, Path(sub).c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr,
                         nullptr) != ERROR_SUCCESS)
            return static_cast<DWORD>(-1);
        return type;
    }

    bool RawKeyExists(const std::string& sub) const
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, Path(sub).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    std::string base_;
    TRegistry reg_;
};

using RegistryValues = RegistryTest;
using RegistryErrors = RegistryTest;
using RegistryKeys = RegistryTest;

TEST_F(RegistryValues, IntegersRoundTripAsDword)
{
    ASSERT_TRUE(reg_.OpenKey("\\" + base_, false));
    for (int value : {0, 1, -1, 42, INT_MIN, INT_MAX}) {
        reg_.WriteInteger("N", value);
        EXPECT_EQ(reg_.ReadInteger("N"), value);
    }
    EXPECT_EQ(RawType("", "N"), static_cast<DWORD>(REG_DWORD));
}

TEST_F(RegistryValues, BoolsAreDwordsAndAnyNonzeroIsTrue)
{
    ASSERT_TRUE(reg_.OpenKey("\\" + base_, false));
    reg_.WriteBool("T", true);
    reg_.WriteBool("F", false);
    EXPECT_EQ(reg_.ReadInteger("T"), 1);
    EXPECT_EQ(reg_.ReadInteger("F"), 0);
    EXPECT_TRUE(reg_.ReadBool("T"));
    EXPECT_FALSE(reg_.ReadBool("F"));
    SetRawDword("", "Two", 2);
    EXPECT_TRUE(reg_.ReadBool("Two"));
}

TEST_F(RegistryValues, StringsRoundTrip)
{
    ASSERT_TRUE(reg_.OpenKey("\\" + base_, false));
    const std::string highBytes = "Gr\xFC\xDF\x65 \x80\x99\xA9 \xE4\xF6\xFF";
    const std::string longText(10000, 'q');
    for (const std::string& value : {std::string(), std::string("plain"), highBytes, longText}) {
        reg_.WriteString("S", value);
        EXPECT_EQ(reg_.ReadString("S"), value);
    }
    EXPECT_EQ(RawType("", "S"), static_cast<DWORD>(REG_SZ));

    reg_.WriteExpandString("E", "%TEMP%\\x");
    EXPECT_EQ(RawType("", "E"), static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(reg_.ReadString("E"), "%TEMP%\\x"); // not expanded
}

TEST_F(RegistryValues, StringsEndAtTheirFirstTerminatorAndZeroLengthReadsEmpty)
{
    ASSERT_TRUE(reg_.OpenKey("\\" + base_, false));
    SetRaw("", "Bare", REG_SZ, "abc", 3);
    SetRaw("", "Doubled", REG_SZ, "abc\0\0", 5);
    SetRaw("", "Trailed", REG_SZ, "abc\0de", 6);
    SetRaw("", "NoData", REG_BINARY, "", 0);
    EXPECT_EQ(reg_.ReadString("Bare"), "abc");
    EXPECT_EQ(reg_.ReadString("Doubled"), "abc");
    EXPECT_EQ(reg_.ReadString("Trailed"), "abc");
    EXPECT_EQ(reg_.ReadString("NoData"), "");
}

TEST_F(RegistryValues, BinaryRoundTrip)
{
    ASSERT_TRUE(reg_.OpenKey("\\" + base_, false));
    std::vector<unsigned char> data(256);
    for (int i = 0; i < 256; ++i)
        data[i] = static_cast<unsigned char>(i);
    reg_.WriteBinaryData("B", data.data(), static_cast<int>(data.size()));
    EXPECT_EQ(RawType("", "B"), static_cast<DWORD>(REG_BINARY));

    std::vector<unsigned char> read(300, 0xCC);
    EXPECT_EQ(reg_.ReadBinaryData("B", read.data(), static_cast<int>(read.size())), 256);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), read.begin()));
    EXPECT_EQ(read[256], 0xCC);
    EXPECT_EQ(ErrorOf([&] { reg_.ReadBinaryData("B", read.data(), 255); }), "Failed to get data for 'B'");

    reg_.WriteBinaryData("Empty", nullptr, 0);
    EXPECT_EQ(reg_.ReadBinaryData("Empty", read.data(), 1), 0);
}

TEST_F(RegistryErrors, MissingValuesFailExceptStrings)
{
    ASSERT_TRUE(reg_.OpenKey("\\" + base_, false));
    EXPECT_EQ(ErrorOf([&] { reg_.ReadInteger("X"); }), "Failed to get data for 'X'");
    EXPECT_EQ(ErrorOf([&] { reg_.ReadBool("Flag"); }), "Failed to get data for 'Flag'");
    char buffer[4];
    EXPECT_EQ(ErrorOf([&] { reg_.ReadBinaryData("X", buffer, 4); }), "Failed to get data for 'X'");
    std::string text = "unset";
    EXPECT_NO_THROW(text = reg_.ReadString("X"));
    EXPECT_EQ(text, "");
}

TEST_F(RegistryErrors, WrongTypesFail)
{
    ASSERT_TRUE(reg_.OpenKey("\\" + base_, false));
    reg_.WriteString("Text", "12");
    reg_.WriteInteger("Number", 12);
    reg_.WriteBinaryData("Blob", "12", 2);
    EXPECT_EQ(ErrorOf([&] { reg_.ReadInteger("Text"); }), "Invalid data type for 'Text'");
    EXPECT_EQ(ErrorOf([&] { reg_.ReadBool("Blob"); }), "Invalid data type for 'Blob'");
    EXPECT_EQ(ErrorOf([&] { reg_.ReadString("Number"); }), "Invalid data type for 'Number'");
    char buffer[8];
    EXPECT_EQ(ErrorOf([&] { reg_.ReadBinaryData("Text", buffer, 8); }), "Invalid data type for 'Text'");
}

TEST_F(RegistryErrors, NothingWorksWithoutAnOpenKey)
{
    EXPECT_EQ(reg_.CurrentKey(), nullptr);
    EXPECT_EQ(ErrorOf([&] { reg_.ReadInteger("X"); }), "Failed to get data for 'X'");
    EXPECT_EQ(ErrorOf([&] { reg_.ReadString("X"); }), "Failed to get data for 'X'");
    EXPECT_EQ(ErrorOf([&] { reg_.WriteInteger("X", 1); }), "Failed to set data for 'X'");
    EXPECT_EQ(ErrorOf([&] { reg_.WriteBool("X", true); }), "Failed to set data for 'X'");
    EXPECT_EQ(ErrorOf([&] { reg_.WriteString("X", "a"); }), "Failed to set data for 'X'");
    EXPECT_EQ(ErrorOf([&] { reg_.WriteExpandString("X", "a"); }), "Failed to set data for 'X'");
    EXPECT_EQ(ErrorOf([&] { reg_.WriteBinaryData("X", "a", 1); }), "Failed to set data for 'X'");
    EXPECT_FALSE(reg_.ValueExists("X"));
    EXPECT_FALSE(reg_.DeleteValue("X"));
    EXPECT_TRUE(reg_.GetValueNames().empty());
}

TEST_F(RegistryErrors, WritesThroughReadOnlyKeysFail)
{
    ASSERT_TRUE(reg_.OpenKeyReadOnly("\\" + base_));
    EXPECT_EQ(ErrorOf([&] { reg_.WriteString("X", "a"); }), "Failed to set data for 'X'");

    TRegistry reader(KEY_READ);
    EXPECT_EQ(reader.Access(), static_cast<REGSAM>(KEY_READ));
    ASSERT_TRUE(reader.OpenKey(base_, true));
    EXPECT_EQ(ErrorOf([&] { reader.WriteInteger("Y", 1); }), "Failed to set data for 'Y'");
    EXPECT_EQ(RawType("", "X"), static_cast<DWORD>(-1));
    EXPECT_EQ(RawType("", "Y"), static_cast<DWORD>(-1));
}

TEST_F(RegistryKeys, DefaultsAndRootChange)
{
    EXPECT_EQ(reg_.RootKey(), HKEY_CURRENT_USER);
    EXPECT_EQ(reg_.Access(), static_cast<REGSAM>(KEY_ALL_ACCESS));
    ASSERT_TRUE(reg_.OpenKey(base_, false));
    reg_.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(reg_.RootKey(), HKEY_LOCAL_MACHINE);
    EXPECT_EQ(reg_.CurrentKey(), nullptr);
    EXPECT_EQ(reg_.CurrentPath(), "");
}

TEST_F(RegistryKeys, RelativeAndAbsolutePaths)
{
    ASSERT_TRUE(reg_.OpenKey(base_, false)); // relative to the root: no key open
    EXPECT_EQ(reg_.CurrentPath(), base_);
    EXPECT_FALSE(reg_.OpenKey("Child", false));
    EXPECT_FALSE(RawKeyExists("Child"));
    ASSERT_TRUE(reg_.OpenKey("Child", true));
    EXPECT_EQ(reg_.CurrentPath(), base_ + "\\Child");
    EXPECT_TRUE(RawKeyExists("Child"));
    reg_.WriteInteger("Here", 1);
    EXPECT_EQ(RawType("Child", "Here"), static_cast<DWORD>(REG_DWORD));

    ASSERT_TRUE(reg_.OpenKey("\\" + base_, false)); // absolute, from inside Child
    EXPECT_EQ(reg_.CurrentPath(), base_);
    ASSERT_TRUE(reg_.OpenKey("\\" + base_ + "\\X\\Y\\Z", true));
    EXPECT_EQ(reg_.CurrentPath(), base_ + "\\X\\Y\\Z");
    EXPECT_TRUE(RawKeyExists("X\\Y\\Z"));
}

// A failed open of a longer path must not leave the object on a part of it.
TEST_F(RegistryKeys, FailedOpenKeepsTheCurrentKey)
{
    CreateRaw("A\\B");
    ASSERT_TRUE(reg_.OpenKey("\\" + base_ + "\\A", false));
    const HKEY before = reg_.CurrentKey();

    EXPECT_FALSE(reg_.OpenKey("B\\C\\D", false));
    EXPECT_FALSE(reg_.OpenKey("\\" + base_ + "\\A\\B\\C", false));
    EXPECT_FALSE(reg_.OpenKeyReadOnly("B\\C"));
    EXPECT_EQ(reg_.CurrentKey(), before);
    EXPECT_EQ(reg_.CurrentPath(), base_ + "\\A");
    EXPECT_FALSE(RawKeyExists("A\\B\\C"));

    reg_.WriteInteger("Marker", 7);
    EXPECT_EQ(RawType("A", "Marker"), static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(RawType("A\\B", "Marker"), static_cast<DWORD>(-1));
    EXPECT_EQ(reg_.ReadInteger("Marker"), 7);
}

TEST_F(RegistryKeys, ExistsAndCreateLeaveTheCurrentKey)
{
    CreateRaw("A\\B");
    EXPECT_TRUE(reg_.KeyExists(base_ + "\\A"));
    EXPECT_EQ(reg_.CurrentKey(), nullptr);

    ASSERT_TRUE(reg_.OpenKey("\\" + base_ + "\\A", false));
    const HKEY before = reg_.CurrentKey();
    EXPECT_TRUE(reg_.KeyExists("B"));
    EXPECT_TRUE(reg_.KeyExists("\\" + base_ + "\\A\\B"));
    EXPECT_FALSE(reg_.KeyExists("Nope"));
    EXPECT_FALSE(reg_.KeyExists("B\\Nope"));
    EXPECT_TRUE(reg_.CreateKey("New\\Deep"));
    EXPECT_TRUE(RawKeyExists("A\\New\\Deep"));
    EXPECT_EQ(reg_.CurrentKey(), before);
    EXPECT_EQ(reg_.CurrentPath(), base_ + "\\A");
}

TEST_F(RegistryKeys, DeleteKeyRemovesTheWholeTree)
{
    CreateRaw("T\\U\\V");
    CreateRaw("T\\W");
    SetRawDword("T\\U\\V", "Deep", 1);
    SetRawDword("T", "Top", 1);
    ASSERT_TRUE(reg_.OpenKey("\\" + base_, false));
    EXPECT_TRUE(reg_.DeleteKey("T"));
    EXPECT_FALSE(RawKeyExists("T"));
    EXPECT_TRUE(RawKeyExists(""));
    EXPECT_FALSE(reg_.DeleteKey("T"));
}

TEST_F(RegistryKeys, NamesAndValueRemoval)
{
    CreateRaw("K1");
    CreateRaw("K2\\Inner");
    ASSERT_TRUE(reg_.OpenKey("\\" + base_, false));
    reg_.WriteInteger("V1", 1);
    reg_.WriteString("V2", "x");

    std::vector<std::string> keys = reg_.GetKeyNames();
    std::vector<std::string> values = reg_.GetValueNames();
    std::sort(keys.begin(), keys.end());
    std::sort(values.begin(), values.end());
    EXPECT_EQ(keys, (std::vector<std::string>{"K1", "K2"}));
    EXPECT_EQ(values, (std::vector<std::string>{"V1", "V2"}));

    EXPECT_TRUE(reg_.ValueExists("V1"));
    EXPECT_TRUE(reg_.DeleteValue("V1"));
    EXPECT_FALSE(reg_.ValueExists("V1"));
    EXPECT_FALSE(reg_.DeleteValue("V1"));
    EXPECT_EQ(reg_.GetValueNames(), (std::vector<std::string>{"V2"}));
}

TEST(RegistryMachine, ReadOnlyLookupUnderLocalMachine)
{
    TRegistry reg(KEY_READ);
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey("Software\\Microsoft\\Windows NT\\CurrentVersion", false));
    EXPECT_FALSE(reg.ReadString("CurrentVersion").empty());
    EXPECT_EQ(ErrorOf([&] { reg.WriteString("QuilloProbe", "x"); }), "Failed to set data for 'QuilloProbe'");
    EXPECT_FALSE(reg.ValueExists("QuilloProbe"));
}

} // namespace
