#pragma once
// The Change Case dialog: one of five case conversions, which the Change Case
// command applies to the page editor's selection. Made for one use.

#include "Form.h"
#include "StdCtrls.h"

#include <string>

class TCase : public TForm {
public:
    TCase();

    TRadioButton UpperE{this, this, "&UPPER CASE"};
    TRadioButton LowerE{this, this, "&lower case"};
    TRadioButton TitleE{this, this, "&Title Case"};
    TRadioButton ToggleE{this, this, "tO&GGLE cASE"};
    TRadioButton RandomE{this, this, "&rAndOm CaSE"};
    TButton OK{this, this, "OK"};
    TButton Cancel{this, this, "Cancel"};
    TButton BitBtn1{this, this, "&Help"};

    void BitBtn1Click();
    // The text converted as the checked button says.
    std::string Convert(const std::string& text) const;

private:
    void PlaceControls();
};

// Upper and lower case by the system's mapping of its ANSI code page, so
// accented letters change too.
std::string SystemUpperCase(const std::string& text);
std::string SystemLowerCase(const std::string& text);
