#pragma once
// The hourglass over one control for as long as the guard lives, whatever
// way the work under it ends.

#include "Control.h"
#include "Cursors.h"

class TControlBusy {
public:
    explicit TControlBusy(TControl& control) : control_(control) { control_.SetCursor(ScreenCursor(crHourGlass)); }
    ~TControlBusy() { control_.SetCursor(nullptr); }
    TControlBusy(const TControlBusy&) = delete;
    TControlBusy& operator=(const TControlBusy&) = delete;

private:
    TControl& control_;
};
