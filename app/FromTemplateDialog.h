#pragma once
// The Insert From Template dialog: picks a page template (Page tab) or an
// outline template (Outline tab) to insert into the open outline. It only
// chooses; the Insert From Template command does the work. Made for one use,
// shown modally.

#include "Form.h"
#include "ImageList.h"
#include "ListView.h"
#include "PageControl.h"
#include "SpeedButton.h"
#include "StdCtrls.h"
#include "TemplateFolder.h"

#include <string>

class TFromTemplate : public TForm {
public:
    TFromTemplate();

    TSpeedButton Large{this, this};
    TSpeedButton Small{this, this};
    TPageControl Pages{this, this};
    TTabSheet Page{this, &Pages, "  Page  "};
    TTabSheet Outline{this, &Pages, "  Outline  "};
    TListView ListViewP{this, &Page, TViewStyle::vsIcon};
    TListView ListViewO{this, &Outline, TViewStyle::vsIcon};
    TButton OK{this, this, "OK"};
    TButton Button2{this, this, "Cancel"};
    TButton BitBtn1{this, this, "&Help"};
    TImageList Images{this, 32, 32};
    TImageList SmallImages{this, 16, 16};
    TImageList ViewImages{this, 16, 16};

    // After OK: the chosen template's name, and which tab it was chosen on,
    // so that a page and an outline template of one name stay apart.
    const std::string& TemplateName() const { return FTemplateName; }
    TemplateKind ChosenKind() const { return FTemplateKind; }

    void FormCreate();
    void FormShow();
    void FormClose(TCloseAction& action);
    void PageShow();
    void OutlineShow();
    void ListViewPChange(TListItem* item);
    void ListViewOChange(TListItem* item);
    void ListViewPDblClick();
    void OKClick();
    void LargeClick();
    void SmallClick();
    void BitBtn1Click();

private:
    void PlaceControls();
    void SetUpList(TListView& list, const char* name);
    void WireEvents();
    // The list on the tab in view.
    TListView& ActiveList();
    // OK follows the list in view.
    void FollowActiveList();

    std::string FTemplateName;
    TemplateKind FTemplateKind = TemplateKind::Page;
};
