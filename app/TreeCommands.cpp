// The commands that change the page tree's structure or its view: delete,
// rename, the four moves, and expanding and collapsing. Each looks at its
// target again before acting: the menus and buttons that lead here may show
// a state older than the selection.
#include "Main.h"

#include "DeleteDialog.h"
#include "FindDialog.h"
#include "PageHistory.h"
#include "Pages.h"
#include "RichEdit.h"
#include "SettingsRecords.h"
#include "SharedState.h"
#include "TreeView.h"

#include <windows.h>

namespace {
std::string DeleteQuestion(const TTreeNode& page)
{
    if (page.HasChildren())
        return "Are you sure you want to delete '" + page.Text() + "' and all its contents?";
    return "Are you sure you want to delete '" + page.Text() + "'?";
}

// The page the selection goes to when page is deleted: its next sibling, or
// else the node just before it in the tree's order (the deepest last page of
// its previous sibling, shown or not, or else its parent).
TTreeNode* SelectionAfterDeleting(const TTreeNode& page)
{
    if (TTreeNode* next = page.getNextSibling())
        return next;
    return page.GetPrev();
}

void PlaceMovedPage(TTreeNode& page, TPageMove move)
{
    TTreeNode* parent = page.Parent();
    switch (move) {
    case TPageMove::Up:
        if (page.Index() < 2)
            page.MoveTo(parent, TNodeAttachMode::naAddChildFirst);
        else
            page.MoveTo(page.getPrevSibling(), TNodeAttachMode::naInsert);
        break;
    case TPageMove::Down:
        if (page.Index() < parent->Count() - 2)
            page.MoveTo(page.getNextSibling()->getNextSibling(), TNodeAttachMode::naInsert);
        else
            page.MoveTo(parent, TNodeAttachMode::naAddChild);
        break;
    case TPageMove::Left:
        page.MoveTo(parent->Parent(), TNodeAttachMode::naAddChild);
        break;
    case TPageMove::Right:
        page.MoveTo(page.getPrevSibling(), TNodeAttachMode::naAddChild);
        break;
    }
}

// The ancestor at level 1 of a page deeper than that.
TTreeNode* LevelOneAncestor(TTreeNode* page)
{
    while (page->Level() > 1)
        page = page->Parent();
    return page;
}
}

void TMain::WireTreeCommands()
{
    SetHandler("mDeleteClick", [this](TComponent* sender) { mDeleteClick(sender); });
    SetHandler("mRenameClick", [this](TComponent* sender) { mRenameClick(sender); });
    SetHandler("mMoveUpClick", [this](TComponent* sender) { mMoveUpClick(sender); });
    SetHandler("mMoveDownClick", [this](TComponent* sender) { mMoveDownClick(sender); });
    SetHandler("mMoveLeftClick", [this](TComponent* sender) { mMoveLeftClick(sender); });
    SetHandler("mMoveRightClick", [this](TComponent* sender) { mMoveRightClick(sender); });
    SetHandler("mExpandAllClick", [this](TComponent* sender) { mExpandAllClick(sender); });
    SetHandler("mCollapseAllClick", [this](TComponent* sender) { mCollapseAllClick(sender); });
    SetHandler("mExpandAllSubPagesClick", [this](TComponent* sender) { mExpandAllSubPagesClick(sender); });
    SetHandler("mCollapseAllSubPagesClick", [this](TComponent* sender) { mCollapseAllSubPagesClick(sender); });
    SetHandler("ppCutClick", [this](TComponent* sender) { ppCutClick(sender); });
    SetHandler("ppCopyClick", [this](TComponent* sender) { ppCopyClick(sender); });
    SetHandler("ppPasteClick", [this](TComponent* sender) { ppPasteClick(sender); });
    SetHandler("mClearClick", [this](TComponent* sender) { mClearClick(sender); });
}

void TMain::mDeleteClick(TComponent*)
{
    // What is deleted is the first of: the Find window's text, a title being
    // edited, nothing for the root, the editor's text, the selected page.
    if (HWND box = ActiveFindBox()) {
        SendMessageA(box, WM_CLEAR, 0, 0);
        return;
    }
    if (HWND labelEditor = Tree->EditHandle()) {
        SendMessageA(labelEditor, WM_CLEAR, 0, 0);
        return;
    }
    TTreeNode* page = Tree->Selected();
    if (IsRootPage(page)) {
        RunHandler("EditClick", this);
        return;
    }
    if (RichEdit->Focused()) {
        mClearClick(this);
        return;
    }
    if (page)
        DeletePage(*page);
}

void TMain::DeletePage(TTreeNode& page)
{
    if (OptionSettings.DeleteConfirm && !ConfirmDelete(DeleteQuestion(page)))
        return;
    OutlineProperties.FileChanged = 1;
    page.DeleteChildren();
    Tree->SetSelected(SelectionAfterDeleting(page));
    page.Delete();
    // The history may hold pages that are gone.
    ClearHistory();
    TreeClick();
}

void TMain::mRenameClick(TComponent*)
{
    TTreeNode* page = Tree->Selected();
    if (!page)
        return;
    Tree->SetFocus();
    EditTitle(page);
    RunHandler("EditClick", this);
}

void TMain::mMoveUpClick(TComponent*) { MoveSelectedPage(TPageMove::Up); }

void TMain::mMoveDownClick(TComponent*) { MoveSelectedPage(TPageMove::Down); }

void TMain::mMoveLeftClick(TComponent*) { MoveSelectedPage(TPageMove::Left); }

void TMain::mMoveRightClick(TComponent*) { MoveSelectedPage(TPageMove::Right); }

void TMain::MoveSelectedPage(TPageMove move)
{
    TTreeNode* page = Tree->Selected();
    // The tree's type-ahead selects pages without refreshing the commands, so
    // the one that brought us here may belong to another page.
    if (!CanMovePage(page, move))
        return;
    const bool editing = Tree->IsEditing();
    const bool expanded = page->Expanded();
    page->Collapse(false);
    PlaceMovedPage(*page, move);
    if (expanded)
        page->Expand(false);
    OutlineProperties.FileChanged = 1;
    UpdateMoveCommands();
    // The status bar's level is the page's new one.
    ShowSelectedPage();
    if (editing)
        EditTitle(page);
}

void TMain::mExpandAllClick(TComponent*)
{
    Tree->FullExpand();
    if (TTreeNode* page = Tree->Selected())
        page->MakeVisible();
}

void TMain::mCollapseAllClick(TComponent*)
{
    if (RichEdit->Focused())
        RichEditExit();
    TTreeNode* remembered = Tree->Selected();
    Tree->FullCollapse();
    if (TTreeNode* root = Tree->Items().GetFirstNode())
        root->Expand(false);
    if (remembered && remembered->Level() > 1) {
        // Hidden now: the page that stands for it is its ancestor at level 1.
        Tree->SetSelected(LevelOneAncestor(remembered));
        TreeClick();
    } else {
        Tree->SetSelected(remembered);
    }
}

void TMain::mExpandAllSubPagesClick(TComponent*)
{
    TTreeNode* page = Tree->Selected();
    if (!page)
        return;
    page->Expand(true);
    page->MakeVisible();
}

void TMain::mCollapseAllSubPagesClick(TComponent*)
{
    TTreeNode* page = Tree->Selected();
    if (!page)
        return;
    page->Collapse(true);
    // The root's own pages stay in view.
    if (IsRootPage(page))
        page->Expand(false);
}
