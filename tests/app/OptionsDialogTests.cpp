// The Options dialog opened by its command in the real main window: records
// to controls and back, what only OK stores, the folder rows, fonts, mail
// clients, shortcuts and help pages.
#include "BrowseDirectoryDlg.h"
#include "HtmlHelp.h"
#include "MailClients.h"
#include "MainWindowTest.h"
#include "ModalScript.h"
#include "OptionsDialog.h"
#include "ProgramFolder.h"
#include "ScriptedFileDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "ShellShortcuts.h"
#include "TestFolder.h"
#include "WindowsInfo.h"

#include <richedit.h>
#include <shlobj.h>

#include <functional>
#include <string>
#include <vector>

namespace {
std::vector<std::string> optionsHelp;
HWND WINAPI RecordHelp(HWND, LPCSTR file, UINT command, DWORD_PTR)
{
    if (command == HelpDisplayTopic && file)
        optionsHelp.push_back(file);
    return nullptr;
}

std::string EditorFontFace(HWND editor)
{
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    SendMessageA(editor, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    return format.szFaceName;
}

std::vector<std::string> Rows(const TOptions& dialog)
{
    std::vector<std::string> rows;
    for (int i = 0; i < dialog.FolderEdit.Count(); ++i)
        rows.push_back(dialog.FolderEdit.Item(i)->SubItems().at(0));
    return rows;
}

std::vector<std::string> Items(const TComboBox& box)
{
    std::vector<std::string> items;
    for (int i = 0; i < box.Items().Count(); ++i)
        items.push_back(box.Items().Get(i));
    return items;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
} // namespace

class OptionsDialog : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        states_ = DialogStates;
        Application.SetHelpFile("C:\\Quillo\\Quillo.chm");
    }
    void TearDown() override
    {
        SetBrowseDirectoryHandler(nullptr);
        SetSpecialFolderHandler(nullptr);
        Application.SetHelpFile("");
        DialogStates = states_;
        MainWindowTest::TearDown();
    }

    // Runs the Options command; step acts on the dialog once it is shown.
    void Open(std::function<void(TOptions&)> step)
    {
        ModalScript script;
        script.Then<TOptions>(std::move(step));
        Main->RunHandler("mOptionsClick", nullptr);
        EXPECT_EQ(script.PendingSteps(), 0u);
        EXPECT_EQ(script.Shown().size(), 1u);
    }

    static void Distinct(TOptionSettings& o, TUserSettings& u)
    {
        o.SaveOptions = true;
        o.SaveExit = true;
        o.AutoSave = 25;
        o.DocumentsFolder = "C:\\Docs\\";
        o.TemplatesFolder = "C:\\Tpl";
        o.BackupFolder = "C:\\Bak";
        o.ExternalFolder = "D:\\Ext";
        o.TreeButtons = false;
        o.TreeLines = false;
        o.TreeStates = true;
        o.TreeImages = false;
        o.EscMinimize = true;
        o.DblClickHyperlink = false;
        o.InsInsert = true;
        o.UseLastFolder = false;
        o.OutlineFontFace = "Arial";
        o.OutlineFontSize = 10;
        o.PageFontFace = "Courier New";
        o.PageFontSize = 12;
        o.PrintFontFace = "Times New Roman";
        o.PrintFontSize = 9;
        o.Traybar = 2;
        o.DeleteConfirm = false;
        o.BackupCopy = true;
        o.InPlace = false;
        o.Email = "System Default";
        u.Name = "Ann Author";
        u.Startup = true;
        u.UseLast = false;
        u.CustomFile = "C:\\start.kbf";
    }

    TDialogStates states_;
};

