#include "OptionsDialog.h"

#include "Application.h"
#include "HelpTopics.h"
#include "MailClients.h"
#include "MessageBoxes.h"
#include "ProgramFolder.h"
#include "SettingsRecords.h"
#include "SharedState.h"
#include "ShellShortcuts.h"
#include "WindowsInfo.h"

#include <initializer_list>
#include <string>

namespace {
const char* const SystemDefaultMail = "System Default";
const char* const UnsavedOutlineText = "This knowledge base is not saved yet!";
const char* const ShortcutName = "Quillo.lnk";

struct FolderRow {
    const char* caption;
    std::string TOptionSettings::*folder;
};

const FolderRow FolderRows[] = {
    {"Outlines", &TOptionSettings::DocumentsFolder},
    {"Templates", &TOptionSettings::TemplatesFolder},
    {"Backup files", &TOptionSettings::BackupFolder},
    {"Import/Export files", &TOptionSettings::ExternalFolder},
};

TForm::CreateParams Params()
{
    TForm::CreateParams params;
    params.caption = "Options";
    params.borderStyle = TFormBorderStyle::bsDialog;
    params.position = TPosition::poScreenCenter;
    params.clientWidth = 391;
    params.clientHeight = 410;
    return params;
}

// Check boxes and radio buttons of one group, one under the other.
void StackButtons(std::initializer_list<TControl*> buttons, int top)
{
    for (TControl* button : buttons) {
        button->SetBounds(16, top, 335, 17);
        top += 20;
    }
}
} // namespace

std::string DefaultRowFolder(int row)
{
    switch (row) {
    case 0:
        return ExeFolder();
    case 1:
        return ExeFolder() + "Templates";
    case 2:
        return ExeFolder() + "Backup files";
    default:
        return "C:\\My documents";
    }
}

TOptions::TOptions() : TForm(Params())
{
    fontPanels_[0].panel = &OutlineFontE;
    fontPanels_[1].panel = &PageFontE;
    fontPanels_[2].panel = &PrintFontE;
    SetNames();
    SetUpControls();
    PlaceControls();
    WireEvents();
    DoCreate();
}

void TOptions::SetNames()
{
    SetName("Options");
    const std::pair<TComponent*, const char*> names[] = {
        {&Pages, "Pages"},
        {&NoneRadio, "NoneRadio"},
        {&LastRadio, "LastRadio"},
        {&CustomRadio, "CustomRadio"},
        {&FileEdit, "FileEdit"},
        {&StartupBrowse, "StartupBrowse"},
        {&StartupDefault, "StartupDefault"},
        {&StartupCurrent, "StartupCurrent"},
        {&AuthorEdit, "AuthorEdit"},
        {&Button7, "Button7"},
        {&Button6, "Button6"},
        {&Button1, "Button1"},
        {&Radio1, "Radio1"},
        {&Radio2, "Radio2"},
        {&Radio3, "Radio3"},
        {&StateEdit, "StateEdit"},
        {&LinesEdit, "LinesEdit"},
        {&ButtonsEdit, "ButtonsEdit"},
        {&ImagesEdit, "ImagesEdit"},
        {&Button11, "Button11"},
        {&Button2, "Button2"},
        {&Button12, "Button12"},
        {&FolderEdit, "FolderEdit"},
        {&SaveBrowse, "SaveBrowse"},
        {&SaveDefault, "SaveDefault"},
        {&Button3, "Button3"},
        {&LastEdit, "LastEdit"},
        {&CustomEdit, "CustomEdit"},
        {&BackupEdit, "BackupEdit"},
        {&OptionsEdit, "OptionsEdit"},
        {&ExitEdit, "ExitEdit"},
        {&AutoEdit, "AutoEdit"},
        {&MinutesEdit, "MinutesEdit"},
        {&OutlineFontE, "OutlineFontE"},
        {&PageFontE, "PageFontE"},
        {&PrintFontE, "PrintFontE"},
        {&Button4, "Button4"},
        {&Button5, "Button5"},
        {&Button8, "Button8"},
        {&DeleteEdit, "DeleteEdit"},
        {&DblClickRadio, "DblClickRadio"},
        {&CtrlClickRadio, "CtrlClickRadio"},
        {&EscEdit, "EscEdit"},
        {&InsEdit, "InsEdit"},
        {&InPlaceEdit, "InPlaceEdit"},
        {&EmailEdit, "EmailEdit"},
        {&OK, "OK"},
        {&Cancel, "Cancel"},
        {&BitBtn1, "BitBtn1"},
        {&BrowseDocuments, "BrowseDocuments"},
        {&StartupOpenDlg, "StartupOpenDlg"},
        {&FontDlg, "FontDlg"},
    };
    for (const auto& [component, name] : names)
        component->SetName(name);
}

