// The main window's own layout rules: the status bar's first panel takes the
// room the other two leave, and a dragged splitter means the normal view.
#include "Main.h"

#include "StatusBar.h"
#include "TreeView.h"

void TMain::FormResize()
{
    StatusBar->Panel(0).SetWidth(StatusBar->Width() - StatusBar->Panel(1).Width() - StatusBar->Panel(2).Width());
}

void TMain::SplitterMoved()
{
    // A tree squeezed to nothing or over the whole window keeps the view it
    // had: the outline and page-only views are those two extremes.
    const int treeWidth = Tree->Width();
    if (treeWidth <= 1 || treeWidth >= Width() - 1)
        return;
    for (const char* name : {"mNormal", "mOutline", "mPageOnly"}) {
        if (auto* item = dynamic_cast<TMenuItem*>(FindComponent(name)))
            item->SetChecked(std::string(name) == "mNormal");
    }
}
