#pragma once
// The Find window: modeless and on top of the main window, it searches the
// outline's text forward from the page editor's selection, in the current
// page or on through the pages that follow it in the tree. Made on the first
// Find, kept for the run (Cancel only hides it) and freed with the main
// window.

#include "Form.h"
#include "StdCtrls.h"

#include <string>

class TTreeNode;

// Where a search looks, as the "Where to search" list orders it.
enum TSearchScope : int { scCurrentPage = 0, scOutlineWithTitles = 1, scOutlineWithoutTitles = 2 };

class TFindR : public TForm {
public:
    TFindR();

    TLabel Label1{this, this, "F&ind what:"};
    TComboBox Edit{this, this, TComboBoxStyle::csDropDown};
    TLabel Label2{this, this, "W&here to search:"};
    TComboBox SearchEdit{this, this, TComboBoxStyle::csDropDownList};
    TCheckBox Case{this, this, "&Case sensitive"};
    TCheckBox Whole{this, this, "&Whole words only"};
    TButton FindButton{this, this, "Find &Next"};
    TButton Cancel{this, this, "Cancel"};
    TButton BitBtn1{this, this, "&Help"};

    void FormCreate();
    void FormShow();
    void EditChange();
    void FindButtonClick();
    void CancelClick();
    void FormDeactivate();
    void BitBtn1Click();
    // The scope, with anything outside the list taken as the whole outline
    // with titles.
    TSearchScope Scope() const;
    // Puts the state the last run stored into the controls and the position.
    void ApplyStoredState();
    // The main window's menu shortcuts work here too, so that the Edit
    // commands reach the search box and Find Next runs; Alt+F4 stays this
    // window's own.
    bool PreTranslateKey(const MSG& message) override;

private:
    void PlaceControls();
    void WireEvents();
    void RememberSearchText(const std::string& text);
    // The steps of a search (OutlineSearch.cpp).
    void SearchCurrentPage(const std::string& text);
    void SearchOutline(const std::string& text, bool withTitles);
    bool FindInPageEditor(const std::string& text, int start);
    // Whether the hidden scratch editor finds the text in a title or page
    // text.
    bool ScratchHolds(const std::string& pageText, const std::string& text);
    void ShowFoundPage(TTreeNode& page);
    void ReportMiss(const std::string& text);
};

// The Find window while it exists, else null.
TFindR* FindRWindow();

// The search box when the Find window is the active window, else null: the
// Edit commands then act on it.
HWND ActiveFindBox();

// The miss message's text.
std::string SearchMissText(const std::string& text);
