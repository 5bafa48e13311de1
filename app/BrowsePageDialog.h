#pragma once
// Browse For Page: a copy of the page tree to choose a page from. Its nodes
// stand in the main tree's order, so a node's absolute index names the page.

#include "Form.h"
#include "StdCtrls.h"
#include "TreeView.h"

class TBrowsePage : public TForm {
public:
    TBrowsePage();

    TLabel Label1{this, this, "Choose a page:"};
    TTreeView Tree{this, this};
    TButton OK{this, this, "OK"};
    TButton Cancel{this, this, "Cancel"};

    void FormCreate();
    void FormShow();
    // A double-click on a page chooses it, unless it opens or closes a branch.
    void TreeDblClick();

private:
    void PlaceControls();
};
