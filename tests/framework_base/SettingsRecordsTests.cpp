// The settings records without the registry: defaults, the operations that
// change them in memory, and the shape of the value tables that the registry
// store walks.

#include "SettingsRecords.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

const std::string Folder = "C:\\Program Files\\Quillo\\";

template <class Record>
std::vector<std::string> NamesOf(const SettingValues<Record>& values)
{
    std::vector<std::string> names;
    for (const auto& value : values)
        names.push_back(value.name);
    return names;
}

template <class Record>
std::string KindsOf(const SettingValues<Record>& values)
{
    std::string kinds;
    for (const auto& value : values)
        kinds += "bis"[static_cast<int>(value.Kind())];
    return kinds;
}

} // namespace

TEST(SettingsRecordsDefaults, OptionsHoldTheDocumentedDefaults)
{
    TOptionSettings options;
    options.StatusBar = false;
    options.Email = "Other";
    SetDefaultOptions(options, Folder);
    EXPECT_TRUE(options.StatusBar);
    EXPECT_FALSE(options.SaveOptions);
    EXPECT_EQ(options.AutoSave, 0);
    EXPECT_EQ(options.DocumentsFolder, Folder);
    EXPECT_EQ(options.OutlineFontFace, "Verdana");
    EXPECT_EQ(options.PrintFontSize, 8);
    EXPECT_EQ(options.Traybar, 3);
    EXPECT_TRUE(options.NormalView);
    EXPECT_TRUE(options.DeleteConfirm);
    EXPECT_EQ(options.DateTimeFormat, "");
    EXPECT_TRUE(options.InPlace);
    EXPECT_TRUE(options.FirstUse);
    EXPECT_EQ(options.SortType, -1);
    EXPECT_EQ(options.TemplatesFolder, Folder + "Templates");
    EXPECT_EQ(options.BackupFolder, Folder + "Backup files");
    EXPECT_EQ(options.ExternalFolder, "C:\\My Documents");
    EXPECT_EQ(options.Email, "System Default");
    EXPECT_TRUE(options.SupportFolder);
    EXPECT_TRUE(options.AllowHtml);
    EXPECT_EQ(options.ExtraHead, "");
}

TEST(SettingsRecordsDefaults, SetDefaultOptionsKeepsItsFourValues)
{
    TOptionSettings options;
    options.OutlineView = true;
    options.NormalView = false;
    options.OutlineColor = 5;
    options.PageColor = 7;
    options.DefaultProfile = "X";
    options.Traybar = 1;
    SetDefaultOptions(options, Folder);
    EXPECT_TRUE(options.OutlineView);
    EXPECT_TRUE(options.NormalView); // so the normal view wins
    EXPECT_EQ(options.OutlineColor, 5);
    EXPECT_EQ(options.PageColor, 7);
    EXPECT_EQ(options.DefaultProfile, "X");
    EXPECT_EQ(options.Traybar, 3);
}

TEST(SettingsRecordsDefaults, UserSettings)
{
    TUserSettings user;
    user.Name = "Someone";
    user.Height = 1;
    SetDefaultUserSettings(user, Folder);
    EXPECT_EQ(user.Name, "Anybody");
    EXPECT_TRUE(user.Startup);
    EXPECT_TRUE(user.UseLast);
    EXPECT_EQ(user.LastDb, Folder + "Quillo Tutorial.kbf");
    EXPECT_FALSE(user.Maximized);
    EXPECT_TRUE(user.Toolbar);
    EXPECT_EQ(user.Height, 472);
    EXPECT_EQ(user.Width, 638);
    EXPECT_EQ(user.TreeWidth, 319);
    EXPECT_EQ(user.XPos, 2);
    EXPECT_EQ(user.YPos, 4);
    EXPECT_EQ(user.CustomFile, Folder + "Quillo Tutorial.kbf");
}

