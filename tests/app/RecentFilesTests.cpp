// The recent-files list: its registry form against the real registry, under
// a settings root of each test's own below HKCU "Software\Corvane\QuilloTests"
// that is removed afterwards, and the Reopen menus of the main window, rebuilt
// against files of a temporary folder.

#include "AnsiStrings.h"
#include "Application.h"
#include "Exceptions.h"
#include "Main.h"
#include "Menus.h"
#include "RecentFiles.h"
#include "RecentMenu.h"
#include "SettingsRegistry.h"
#include "SettingsRoot.h"
#include "SharedState.h"

#include "TestSettingsRoot.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const TStrings& list)
{
    std::vector<std::string> lines;
    for (int i = 0; i < list.Count(); ++i)
        lines.push_back(list[i]);
    return lines;
}

TStringList ListOf(const std::vector<std::string>& lines)
{
    TStringList list;
    for (const std::string& line : lines)
        list.Add(line);
    return list;
}

std::string UniqueName()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string(info->test_suite_name()) + "." + info->name() + "." + std::to_string(GetCurrentProcessId());
}

class RecentFilesStore : public TestSettingsRoot {
protected:
    std::string Reopen() const { return base_ + "\\Reopen"; }

    void SetRawDword(const std::string& name, DWORD value)
    {
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, Reopen().c_str(), name.c_str(), REG_DWORD, &value, sizeof value),
                  ERROR_SUCCESS);
    }

    void SetRawString(const std::string& name, const std::string& value)
    {
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, Reopen().c_str(), name.c_str(), REG_SZ, value.c_str(),
                                  static_cast<DWORD>(value.size() + 1)),
                  ERROR_SUCCESS);
    }

    bool RawDword(const std::string& name, DWORD& value) const
    {
        DWORD size = sizeof value;
        return RegGetValueA(HKEY_CURRENT_USER, Reopen().c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr, &value,
                            &size) == ERROR_SUCCESS;
    }

    bool RawString(const std::string& name, std::string& value) const
    {
        char buffer[1024] = {};
        DWORD size = sizeof buffer;
        if (RegGetValueA(HKEY_CURRENT_USER, Reopen().c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, buffer, &size) !=
            ERROR_SUCCESS)
            return false;
        value = buffer;
        return true;
    }

};

} // namespace

TEST_F(RecentFilesStore, AMissingKeyLoadsAnEmptyList)
{
    ASSERT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, Reopen().c_str()), ERROR_SUCCESS);
    EXPECT_EQ(LoadRecentFiles()->Count(), 0);
    EXPECT_FALSE(RawKeyExists(Reopen())) << "loading must not create the key";
}

TEST_F(RecentFilesStore, AMissingCountLoadsAnEmptyList)
{
    SetRawString("0", "C:\\a.kbf");
    EXPECT_EQ(LoadRecentFiles()->Count(), 0);
}

TEST_F(RecentFilesStore, ACountThatIsNoNumberLoadsAnEmptyList)
{
    SetRawString("Count", "2");
    SetRawString("0", "C:\\a.kbf");
    EXPECT_EQ(LoadRecentFiles()->Count(), 0);
}

TEST_F(RecentFilesStore, LoadsCountEntriesNewestFirstEmptyMissingAndRepeatedOnesIncluded)
{
    SetRawDword("Count", 5);
    SetRawString("0", "C:\\Notes\\Work.kbf");
    SetRawString("1", "");
    SetRawString("2", "C:\\Notes\\Work.kbf");
    // "3" is missing.
    SetRawString("4", "D:\\\xC4rger.kbf");
    SetRawString("5", "C:\\Leftover.kbf");
    EXPECT_EQ(Lines(*LoadRecentFiles()), (std::vector<std::string>{"C:\\Notes\\Work.kbf", "", "C:\\Notes\\Work.kbf",
                                                                   "", "D:\\\xC4rger.kbf"}));
}

TEST_F(RecentFilesStore, ACountOfTwelveLoadsEight)
{
    SetRawDword("Count", 12);
    for (int i = 0; i < 12; ++i)
        SetRawString(std::to_string(i), "C:\\" + std::to_string(i) + ".kbf");
    const auto list = LoadRecentFiles();
    ASSERT_EQ(list->Count(), 8);
    EXPECT_EQ((*list)[7], "C:\\7.kbf");
}

