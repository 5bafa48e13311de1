#pragma once
// The Date and Time dialog: the current date and time in seventeen formats.
// The chosen text goes to SharedResultText; "&Default..." can make a format
// the one the quick date insertion uses. Made for one use.

#include "Form.h"
#include "StdCtrls.h"

#include <array>

class TDatePick : public TForm {
public:
    TDatePick();

    static constexpr std::array<const char*, 17> Formats = {
        "ddddd",    "dddddd",  "mmmm d, yyyy", "m/d/yyyy", "yyyy-mm-dd", "d-mmm-yy", "m.d.yy", "mmm.  d, yy", "d mmmm yyyy",
        "mmmm yy",  "mmm-yy",  "ddddd t",      "c",        "t",          "tt",       "hh:nn",  "hh:nn:ss"};

    TLabel Label1{this, this, "&Available formats:"};
    TListBox List{this, this};
    TButton OK{this, this, "OK"};
    TButton Cancel{this, this, "Cancel"};
    TButton Button1{this, this, "&Default..."};
    TButton BitBtn1{this, this, "&Help"};

    void FormShow();
    void OKClick();
    void ListDblClick();
    void Button1Click();
    void BitBtn1Click();

private:
    void PlaceControls();
};