TEST_F(OptionsDialog, RecordsShowInTheControlsAndOkStoresThemBackUnchanged)
{
    Distinct(OptionSettings, UserSettings);
    const TOptionSettings options = OptionSettings;
    const TUserSettings user = UserSettings;
    Open([](TOptions& d) {
        const std::pair<bool, bool> shown[] = {
            {d.CustomRadio.Checked(), true}, {d.FileEdit.Enabled(), true},   {d.Radio2.Checked(), true},
            {d.StateEdit.Checked(), true},   {d.LinesEdit.Checked(), false}, {d.ButtonsEdit.Checked(), false},
            {d.ImagesEdit.Checked(), false}, {d.CustomEdit.Checked(), true}, {d.OptionsEdit.Checked(), true},
            {d.ExitEdit.Checked(), true},    {d.AutoEdit.Checked(), true},   {d.BackupEdit.Checked(), true},
            {d.CtrlClickRadio.Checked(), true}, {d.InsEdit.Checked(), true}, {d.EscEdit.Checked(), true},
            {d.DeleteEdit.Checked(), false},    {d.InPlaceEdit.Checked(), false}};
        for (size_t i = 0; i < std::size(shown); ++i)
            EXPECT_EQ(shown[i].first, shown[i].second) << "control " << i;
        EXPECT_EQ(d.FileEdit.Text(), "C:\\start.kbf");
        EXPECT_EQ(d.AuthorEdit.Text(), "Ann Author");
        EXPECT_EQ(d.MinutesEdit.Value(), 25);
        EXPECT_EQ(Rows(d), (std::vector<std::string>{"C:\\Docs\\", "C:\\Tpl", "C:\\Bak", "D:\\Ext"}));
        EXPECT_EQ(d.FolderEdit.ItemIndex(), 0);
        EXPECT_EQ(d.OutlineFontE.Caption(), "Arial");
        EXPECT_EQ(d.PageFontE.Caption(), "Courier New");
        EXPECT_EQ(d.PrintFontE.Caption(), "Times New Roman");
        EXPECT_EQ(d.FontSize(d.PrintFontE), 9);
        EXPECT_EQ(d.EmailEdit.Text(), "System Default");
        d.OK.Click();
    });
    EXPECT_EQ(OptionSettings, options);
    EXPECT_EQ(UserSettings, user);
}

TEST_F(OptionsDialog, ChangedControlsReachTheRecordsOnlyThroughOk)
{
    const auto change = [](TOptions& d) {
        d.CustomRadio.SetChecked(true);
        d.StartupDefault.Click();
        d.NoneRadio.SetChecked(true);
        d.AuthorEdit.SetText("Bea");
        d.Button7.Click();
        d.Radio1.SetChecked(true);
        d.LinesEdit.SetChecked(false);
        d.CustomEdit.SetChecked(true);
        d.BackupEdit.SetChecked(true);
        d.CtrlClickRadio.SetChecked(true);
        d.EscEdit.SetChecked(true);
        d.InPlaceEdit.SetChecked(false);
    };
    const TOptionSettings options = OptionSettings;
    const TUserSettings user = UserSettings;
    Open([&](TOptions& d) {
        change(d);
        EXPECT_FALSE(d.FileEdit.Enabled());
        d.Cancel.Click();
    });
    EXPECT_EQ(OptionSettings, options);
    EXPECT_EQ(UserSettings, user);

    AutoSaveMinutes = 7;
    Open([&](TOptions& d) {
        change(d);
        d.OK.Click();
    });
    EXPECT_EQ(AutoSaveMinutes, 0);
    EXPECT_FALSE(UserSettings.Startup);
    EXPECT_EQ(UserSettings.UseLast, user.UseLast);
    EXPECT_EQ(UserSettings.Name, "Anybody");
    EXPECT_EQ(UserSettings.CustomFile, ExeFolder() + "Quillo Tutorial.kbf");
    EXPECT_EQ(OptionSettings.Traybar, 1);
    EXPECT_FALSE(OptionSettings.TreeLines);
    EXPECT_FALSE(OptionSettings.UseLastFolder);
    EXPECT_TRUE(OptionSettings.BackupCopy);
    EXPECT_FALSE(OptionSettings.DblClickHyperlink);
    EXPECT_TRUE(OptionSettings.EscMinimize);
    EXPECT_FALSE(OptionSettings.InPlace);
}