TEST_F(RecentFilesStore, ANegativeCountLoadsNothing)
{
    SetRawDword("Count", 0xFFFFFFFF);
    SetRawString("0", "C:\\a.kbf");
    EXPECT_EQ(LoadRecentFiles()->Count(), 0);
}

TEST_F(RecentFilesStore, AnEntryOfTheWrongTypeEndsTheLoadWithWhatWasRead)
{
    SetRawDword("Count", 6);
    for (int i = 0; i < 6; ++i)
        SetRawString(std::to_string(i), "C:\\" + std::to_string(i) + ".kbf");
    SetRawDword("3", 7);
    EXPECT_EQ(Lines(*LoadRecentFiles()), (std::vector<std::string>{"C:\\0.kbf", "C:\\1.kbf", "C:\\2.kbf"}));
    // The shared object is left with no key open for the next caller.
    EXPECT_EQ(SettingsRegistry().CurrentKey(), nullptr);
}

TEST_F(RecentFilesStore, SaveWritesCountAndTheFirstEightEntries)
{
    std::vector<std::string> paths;
    for (int i = 0; i < 10; ++i)
        paths.push_back("C:\\Outlines\\" + std::to_string(i) + ".kbf");
    SaveRecentFiles(ListOf(paths));
    DWORD count = 0;
    ASSERT_TRUE(RawDword("Count", count));
    EXPECT_EQ(count, 8u);
    for (int i = 0; i < 8; ++i) {
        std::string value;
        ASSERT_TRUE(RawString(std::to_string(i), value));
        EXPECT_EQ(value, paths[static_cast<std::size_t>(i)]);
    }
    std::string value;
    EXPECT_FALSE(RawString("8", value));
    EXPECT_EQ(SettingsRegistry().CurrentKey(), nullptr);
}

TEST_F(RecentFilesStore, AShorterListLoadsBackAloneWhateverEarlierSavesLeft)
{
    SaveRecentFiles(ListOf({"C:\\a.kbf", "C:\\b.kbf", "C:\\c.kbf", "C:\\d.kbf"}));
    SaveRecentFiles(ListOf({"C:\\\xE9t\xE9.kbf", "C:\\a.kbf"}));
    EXPECT_EQ(Lines(*LoadRecentFiles()), (std::vector<std::string>{"C:\\\xE9t\xE9.kbf", "C:\\a.kbf"}));
    SaveRecentFiles(TStringList());
    DWORD count = 99;
    ASSERT_TRUE(RawDword("Count", count));
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(LoadRecentFiles()->Count(), 0);
}

TEST_F(RecentFilesStore, SaveCreatesAMissingReopenKey)
{
    ASSERT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, Reopen().c_str()), ERROR_SUCCESS);
    SaveRecentFiles(ListOf({"C:\\a.kbf"}));
    EXPECT_EQ(Lines(*LoadRecentFiles()), (std::vector<std::string>{"C:\\a.kbf"}));
}

TEST_F(RecentFilesStore, WithoutTheSettingsKeySaveFailsAndWritesNowhere)
{
    ASSERT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, base_.c_str()), ERROR_SUCCESS);
    try {
        SaveRecentFiles(ListOf({"C:\\a.kbf"}));
        ADD_FAILURE() << "no exception";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), "Failed to set data for 'Count'");
    }
    EXPECT_FALSE(RawKeyExists(base_));
    EXPECT_EQ(SettingsRegistry().CurrentKey(), nullptr);

    // At close the failure is reported and the other writers still run.
    std::vector<std::string> reports;
    SetSettingsErrorReporter([&reports](const std::string& message) { reports.push_back(message); });
    bool laterRan = false;
    EXPECT_FALSE(WriteSettingsReporting({[] { SaveRecentFiles(ListOf({"C:\\a.kbf"})); }, [&] { laterRan = true; }}));
    EXPECT_TRUE(laterRan);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("Failed to set data for 'Count'"), std::string::npos) << reports[0];
}

// --- The list rules and the menus -----------------------------------------

