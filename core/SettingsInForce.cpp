#include "SettingsInForce.h"

#include <algorithm>
#include <climits>

namespace {

// Where a window of this size starting at start lies wholly inside the area
// from areaStart to areaEnd, as near as it can be to where it was; size is at
// most the area's.
int MoveInside(int start, int size, int areaStart, int areaEnd)
{
    return static_cast<int>(std::clamp<long long>(start, areaStart, static_cast<long long>(areaEnd) - size));
}

// Across, enough of the caption to take hold of it.
bool CaptionReachableAcross(const WindowPlacement& placement, const PixelRect& workArea)
{
    const long long from = std::max(placement.left, workArea.left);
    const long long to = std::min(static_cast<long long>(placement.left) + placement.width,
                                  static_cast<long long>(workArea.right));
    return to - from >= std::min(ReachableCaptionWidth, placement.width);
}

// Down, the caption's whole height.
bool CaptionReachableDown(const WindowPlacement& placement, const PixelRect& workArea)
{
    const long long captionEnd =
        static_cast<long long>(placement.top) + std::min(ReachableCaptionHeight, placement.height);
    return placement.top >= workArea.top && captionEnd <= workArea.bottom;
}

int Saturated(long long value) { return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX)); }

} // namespace

WindowPlacement SizeInForce(const WindowPlacement& stored, const WindowPlacement& defaults)
{
    WindowPlacement placement = stored;
    if (placement.width < LeastWindowWidth)
        placement.width = defaults.width;
    if (placement.height < LeastWindowHeight)
        placement.height = defaults.height;
    return placement;
}

PixelRect SpanOf(const WindowPlacement& placement, int originLeft, int originTop)
{
    const long long left = static_cast<long long>(placement.left) + originLeft;
    const long long top = static_cast<long long>(placement.top) + originTop;
    return {Saturated(left), Saturated(top), Saturated(left + placement.width), Saturated(top + placement.height)};
}

WindowPlacement FitOnWorkArea(const WindowPlacement& placement, const PixelRect& workArea)
{
    WindowPlacement fitted = placement;
    fitted.width = std::min(placement.width, workArea.right - workArea.left);
    fitted.height = std::min(placement.height, workArea.bottom - workArea.top);
    if (!CaptionReachableAcross(fitted, workArea))
        fitted.left = MoveInside(fitted.left, fitted.width, workArea.left, workArea.right);
    if (!CaptionReachableDown(fitted, workArea))
        fitted.top = MoveInside(fitted.top, fitted.height, workArea.top, workArea.bottom);
    return fitted;
}

int TreeWidthInForce(int stored, int clientWidth, int splitterWidth)
{
    const long long widest = static_cast<long long>(clientWidth) - splitterWidth - 1;
    if (stored >= 1 && stored <= widest)
        return stored;
    return clientWidth / 2;
}

int FontPointsInForce(int stored) { return std::clamp(stored, OfferedFontPoints.least, OfferedFontPoints.most); }
