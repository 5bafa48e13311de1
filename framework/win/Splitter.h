#pragma once
// A thin bar between two aligned controls. Dragging it with the mouse resizes
// the control it sits next to, live, and reports the end of the drag.

#include "Control.h"

#include <windows.h>

#include <functional>

class TSplitter : public TControl {
public:
    // A left or right splitter is 3 pixels wide, a top or bottom one 3 high.
    TSplitter(TComponent* owner, TControl* parent, TAlign align = TAlign::alLeft);

    // The neighbour keeps at least this size, and so does the space left
    // beside it for the rest of the parent (the client-aligned control).
    int MinSize = 30;
    // Once at the end of a drag that changed the neighbour's size.
    std::function<void()> OnMoved;

    // The control the splitter resizes: the visible one aligned the same way
    // that lies closest before it (left of a left splitter, below a bottom
    // one...), or null.
    TControl* Neighbour() const;
    bool Dragging() const { return dragging_; }

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool Vertical() const;
    int SizeOf(const TControl& control) const;
    int LargestSize() const;
    POINT InParent(LPARAM lParam) const;
    void StartDrag(POINT point);
    void DragTo(POINT point);
    void EndDrag();

    TControl* neighbour_ = nullptr;
    POINT start_{};
    int startSize_ = 0;
    bool dragging_ = false;
};