void TOptions::SetUpControls()
{
    FileLabel.SetFocusControl(&FileEdit);
    AuthorLabel.SetFocusControl(&AuthorEdit);
    FileTypeLabel.SetFocusControl(&FolderEdit);
    EmailLabel.SetFocusControl(&EmailEdit);

    FolderEdit.AddColumn("File type", 120);
    FolderEdit.AddColumn("Location", 225);
    FolderEdit.SetShowColumnHeaders(false);
    FolderEdit.SetRowSelect(true);
    FolderEdit.SetReadOnly(true);
    FolderEdit.SetHideSelection(false);

    MinutesEdit.SetMinValue(1);
    MinutesEdit.SetMaxValue(120);
    MinutesEdit.SetValue(10);

    for (FontPanel& font : fontPanels_) {
        font.panel->SetBevelOuter(TBevelCut::bvLowered);
        font.panel->SetBevelInner(TBevelCut::bvLowered);
    }

    BrowseDocuments.Title = "Select Folder:";
    BrowseDocuments.Options = bfDirectoriesOnly;
    BrowseDocuments.ShowSelectionInStatus = true;
    StartupOpenDlg.Title = "Startup File";
    StartupOpenDlg.Filter = "Quillo Knowledge Base(*.kbf)|*.kbf|Any File(*.*)|*.*";
    StartupOpenDlg.Options = ofHideReadOnly | ofPathMustExist | ofFileMustExist | ofEnableSizing;
    FontDlg.Options = fdAnsiOnly | fdLimitSize;
    FontDlg.MinFontSize = 4;
    FontDlg.MaxFontSize = 30;

    OK.ModalResult = mrOk;
    OK.SetDefault(true);
    Cancel.ModalResult = mrCancel;
    Cancel.SetCancel(true);
}

void TOptions::AddHeading(TTabSheet& sheet, const std::string& text, int top, bool note, int lines)
{
    auto label = std::make_unique<TLabel>(this, &sheet, text);
    label->SetBounds(note ? 16 : 8, top, note ? 343 : 351, 15 * lines);
    label->SetWordWrap(lines > 1);
    headings_.push_back(std::move(label));
}

void TOptions::PlaceControls()
{
    Pages.SetBounds(8, 8, 375, 358);
    OK.SetBounds(146, 376, 75, 25);
    Cancel.SetBounds(227, 376, 75, 25);
    BitBtn1.SetBounds(308, 376, 75, 25);
    PlaceGeneral();
    PlaceView();
    PlaceSave();
    PlaceFonts();
    PlaceAdvanced();
}

