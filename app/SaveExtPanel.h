#pragma once
// The options panel of the save-copy dialog: the items to save, the export
// profile and what to do with the file once written. One panel lives for the
// whole run (the dialog docks it by its name "SaveExt"), so its choices carry
// over from one save to the next.

#include "ExtCtrls.h"
#include "Form.h"
#include "StdCtrls.h"

class TSaveExt : public TForm {
public:
    TSaveExt();
    ~TSaveExt() override;

    TLabel Label1{this, this, "Items to save:"};
    TComboBox ItemsE{this, this, TComboBoxStyle::csDropDownList};
    TLabel Label4{this, this, "After save:"};
    TComboBox AfterE{this, this, TComboBoxStyle::csDropDownList};
    TLabel Label3{this, this, "Profile"};
    TPanel Bevel1{this, this};
    TLabel Label2{this, this, "Export profile:"};
    TComboBox ProfileE{this, this, TComboBoxStyle::csDropDownList};
    TButton RemoveE{this, this, "Delete..."};
    TButton BitBtn1{this, this, "?"};

    // ItemsE and AfterE entries.
    enum Items { AllPages = 0, CurrentBranch = 1, SelectedPage = 2 };
    enum After { AfterNone = 0, OpenFile = 1, EmailFile = 2 };
    static constexpr const char* SelectedPageText = "Selected page";

    void FormShow();
    void FormHide();
    void ProfileEClick();
    void ItemsEClick();
    void RemoveEClick();
    void BitBtn1Click();

    // Enables or disables the profile label, heading, list and button together.
    void EnableProfileGroup(bool enabled);

private:
    void PlaceControls();
};

// The one panel, made by the first save copy; null before.
extern TSaveExt* SaveExt;
// Makes the panel, owned by the application, unless it exists.
TSaveExt& EnsureSaveExt();
