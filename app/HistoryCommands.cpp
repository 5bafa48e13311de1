// Back and Forward through the pages visited, one step at a time or several
// at once through the drop-down menus of the Back and Forward buttons. Going
// back or forward moves the history's current entry and never adds one.
#include "Main.h"

#include "PageHistory.h"
#include "TreeView.h"

#include <algorithm>
#include <functional>
#include <string>

namespace {
// Each drop-down has this many items; item k stands for the entry k + 1
// steps away.
constexpr int HistoryMenuItems = 9;

std::string TitleOf(const TTreeNode* node) { return node ? node->Text() : std::string(); }

// A menu caption takes "&" as the mark of an access key; a title shows its
// own "&" as it is.
std::string MenuCaptionOf(const std::string& title)
{
    std::string caption;
    for (const char c : title) {
        caption += c;
        if (c == '&')
            caption += '&';
    }
    return caption;
}

// Shows the first `reach` items (nine at most), captioned with the titles
// the pages have now, and hides the rest.
void FillHistoryMenu(TPopupMenu& menu, int reach, const std::function<std::string(int steps)>& titleAt)
{
    const int shown = std::min(reach, HistoryMenuItems);
    for (int position = 0; position < menu.Items().Count(); ++position) {
        TMenuItem& item = *menu.Items().Items(position);
        const bool visible = position < shown;
        if (visible)
            item.SetCaption(MenuCaptionOf(titleAt(position + 1)));
        item.SetVisible(visible);
    }
}

// The number of steps an item of a drop-down stands for.
int StepsOf(TComponent* sender)
{
    const auto* item = dynamic_cast<const TMenuItem*>(sender);
    return item ? item->MenuIndex() + 1 : 0;
}
}

void TMain::GoToHistoryPage(TTreeNode* node)
{
    // A page without a title is no place to show; the history has moved all
    // the same.
    if (!node || node->Text().empty())
        return;
    Tree->SetSelected(node);
    TreeClick();
}

void TMain::mBackClick(TComponent*)
{
    if (CanGoBack())
        GoToHistoryPage(HistoryBack());
}

void TMain::mForwardClick(TComponent*)
{
    if (CanGoForward())
        GoToHistoryPage(HistoryForward());
}

void TMain::PopupBackPopup(TComponent*)
{
    FillHistoryMenu(*PopupMenuNamed("PopupBack"), PreviousHistoryIndex() + 1,
                    [](int steps) { return BackEntryTitle(steps, TitleOf); });
}

void TMain::PopupForwardPopup(TComponent*)
{
    FillHistoryMenu(*PopupMenuNamed("PopupForward"), ForwardHistoryCount(),
                    [](int steps) { return ForwardEntryTitle(steps, TitleOf); });
}

void TMain::pb0Click(TComponent* sender) { GoToHistoryPage(HistoryBackBy(StepsOf(sender))); }

void TMain::pf0Click(TComponent* sender) { GoToHistoryPage(HistoryForwardBy(StepsOf(sender))); }
