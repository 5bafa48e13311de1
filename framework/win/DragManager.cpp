#include "DragManager.h"

#include "Control.h"

#include <windowsx.h>

TDragManager& TDragManager::Instance()
{
    static TDragManager manager;
    return manager;
}

HCURSOR TDragManager::DefaultDragCursor() { return LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)); }

HCURSOR TDragManager::NoDropCursor() { return LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_NO)); }

bool TDragManager::BeginDrag(TControl* source)
{
    Cancel();
    if (!source || !source->Handle())
        return false;
    source_ = source;
    sourceClient_ = dynamic_cast<TDragClient*>(source);
    target_ = nullptr;
    targetClient_ = nullptr;
    accepted_ = false;
    havePoint_ = false;
    cursor_ = NoDropCursor();
    SetCapture(source->Handle());
    if (sourceClient_)
        sourceClient_->DragStarted();
    return true;
}

TDragManager::Found TDragManager::FindTarget(POINT screen) const
{
    HWND window = windowFinder_ ? windowFinder_(screen) : WindowFromPoint(screen);
    const HWND desktop = GetDesktopWindow();
    // The window under the cursor may be a part of a control (the tree's label
    // editor) or a control that takes no drops: its parents are asked next.
    while (window && window != desktop) {
        if (TControl* control = TControl::FromHandle(window)) {
            auto* client = dynamic_cast<TDragClient*>(control);
            if (client && client->WantsDrops())
                return Found{control, client};
        }
        window = GetAncestor(window, GA_PARENT);
    }
    return Found{};
}

void TDragManager::LeaveTarget(POINT screen)
{
    TControl* target = target_;
    TDragClient* client = targetClient_;
    target_ = nullptr;
    targetClient_ = nullptr;
    accepted_ = false;
    if (!target || !client)
        return;
    client->HideDropFeedback();
    const POINT local = target->ScreenToClient(screen);
    bool ignored = false;
    client->DragOver(source_, local.x, local.y, TDragState::dsDragLeave, ignored);
}

void TDragManager::AskTarget(POINT screen, TDragState state)
{
    accepted_ = false;
    lastPoint_ = screen;
    havePoint_ = true;
    if (target_ && targetClient_) {
        TControl* target = target_;
        TDragClient* client = targetClient_;
        const POINT local = target->ScreenToClient(screen);
        bool accept = false;
        client->DragOver(source_, local.x, local.y, state, accept);
        // The handler may have ended the drag or gone elsewhere meanwhile.
        if (!Dragging() || target_ != target)
            return;
        accepted_ = accept;
        client->ShowDropFeedback(local.x, local.y, accept);
    }
    HCURSOR cursor = NoDropCursor();
    if (accepted_) {
        cursor = targetClient_->DropCursor();
        if (!cursor)
            cursor = DefaultDragCursor();
    }
    cursor_ = cursor;
    ::SetCursor(cursor_);
}

void TDragManager::DragMoveTo(POINT screen)
{
    if (!Dragging())
        return;
    const Found found = FindTarget(screen);
    TDragState state = TDragState::dsDragMove;
    if (found.control != target_) {
        LeaveTarget(screen);
        if (!Dragging())
            return;
        target_ = found.control;
        targetClient_ = found.client;
        state = TDragState::dsDragEnter;
    }
    AskTarget(screen, state);
}

void TDragManager::AskAgain()
{
    if (Dragging() && havePoint_)
        DragMoveTo(lastPoint_);
}

void TDragManager::DragDrop(POINT screen)
{
    if (!Dragging())
        return;
    // The drop goes by what the target said at this very point.
    if (!havePoint_ || screen.x != lastPoint_.x || screen.y != lastPoint_.y)
        DragMoveTo(screen);
    if (!Dragging())
        return;
    TControl* source = source_;
    TDragClient* sourceClient = sourceClient_;
    TControl* target = accepted_ ? target_ : nullptr;
    TDragClient* targetClient = accepted_ ? targetClient_ : nullptr;
    if (targetClient_)
        targetClient_->HideDropFeedback();
    const POINT local = target ? target->ScreenToClient(screen) : POINT{0, 0};
    Finish();
    if (targetClient)
        targetClient->DragDrop(source, local.x, local.y);
    if (sourceClient)
        sourceClient->DragEnded(target, local.x, local.y);
}

void TDragManager::Cancel()
{
    if (!Dragging())
        return;
    TDragClient* sourceClient = sourceClient_;
    LeaveTarget(lastPoint_);
    if (!Dragging())
        return;
    Finish();
    if (sourceClient)
        sourceClient->DragEnded(nullptr, 0, 0);
}

void TDragManager::Finish()
{
    HWND sourceWindow = source_ ? source_->Handle() : nullptr;
    source_ = nullptr;
    sourceClient_ = nullptr;
    target_ = nullptr;
    targetClient_ = nullptr;
    accepted_ = false;
    havePoint_ = false;
    cursor_ = nullptr;
    // Cleared before the capture goes, whose notice comes back through the
    // source and must find no drag running.
    if (sourceWindow && GetCapture() == sourceWindow)
        ReleaseCapture();
    ::SetCursor(DefaultDragCursor());
}

bool TDragManager::HandleSourceMessage(TControl* source, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!Dragging() || source != source_)
        return false;
    const auto screenPoint = [&] { return source->ClientToScreen(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); };
    switch (message) {
    case WM_MOUSEMOVE:
        DragMoveTo(screenPoint());
        return true;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        DragDrop(screenPoint());
        return true;
    case WM_SETCURSOR:
        ::SetCursor(cursor_);
        return true;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
            Cancel();
        } else if ((wParam == VK_CONTROL || wParam == VK_SHIFT) && havePoint_) {
            // Ctrl turns a move into a copy: the target says so again.
            AskTarget(lastPoint_, TDragState::dsDragMove);
        }
        return true;
    case WM_CHAR:
        return true;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != source->Handle())
            Cancel();
        return false;
    case WM_CANCELMODE:
        Cancel();
        return false;
    default:
        return false;
    }
}

void TDragManager::ForgetControl(TControl* control)
{
    if (!Dragging() || !control)
        return;
    if (control == source_) {
        // The source is going: nothing of it may be called any more.
        sourceClient_ = nullptr;
        if (targetClient_ && target_ != control)
            targetClient_->HideDropFeedback();
        Finish();
        return;
    }
    if (control == target_) {
        target_ = nullptr;
        targetClient_ = nullptr;
        accepted_ = false;
    }
}
