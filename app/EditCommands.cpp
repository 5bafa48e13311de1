// The Edit commands that act on the text the user is working in, and the page
// editor's events that mark the outline changed and pick its popup menu.
//
// Cut, Copy and Paste go to the first of: the Find window's search box (when
// that window is active), a title being edited, the page tree (whole
// branches), the page editor.
#include "Main.h"

#include "FindDialog.h"
#include "MenuState.h"
#include "Pages.h"
#include "RichEdit.h"
#include "SharedState.h"
#include "TreeView.h"

#include <windows.h>

namespace {
// The Find window's search box when that window is active, else the label
// editor's box while a title is edited; null otherwise.
HWND TextBoxTarget()
{
    if (HWND box = ActiveFindBox())
        return box;
    return Main->Tree->EditHandle();
}

// Cut and Copy share their first targets: a text box, then the tree, whose
// root page is never cut or copied. True when one of them took the command.
bool SentToBoxOrTree(UINT message, void (TMain::*branchCommand)(TComponent*))
{
    if (HWND box = TextBoxTarget()) {
        SendMessageA(box, message, 0, 0);
        return true;
    }
    if (!Main->Tree->Focused())
        return false;
    if (IsRootPage(Main->Tree->Selected()))
        Main->RunHandler("EditClick", Main);
    else
        (Main->*branchCommand)(Main);
    return true;
}
}

void TMain::mUndoClick(TComponent*)
{
    // The Find window's box is no target: Undo goes to the page even then.
    if (HWND labelEditor = Tree->EditHandle()) {
        SendMessageA(labelEditor, EM_UNDO, 0, 0);
        return;
    }
    RichEdit->Undo();
}

void TMain::mCutClick(TComponent*)
{
    if (SentToBoxOrTree(WM_CUT, &TMain::ppCutClick))
        return;
    if (RichEdit->Focused()) {
        RichEdit->CutToClipboard();
        OutlineProperties.FileChanged = 1;
    }
}

void TMain::mCopyClick(TComponent*)
{
    if (!SentToBoxOrTree(WM_COPY, &TMain::ppCopyClick))
        RichEdit->CopyToClipboard();
}

void TMain::mPasteClick(TComponent*)
{
    if (HWND box = TextBoxTarget()) {
        SendMessageA(box, WM_PASTE, 0, 0);
        return;
    }
    // Any page takes a branch, the root included.
    if (Tree->Focused()) {
        ppPasteClick(this);
        return;
    }
    RichEdit->Lines().BeginUpdate();
    RichEdit->PasteFromClipboard();
    RichEdit->Lines().EndUpdate();
    OutlineProperties.FileChanged = 1;
}

void TMain::mSelectAllClick(TComponent*)
{
    if (HWND box = ActiveFindBox()) {
        SendMessageA(box, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
        return;
    }
    if (HWND labelEditor = Tree->EditHandle()) {
        SendMessageA(labelEditor, EM_SETSEL, 0, -1);
        return;
    }
    RichEdit->SelectAll();
}

void TMain::mClearClick(TComponent*)
{
    RichEdit->ClearSelection();
    OutlineProperties.FileChanged = 1;
}

void TMain::RichEditSelectionChange(TComponent*)
{
    RichEdit->SetPopupMenu(PopupMenuNamed(RichEdit->SelLength() > 0 ? "PopupSel" : "PopupEdit"));
    UpdateMenus();
}

void TMain::RichEditMouseMove() { ShowPageStatus(); }

void TMain::RichEditKeyUp(WORD key)
{
    // The keys that change the text without a character of their own.
    const bool changes = key == VK_BACK || key == VK_SPACE || key == VK_DELETE ||
                         (key >= VK_MULTIPLY && key <= VK_SUBTRACT) || key == VK_DIVIDE;
    if (changes)
        OutlineProperties.FileChanged = 1;
}

void TMain::RichEditKeyPress(char key)
{
    // Esc and the Ctrl+letter codes that no shortcut took put nothing into
    // the text.
    const auto code = static_cast<unsigned char>(key);
    if (code >= ' ' || code == '\b' || code == '\t' || code == '\n' || code == '\r')
        OutlineProperties.FileChanged = 1;
}

void TMain::WireEditCommands()
{
    SetHandler("mUndoClick", [this](TComponent* sender) { mUndoClick(sender); });
    SetHandler("mCutClick", [this](TComponent* sender) { mCutClick(sender); });
    SetHandler("mCopyClick", [this](TComponent* sender) { mCopyClick(sender); });
    SetHandler("mPasteClick", [this](TComponent* sender) { mPasteClick(sender); });
    SetHandler("mSelectAllClick", [this](TComponent* sender) { mSelectAllClick(sender); });
    SetHandler("RichEditSelectionChange", [this](TComponent* sender) { RichEditSelectionChange(sender); });
    SetHandler("mCaseClick", [this](TComponent* sender) { mCaseClick(sender); });
    SetHandler("mFindClick", [this](TComponent* sender) { mFindClick(sender); });
    SetHandler("mFindNextClick", [this](TComponent* sender) { mFindNextClick(sender); });
}
