// The exchange between the page tree and the page editor: which page the
// editor holds, committing its text back to that page, label editing of page
// titles, and releasing a page's record when its node goes.
#include "Main.h"

#include "ControlBusy.h"
#include "MainLifecycle.h"
#include "MenuState.h"
#include "PageData.h"
#include "PageHistory.h"
#include "Pages.h"
#include "Progress.h"
#include "RichEdit.h"
#include "SharedState.h"
#include "StatusBar.h"
#include "TreeView.h"

void TMain::TreeClick()
{
    UpdateMoveCommands();
    UpdateMenus();
    Tree->SetPopupMenu(PopupMenuNamed("PopupPage"));
    ShowSelectedPage();
    ShowPageStatus();
}

void TMain::ShowPageStatus()
{
    if (Tree->Items().Count() == 1) {
        ShowBusyNote("To add new page, click");
        return;
    }
    HideBusyNote();
    if (const TTreeNode* page = Tree->Selected())
        StatusBar->Panel(0).SetText(page->Text());
}

void TMain::RichEditEnter()
{
    // The tree can lose the focus while the window is still being built.
    if (!RichEdit)
        return;
    // The tree's selection can move without the page following it (a title
    // found by typing its first letter, an import that stopped): the editor
    // shows the selected page before it takes any typing.
    if (Tree->Selected() != LastShownPage)
        ShowSelectedPage();
    EditorPage = Tree->Selected();
    RunHandler("RichEditSelectionChange", RichEdit.get());
    UpdateMenus();
    RichEdit->SetModified(false);
}

void TMain::RichEditChange()
{
    if (EditorLoading)
        return;
    // The text belongs to the page the editor shows, which is the selected
    // one except while the selection has moved on its own.
    EditorPage = LastShownPage ? LastShownPage : Tree->Selected();
    // The control's own flag misses an undo or redo after the text was
    // stored, and a save would then keep the text undone.
    RichEdit->SetModified(true);
    OutlineProperties.FileChanged = 1;
}

void TMain::RichEditExit()
{
    PageData* data = PageDataOf(EditorPage);
    // The page was deleted (or never set): there is nowhere to put the text.
    if (!data)
        return;
    if (RichEdit->Modified())
        StoreEditorText(*data);
    data->CaretStart = RichEdit->SelStart();
    data->SelectionLength = RichEdit->SelLength();
}

void TMain::StoreEditorText(PageData& page)
{
    const TControlBusy busy(*Tree);
    const int start = RichEdit->SelStart();
    const int length = RichEdit->SelLength();
    // Written aside first: a stream-out that fails leaves the page its old
    // text and the editor its typing, still marked as not stored.
    auto body = std::make_unique<TStringStream>();
    RichEdit->Lines().SaveToStream(*body);
    page.Body = std::move(body);
    OutlineProperties.FileChanged = 1;
    // The editor holds the page's own text again, as after the page was shown.
    RichEdit->SetModified(false);
    RichEdit->SetSelStart(start);
    RichEdit->SetSelLength(length);
}

void TMain::CommitTyping()
{
    // A title being typed is taken as Enter would take it; the automatic
    // save leaves it open under the user's hands.
    if (TTreeNode* page = Tree->Selected(); page && Tree->IsEditing() && !lifecycle_->autoSaving)
        page->EndEdit(false);
    if (RichEdit->Modified())
        RichEditExit();
}

void TMain::TreeEnter()
{
    // The first focus comes with the window's start, not from the user.
    if (firstTreeEnter_) {
        firstTreeEnter_ = false;
        return;
    }
    UpdateMenus();
}

void TMain::TreeExit() { RichEditEnter(); }

void TMain::EditTitle(TTreeNode* page)
{
    // Asked for by a command: the refusal a link click leaves for the edit
    // that click might start is not meant for this one.
    Tree->Tag = 0;
    page->EditText();
}

void TMain::TreeEditing(TTreeNode* node, bool& allowEdit)
{
    // A click that followed a link in a title asks for the next edit to be
    // refused.
    if (Tree->Tag == 1) {
        allowEdit = false;
        Tree->Tag = 0;
        return;
    }
    const TTreeNode* page = Tree->Selected() ? Tree->Selected() : node;
    TitleBeforeEdit = page ? page->Text() : std::string();
    EnableLabelEditCommands();
}

void TMain::TreeEdited(TTreeNode* /*node*/, std::string& text)
{
    // A page never has an empty title; an unchanged one is no change.
    if (text.empty() || text == TitleBeforeEdit)
        text = TitleBeforeEdit;
    else
        OutlineProperties.FileChanged = 1;
    // The Edit menu is refreshed once the label editor is gone (OnEditEnded).
}

void TMain::TreeDeletion(TTreeNode* node)
{
    node->SetStateIndex(0);
    // Nothing may keep pointing at the node: a later node can take its
    // address, and the editor would then show or commit a deleted page.
    if (EditorPage == node)
        EditorPage = nullptr;
    if (LastShownPage == node)
        LastShownPage = nullptr;
    if (PageClipboard.Source == node)
        PageClipboard = TPageClipboard{};
    ClearHistory();
    FreePageData(node);
}

void TMain::mAddNewClick(TComponent*)
{
    if (!CheckPageLimits())
        return;
    if (RichEdit->Focused())
        RichEditExit();
    TTreeNode* node = AddChildPage("Untitled");
    Tree->SetSelected(node);
    OutlineProperties.FileChanged = 1;
    if (TTreeNode* parent = node->Parent())
        parent->Expand(false);
    TreeClick();
    EditTitle(node);
}

void TMain::mAddPageClick(TComponent*)
{
    if (!CheckPageLimits())
        return;
    if (RichEdit->Focused())
        RichEditExit();
    TTreeNode* node = AddSiblingPage("Untitled");
    if (!node)
        return;
    Tree->SetSelected(node);
    OutlineProperties.FileChanged = 1;
    ShowSelectedPage();
    UpdateMoveCommands();
    EditTitle(node);
}
