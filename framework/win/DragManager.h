#pragma once
// Drag and drop between controls of this program (pages within the tree,
// templates from a list into the tree). One drag runs at a time: the source
// holds the mouse capture and hands its mouse and key messages here; the
// control under the cursor is asked whether it takes the drop.

#include <windows.h>

#include <functional>

class TControl;

enum class TDragState { dsDragEnter, dsDragLeave, dsDragMove };

// Implemented by controls that take part in drags, as a target, a source or
// both. The manager finds it on a control with dynamic_cast, so a control
// only has to inherit it.
class TDragClient {
public:
    virtual ~TDragClient() = default;

    // Target side. False when the control takes no drops at the moment (no
    // handler): the search goes on to the window's parents.
    virtual bool WantsDrops() const { return false; }
    // x, y are in the target's client coordinates.
    virtual void DragOver(TControl*, int, int, TDragState, bool& accept) { accept = false; }
    virtual void DragDrop(TControl*, int, int) {}
    // The cursor while the target accepts; read after each accepting DragOver,
    // so a handler may change it. Null means the default drag cursor.
    virtual HCURSOR DropCursor() const { return nullptr; }
    // Marks what a drop would land on; called after each DragOver.
    virtual void ShowDropFeedback(int, int, bool) {}
    virtual void HideDropFeedback() {}

    // Source side.
    virtual void DragStarted() {}
    // target is null when the drag was cancelled or nobody took the drop.
    virtual void DragEnded(TControl*, int, int) {}
};

class TDragManager {
public:
    static TDragManager& Instance();

    // Starts a drag from source: takes the mouse capture and tells the source.
    // A drag still running is cancelled first.
    bool BeginDrag(TControl* source);
    bool Dragging() const { return source_ != nullptr; }
    TControl* Source() const { return source_; }
    // The control under the cursor that was last asked, and its answer.
    TControl* Target() const { return target_; }
    bool Accepted() const { return accepted_; }
    // The cursor the drag shows now.
    HCURSOR Cursor() const { return cursor_; }

    // The drag's steps, by screen point. The mouse messages of the source end
    // up here; tests call them directly.
    void DragMoveTo(POINT screen);
    // What lies under the cursor changed without a move (the target
    // scrolled): the target is asked again at the last point.
    void AskAgain();
    // The button went up: drops when the target accepted at this very point.
    void DragDrop(POINT screen);
    // Esc, or the capture went elsewhere: nothing is dropped.
    void Cancel();

    // The source passes its messages through here while it is dragging; true
    // when the message was used up by the drag.
    bool HandleSourceMessage(TControl* source, UINT message, WPARAM wParam, LPARAM lParam);
    // A control is going away: the drag forgets it (a source ends the drag).
    void ForgetControl(TControl* control);

    // Which window lies under a screen point; tests may replace it. An empty
    // function restores WindowFromPoint.
    void SetWindowFinder(std::function<HWND(POINT)> finder) { windowFinder_ = std::move(finder); }

    static HCURSOR DefaultDragCursor();
    static HCURSOR NoDropCursor();

private:
    TDragManager() = default;
    struct Found {
        TControl* control = nullptr;
        TDragClient* client = nullptr;
    };
    Found FindTarget(POINT screen) const;
    void AskTarget(POINT screen, TDragState state);
    void LeaveTarget(POINT screen);
    void Finish();

    TControl* source_ = nullptr;
    TDragClient* sourceClient_ = nullptr;
    TControl* target_ = nullptr;
    TDragClient* targetClient_ = nullptr;
    bool accepted_ = false;
    bool havePoint_ = false;
    POINT lastPoint_{};
    HCURSOR cursor_ = nullptr;
    std::function<HWND(POINT)> windowFinder_;
};

inline TDragManager& DragManager() { return TDragManager::Instance(); }
