#pragma once
// The Symbol window: inserts a character into the page editor, chosen from a
// grid of every character of the code page or from a short list of named
// ones. Modeless and on top; made on first use, Close only hides it, and the
// main window frees it when it closes.

#include "ControlFont.h"
#include "Form.h"
#include "Grids.h"
#include "ListView.h"
#include "PageControl.h"
#include "StdCtrls.h"

#include <string>

class TSymbol : public TForm {
public:
    TSymbol();

    static constexpr int GridColumns = 25;
    static constexpr int GridRows = 9;
    static constexpr int FirstCode = 32;

    TPageControl Pages{this, this};
    TTabSheet AllCharacters{this, &Pages, "   &All Characters   "};
    TTabSheet SpecialCharacters{this, &Pages, "   &Special Characters   "};
    TLabel Label1{this, &AllCharacters, "Font: "};
    TLabel FontEdit{this, &AllCharacters};
    TStringGrid Grid{this, &AllCharacters, GridColumns, GridRows, 19};
    TLabel Label2{this, &SpecialCharacters, "Character:"};
    TLabel Label3{this, &SpecialCharacters, "Keystroke:"};
    TListView List{this, &SpecialCharacters, TViewStyle::vsReport};
    TButton Insert{this, this, "&Insert"};
    TButton Close{this, this, "Close"};
    TButton BitBtn1{this, this, "&Help"};

    void FormShow();
    void FormActivate();
    void FormDeactivate();
    void GridSelectCell(int col, int row, bool& canSelect);
    void InsertClick();
    void CloseClick();
    void BitBtn1Click();

    // The text of a grid cell: one character, or none past code 255.
    static std::string CellText(int col, int row);

private:
    void PlaceControls();
    void WireEvents();
    // The character Insert would put into the page now.
    std::string ChosenText() const;

    int selectedCol_ = 0;
    int selectedRow_ = 0;
    TControlFont gridFont_;
    TControlFont listFont_;
};
