#pragma once
// The About box: the program's icon and name, and the way to the
// acknowledgments page of the help. Made for one use, shown modally.

#include "ExtCtrls.h"
#include "Form.h"
#include "StdCtrls.h"

class TAboutDlg : public TForm {
public:
    TAboutDlg();

    TImage Image{this, this};
    TLabel Label2{this, this, "Corvane Quillo"};
    TButton OK{this, this, "OK"};
    TButton Button1{this, this, "&Acknowledgments..."};

    void FormShow() {}
    void Button1Click();
};
