#pragma once
// The Rename dialog: asks the Organize Templates window for a template's new
// name. Made for one use, shown modally.

#include "Form.h"
#include "StdCtrls.h"

class TRename : public TForm {
public:
    TRename();

    TLabel WhatNewLabel{this, this, "&New Name:"};
    TEdit NameEdit{this, this};
    TButton OK{this, this, "OK"};
    TButton Button2{this, this, "Cancel"};

    void NameEditChange();

private:
    void PlaceControls();
};
