#include "DialogGeometry.h"

namespace {
TDlgRect Moved(const TDlgRect& rect, int left, int top)
{
    return TDlgRect{left, top, left + rect.Width(), top + rect.Height()};
}
}

TDlgRect FitRectToScreen(TDlgRect rect, int screenWidth, int screenHeight)
{
    if (rect.right > screenWidth)
        rect = Moved(rect, screenWidth - rect.Width(), rect.top);
    if (rect.left < 0)
        rect = Moved(rect, 0, rect.top);
    if (rect.bottom > screenHeight)
        rect = Moved(rect, rect.left, screenHeight - rect.Height());
    if (rect.top < 0)
        rect = Moved(rect, rect.left, 0);
    return rect;
}

TDlgRect CenterRectOver(const TDlgRect& rect, const TDlgRect& over)
{
    const int centreX = over.left + over.Width() / 2;
    const int centreY = over.top + over.Height() / 2;
    return Moved(rect, centreX - rect.Width() / 2, centreY - rect.Height() / 2);
}

TDlgRect CenterRectOnScreen(const TDlgRect& rect, int screenWidth, int screenHeight)
{
    const TDlgRect centred = Moved(rect, (screenWidth - rect.Width()) / 2, (screenHeight - rect.Height()) / 2);
    return FitRectToScreen(centred, screenWidth, screenHeight);
}

TDockedPanelLayout LayOutDockedPanels(const TDockedPanelSizes& panels, int clientWidth, int clientHeight)
{
    const int sideHeight = panels.topHeight + clientHeight;
    TDockedPanelLayout layout;
    layout.left = TDlgBounds{0, 0, panels.leftWidth, sideHeight};
    layout.top = TDlgBounds{panels.leftWidth, 0, clientWidth, panels.topHeight};
    layout.right = TDlgBounds{panels.leftWidth + clientWidth, 0, panels.rightWidth, sideHeight};
    layout.bottom = TDlgBounds{0, sideHeight, panels.leftWidth + clientWidth + panels.rightWidth, panels.bottomHeight};
    return layout;
}

TDockedPanelResize ResizeDockedPanels(const TDockedPanelSizes& panels, int clientWidth, int clientHeight)
{
    return TDockedPanelResize{clientWidth - panels.leftWidth - panels.rightWidth,
                              clientHeight - panels.bottomHeight, clientWidth};
}

bool SupportsLargeFileDialogRecord(unsigned platformId, unsigned majorVersion, unsigned minorVersion)
{
    constexpr unsigned windowsLine = 1;
    constexpr unsigned ntLine = 2;
    return (platformId == ntLine && majorVersion > 4) ||
           (platformId == windowsLine && majorVersion > 3 && minorVersion >= 90);
}
