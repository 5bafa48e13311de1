#include "WorkArea.h"

#include "Form.h"

#include <windows.h>

PixelRect WorkAreaFor(const WindowPlacement& placement)
{
    RECT primary{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &primary, 0);
    const PixelRect span = SpanOf(placement, primary.left, primary.top);
    const RECT onScreen{span.left, span.top, span.right, span.bottom};
    RECT area = primary;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    const HMONITOR present = MonitorFromRect(&onScreen, MONITOR_DEFAULTTONULL);
    if (present && GetMonitorInfoA(present, &monitor))
        area = monitor.rcWork;
    return {area.left - primary.left, area.top - primary.top, area.right - primary.left, area.bottom - primary.top};
}

void PlaceRestoredDialog(TForm& dialog, int left, int top)
{
    const RECT bounds = dialog.NormalBounds();
    const WindowPlacement stored{left, top, bounds.right - bounds.left, bounds.bottom - bounds.top};
    const WindowPlacement placed = FitOnWorkArea(stored, WorkAreaFor(stored));
    dialog.SetNormalBounds({placed.left, placed.top, placed.left + placed.width, placed.top + placed.height});
}