void TOptions::PlaceGeneral()
{
    AddHeading(General, "Startup outline", 8);
    AddHeading(General, "You can select which outline to open on startup.", 26, true);
    NoneRadio.SetBounds(16, 46, 100, 17);
    LastRadio.SetBounds(120, 46, 110, 17);
    CustomRadio.SetBounds(240, 46, 100, 17);
    FileLabel.SetBounds(16, 72, 80, 13);
    FileEdit.SetBounds(100, 68, 250, 21);
    StartupBrowse.SetBounds(94, 96, 82, 25);
    StartupDefault.SetBounds(180, 96, 82, 25);
    StartupCurrent.SetBounds(266, 96, 84, 25);
    AddHeading(General, "User properties", 136);
    AddHeading(General, "Select the name you want to appear as autor of files you edit:", 154, true, 2);
    AuthorLabel.SetBounds(16, 186, 80, 13);
    AuthorEdit.SetBounds(100, 182, 250, 21);
    Button7.SetBounds(180, 210, 82, 25);
    Button6.SetBounds(266, 210, 84, 25);
    Button1.SetBounds(16, 296, 120, 25);
}

void TOptions::PlaceView()
{
    AddHeading(View, "Taskbar properties", 8);
    AddHeading(View, "You can select whether Quillo to have an icon in traybar.", 26, true);
    StackButtons({&Radio1, &Radio2, &Radio3}, 46);
    AddHeading(View, "Outline properties", 114);
    AddHeading(View, "You can select additional outline properties.", 132, true);
    StackButtons({&StateEdit, &LinesEdit, &ButtonsEdit, &ImagesEdit}, 152);
    AddHeading(View, "Shell integration", 242);
    Button11.SetBounds(16, 262, 166, 25);
    Button2.SetBounds(188, 262, 166, 25);
    Button12.SetBounds(16, 292, 166, 25);
}

void TOptions::PlaceSave()
{
    AddHeading(Save, "File locations", 8);
    FileTypeLabel.SetBounds(16, 28, 110, 13);
    LocationLabel.SetBounds(136, 28, 110, 13);
    FolderEdit.SetBounds(12, 44, 351, 80);
    LastEdit.SetBounds(16, 130, 230, 17);
    CustomEdit.SetBounds(16, 150, 230, 17);
    SaveBrowse.SetBounds(128, 172, 75, 25);
    SaveDefault.SetBounds(207, 172, 75, 25);
    Button3.SetBounds(286, 172, 75, 25);
    AddHeading(Save, "Save properties", 206);
    StackButtons({&BackupEdit, &OptionsEdit, &ExitEdit}, 226);
    AutoEdit.SetBounds(16, 288, 140, 17);
    MinutesEdit.SetBounds(158, 286, 50, 21);
    MinutesLabel.SetBounds(214, 290, 60, 13);
}

void TOptions::PlaceFonts()
{
    AddHeading(Fonts, "Workspace fonts", 8);
    const std::pair<TLabel*, TButton*> rows[] = {
        {&OutlineFontLabel, &Button4}, {&PageFontLabel, &Button5}, {&PrintFontLabel, &Button8}};
    int top = 32;
    for (int i = 0; i < 3; ++i) {
        rows[i].first->SetBounds(16, top, 200, 13);
        fontPanels_[i].panel->SetBounds(16, top + 16, 260, 40);
        rows[i].second->SetBounds(284, top + 24, 75, 25);
        top += 76;
    }
}

void TOptions::PlaceAdvanced()
{
    AddHeading(Advanced, "Delete", 8);
    AddHeading(Advanced, "You can select whether to appear delete confirmation dialog", 26, true);
    DeleteEdit.SetBounds(16, 46, 335, 17);
    AddHeading(Advanced, "Hyperlinks", 72);
    AddHeading(Advanced, "You can select how to execute hyperlinks", 90, true);
    DblClickRadio.SetBounds(16, 110, 335, 17);
    CtrlClickRadio.SetBounds(16, 130, 335, 17);
    AddHeading(Advanced, "Keyboard", 158);
    StackButtons({&EscEdit, &InsEdit, &InPlaceEdit}, 178);
    AddHeading(Advanced, "Programs", 246);
    EmailLabel.SetBounds(16, 270, 50, 13);
    EmailEdit.SetBounds(70, 266, 200, 150);
}

