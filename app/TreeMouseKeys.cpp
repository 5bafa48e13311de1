// The page tree's own mouse and key handling: every click on a page and every
// key that moves the selection records the page in the history and shows it.
#include "Main.h"

#include "KeyboardState.h"
#include "Menus.h"
#include "PageHistory.h"
#include "TreeView.h"

#include <windows.h>

namespace {
bool IsSelectionMoveKey(WORD key)
{
    switch (key) {
    case VK_BACK:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        return true;
    default:
        return false;
    }
}
}

void TMain::TreeMouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    const THitTests hit = Tree->GetHitTestInfoAt(x, y);
    TTreeNode* node = Tree->GetNodeAt(x, y);
    if (button == TMouseButton::mbLeft && (shift & ssCtrl) && (hit & htOnButton) && node) {
        // The control has already toggled the page: carry that to its branch.
        if (node->Expanded())
            node->Expand(true);
        else
            node->Collapse(true);
        return;
    }
    const bool onPage = node && (hit & (htOnItem | htOnIcon | htOnLabel | htOnStateIcon | htOnButton | htOnIndent));
    if (!onPage || button == TMouseButton::mbMiddle) {
        Tree->SetPopupMenu(nullptr);
        return;
    }
    if (button == TMouseButton::mbRight)
        Tree->SetSelected(node);
    TTreeNode* selected = Tree->Selected();
    PushVisitedPage(selected);
    TreeClick();
    if (hit & htOnStateIcon) {
        Tree->SetPopupMenu(nullptr);
        OpenStatePopup();
    } else {
        Tree->SetPopupMenu(PopupMenuNamed("PopupPage"));
    }
}

void TMain::TreeKeyUp(WORD& key, TShiftState)
{
    if (!IsSelectionMoveKey(key))
        return;
    PushHistory(Tree->Selected());
    TreeClick();
}

void TMain::OpenStatePopup()
{
    TTreeNode* page = Tree->Selected();
    TPopupMenu* popup = PopupMenuNamed("StatePopup");
    if (!page || !popup)
        return;
    const RECT label = page->DisplayRect(true);
    RECT window{};
    GetWindowRect(Handle(), &window);
    const int frameHeight = Height() - ClientHeight();
    popup->Popup(window.left + label.left - 26, window.top + frameHeight + Tree->Top() + label.bottom);
}
