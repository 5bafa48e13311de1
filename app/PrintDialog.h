#pragma once
// The Print dialog: which pages to print and with which export profile. Made
// for one use; its place and the profile survive in the settings, on Cancel
// too.

#include "Form.h"
#include "StdCtrls.h"

class TPrintKB : public TForm {
public:
    TPrintKB();

    TLabel Label1{this, this, "&Items to print:"};
    TComboBox ItemsE{this, this, TComboBoxStyle::csDropDownList};
    TLabel Label3{this, this, "Export &profile"};
    TComboBox ProfileE{this, this, TComboBoxStyle::csDropDownList};
    TButton RemoveE{this, this, "&Delete..."};
    TButton Button1{this, this, "Print"};
    TButton Cancel{this, this, "Cancel"};
    TButton BitBtn1{this, this, "&Help"};

    // ItemsE: whole outline, current branch, selected page.
    enum Items { WholeOutline = 0, CurrentBranch = 1, SelectedPage = 2 };

    void FormCreate();
    void FormShow();
    void FormClose(TCloseAction& action);
    void ProfileEClick();
    void ItemsEClick();
    void RemoveEClick();
    void BitBtn1Click();

private:
    void PlaceControls();
};