void TOptions::WireEvents()
{
    OnCreate = [this] { FormCreate(); };
    OnActivate = [this] { FormActivate(); };
    OnClose = [this](TCloseAction& action) { FormClose(action); };
    OK.OnClick = [this] { OKClick(); };
    NoneRadio.OnClick = [this] { NoneRadioClick(); };
    LastRadio.OnClick = [this] { LastRadioClick(); };
    CustomRadio.OnClick = [this] { CustomRadioClick(); };
    StartupBrowse.OnClick = [this] { StartupBrowseClick(); };
    StartupDefault.OnClick = [this] { StartupDefaultClick(); };
    StartupCurrent.OnClick = [this] { StartupCurrentClick(); };
    Button7.OnClick = [this] { Button7Click(); };
    Button6.OnClick = [this] { Button6Click(); };
    Button1.OnClick = [this] { Button1Click(); };
    Button11.OnClick = [this] { Button11Click(); };
    Button2.OnClick = [this] { Button2Click(); };
    Button12.OnClick = [this] { Button12Click(); };
    SaveBrowse.OnClick = [this] { SaveBrowseClick(); };
    FolderEdit.OnDblClick = [this] { SaveBrowseClick(); };
    SaveDefault.OnClick = [this] { SaveDefaultClick(); };
    Button3.OnClick = [this] { Button3Click(); };
    MinutesEdit.OnChange = [this] { MinutesEditChange(); };
    Button4.OnClick = [this] { Button4Click(); };
    OutlineFontE.OnDblClick = [this] { Button4Click(); };
    Button5.OnClick = [this] { Button5Click(); };
    PageFontE.OnDblClick = [this] { Button5Click(); };
    Button8.OnClick = [this] { Button8Click(); };
    PrintFontE.OnDblClick = [this] { Button8Click(); };
    BitBtn1.OnClick = [this] { BitBtn1Click(); };
}

void TOptions::FormCreate()
{
    const TUserSettings& user = UserSettings;
    const TOptionSettings& options = OptionSettings;
    if (!user.Startup)
        NoneRadio.SetChecked(true);
    else if (user.UseLast)
        LastRadio.SetChecked(true);
    else
        CustomRadio.SetChecked(true);
    FileEdit.SetText(user.CustomFile);
    AuthorEdit.SetText(user.Name);

    (options.Traybar == 1 ? Radio1 : options.Traybar == 2 ? Radio2 : Radio3).SetChecked(true);
    StateEdit.SetChecked(options.TreeStates);
    ButtonsEdit.SetChecked(options.TreeButtons);
    LinesEdit.SetChecked(options.TreeLines);
    ImagesEdit.SetChecked(options.TreeImages);
    (options.UseLastFolder ? LastEdit : CustomEdit).SetChecked(true);
    OptionsEdit.SetChecked(options.SaveOptions);
    ExitEdit.SetChecked(options.SaveExit);

    // The value first: any change of the minutes checks the box.
    MinutesEdit.SetValue(options.AutoSave != 0 ? options.AutoSave : 10);
    AutoEdit.SetChecked(options.AutoSave != 0);
    BackupEdit.SetChecked(options.BackupCopy);

    ShowFont(fontPanels_[0], options.OutlineFontFace, options.OutlineFontSize);
    ShowFont(fontPanels_[1], options.PageFontFace, options.PageFontSize);
    ShowFont(fontPanels_[2], options.PrintFontFace, options.PrintFontSize);

    (options.DblClickHyperlink ? DblClickRadio : CtrlClickRadio).SetChecked(true);
    InsEdit.SetChecked(options.InsInsert);
    EscEdit.SetChecked(options.EscMinimize);
    DeleteEdit.SetChecked(options.DeleteConfirm);
    InPlaceEdit.SetChecked(options.InPlace);

    std::vector<std::string> clients = ListMailClients();
    clients.insert(clients.begin(), SystemDefaultMail);
    EmailEdit.SetItems(clients);
    EmailEdit.SetItemIndex(EmailEdit.Items().IndexOf(options.Email));
}