TEST_F(OptionsDialog, StartupFileAndAuthorButtonsFillTheirEdits)
{
    OptionSettings.DocumentsFolder = "C:\\Outlines\\";
    ScriptedFileDialogs dialogs;
    dialogs.Choose("C:\\Outlines\\Start.kbf");
    Open([](TOptions& d) {
        d.CustomRadio.SetChecked(true);
        d.StartupBrowse.Click();
        EXPECT_EQ(d.FileEdit.Text(), "C:\\Outlines\\Start.kbf");
        d.Button6.Click();
        EXPECT_EQ(d.AuthorEdit.Text(), ReadRegisteredOwner());
        d.Cancel.Click();
    });
    ASSERT_EQ(dialogs.Requests().size(), 1u);
    EXPECT_EQ(dialogs.Requests()[0].title, "Startup File");
    EXPECT_EQ(dialogs.Requests()[0].initialDir, "C:\\Outlines\\");
    EXPECT_EQ(dialogs.Requests()[0].fileName, "");
}

TEST_F(OptionsDialog, TraybarFourShowsTheThirdChoiceAndIsStoredAsThree)
{
    OptionSettings.Traybar = 4;
    Open([](TOptions& d) {
        EXPECT_TRUE(d.Radio3.Checked());
        d.OK.Click();
    });
    EXPECT_EQ(OptionSettings.Traybar, 3);
}

TEST_F(OptionsDialog, AutoSaveOffShowsTenAndAMinutesChangeChecksTheBox)
{
    OptionSettings.AutoSave = 0;
    Open([](TOptions& d) {
        EXPECT_EQ(d.MinutesEdit.Value(), 10);
        EXPECT_FALSE(d.AutoEdit.Checked());
        d.MinutesEdit.SetValue(30);
        EXPECT_TRUE(d.AutoEdit.Checked());
        d.AutoEdit.SetChecked(false);
        d.OK.Click();
    });
    EXPECT_EQ(OptionSettings.AutoSave, 0);
    Open([](TOptions& d) {
        d.MinutesEdit.SetValue(45);
        d.OK.Click();
    });
    EXPECT_EQ(OptionSettings.AutoSave, 45);
}

TEST_F(OptionsDialog, RestoredDefaultsStayAfterCancelAndTheWindowShowsThem)
{
    OptionSettings.PageFontFace = "Courier New";
    OptionSettings.UseLastFolder = true;
    Main->ApplyOptions();
    ASSERT_EQ(EditorFontFace(Editor().Handle()), "Courier New");
    Open([](TOptions& d) {
        d.CustomEdit.SetChecked(true);
        d.CtrlClickRadio.SetChecked(true);
        d.Button1.Click();
        EXPECT_TRUE(d.LastEdit.Checked());
        EXPECT_FALSE(d.CustomEdit.Checked());
        EXPECT_TRUE(d.DblClickRadio.Checked());
        EXPECT_EQ(d.PageFontE.Caption(), "Verdana");
        EXPECT_EQ(d.AuthorEdit.Text(), "Anybody");
        d.Cancel.Click();
    });
    EXPECT_EQ(OptionSettings.PageFontFace, "Verdana");
    EXPECT_EQ(UserSettings.Name, "Anybody");
    EXPECT_EQ(EditorFontFace(Editor().Handle()), "Verdana");
}

