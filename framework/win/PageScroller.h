#pragma once
// A vertical page scroller: shows as much of one taller child control as
// fits and scrolls it with the arrows at its ends (or by itself while the
// mouse rests on an arrow, with auto scroll).

#include "Control.h"

#include <windows.h>

class TPageScroller : public TControl {
public:
    TPageScroller(TComponent* owner, TControl* parent);

    // The control scrolled: it must be a child of the scroller.
    TControl* Control() const { return control_; }
    void SetControl(TControl* control);
    // Tells the scroller that the control's height changed.
    void ControlResized();

    bool AutoScroll() const;
    void SetAutoScroll(bool autoScroll);

protected:
    bool HandleNotify(NMHDR& header, LRESULT& result) override;

private:
    TControl* control_ = nullptr;
};
