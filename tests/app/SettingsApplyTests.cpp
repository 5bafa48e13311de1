// The settings from the registry to the main window: what the load reads and
// repairs, what the first activation puts into effect, and what the Options
// dialog's confirmation applies again.
#include "Menus.h"
#include "RichEdit.h"
#include "ScriptedMessageBoxes.h"
#include "SettingsLoad.h"
#include "StartedMain.h"
#include "StatusBar.h"
#include "ToolBar.h"
#include "TrayComp.h"
#include "TreeView.h"

#include <gtest/gtest.h>
#include <richedit.h>

#include <memory>

namespace {

DWORD ValueCount(const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    DWORD values = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    return values;
}

void DeleteStoredValue(const std::string& path, const char* name)
{
    ASSERT_EQ(RegDeleteKeyValueA(HKEY_CURRENT_USER, path.c_str(), name), ERROR_SUCCESS) << name;
}

std::string FontFace(HWND window)
{
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    LOGFONTA description{};
    if (!font || !GetObjectA(font, sizeof description, &description))
        return "";
    return description.lfFaceName;
}

// The face of the characters the editor writes in.
std::string EditorFontFace(HWND editor)
{
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    SendMessageA(editor, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    return format.szFaceName;
}

TMenuItem* Item(const char* name) { return dynamic_cast<TMenuItem*>(Main->FindComponent(name)); }

class SettingsLoad : public StartedMain {
protected:
    void Load() { LoadSettings("C:\\Quillo\\", ViewMenuChecks{}); }
    std::string Key(const char* name) const { return base_ + "\\" + name; }
};

} // namespace

TEST_F(SettingsLoad, AnEmptyStoreGetsItsKeysAndOnlyTheUserSettingsAndTheGeneralGroup)
{
    for (const char* key : {"User", "Options", "Reopen"})
        ASSERT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, Key(key).c_str()), ERROR_SUCCESS);
    DialogStates.FindRInitialized = false;
    Load();
    EXPECT_EQ(ValueCount(Key("User")), 13u) << "the twelve settings and ShowWelcome";
    EXPECT_EQ(ValueCount(Key("Options")), 25u) << "group 1 only";
    EXPECT_TRUE(RawKeyExists(Key("Reopen")));
    EXPECT_EQ(ValueCount(Key("Reopen")), 0u);
    EXPECT_FALSE(RawKeyExists(Key("States")));
    EXPECT_EQ(RecentFiles.Count(), 0);
}

TEST_F(SettingsLoad, AStoreMissingOnlySomeKeysKeepsWhatTheUserSet)
{
    user.Name = "Ann";
    user.Width = 700;
    options.Traybar = 2;
    options.DateTimeFormat = "dd.mm.yy";
    WriteSettings();
    ASSERT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, Key("Reopen").c_str()), ERROR_SUCCESS);
    Load();
    EXPECT_TRUE(RawKeyExists(Key("Reopen")));
    EXPECT_EQ(UserSettings.Name, "Ann");
    EXPECT_EQ(UserSettings.Width, 700);
    EXPECT_EQ(OptionSettings.Traybar, 2);
    EXPECT_EQ(OptionSettings.DateTimeFormat, "dd.mm.yy");
    EXPECT_EQ(StoredText("User", "Name"), "Ann");
    EXPECT_EQ(StoredNumber("Options", "Traybar"), 2);
}

TEST_F(SettingsLoad, AGroupThatFailsIsWrittenBackWithWhatWasReadAndTheGroupsAfterIt)
{
    struct Case {
        const char* key;
        const char* missing;
        const char* rewritten;     // a value the repair writes back
        long long rewrittenNumber; // its value afterwards
    };
    const Case cases[] = {
        {"Options", "BackupCopy", "ExtraHead", -1}, // groups 2 to 5
        {"Options", "SortType", "SortType", -1},    // group 3 with FirstUse 0
        {"Options", "SupportFolder", "SupportFolder", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.missing);
        options = TOptionSettings{};
        SetDefaultOptions(options, "C:\\Quillo\\");
        options.FirstUse = true;
        options.DateTimeFormat = "dd.mm.yy";
        options.Traybar = 2;
        WriteSettings();
        DeleteStoredValue(Key(c.key), c.missing);
        Load();
        EXPECT_EQ(OptionSettings.DateTimeFormat, "dd.mm.yy");
        EXPECT_EQ(OptionSettings.Traybar, 2);
        EXPECT_EQ(StoredText("Options", "DateTimeFormat"), "dd.mm.yy");
        if (std::string(c.rewritten) == "ExtraHead")
            EXPECT_EQ(StoredText("Options", "ExtraHead"), "");
        else
            EXPECT_EQ(StoredNumber("Options", c.rewritten), c.rewrittenNumber);
    }
    // Only the behaviour group's loss counts as no first use.
    EXPECT_EQ(StoredNumber("Options", "FirstUse"), 1);
}