TEST(SettingsRecordsDialogStates, ClearDialogStatesClearsFlagsAndOptionsIndexOnly)
{
    TDialogStates states;
    for (bool TDialogStates::*flag :
         {&TDialogStates::PrintKBInitialized, &TDialogStates::ExportInitialized, &TDialogStates::PagesInitialized,
          &TDialogStates::FindRInitialized, &TDialogStates::HyperlinkInitialized, &TDialogStates::DatePickInitialized,
          &TDialogStates::SymbolInitialized, &TDialogStates::OrganizeTemplatesInitialized})
        states.*flag = true;
    states.OptionsIndex = 3;
    states.PrintKBTop = 40;
    states.NewList = true;
    states.PagesFileEdit = "x";
    ClearDialogStates(states);
    EXPECT_FALSE(states.PrintKBInitialized);
    EXPECT_FALSE(states.ExportInitialized);
    EXPECT_FALSE(states.PagesInitialized);
    EXPECT_FALSE(states.FindRInitialized);
    EXPECT_FALSE(states.HyperlinkInitialized);
    EXPECT_FALSE(states.DatePickInitialized);
    EXPECT_FALSE(states.SymbolInitialized);
    EXPECT_FALSE(states.OrganizeTemplatesInitialized);
    EXPECT_EQ(states.OptionsIndex, 0);
    EXPECT_EQ(states.PrintKBTop, 40);
    EXPECT_TRUE(states.NewList);
    EXPECT_EQ(states.PagesFileEdit, "x");
}

TEST(SettingsRecordsRememberFolder, KeepsTheFolderByKind)
{
    TOptionSettings options;
    SetDefaultOptions(options, Folder);
    RememberFolder(options, TemplatesFolderKind, "C:\\a\\b.txt");
    EXPECT_EQ(options.TemplatesFolder, "C:\\a\\");
    RememberFolder(options, DocumentsFolderKind, "D:\\docs\\x.kbf");
    EXPECT_EQ(options.DocumentsFolder, "D:\\docs\\");
    RememberFolder(options, BackupFolderKind, "E:\\b\\y.kbf");
    EXPECT_EQ(options.BackupFolder, "E:\\b\\");
    RememberFolder(options, ExternalFolderKind, "F:\\e\\z.txt");
    EXPECT_EQ(options.ExternalFolder, "F:\\e\\");
}

TEST(SettingsRecordsRememberFolder, ChangesNothingWhenOffOrForAnotherKind)
{
    TOptionSettings options;
    SetDefaultOptions(options, Folder);
    const TOptionSettings before = options;
    RememberFolder(options, 7, "C:\\a\\b.txt");
    RememberFolder(options, -1, "C:\\a\\b.txt");
    EXPECT_EQ(options.DocumentsFolder, before.DocumentsFolder);
    EXPECT_EQ(options.TemplatesFolder, before.TemplatesFolder);
    EXPECT_EQ(options.BackupFolder, before.BackupFolder);
    EXPECT_EQ(options.ExternalFolder, before.ExternalFolder);

    options.UseLastFolder = false;
    RememberFolder(options, TemplatesFolderKind, "C:\\a\\b.txt");
    EXPECT_EQ(options.TemplatesFolder, before.TemplatesFolder);
}

// The tables are the stored form: names, kinds and order must not drift.
TEST(SettingsRecordsTables, OptionGroupsInOrderWithTheirKinds)
{
    EXPECT_EQ(NamesOf(GeneralOptionValues()),
              (std::vector<std::string>{"StatusBar", "SaveOptions", "SaveExit", "AutoSave", "DocumentsFolder",
                                        "TreeButtons", "TreeLines", "TreeStates", "TreeImages", "EscMinimize",
                                        "DblClickHyperlink", "InsInsert", "UseLastFolder", "OutlineFontFace",
                                        "PageFontFace", "PrintFontFace", "OutlineFontSize", "PageFontSize",
                                        "PrintFontSize", "OutlineColor", "PageColor", "Traybar", "NormalView",
                                        "OutlineView", "DeleteConfirm"}));
    EXPECT_EQ(KindsOf(GeneralOptionValues()), "bbbisbbbbbbbbsssiiiiiibbb");
    EXPECT_EQ(NamesOf(DateOptionValues()), (std::vector<std::string>{"DateTimeFormat", "BackupCopy"}));
    EXPECT_EQ(KindsOf(DateOptionValues()), "sb");
    EXPECT_EQ(NamesOf(BehaviourOptionValues()),
              (std::vector<std::string>{"InPlace", "DefaultProfile", "FirstUse", "SortWholeOutline", "SortType"}));
    EXPECT_EQ(KindsOf(BehaviourOptionValues()), "bsbbi");
    EXPECT_EQ(NamesOf(FolderOptionValues()),
              (std::vector<std::string>{"TemplatesFolder", "BackupFolder", "ExternalFolder", "Email"}));
    EXPECT_EQ(KindsOf(FolderOptionValues()), "ssss");
    EXPECT_EQ(NamesOf(WebOptionValues()),
              (std::vector<std::string>{"SupportFolder", "OriginalImages", "AllowHtml", "ExtraHead"}));
    EXPECT_EQ(KindsOf(WebOptionValues()), "bbbs");

    std::set<std::string> all;
    for (const auto* group : {&GeneralOptionValues(), &DateOptionValues(), &BehaviourOptionValues(),
                              &FolderOptionValues(), &WebOptionValues()})
        for (const auto& value : *group)
            all.insert(value.name);
    EXPECT_EQ(all.size(), 40u); // the groups share one key: no name twice
}