void TOptions::FormActivate()
{
    // Once: the folder picker, the font dialog and every message box give the
    // activation back, and a row just changed must not revert.
    if (rowsFilled_)
        return;
    rowsFilled_ = true;
    FolderEdit.Clear();
    for (const FolderRow& row : FolderRows)
        FolderEdit.AddItem(row.caption)->SetSubItems({OptionSettings.*row.folder});
    FolderEdit.SetSelected(FolderEdit.Item(0));
    // Not from behind another tab: keys would go to a list nobody sees.
    if (IsWindowVisible(FolderEdit.Handle()))
        FolderEdit.SetFocus();
}

void TOptions::FormClose(TCloseAction&)
{
    if (Tag == 1)
        StoreControls();
}

void TOptions::StoreControls()
{
    TUserSettings& user = UserSettings;
    TOptionSettings& options = OptionSettings;
    if (NoneRadio.Checked()) {
        user.Startup = false;
    } else {
        user.Startup = true;
        user.UseLast = LastRadio.Checked();
    }
    user.CustomFile = FileEdit.Text();
    user.Name = AuthorEdit.Text();

    options.Traybar = Radio1.Checked() ? 1 : Radio2.Checked() ? 2 : Radio3.Checked() ? 3 : 4;
    options.TreeStates = StateEdit.Checked();
    options.TreeButtons = ButtonsEdit.Checked();
    options.TreeLines = LinesEdit.Checked();
    options.TreeImages = ImagesEdit.Checked();
    options.UseLastFolder = LastEdit.Checked();
    for (int row = 0; row < 4; ++row)
        options.*FolderRows[row].folder = RowFolder(row);

    options.SaveOptions = OptionsEdit.Checked();
    options.SaveExit = ExitEdit.Checked();
    options.AutoSave = AutoEdit.Checked() ? MinutesEdit.Value() : 0;
    options.BackupCopy = BackupEdit.Checked();

    options.OutlineFontFace = fontPanels_[0].face;
    options.OutlineFontSize = fontPanels_[0].size;
    options.PageFontFace = fontPanels_[1].face;
    options.PageFontSize = fontPanels_[1].size;
    options.PrintFontFace = fontPanels_[2].face;
    options.PrintFontSize = fontPanels_[2].size;

    options.DblClickHyperlink = DblClickRadio.Checked();
    options.EscMinimize = EscEdit.Checked();
    options.InsInsert = InsEdit.Checked();
    options.DeleteConfirm = DeleteEdit.Checked();
    options.InPlace = InPlaceEdit.Checked();
    // No client chosen (the stored one is not installed): the stored name
    // stays, since the user did not touch it.
    if (EmailEdit.ItemIndex() >= 0)
        options.Email = EmailEdit.Items().Get(EmailEdit.ItemIndex());
}

void TOptions::OKClick()
{
    Tag = 1;
    AutoSaveMinutes = 0;
}

void TOptions::EnableStartupFile(bool enabled)
{
    for (TControl* control : std::initializer_list<TControl*>{&StartupBrowse, &StartupDefault, &StartupCurrent, &FileEdit})
        control->SetEnabled(enabled);
}

void TOptions::NoneRadioClick() { EnableStartupFile(false); }

void TOptions::LastRadioClick() { EnableStartupFile(false); }

void TOptions::CustomRadioClick() { EnableStartupFile(true); }

void TOptions::StartupBrowseClick()
{
    StartupOpenDlg.InitialDir = OptionSettings.DocumentsFolder;
    StartupOpenDlg.FileName.clear();
    if (StartupOpenDlg.Execute())
        FileEdit.SetText(StartupOpenDlg.FileName);
}

void TOptions::StartupDefaultClick() { FileEdit.SetText(ExeFolder() + "Quillo Tutorial.kbf"); }