TEST_F(SettingsLoad, AMissingSortTypeRewritesTheBehaviourGroupAsNoFirstUse)
{
    options.FirstUse = true;
    WriteSettings();
    DeleteStoredValue(Key("Options"), "SortType");
    Load();
    EXPECT_FALSE(OptionSettings.FirstUse);
    EXPECT_EQ(StoredNumber("Options", "FirstUse"), 0);
    EXPECT_EQ(StoredNumber("Options", "SortType"), -1);
}

TEST_F(SettingsLoad, AMissingNameReadsEmptyButAMissingHeightResetsEverything)
{
    user.Width = 700;
    options.Traybar = 2;
    WriteSettings();
    DeleteStoredValue(Key("User"), "Name");
    Load();
    EXPECT_EQ(UserSettings.Name, "");
    EXPECT_EQ(UserSettings.Width, 700);

    WriteSettings();
    DeleteStoredValue(Key("User"), "Height");
    Load();
    EXPECT_EQ(UserSettings.Width, 638);
    EXPECT_EQ(OptionSettings.Traybar, 3);
    EXPECT_EQ(UserSettings.LastDb, "C:\\Quillo\\Quillo Tutorial.kbf");
    EXPECT_EQ(StoredNumber("User", "Width"), 638);
    EXPECT_EQ(StoredNumber("Options", "Traybar"), 3);
    EXPECT_EQ(StoredText("Options", "Email"), "System Default");
}

TEST_F(SettingsLoad, DialogStatesThatCannotBeReadAreClearedAndTheRecentListIsRead)
{
    WriteSettings();
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, Key("Reopen").c_str(), "0", REG_SZ, "C:\\a.kbf", 9), ERROR_SUCCESS);
    const DWORD one = 1;
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, Key("Reopen").c_str(), "Count", REG_DWORD, &one, sizeof one),
              ERROR_SUCCESS);
    DialogStates.FindRInitialized = true;
    DialogStates.OptionsIndex = 3;
    Load();
    EXPECT_FALSE(DialogStates.FindRInitialized);
    EXPECT_EQ(DialogStates.OptionsIndex, 0);
    ASSERT_EQ(RecentFiles.Count(), 1);
    EXPECT_EQ(RecentFiles[0], "C:\\a.kbf");
}

TEST_F(StartedMain, TheFirstActivationPlacesTheWindowAsTheSettingsSay)
{
    // XPos is the top and YPos the left.
    user.XPos = 30;
    user.YPos = 50;
    user.Width = 700;
    user.Height = 500;
    user.TreeWidth = 250;
    Start({"/m"});
    const RECT bounds = Main->NormalBounds();
    EXPECT_EQ(bounds.left, 50);
    EXPECT_EQ(bounds.top, 30);
    EXPECT_EQ(bounds.right, 750);
    EXPECT_EQ(bounds.bottom, 530);
    EXPECT_EQ(Main->Tree->Width(), 250);
    EXPECT_EQ(Main->WindowState(), TWindowState::wsNormal);
}

TEST_F(StartedMain, AHiddenToolbarStaysHidden)
{
    user.Toolbar = false;
    Start({"/m"});
    EXPECT_FALSE(Main->Toolbar->Visible());
    EXPECT_FALSE(Item("mToolbar")->Checked());
    EXPECT_EQ(Main->Tree->Top(), 0);
}

TEST_F(StartedMain, AMaximisedWindowStartsMaximised)
{
    user.Maximized = true;
    Start({"/m"});
    EXPECT_EQ(Main->WindowState(), TWindowState::wsMaximized);
}

TEST_F(StartedMain, TheOptionsTakeEffectAtStart)
{
    options.StatusBar = false;
    options.TreeButtons = false;
    options.TreeLines = false;
    options.TreeStates = false;
    options.InsInsert = true;
    options.OutlineFontFace = "Courier New";
    options.PageFontFace = "Arial";
    options.Traybar = 2;
    Start({"/m"});
    EXPECT_FALSE(Main->StatusBar->Visible());
    EXPECT_FALSE(Item("mStatusbar")->Checked());
    EXPECT_FALSE(Main->Tree->ShowButtons());
    EXPECT_FALSE(Main->Tree->ShowLines());
    EXPECT_EQ(SendMessageA(Main->Tree->Handle(), TVM_GETIMAGELIST, TVSIL_STATE, 0), 0);
    EXPECT_NE(SendMessageA(Main->Tree->Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0), 0);
    EXPECT_EQ(Item("mPaste")->ShortCutText(), "Ins");
    EXPECT_EQ(FontFace(Main->Tree->Handle()), "Courier New");
    EXPECT_EQ(EditorFontFace(Main->RichEdit->Handle()), "Arial");
    EXPECT_TRUE(Main->Tray.Visible());
    EXPECT_FALSE(Main->Tray.Hide());
    // The editor and the tree reach down to the client area's bottom.
    EXPECT_EQ(Main->RichEdit->Top() + Main->RichEdit->Height(), Main->ClientRect().bottom);
}