TEST(SettingsRecordsTables, UserValuesEndWithTheWriteOnlyShowWelcome)
{
    const auto& values = UserSettingValues();
    EXPECT_EQ(NamesOf(values), (std::vector<std::string>{"Name", "Startup", "UseLast", "LastDb", "Maximized",
                                                         "Toolbar", "Height", "Width", "TreeWidth", "XPos", "YPos",
                                                         "CustomFile", "ShowWelcome"}));
    EXPECT_EQ(KindsOf(values), "sbbsbbiiiiisb");
    for (std::size_t i = 0; i + 1 < values.size(); ++i)
        EXPECT_EQ(values[i].use, SettingUse::ReadWrite) << values[i].name;
    EXPECT_EQ(values.back().use, SettingUse::WriteOnly);
    EXPECT_EQ(std::get<bool TUserSettings::*>(values.back().member), &TUserSettings::Toolbar);
}

TEST(SettingsRecordsTables, DialogStatesWriteOrderAndReadOrder)
{
    const std::vector<std::string> written = NamesOf(DialogStateWriteValues());
    EXPECT_EQ(written,
              (std::vector<std::string>{
                  "PrintKBInitialized", "PrintKBTop", "PrintKBLeft", "ExportInitialized", "ExportTop", "ExportLeft",
                  "ExportSourceEdit", "PagesInitialized", "PagesTop", "PagesLeft", "PagesNumberEdit", "PagesNameEdit",
                  "PagesIncrementEdit", "PagesFileEdit", "FindRInitialized", "FindRTop", "FindRLeft", "FindRWhole",
                  "FindRCase", "FindRSearchEdit", "DatePickInitialized", "DatePickTop", "DatePickLeft",
                  "SymbolInitialized", "SymbolTop", "SymbolLeft", "OptionsIndex", "NewList", "FromTemplateList",
                  "FromTemplateOutline", "OrganizeTemplatesInitialized", "OrganizeTemplatesTop",
                  "OrganizeTemplatesLeft", "OrganizeTemplatesFilter"}));
    EXPECT_EQ(KindsOf(DialogStateWriteValues()), "biibiiibiiisbsbiibbibiibiiibbbbiii");

    // Read: the same values, FindRCase before FindRWhole, each group's values
    // only under its flag, the four in the middle always.
    const auto& read = DialogStateReadValues();
    std::vector<std::string> readNames = NamesOf(read);
    EXPECT_EQ(std::set<std::string>(readNames.begin(), readNames.end()),
              std::set<std::string>(written.begin(), written.end()));
    EXPECT_EQ(readNames[17], "FindRCase");
    EXPECT_EQ(readNames[18], "FindRWhole");
    for (const auto& value : read) {
        const std::string name = value.name;
        const bool always = name.ends_with("Initialized") || name == "OptionsIndex" || name == "NewList" ||
                            name == "FromTemplateList" || name == "FromTemplateOutline";
        EXPECT_EQ(value.onlyWhen == nullptr, always) << name;
        EXPECT_EQ(value.use == SettingUse::NonEmpty, name == "PagesFileEdit") << name;
    }
    for (const auto& value : DialogStateWriteValues())
        EXPECT_EQ(std::string(value.name).find("Hyperlink"), std::string::npos);
}
