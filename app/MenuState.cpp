// The menu and toolbar refresh: each menu's items, and the toolbar buttons
// that do the same, are enabled for what they may act on now. The handlers
// run as a menu or popup opens, and through UpdateMenus after every change of
// the selected page or its content.
#include "MenuState.h"

#include "Main.h"
#include "ModelessWindows.h"
#include "PageHistory.h"
#include "PageLinks.h"
#include "Pages.h"
#include "RichEdit.h"
#include "SettingsRecords.h"
#include "SharedState.h"
#include "TreeView.h"

#include <initializer_list>

namespace {
void EnableCommands(std::initializer_list<const char*> names, bool enabled)
{
    for (const char* name : names)
        Main->EnableCommand(name, enabled);
}

TMenuItem& MenuItemNamed(const char* name) { return dynamic_cast<TMenuItem&>(*Main->FindComponent(name)); }

// With no page selected the page commands have nothing to act on.
bool PageBelowRootSelected()
{
    const TTreeNode* selected = Main->Tree->Selected();
    return selected && !IsRootPage(selected);
}

// The clipboard commands act on the Find window's search box.
void TargetFindWindow()
{
    EnableCommands({"mCut", "bCut", "mCopy", "bCopy", "mDelete", "mPaste", "bPaste", "mSelectall"}, true);
}

// The clipboard commands act on whole branches.
void TargetTree()
{
    EnableCommands({"mSelectall", "mUndo", "mCase"}, false);
    Main->EnableCommand("mRename", true);
    EnableCommands({"mCut", "bCut", "mCopy", "bCopy", "mDelete"}, PageBelowRootSelected());
    EnableCommands({"mPaste", "bPaste"}, CanPasteBranch(true));
}

// The editor's popups act on the editor, even when one was opened while the
// focus was elsewhere.
void FocusPageEditor()
{
    if (!Main->RichEdit->Focused())
        Main->RichEdit->SetFocus();
}

void TargetPageEditor()
{
    const TQRichEdit& editor = *Main->RichEdit;
    Main->EnableCommand("mUndo", editor.CanUndo());
    EnableCommands({"mSelectall", "mPaste", "bPaste"}, true);
    EnableCommands({"mCut", "bCut", "mCopy", "bCopy", "mDelete", "mCase"}, editor.SelLength() > 0);
}
}

bool CanPasteBranch(bool forMainMenu)
{
    if (!PageClipboard.Source)
        return false;
    if (forMainMenu && Main->Tree->IsEditing())
        return false;
    const TTreeNode* selected = Main->Tree->Selected();
    return !(PageClipboard.Cut && selected && selected->HasAsParent(PageClipboard.Source));
}

void EnableLabelEditCommands()
{
    EnableCommands({"mUndo", "mCut", "bCut", "mCopy", "bCopy", "mDelete", "mPaste", "bPaste", "mSelectall"}, true);
    EnableCommands({"mCase", "mRename"}, false);
}

void TMain::ApplyPasteShortCut()
{
    MenuItemNamed("mPaste").SetShortCutText(OptionSettings.InsInsert ? "Ins" : "Ctrl+V");
}

void TMain::FileClick(TComponent*)
{
    EnableCommand("mRevert", CurrentFileName != UntitledFileName && OutlineProperties.FileChanged);
}

void TMain::EditClick(TComponent*)
{
    ApplyPasteShortCut();
    // While a title is edited the focus is in the label editor's own box,
    // never in the tree itself.
    if (FindWindowIsActive())
        TargetFindWindow();
    else if (Tree->IsEditing())
        EnableLabelEditCommands();
    else if (Tree->Focused())
        TargetTree();
    else
        TargetPageEditor();
}

void TMain::InsertClick(TComponent*)
{
    EnableCommands({"mFile", "mDate", "mHyperlink"}, true);
    EnableCommand("mSymbol", RichEdit->Focused());
    EnableCommands({"mAddPage", "bAddPage"}, PageBelowRootSelected());
}

void TMain::ViewClick(TComponent*)
{
    // From the root, Up One Level goes back to the outline a link came from.
    EnableCommands({"mUponelevel", "bUp"}, PageBelowRootSelected() || !ParentOutlineFile.empty());
    EnableCommands({"mBack", "bBack"}, CanGoBack());
    EnableCommands({"mForward", "bForward"}, CanGoForward());
}

void TMain::PopupPagePopup(TComponent*)
{
    EnableCommand("ppPaste", CanPasteBranch(false));
    const TTreeNode* selected = Tree->Selected();
    const bool titleIsLink = selected && IsUrl(selected->Text());
    MenuItemNamed("ppHyperlinkSub").SetVisible(titleIsLink);
    MenuItemNamed("ppInsertHyperlink").SetVisible(!titleIsLink);
    EnableCommands({"ppAddPage", "ppCut", "ppCopy", "ppDelete"}, PageBelowRootSelected());
}

void TMain::PopupSelPopup(TComponent*) { FocusPageEditor(); }

void TMain::PopupEditPopup(TComponent*) { FocusPageEditor(); }

// The sort popup's items keep the states the sort commands give them.
void TMain::PopupSortPopup(TComponent*) {}