void TOptions::StartupCurrentClick()
{
    if (CurrentFileName == UntitledFileName) {
        ShowInfoMessage(UnsavedOutlineText);
        return;
    }
    FileEdit.SetText(CurrentFileName);
}

void TOptions::Button7Click() { AuthorEdit.SetText("Anybody"); }

void TOptions::Button6Click() { AuthorEdit.SetText(ReadRegisteredOwner()); }

void TOptions::Button1Click()
{
    SetDefaultOptions(OptionSettings, ExeFolder());
    SetDefaultUserSettings(UserSettings, ExeFolder());
    defaultsRestored_ = true;
    FormCreate();
}

void TOptions::Button11Click() { CreateStartMenuShortcut(ExePath(), ShortcutName); }

void TOptions::Button2Click() { CreateQuickLaunchShortcut(ExePath(), ShortcutName); }

void TOptions::Button12Click() { CreateDesktopShortcut(ExePath(), ShortcutName); }

std::string TOptions::RowFolder(int row) const
{
    const TListItem* item = FolderEdit.Item(row);
    return item && !item->SubItems().empty() ? item->SubItems()[0] : std::string();
}

void TOptions::SetRowFolder(int row, const std::string& folder)
{
    if (TListItem* item = FolderEdit.Item(row))
        item->SetSubItem(0, folder);
}

void TOptions::SaveBrowseClick()
{
    // The row is taken before the picker runs: the list may lose its
    // selection meanwhile, and a click on empty space leaves no row at all.
    const int row = FolderEdit.ItemIndex();
    if (row < 0)
        return;
    BrowseDocuments.SetSelection(RowFolder(row));
    if (BrowseDocuments.Execute())
        SetRowFolder(row, BrowseDocuments.Selection());
}

void TOptions::SaveDefaultClick()
{
    const int row = FolderEdit.ItemIndex();
    if (row >= 0)
        SetRowFolder(row, DefaultRowFolder(row));
}

void TOptions::Button3Click()
{
    for (int row = 0; row < 4; ++row)
        SetRowFolder(row, DefaultRowFolder(row));
}

void TOptions::MinutesEditChange() { AutoEdit.SetChecked(true); }

void TOptions::ShowFont(FontPanel& panel, const std::string& face, int size)
{
    panel.face = face;
    panel.size = size;
    if (!panel.font)
        panel.font = std::make_unique<TControlFont>();
    panel.font->Apply(*panel.panel, face, size);
    panel.panel->SetCaption(face);
}

void TOptions::ChangeFont(FontPanel& panel)
{
    FontDlg.FontName = panel.face;
    FontDlg.FontSize = panel.size;
    if (FontDlg.Execute())
        ShowFont(panel, FontDlg.FontName, FontDlg.FontSize);
}

TOptions::FontPanel& TOptions::PanelOf(const TPanel& panel)
{
    return const_cast<FontPanel&>(static_cast<const TOptions*>(this)->PanelOf(panel));
}

const TOptions::FontPanel& TOptions::PanelOf(const TPanel& panel) const
{
    for (const FontPanel& font : fontPanels_) {
        if (font.panel == &panel)
            return font;
    }
    return fontPanels_[0];
}

const std::string& TOptions::FontFace(const TPanel& panel) const { return PanelOf(panel).face; }

int TOptions::FontSize(const TPanel& panel) const { return PanelOf(panel).size; }

void TOptions::Button4Click() { ChangeFont(PanelOf(OutlineFontE)); }

void TOptions::Button5Click() { ChangeFont(PanelOf(PageFontE)); }

void TOptions::Button8Click() { ChangeFont(PanelOf(PrintFontE)); }

void TOptions::BitBtn1Click()
{
    ShowHelpTopic(HelpTopicAddress(Application.HelpFile(), "toptions" + std::to_string(Pages.ActivePageIndex())));
}
