#pragma once
// The Insert Hyperlink dialog: a link type (its scheme prefix) and an address
// typed in, picked from the disk or picked as a page of this outline. OK
// leaves the whole link in SharedResultText. Its place, type and relative
// choice are kept for the rest of the run in DialogStates.

#include "FileDialogs.h"
#include "Form.h"
#include "StdCtrls.h"

#include <string>

class TTreeNode;

class THyperlink : public TForm {
public:
    THyperlink();

    TLabel Label1{this, this, "&Select the type of the hyperlink:"};
    TComboBox TypeEdit{this, this, TComboBoxStyle::csDropDownList};
    TEdit PrefixEdit{this, this, "http://"};
    TLabel Label2{this, this, "&Enter the address you want to link to:"};
    TEdit AddressEdit{this, this};
    TButton Browse{this, this, "..."};
    TButton bPage{this, this, "&Page..."};
    TCheckBox RelativeEdit{this, this, "&Use relative path for hyperlink"};
    TButton OK{this, this, "OK"};
    TButton Cancel{this, this, "Cancel"};
    TButton BitBtn1{this, this, "&Help"};
    TOpenDialog OpenFile{this};

    // Set by Edit Hyperlink, which chose the type itself: showing the dialog
    // keeps that type instead of the one the last use left.
    bool FilledByEdit = false;
    // The main tree's page the address links to (absolute index); -1 none.
    int ChosenPage = -1;

    void FormShow();
    void FormClose(TCloseAction& action);
    void TypeEditChange();
    void TypeEditClick();
    void TypeEditKeyDown(WORD& key, TShiftState shift);
    void AddressEditChange();
    void BrowseClick();
    void bPageClick();
    void RelativeEditClick();
    void OKClick();
    void BitBtn1Click();

private:
    void PlaceControls();
    void WireEvents();
    // Sets the address without forgetting the chosen page.
    void SetPageAddress(const std::string& address);
    TTreeNode* ChosenNode() const;

    bool typeKeyPressed_ = false;
    bool restoringRelative_ = false;
};

// The link types in the order of the type box.
enum THyperlinkType {
    htWebPage,
    htFile,
    htMail,
    htFtp,
    htNews,
    htSecureWeb,
    htTelnet,
    htPage,
};
// The scheme prefix of a type; "" for a page of this outline and for an index
// outside the list.
std::string HyperlinkPrefix(int type);
