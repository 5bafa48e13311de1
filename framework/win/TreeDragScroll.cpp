// The page tree scrolling while a drag rests near its top or bottom edge, a
// row a tick, with the drop target and the cursor following the rows.

#include "TreeView.h"

int TTreeView::DragEdgeAt(int y) const
{
    RECT client{};
    GetClientRect(Handle(), &client);
    const auto row = static_cast<int>(SendMessageA(Handle(), TVM_GETITEMHEIGHT, 0, 0));
    if (y < client.top + row)
        return -1;
    if (y >= client.bottom - row)
        return 1;
    return 0;
}

void TTreeView::FollowDragEdge(int direction)
{
    if (direction == dragEdge_ || !Handle())
        return;
    // Started only on reaching an edge: moves along it must not put the
    // next tick off.
    if (dragEdge_ == 0)
        SetTimer(Handle(), DragScrollTimer, DragScrollInterval, nullptr);
    else if (direction == 0)
        KillTimer(Handle(), DragScrollTimer);
    dragEdge_ = direction;
}

void TTreeView::DragScrollTick()
{
    TDragManager& drag = DragManager();
    if (dragEdge_ == 0 || !drag.Dragging() || drag.Target() != this) {
        FollowDragEdge(0);
        return;
    }
    const TTreeNode* top = TopItem();
    DefaultHandler(WM_VSCROLL, dragEdge_ < 0 ? SB_LINEUP : SB_LINEDOWN, 0);
    // Another row now lies under the resting cursor.
    if (TopItem() != top)
        drag.AskAgain();
}