namespace {

// A folder of the test's own in the temporary folder, with outline files
// that exist and names of ones that do not.
class RecentFilesOnDisk : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH] = {};
        ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
        folder_ = std::string(temp) + "QuilloRecent." + UniqueName();
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
        RecentFiles.Clear();
    }

    void TearDown() override
    {
        RecentFiles.Clear();
        for (const std::string& path : made_)
            DeleteFileA(path.c_str());
        RemoveDirectoryA(folder_.c_str());
    }

    std::string Existing(const std::string& name)
    {
        const std::string path = folder_ + "\\" + name;
        std::ofstream(path, std::ios::binary) << "KBF";
        made_.push_back(path);
        return path;
    }
    std::string Missing(const std::string& name) const { return folder_ + "\\" + name; }

    std::string folder_;
    std::vector<std::string> made_;
};

class RecentMenu : public RecentFilesOnDisk {
protected:
    void SetUp() override
    {
        RecentFilesOnDisk::SetUp();
        Application.Initialize();
        Application.CreateForm<TMain>();
        ASSERT_NE(Main, nullptr);
        // Whatever the window's start-up put in the list is not this test's.
        RecentFiles.Clear();
    }

    void TearDown() override
    {
        Application.DestroyForms();
        Application.Initialize();
        RecentFilesOnDisk::TearDown();
    }

    TMenuItem* Item(const std::string& name) const
    {
        auto* item = dynamic_cast<TMenuItem*>(Main->FindComponent(name));
        EXPECT_NE(item, nullptr) << name;
        return item;
    }

    // Both menus show exactly these captions, in order; every other item is hidden.
    void ExpectShown(const std::vector<std::string>& captions)
    {
        const bool none = captions.empty();
        EXPECT_EQ(Item("mNone")->Visible(), none);
        EXPECT_EQ(Item("None1")->Visible(), none);
        for (int i = 0; i < MaxRecentFiles; ++i) {
            SCOPED_TRACE(i);
            const bool shown = i < static_cast<int>(captions.size());
            for (const std::string prefix : {"m", "pr"}) {
                TMenuItem* item = Item(prefix + std::to_string(i));
                EXPECT_EQ(item->Visible(), shown) << prefix;
                if (shown) {
                    EXPECT_EQ(item->Caption(), captions[static_cast<std::size_t>(i)]) << prefix;
                }
            }
        }
        // The Win32 menu has an entry for each shown item and no other.
        const int entries = none ? 1 : static_cast<int>(captions.size());
        EXPECT_EQ(GetMenuItemCount(Item("mReopen")->Handle()), entries);
        EXPECT_EQ(GetMenuItemCount(Main->PopupMenuNamed("PopupReopen")->Handle()), entries);
    }
};

} // namespace

TEST(RecentFilesRules, CaptionsAreTheIndexTwoBlanksAndThePath)
{
    EXPECT_EQ(RecentCaption(0, "C:\\Notes\\Work.kbf"), "&0  C:\\Notes\\Work.kbf");
    EXPECT_EQ(RecentCaption(7, "D:\\a b.kbf"), "&7  D:\\a b.kbf");
    EXPECT_EQ(RecentPathFromCaption("&0  C:\\Notes\\Work.kbf"), "C:\\Notes\\Work.kbf");
    EXPECT_EQ(RecentPathFromCaption(RecentCaption(3, "C:\\R&D.kbf")), "C:\\R&D.kbf");
    EXPECT_EQ(RecentPathFromCaption("None"), "");
}

TEST(RecentFilesRules, MembershipIgnoresLetterCase)
{
    const TStringList list = ListOf({"C:\\Notes\\Work.kbf", "C:\\\xC4rger.kbf"});
    EXPECT_TRUE(RecentFilesHold(list, "c:\\NOTES\\work.KBF"));
    EXPECT_TRUE(RecentFilesHold(list, "C:\\\xE4RGER.KBF"));
    EXPECT_FALSE(RecentFilesHold(list, "C:\\Notes\\Work.kbf.bak"));
}

TEST_F(RecentFilesOnDisk, PruneKeepsEightAndDropsFilesThatAreGone)
{
    std::vector<std::string> paths;
    for (int i = 0; i < 9; ++i)
        paths.push_back(i == 2 || i == 5 ? Missing(std::to_string(i) + ".kbf") : Existing(std::to_string(i) + ".kbf"));
    paths.push_back(Existing("9.kbf"));
    TStringList list = ListOf(paths);
    PruneRecentFiles(list);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{paths[0], paths[1], paths[3], paths[4], paths[6], paths[7]}));
}

