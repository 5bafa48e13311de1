#include "RenameDialog.h"

namespace {
TForm::CreateParams Params()
{
    TForm::CreateParams params;
    params.caption = "Rename";
    params.borderStyle = TFormBorderStyle::bsDialog;
    params.position = TPosition::poScreenCenter;
    params.clientWidth = 282;
    params.clientHeight = 92;
    return params;
}
}

TRename::TRename() : TForm(Params())
{
    SetName("Rename");
    WhatNewLabel.SetName("WhatNewLabel");
    NameEdit.SetName("NameEdit");
    OK.SetName("OK");
    Button2.SetName("Button2");
    WhatNewLabel.SetFocusControl(&NameEdit);
    NameEdit.SetMaxLength(255);
    OK.ModalResult = mrOk;
    OK.SetDefault(true);
    OK.SetEnabled(false);
    Button2.ModalResult = mrCancel;
    Button2.SetCancel(true);
    NameEdit.OnChange = [this] { NameEditChange(); };
    PlaceControls();
    SetActiveControl(&NameEdit);
    DoCreate();
}

void TRename::PlaceControls()
{
    WhatNewLabel.SetBounds(8, 10, 266, 13);
    NameEdit.SetBounds(8, 28, 266, 21);
    OK.SetBounds(118, 60, 75, 25);
    Button2.SetBounds(199, 60, 75, 25);
}

void TRename::NameEditChange() { OK.SetEnabled(!NameEdit.Text().empty()); }
