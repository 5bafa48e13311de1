#pragma once
// The New dialog: picks what a new outline starts from, "Blank Outline" or
// one of the outline templates. It only chooses; the New command does the
// work. Made for one use, shown modally.

#include "Form.h"
#include "ImageList.h"
#include "ListView.h"
#include "SpeedButton.h"
#include "StdCtrls.h"

#include <string>

inline const char* const BlankOutlineCaption = "Blank Outline";

class TNew : public TForm {
public:
    TNew();

    TSpeedButton Large{this, this};
    TSpeedButton Small{this, this};
    TListView ListView{this, this, TViewStyle::vsIcon};
    TButton OK{this, this, "OK"};
    TButton Button2{this, this, "Cancel"};
    TButton BitBtn1{this, this, "&Help"};
    TImageList Images{this, 32, 32};
    TImageList SmallImages{this, 16, 16};
    TImageList ViewImages{this, 16, 16};

    // After OK: empty for "Blank Outline", else the chosen template's name.
    const std::string& TemplateName() const { return FTemplateName; }

    void FormCreate();
    void FormShow();
    void FormClose(TCloseAction& action);
    void ListViewChange(TListItem* item);
    void ListViewDblClick();
    void OKClick();
    void LargeClick();
    void SmallClick();
    void BitBtn1Click();

private:
    void PlaceControls();
    void WireEvents();

    std::string FTemplateName;
};
