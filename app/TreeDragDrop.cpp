// Drag and drop on the page tree: pages move or, with Ctrl, are copied within
// the tree; templates come in from the Organize Templates list.
#include "Main.h"

#include "AnsiStrings.h"
#include "BranchFiles.h"
#include "ControlBusy.h"
#include "Cursors.h"
#include "KeyboardState.h"
#include "OrganizeTemplatesDialog.h"
#include "PageHistory.h"
#include "Pages.h"
#include "RichEdit.h"
#include "SharedState.h"
#include "TemplateFolder.h"
#include "TextImport.h"
#include "TreeView.h"

namespace {
// The drag cursors' numbers in the program's cursor table.
enum DragCursorNumber {
    DragMoveUp = 1,
    DragMoveDown = 2,
    DragAddChild = 3,
    // With Ctrl: the copying drops, three further on.
    CopyOffset = 3,
    DragTemplateUp = 8,
    DragTemplateChild = 9,
};

constexpr THitTests OnLabelOrIcon = htOnLabel | htOnIcon;
constexpr THitTests OnPage = htOnLabel | htOnIcon | htOnStateIcon;

bool CtrlHeld() { return (KeyboardShiftState() & ssCtrl) != 0; }

bool FromTemplateList(const TControl* source)
{
    const TOrganizeTemplates* window = OrganizeTemplatesWindow();
    return source && window && source == &window->List;
}

// Places page just after target: before target's next sibling, or last
// among target's siblings.
void MoveAfter(TTreeNode* page, TTreeNode* target)
{
    if (TTreeNode* next = target->getNextSibling(); next && next != page)
        page->MoveTo(next, TNodeAttachMode::naInsert);
    else if (!next)
        page->MoveTo(target, TNodeAttachMode::naAdd);
}

// Where a page dropped on the tree goes relative to the target.
enum class DropPlace { None, LastChild, Before, After };

DropPlace PlaceOfDrop(TTreeNode* dragged, TTreeNode* target, THitTests hit, THitTests onTarget)
{
    if (hit & htOnRight)
        return DropPlace::LastChild;
    if (!(hit & onTarget) || IsRootPage(target))
        return DropPlace::None;
    return target->AbsoluteIndex() < dragged->AbsoluteIndex() ? DropPlace::Before : DropPlace::After;
}
}

void TMain::TreeStartDrag()
{
    // The dragged page is the selected one: nothing to prepare.
}

void TMain::TreeDragOver(TControl* source, int x, int y, TDragState, bool& accept)
{
    accept = false;
    TTreeNode* target = Tree->GetNodeAt(x, y);
    if (!target)
        return;
    const THitTests hit = Tree->GetHitTestInfoAt(x, y);
    if (FromTemplateList(source)) {
        if (IsRootPage(target))
            return;
        accept = true;
        // The drag shows the cursor of the control it is over.
        Tree->DragCursor = ScreenCursor((hit & htOnRight) ? DragTemplateChild : DragTemplateUp);
        return;
    }
    TTreeNode* dragged = Tree->Selected();
    if (!dragged || target == dragged || target->HasAsParent(dragged))
        return;
    const DropPlace place = PlaceOfDrop(dragged, target, hit, OnLabelOrIcon);
    if (place == DropPlace::None)
        return;
    int cursor = place == DropPlace::Before ? DragMoveUp : place == DropPlace::After ? DragMoveDown : DragAddChild;
    if (CtrlHeld())
        cursor += CopyOffset;
    accept = true;
    Tree->DragCursor = ScreenCursor(cursor);
}

void TMain::TreeDragDrop(TControl* source, int x, int y)
{
    TTreeNode* target = Tree->GetNodeAt(x, y);
    if (!target)
        return;
    const THitTests hit = Tree->GetHitTestInfoAt(x, y);
    if (FromTemplateList(source)) {
        DropTemplate(source, target, (hit & htOnRight) != 0);
        return;
    }
    TTreeNode* dragged = Tree->Selected();
    if (source != Tree.get() || !dragged || target == dragged || target->HasAsParent(dragged))
        return;
    const DropPlace place = PlaceOfDrop(dragged, target, hit, OnPage);
    if (place == DropPlace::None)
        return;
    if (CtrlHeld()) {
        dragged = CopyDroppedPage(dragged, place == DropPlace::LastChild ? target : target->Parent());
        if (!dragged)
            return;
    }
    switch (place) {
    case DropPlace::LastChild:
        if (dragged->Parent() != target || dragged->getNextSibling())
            dragged->MoveTo(target, TNodeAttachMode::naAddChild);
        break;
    case DropPlace::Before:
        dragged->MoveTo(target, TNodeAttachMode::naInsert);
        break;
    case DropPlace::After:
        MoveAfter(dragged, target);
        break;
    case DropPlace::None:
        break;
    }
    Tree->SetSelected(dragged);
    OutlineProperties.FileChanged = 1;
    UpdateMoveCommands();
    // The status bar's level is the page's new one.
    ShowSelectedPage();
}

TTreeNode* TMain::CopyDroppedPage(TTreeNode* dragged, TTreeNode* parent)
{
    // The copy goes through Paste, which must not cost the user what the
    // page clipboard holds: a cut page stays cut and ghosted.
    const TPageClipboard kept = PageClipboard;
    PageClipboard = TPageClipboard{dragged, 0};
    Tree->SetSelected(parent);
    ppPasteClick(nullptr);
    TTreeNode* copy = Tree->Selected();
    PageClipboard = kept;
    if (kept.Source && kept.Cut)
        kept.Source->SetCut(true);
    return copy != parent ? copy : nullptr;
}

void TMain::DropTemplate(const TControl* source, TTreeNode* target, bool asLastChild)
{
    const auto dragged = DraggedTemplate(source);
    if (!dragged)
        return;
    const std::string path = dragged->Path();
    TTreeNode* under = asLastChild ? target : target->Parent();
    if (!under)
        return;
    Tree->SetSelected(under);
    bool inserted = false;
    if (ExtractFileExt(path) == ".kbf") {
        TControlBusy busy(*RichEdit);
        inserted = ImportOutlineBranch(path);
    } else {
        inserted = ImportTextFile(path);
    }
    TTreeNode* page = Tree->Selected();
    if (inserted && !asLastChild && page && page != under) {
        Tree->Items().BeginUpdate();
        page->MoveTo(target, TNodeAttachMode::naInsert);
        Tree->Items().EndUpdate();
    }
    if (page)
        page->MakeVisible();
    OutlineProperties.FileChanged = 1;
    UpdateMoveCommands();
}
