// The page clipboard: whole branches cut or copied in the page tree and
// pasted below another page. A cut branch moves once; a copied branch can be
// pasted again and again, each time as a copy of its own.
#include "Main.h"

#include "PageHistory.h"
#include "Pages.h"
#include "SharedState.h"
#include "TreeView.h"

namespace {
// Takes the page onto the clipboard, the ghosted look going with it.
void PutOnClipboard(TTreeNode* page, bool cut)
{
    if (PageClipboard.Source)
        PageClipboard.Source->SetCut(false);
    PageClipboard.Source = page;
    PageClipboard.Cut = cut ? 1 : 0;
    if (cut)
        page->SetCut(true);
}

// The page after page in a pre-order walk of source's branch, with the
// number of levels climbed to reach it (0: the next sibling; -1: the first
// child); null at the end of the branch.
TTreeNode* NextInBranch(TTreeNode* page, const TTreeNode& source, std::int32_t& climbed)
{
    if (TTreeNode* child = page->getFirstChild()) {
        climbed = -1;
        return child;
    }
    climbed = 0;
    for (; page != &source; page = page->Parent(), ++climbed) {
        if (TTreeNode* next = page->getNextSibling())
            return next;
    }
    return nullptr;
}

// A copy of source's whole branch as the root's last child. Built outside
// the source's branch and finished before anything moves it, so copying a
// branch into one of its own pages cannot copy the copy again.
TTreeNode* CopyBranch(TTreeNode& source, TTreeNode& root)
{
    TTreeNode* top = CopyPageNode(&root, &source, -1);
    TTreeNode* previousCopy = top;
    std::int32_t climbed = 0;
    for (TTreeNode* page = NextInBranch(&source, source, climbed); page && previousCopy;
         page = NextInBranch(page, source, climbed))
        previousCopy = CopyPageNode(previousCopy, page, climbed);
    return top;
}
}

void TMain::ppCutClick(TComponent*)
{
    TTreeNode* page = Tree->Selected();
    // The root holds every page: a branch cannot go anywhere below itself.
    if (!page || IsRootPage(page))
        return;
    PutOnClipboard(page, true);
    Tree->Invalidate();
    UpdateMenus();
}

void TMain::ppCopyClick(TComponent*)
{
    TTreeNode* page = Tree->Selected();
    // A copy of the root would be made below the root, inside what it copies.
    if (!page || IsRootPage(page))
        return;
    PutOnClipboard(page, false);
    Tree->Invalidate();
    UpdateMenus();
}

void TMain::ppPasteClick(TComponent*)
{
    TTreeNode* target = Tree->Selected();
    TTreeNode* source = PageClipboard.Source;
    // A source that was deleted has already left the clipboard.
    if (!target || !source)
        return;
    TTreeNode* pasted = nullptr;
    if (PageClipboard.Cut) {
        if (target == source || target->HasAsParent(source))
            return;
        source->SetCut(false);
        source->MoveTo(target, TNodeAttachMode::naAddChild);
        PageClipboard = TPageClipboard{};
        pasted = source;
    } else {
        pasted = CopyBranch(*source, *Tree->Items().GetFirstNode());
        pasted->MoveTo(target, TNodeAttachMode::naAddChild);
    }
    if (TTreeNode* parent = pasted->Parent())
        parent->Expand(false);
    Tree->SetSelected(pasted);
    OutlineProperties.FileChanged = 1;
    PushHistory(pasted);
    TreeClick();
}
