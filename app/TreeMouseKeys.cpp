// The page tree's own mouse and key handling: every click on a page and every
// key that moves the selection records the page in the history and shows it;
// a title that is a link is followed on a Ctrl+click or a double click.
#include "Main.h"

#include "AnsiStrings.h"
#include "Cursors.h"
#include "DragManager.h"
#include "KeyboardState.h"
#include "Mail.h"
#include "Menus.h"
#include "OpenOutline.h"
#include "PageHistory.h"
#include "PageLinks.h"
#include "PostedCalls.h"
#include "Pages.h"
#include "SettingsRecords.h"
#include "SharedState.h"
#include "ShellOpen.h"
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

constexpr std::string_view FileScheme = "file:";

// The outline file a title names: the text after its first "file:", when the
// title's first ".kbf" (in any letter case) ends it; empty otherwise. Words
// before the link do not become part of the path.
std::string OutlineInTitle(const std::string& title)
{
    const size_t scheme = title.find(FileScheme);
    const size_t extension = AnsiLowerCase(title).find(".kbf");
    if (scheme == std::string::npos || extension == std::string::npos || extension + 4 != title.size())
        return std::string();
    return title.substr(scheme + FileScheme.size());
}

bool HasLinkTitle(const TTreeNode* page)
{
    return page && IsUrl(page->Text());
}
}

void TMain::FollowTitleLink(const std::string& title)
{
    if (OptionSettings.InPlace) {
        if (const std::string outline = OutlineInTitle(title); !outline.empty()) {
            OpenLinkedOutline(outline);
            UpdateMenus();
            return;
        }
        if (title.starts_with("mailto:")) {
            OpenMailto(title);
            return;
        }
    }
    OpenWithShell(title);
}

void TMain::PostTitleLink(const std::string& title)
{
    // Opening another outline rebuilds the tree and may ask questions: not
    // while the tree is still handling the click.
    PostCall(*Tree, [this, title] { FollowTitleLink(title); });
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
        // A press that became a drag is no click on the icon.
        if (!DragManager().Dragging())
            OpenStatePopup();
    } else {
        Tree->SetPopupMenu(PopupMenuNamed("PopupPage"));
    }
    if (HasLinkTitle(selected) && !OptionSettings.DblClickHyperlink && (shift & ssCtrl)) {
        // The label edit this click may start is refused.
        Tree->Tag = 1;
        PostTitleLink(selected->Text());
    }
}

void TMain::TreeDblClick()
{
    if (OptionSettings.DblClickHyperlink && HasLinkTitle(Tree->Selected()))
        PostTitleLink(Tree->Selected()->Text());
}

void TMain::TreeMouseMove(TShiftState, int x, int y)
{
    ShowPageStatus();
    const bool onLink = HasLinkTitle(Tree->GetNodeAt(x, y)) && (Tree->GetHitTestInfoAt(x, y) & htOnLabel);
    Tree->SetCursor(onLink ? ScreenCursor(crHandPoint) : nullptr);
}

void TMain::TreeKeyDown(WORD& key, TShiftState shift)
{
    if (Tree->IsEditing())
        return;
    if (key == VK_DELETE && !IsRootPage(Tree->Selected()))
        mDeleteClick(nullptr);
    else if (key == VK_SPACE && !(shift & ssAlt)) {
        // The popup's menu loop would take the space this key has queued as
        // "choose the highlighted item" and, with none highlighted, close.
        DiscardQueuedCharacter(Tree->Handle(), ' ');
        OpenStatePopup();
    }
}

void TMain::TreeKeyUp(WORD& key, TShiftState)
{
    if (key == VK_RETURN && Tree->Focused()) {
        EditClick(nullptr);
        return;
    }
    // The tree also selects a page whose title starts with a typed letter;
    // its page shows as after an arrow key.
    const bool foundByTitle = Tree->Selected() != LastShownPage && !Tree->IsEditing();
    if (!IsSelectionMoveKey(key) && !foundByTitle)
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