TEST_F(StartedMain, ApplyingAgainFollowsTheChangedOptions)
{
    Start({"/m"});
    EXPECT_TRUE(Main->Tray.Visible());
    EXPECT_TRUE(Main->Tray.Hide());
    auto outlineViews = std::make_shared<int>(0);
    auto pageViews = std::make_shared<int>(0);
    Main->SetHandler("mOutlineClick", [outlineViews](TComponent*) { ++*outlineViews; });
    Main->SetHandler("mPageOnlyClick", [pageViews](TComponent*) { ++*pageViews; });

    OptionSettings.NormalView = false;
    OptionSettings.OutlineView = true;
    OptionSettings.StatusBar = false;
    OptionSettings.Traybar = 2;
    Main->ApplyOptions();
    EXPECT_EQ(*outlineViews, 1);
    EXPECT_FALSE(Main->StatusBar->Visible());
    EXPECT_TRUE(Main->Tray.Visible());
    EXPECT_FALSE(Main->Tray.Hide());

    OptionSettings.OutlineView = false;
    OptionSettings.StatusBar = true;
    OptionSettings.Traybar = 1;
    Main->ApplyOptions();
    EXPECT_EQ(*pageViews, 1);
    EXPECT_TRUE(Main->StatusBar->Visible());
    EXPECT_TRUE(Item("mStatusbar")->Checked());
    EXPECT_FALSE(Main->Tray.Visible());

    OptionSettings.NormalView = true;
    OptionSettings.Traybar = 4;
    Main->ApplyOptions();
    EXPECT_TRUE(Item("mNormal")->Checked());
    EXPECT_FALSE(Item("mOutline")->Checked());
    EXPECT_FALSE(Item("mPageOnly")->Checked());
    EXPECT_FALSE(Main->Tray.Visible());
    EXPECT_TRUE(Main->Tray.Hide());
    EXPECT_EQ(*outlineViews, 1);
    EXPECT_EQ(*pageViews, 1);
}

TEST_F(StartedMain, AnIconTheShellRefusesIsReportedAndTheRunGoesOn)
{
    options.Traybar = 1;
    Start({"/m"});
    SetTrayShellCall([](DWORD, NOTIFYICONDATAA*) -> BOOL { return FALSE; });
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    OptionSettings.Traybar = 3;
    Main->ApplyOptions();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "Cannot Create System Shell Notification Icon");
    EXPECT_EQ(boxes.Shown()[0].caption, "Application Error");
    EXPECT_FALSE(Main->Tray.Visible());
    EXPECT_NE(Application.MainForm(), nullptr);
    EXPECT_FALSE(Application.Terminated());
}

TEST_F(StartedMain, TheFirstStatusPanelTakesTheRoomTheOthersLeave)
{
    Start({"/m"});
    EXPECT_EQ(Main->StatusBar->Panel(0).Width(), Main->StatusBar->Width() - 100);
    const RECT bounds = Main->NormalBounds();
    Main->SetBounds(bounds.left, bounds.top, 500, 400);
    EXPECT_EQ(Main->StatusBar->Panel(0).Width(), Main->StatusBar->Width() - 100);
}

TEST_F(StartedMain, ASplitterDraggedBetweenTheExtremesMeansTheNormalView)
{
    Start({"/m"});
    const auto checkOutlineView = [] {
        Item("mNormal")->SetChecked(false);
        Item("mOutline")->SetChecked(true);
    };
    checkOutlineView();
    Main->Tree->SetWidth(150);
    Main->SplitterMoved();
    EXPECT_TRUE(Item("mNormal")->Checked());
    EXPECT_FALSE(Item("mOutline")->Checked());
    EXPECT_FALSE(Item("mPageOnly")->Checked());

    checkOutlineView();
    Main->Tree->SetWidth(1);
    Main->SplitterMoved();
    EXPECT_TRUE(Item("mOutline")->Checked());
    EXPECT_FALSE(Item("mNormal")->Checked());
}