TEST_F(OptionsDialog, FolderRowsResetModifyAndKeepTheirChangesThroughOtherDialogs)
{
    TestFolder picked;
    int pickerRuns = 0;
    SetBrowseDirectoryHandler([&](TBrowseDirectoryDlg& picker) {
        // The first run chooses a folder, the second is cancelled.
        if (++pickerRuns > 1)
            return false;
        EXPECT_EQ(picker.Title, "Select Folder:");
        EXPECT_EQ(picker.Selection(), "C:\\Bak");
        picker.SetSelection(picked.Path());
        return true;
    });
    OptionSettings.BackupFolder = "C:\\Bak";
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    ScriptedFileDialogs dialogs;
    dialogs.ChooseFont("Arial", 11);
    Open([&](TOptions& d) {
        d.FolderEdit.SetItemIndex(3);
        d.SaveDefault.Click();
        EXPECT_EQ(Rows(d)[3], "C:\\My documents");

        d.FolderEdit.SetItemIndex(2);
        d.SaveBrowse.Click();
        EXPECT_EQ(Rows(d)[2], picked.Path() + "\\");
        d.SaveBrowse.Click();
        EXPECT_EQ(Rows(d)[2], picked.Path() + "\\");
        EXPECT_EQ(d.BrowseDocuments.Selection(), "");
        d.CustomRadio.SetChecked(true);
        d.StartupCurrent.Click();
        d.Button4.Click();
        // The message box and the font dialog give the activation back.
        d.FormActivate();
        EXPECT_EQ(Rows(d)[2], picked.Path() + "\\");
        EXPECT_EQ(d.FolderEdit.ItemIndex(), 2);
        EXPECT_EQ(d.OutlineFontE.Caption(), "Arial");

        d.FolderEdit.SetItemIndex(-1);
        const std::vector<std::string> before = Rows(d);
        d.SaveDefault.Click();
        d.SaveBrowse.Click();
        d.FolderEdit.OnDblClick();
        EXPECT_EQ(Rows(d), before);
        d.OK.Click();
    });
    EXPECT_EQ(pickerRuns, 2);
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"This knowledge base is not saved yet!"}));
    EXPECT_EQ(boxes.Shown().at(0).caption, "Corvane Quillo");
    EXPECT_EQ(OptionSettings.BackupFolder, picked.Path() + "\\");
    EXPECT_EQ(OptionSettings.ExternalFolder, "C:\\My documents");
    EXPECT_EQ(OptionSettings.OutlineFontFace, "Arial");
    EXPECT_EQ(OptionSettings.OutlineFontSize, 11);

    Open([](TOptions& d) {
        d.Button3.Click();
        EXPECT_EQ(Rows(d), (std::vector<std::string>{ExeFolder(), ExeFolder() + "Templates",
                                                     ExeFolder() + "Backup files", "C:\\My documents"}));
        d.Cancel.Click();
    });
}

TEST_F(OptionsDialog, MailClientsFollowSystemDefaultSortedAndAnUnknownOneIsKept)
{
    const std::string base = std::string(MailClientsPath) + "\\";
    const char* const added[] = {"zz Quillo Test Mail", "AA Quillo Test Mail"};
    for (const char* name : added) {
        HKEY key = nullptr;
        if (RegCreateKeyA(HKEY_LOCAL_MACHINE, (base + name).c_str(), &key) != ERROR_SUCCESS)
            GTEST_SKIP() << "the machine's mail clients cannot be written here";
        RegCloseKey(key);
    }
    OptionSettings.Email = "Unknown Mail";
    std::vector<std::string> items;
    Open([&](TOptions& d) {
        items = Items(d.EmailEdit);
        EXPECT_EQ(d.EmailEdit.ItemIndex(), -1);
        d.OK.Click();
    });
    for (const char* name : added)
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, (base + name).c_str());
    ASSERT_GE(items.size(), 3u);
    EXPECT_EQ(items.front(), "System Default");
    EXPECT_EQ(items[1], "AA Quillo Test Mail");
    EXPECT_EQ(items.back(), "zz Quillo Test Mail");
    EXPECT_EQ(OptionSettings.Email, "Unknown Mail");
}

