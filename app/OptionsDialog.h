#pragma once
// The Options dialog: the options and the user's settings on five tabs. The
// records change only when OK closes it, except for "&Restore Defaults",
// which puts the defaults in force at once. Shortcuts, folder and font
// choices act at once on the controls. Made for one use, shown modally.

#include "BrowseDirectoryDlg.h"
#include "ControlFont.h"
#include "ExtCtrls.h"
#include "FileDialogs.h"
#include "Form.h"
#include "ListView.h"
#include "PageControl.h"
#include "SpinEdit.h"
#include "StdCtrls.h"

#include <memory>
#include <string>
#include <vector>

class TOptions : public TForm {
public:
    TOptions();

    TPageControl Pages{this, this};
    TTabSheet General{this, &Pages, " General "};
    TTabSheet View{this, &Pages, " View "};
    TTabSheet Save{this, &Pages, " Save  "};
    TTabSheet Fonts{this, &Pages, " Fonts "};
    TTabSheet Advanced{this, &Pages, " Advanced "};

    TRadioButton NoneRadio{this, &General, "&None"};
    TRadioButton LastRadio{this, &General, "&Last opened"};
    TRadioButton CustomRadio{this, &General, "&Custom"};
    TLabel FileLabel{this, &General, "&File Name:"};
    TEdit FileEdit{this, &General};
    TButton StartupBrowse{this, &General, "&Browse..."};
    TButton StartupDefault{this, &General, "Use &Default"};
    TButton StartupCurrent{this, &General, "Use C&urrent"};
    TLabel AuthorLabel{this, &General, "Author &Name:"};
    TEdit AuthorEdit{this, &General};
    TButton Button7{this, &General, "R&eset"};
    TButton Button6{this, &General, "Current U&ser"};
    TButton Button1{this, &General, "&Restore Defaults"};

    TRadioButton Radio1{this, &View, "Do &not show traybar icon"};
    TRadioButton Radio2{this, &View, "Show &traybar icon"};
    TRadioButton Radio3{this, &View, "Show traybar icon and hide taskbar icon on &minimize"};
    TCheckBox StateEdit{this, &View, "Show &state images"};
    TCheckBox LinesEdit{this, &View, "Show outline &lines"};
    TCheckBox ButtonsEdit{this, &View, "Show expand and collapse &buttons"};
    TCheckBox ImagesEdit{this, &View, "Show page &images"};
    TButton Button11{this, &View, "Add Start Menu Ic&on"};
    TButton Button2{this, &View, "Add &Qick Launch Icon"};
    TButton Button12{this, &View, "Add &Desktop icon"};

    TLabel FileTypeLabel{this, &Save, "&File type:"};
    TLabel LocationLabel{this, &Save, "Location:"};
    TListView FolderEdit{this, &Save, TViewStyle::vsReport};
    TButton SaveBrowse{this, &Save, "&Modify..."};
    TButton SaveDefault{this, &Save, "&Reset"};
    TButton Button3{this, &Save, "Re&set All"};
    TRadioButton LastEdit{this, &Save, "Remember &last used folders"};
    TRadioButton CustomEdit{this, &Save, "Store files to &custom folders"};
    TCheckBox BackupEdit{this, &Save, "Always create &backup copy"};
    TCheckBox OptionsEdit{this, &Save, "Prompt to save &options"};
    TCheckBox ExitEdit{this, &Save, "&Automatic save on exit"};
    TCheckBox AutoEdit{this, &Save, "Automatic save &every "};
    TSpinEdit MinutesEdit{this, &Save};
    TLabel MinutesLabel{this, &Save, "minutes."};

    TLabel OutlineFontLabel{this, &Fonts, "Outline Font"};
    TPanel OutlineFontE{this, &Fonts};
    TButton Button4{this, &Fonts, "Change..."};
    TLabel PageFontLabel{this, &Fonts, "Page Editor Font"};
    TPanel PageFontE{this, &Fonts};
    TButton Button5{this, &Fonts, "Change..."};
    TLabel PrintFontLabel{this, &Fonts, "Print Font"};
    TPanel PrintFontE{this, &Fonts};
    TButton Button8{this, &Fonts, "Change..."};

    TCheckBox DeleteEdit{this, &Advanced, "&Confirm deletion"};
    TRadioButton DblClickRadio{this, &Advanced, "With mouse &double-click"};
    TRadioButton CtrlClickRadio{this, &Advanced, "With Ctrl + &mouse click"};
    TCheckBox EscEdit{this, &Advanced, "&ESC minimizes Quillo"};
    TCheckBox InsEdit{this, &Advanced, "Use the &INS key for paste"};
    TCheckBox InPlaceEdit{this, &Advanced, "Open links to .&kbf files in the same window"};
    TLabel EmailLabel{this, &Advanced, "E-m&ail:"};
    TComboBox EmailEdit{this, &Advanced, TComboBoxStyle::csDropDownList};

    TButton OK{this, this, "OK"};
    TButton Cancel{this, this, "Cancel"};
    TButton BitBtn1{this, this, "&Help"};

    TBrowseDirectoryDlg BrowseDocuments{this};
    TOpenDialog StartupOpenDlg{this};
    TFontDialog FontDlg{this};

    // "&Restore Defaults" was clicked: the defaults are in force whatever the
    // dialog's result.
    bool DefaultsRestored() const { return defaultsRestored_; }
    // A font panel's face and size, as OK will store them.
    const std::string& FontFace(const TPanel& panel) const;
    int FontSize(const TPanel& panel) const;

    void FormCreate();
    void FormActivate();
    void FormClose(TCloseAction& action);
    void OKClick();
    void NoneRadioClick();
    void LastRadioClick();
    void CustomRadioClick();
    void StartupBrowseClick();
    void StartupDefaultClick();
    void StartupCurrentClick();
    void Button7Click();
    void Button6Click();
    void Button1Click();
    void Button11Click();
    void Button2Click();
    void Button12Click();
    void SaveBrowseClick();
    void SaveDefaultClick();
    void Button3Click();
    void MinutesEditChange();
    void Button4Click();
    void Button5Click();
    void Button8Click();
    void BitBtn1Click();

private:
    struct FontPanel {
        TPanel* panel;
        std::string face;
        int size = 8;
        std::unique_ptr<TControlFont> font;
    };

    void SetNames();
    void SetUpControls();
    void PlaceControls();
    void PlaceGeneral();
    void PlaceView();
    void PlaceSave();
    void PlaceFonts();
    void PlaceAdvanced();
    void WireEvents();
    void AddHeading(TTabSheet& sheet, const std::string& text, int top, bool note = false, int lines = 1);
    void EnableStartupFile(bool enabled);
    void ShowFont(FontPanel& panel, const std::string& face, int size);
    void ChangeFont(FontPanel& panel);
    FontPanel& PanelOf(const TPanel& panel);
    const FontPanel& PanelOf(const TPanel& panel) const;
    void SetRowFolder(int row, const std::string& folder);
    std::string RowFolder(int row) const;
    void StoreControls();

    std::vector<std::unique_ptr<TLabel>> headings_;
    FontPanel fontPanels_[3];
    bool rowsFilled_ = false;
    bool defaultsRestored_ = false;
};

// The folder each row of the Save tab's list resets to: the program's
// folder, its Templates and Backup files folders, and "C:\My documents".
std::string DefaultRowFolder(int row);
