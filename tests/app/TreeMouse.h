#pragma once
// The mouse on the page tree as a person uses it: button and move messages
// posted to the tree and handled by the message loop, where the control runs
// its own click, drag-detect and label-edit handling.

#include "Application.h"
#include "DragManager.h"
#include "KeyboardState.h"
#include "TreeView.h"

#include <windows.h>

// The middle of a page's title, and a point just right of it.
inline POINT LabelOf(const TTreeNode* page)
{
    const RECT label = page->DisplayRect(true);
    return POINT{(label.left + label.right) / 2, (label.top + label.bottom) / 2};
}

inline POINT RightOf(const TTreeNode* page)
{
    const RECT label = page->DisplayRect(true);
    return POINT{label.right + 8, (label.top + label.bottom) / 2};
}

inline LPARAM PointParam(POINT point) { return MAKELPARAM(point.x, point.y); }

// A left click; keys are the MK_ flags held (MK_CONTROL). The button-up is in
// the queue before the button-down is handled, so the control's drag-detect
// loop ends with it instead of waiting for a real mouse.
inline void PostClick(TTreeView& tree, POINT at, WPARAM keys = 0)
{
    PostMessageA(tree.Handle(), WM_LBUTTONDOWN, MK_LBUTTON | keys, PointParam(at));
    PostMessageA(tree.Handle(), WM_LBUTTONUP, keys, PointParam(at));
    Application.ProcessMessages();
}

// Presses the left button on a page's title, moves far enough for the control
// to start a drag and moves on to the point, keys being the MK_ flags held: the
// drag runs until PostDrop lets go. The drag asks for the window under each
// point; the test's tree has to be it (see PostDrag).
inline void PostDragTo(TTreeView& tree, const TTreeNode* page, POINT to, WPARAM keys = 0)
{
    const POINT from = LabelOf(page);
    const int away = 2 * (GetSystemMetrics(SM_CXDRAG) + 2);
    PostMessageA(tree.Handle(), WM_LBUTTONDOWN, MK_LBUTTON | keys, PointParam(from));
    PostMessageA(tree.Handle(), WM_MOUSEMOVE, MK_LBUTTON | keys, PointParam(POINT{from.x + away, from.y + away}));
    PostMessageA(tree.Handle(), WM_MOUSEMOVE, MK_LBUTTON | keys, PointParam(to));
    Application.ProcessMessages();
}

inline void PostDrop(TTreeView& tree, POINT at, WPARAM keys = 0)
{
    PostMessageA(tree.Handle(), WM_LBUTTONUP, keys, PointParam(at));
    Application.ProcessMessages();
}

// A whole drag of a page to the point, with Ctrl held or not.
inline void PostDrag(TTreeView& tree, const TTreeNode* page, POINT to, bool ctrl = false)
{
    const TShiftState shift = ctrl ? ssCtrl : 0;
    const WPARAM keys = ctrl ? MK_CONTROL : 0;
    SetKeyboardStateProvider([shift] { return shift; });
    DragManager().SetWindowFinder([&tree](POINT) { return tree.Handle(); });
    PostDragTo(tree, page, to, keys);
    PostDrop(tree, to, keys);
    DragManager().SetWindowFinder(nullptr);
    SetKeyboardStateProvider(nullptr);
}
