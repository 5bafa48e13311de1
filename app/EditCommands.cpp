// The Edit commands that act on the text the user is working in.
#include "Main.h"

#include "RichEdit.h"
#include "SharedState.h"

void TMain::mClearClick(TComponent*)
{
    RichEdit->ClearSelection();
    OutlineProperties.FileChanged = 1;
}