TEST_F(RecentFilesOnDisk, AFolderOrAnEmptyEntryIsNoFile)
{
    TStringList list = ListOf({folder_, "", Existing("a.kbf"), "Q:\\NoSuchDrive\\x.kbf"});
    PruneRecentFiles(list);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{folder_ + "\\a.kbf"}));
}

TEST_F(RecentFilesOnDisk, WithoutAWindowTheRebuildPutsOnlyTheListInOrder)
{
    ASSERT_EQ(Main, nullptr);
    RecentFiles.Add(Missing("gone.kbf"));
    RecentFiles.Add(Existing("a.kbf"));
    RebuildRecentMenu(RecentFiles);
    EXPECT_EQ(Lines(RecentFiles), (std::vector<std::string>{folder_ + "\\a.kbf"}));
}

TEST_F(RecentMenu, AnEmptyListShowsOnlyNone)
{
    RebuildRecentMenu(RecentFiles);
    ExpectShown({});
}

TEST_F(RecentMenu, EachEntryIsShownInBothMenusAndTheRestIsHidden)
{
    const std::string a = Existing("Work.kbf");
    const std::string b = Existing("R&D notes.kbf");
    RecentFiles.Add(a);
    RecentFiles.Add(b);
    RebuildRecentMenu(RecentFiles);
    ExpectShown({"&0  " + a, "&1  " + b});
    EXPECT_EQ(RecentPathFromCaption(Item("m1")->Caption()), b);
    EXPECT_EQ(RecentPathFromCaption(Item("pr0")->Caption()), a);

    // A shorter list hides what the longer one showed.
    RecentFiles.Delete(0);
    RebuildRecentMenu(RecentFiles);
    ExpectShown({"&0  " + b});
}

TEST_F(RecentMenu, FilesThatAreGoneDropOutAndTheRestMoveUp)
{
    const std::string a = Existing("a.kbf");
    const std::string c = Existing("c.kbf");
    RecentFiles.Add(a);
    RecentFiles.Add(Missing("b.kbf"));
    RecentFiles.Add(c);
    RebuildRecentMenu(RecentFiles);
    EXPECT_EQ(Lines(RecentFiles), (std::vector<std::string>{a, c}));
    ExpectShown({"&0  " + a, "&1  " + c});
}

TEST_F(RecentMenu, AListWhoseEveryFileIsGoneEndsEmptyAndShowsNone)
{
    RecentFiles.Add(Existing("a.kbf"));
    RebuildRecentMenu(RecentFiles);
    ExpectShown({"&0  " + folder_ + "\\a.kbf"});
    RecentFiles.Clear();
    RecentFiles.Add(Missing("x.kbf"));
    RecentFiles.Add(Missing("y.kbf"));
    RebuildRecentMenu(RecentFiles);
    EXPECT_EQ(RecentFiles.Count(), 0);
    ExpectShown({});
}

TEST_F(RecentMenu, ANinthOutlinePushesTheOldestOut)
{
    std::vector<std::string> paths;
    for (int i = 0; i < 8; ++i)
        paths.push_back(Existing(std::to_string(i) + ".kbf"));
    for (const std::string& path : paths)
        AddRecent(path);
    ASSERT_EQ(RecentFiles.Count(), 8);
    EXPECT_EQ(RecentFiles[0], paths[7]);
    const std::string ninth = Existing("ninth.kbf");
    AddRecent(ninth);
    ASSERT_EQ(RecentFiles.Count(), 8);
    EXPECT_EQ(RecentFiles[0], ninth);
    EXPECT_EQ(RecentFiles[7], paths[1]);
    EXPECT_FALSE(RecentFilesHold(RecentFiles, paths[0]));
    EXPECT_EQ(Item("m0")->Caption(), "&0  " + ninth);
    EXPECT_EQ(Item("pr7")->Caption(), "&7  " + paths[1]);
}

TEST_F(RecentMenu, AnOutlineAlreadyListedUnderAnotherCaseChangesNothing)
{
    const std::string a = Existing("Alpha.kbf");
    const std::string b = Existing("Beta.kbf");
    AddRecent(a);
    AddRecent(b);
    // A file gone since the last rebuild stays too: no rebuild runs.
    RecentFiles.Add(Missing("gone.kbf"));
    AddRecent(AnsiUpperCase(a));
    EXPECT_EQ(Lines(RecentFiles), (std::vector<std::string>{b, a, Missing("gone.kbf")}));
    ExpectShown({"&0  " + b, "&1  " + a});
}
