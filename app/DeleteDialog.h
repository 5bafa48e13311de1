#pragma once
// The Confirm Delete dialog: a Yes/No question whose text the caller puts
// into MessageE. Made for one use, shown modally; only Yes goes ahead, and
// Esc and the close box count as No.

#include "ExtCtrls.h"
#include "Form.h"
#include "StdCtrls.h"

#include <string>

class TDelete : public TForm {
public:
    TDelete();

    TImage Image1{this, this};
    // Every caller replaces this design text with its own question.
    TLabel MessageE{this, this, "Are you sure you want to delete all pages in this knowledge base?"};
    TButton Yes{this, this, "Yes"};
    TButton No{this, this, "No"};

private:
    void PlaceControls();
};

// Asks the question in the Confirm Delete dialog; true only for Yes.
bool ConfirmDelete(const std::string& question);