TEST_F(OptionsDialog, ShortcutButtonsPutQuilloWhereTheShellLooks)
{
    TestFolder folder;
    for (const char* sub : {"11", "16", "26"})
        CreateDirectoryA((folder / sub).c_str(), nullptr);
    SetSpecialFolderHandler([&](int csidl) { return folder / std::to_string(csidl); });
    Open([](TOptions& d) {
        d.Button11.Click();
        d.Button2.Click();
        d.Button12.Click();
        d.Cancel.Click();
    });
    EXPECT_TRUE(FileExists(folder / "11\\Quillo.lnk"));
    EXPECT_TRUE(FileExists(folder / "16\\Quillo.lnk"));
    EXPECT_TRUE(FileExists(folder / "26\\Microsoft\\Internet Explorer\\Quick Launch\\Quillo.lnk"));

    // One real shortcut on the desktop of the test prefix.
    SetSpecialFolderHandler(nullptr);
    char desktop[MAX_PATH] = "";
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, TRUE));
    const std::string shortcut = std::string(desktop) + "\\Quillo.lnk";
    DeleteFileA(shortcut.c_str());
    Open([](TOptions& d) {
        d.Button12.Click();
        d.Cancel.Click();
    });
    EXPECT_TRUE(FileExists(shortcut));
    DeleteFileA(shortcut.c_str());
}

TEST_F(OptionsDialog, HelpOpensThePageOfTheTabInView)
{
    static const HMODULE fakeModule = reinterpret_cast<HMODULE>(static_cast<INT_PTR>(0x4000));
    HtmlHelpHooks hooks;
    hooks.loadLibrary = [] { return fakeModule; };
    hooks.findEntry = [](HMODULE) { return &RecordHelp; };
    hooks.freeLibrary = [](HMODULE) {};
    SetHtmlHelpHooks(hooks);
    optionsHelp.clear();
    Open([](TOptions& d) {
        for (int tab = 0; tab < 5; ++tab) {
            d.Pages.SetActivePageIndex(tab);
            d.BitBtn1.Click();
        }
        d.Cancel.Click();
    });
    SetHtmlHelpHooks({});
    std::vector<std::string> expected;
    for (int tab = 0; tab < 5; ++tab)
        expected.push_back("C:\\Quillo\\Quillo.chm::/html/toptions" + std::to_string(tab) + ".htm>Topic");
    EXPECT_EQ(optionsHelp, expected);
}

TEST_F(OptionsDialog, CommandOpensTheStoredTabRemembersTheLastAndOpensOnce)
{
    DialogStates.OptionsIndex = 7;
    Open([](TOptions& d) {
        EXPECT_EQ(d.Pages.ActivePageIndex(), 0);
        d.Pages.SetActivePageIndex(3);
        // The tray's Options while the dialog is open only brings it forward.
        Main->RunHandler("mOptionsClick", nullptr);
        d.Cancel.Click();
    });
    EXPECT_EQ(DialogStates.OptionsIndex, 3);
    Open([](TOptions& d) {
        EXPECT_EQ(d.Pages.ActivePageIndex(), 3);
        d.Cancel.Click();
    });
}

TEST_F(OptionsDialog, OkPutsTheChosenEditorFontInForce)
{
    OptionSettings.PageFontFace = "Arial";
    ScriptedFileDialogs dialogs;
    dialogs.ChooseFont("Courier New", 10);
    Open([](TOptions& d) {
        d.Button5.Click();
        EXPECT_EQ(d.PageFontE.Caption(), "Courier New");
        d.OK.Click();
    });
    ASSERT_EQ(dialogs.Requests().size(), 1u);
    EXPECT_EQ(dialogs.Requests()[0].fontName, "Arial");
    EXPECT_EQ(OptionSettings.PageFontFace, "Courier New");
    EXPECT_EQ(OptionSettings.PageFontSize, 10);
    EXPECT_EQ(EditorFontFace(Editor().Handle()), "Courier New");
}
