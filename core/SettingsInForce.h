#pragma once
// The values the main window puts into effect from the stored ones. A store
// may hold anything: a placement saved on a monitor that is gone, sizes at
// the extremes of their type, a splitter beyond the window, font sizes no
// dialog offers. The records keep what was stored; these give what is in
// force, which the close then writes back.
//
// Portable on purpose: the caller finds the work area, this does the sums,
// in 64 bits wherever stored values meet.

// A rectangle in pixels, right and bottom exclusive.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// A window's left and top and its size, as the user settings keep them.
struct WindowPlacement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

// The least size the main window is placed with: room for its menu bar on one
// line, its toolbar and status bar, and a few lines of tree and page between
// them. A stored size below it is taken for damage rather than a choice.
inline constexpr int LeastWindowWidth = 320;
inline constexpr int LeastWindowHeight = 240;

// A window stays where it was stored while this much of its caption lies on
// the work area: enough to take hold of it and drag the rest into view.
inline constexpr int ReachableCaptionWidth = 100;
inline constexpr int ReachableCaptionHeight = 30;

struct PointRange {
    int least;
    int most;
};
// The font sizes the Options dialog's font dialog offers (its size box is
// limited to them), and so every size a font of the options is shown in.
inline constexpr PointRange OfferedFontPoints{4, 30};

// Each side below the least size takes the default's.
WindowPlacement SizeInForce(const WindowPlacement& stored, const WindowPlacement& defaults);

// The pixels a placement spans once moved by originLeft and originTop, every
// edge held inside the range of int.
PixelRect SpanOf(const WindowPlacement& placement, int originLeft = 0, int originTop = 0);

// The placement on the work area: no larger than the work area, and moved
// onto it along each axis on which its caption cannot be reached.
WindowPlacement FitOnWorkArea(const WindowPlacement& placement, const PixelRect& workArea);

// The tree's width beside the editor in a client area this wide: a stored
// width the splitter could have given, which leaves both sides a pixel at
// least, is kept; any other centres the splitter, as the normal view does.
int TreeWidthInForce(int stored, int clientWidth, int splitterWidth);

// The nearest size the font dialog offers.
int FontPointsInForce(int stored);
