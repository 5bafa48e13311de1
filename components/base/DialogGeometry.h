#pragma once
// The arithmetic behind placing the extended file dialog and the panels
// docked in it: fitting and centring a window on the screen, the places the
// docked panels take, and how they follow a resize. Kept free of windows so
// it can be checked on its own.

struct TDlgRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const TDlgRect&) const = default;
};

struct TDlgBounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const TDlgBounds&) const = default;
};

// Moves the rectangle onto a screen of that size without changing its size:
// first so that it ends at the right and bottom edges, then so that it starts
// at 0, so a window larger than the screen keeps its left and top edges on it.
TDlgRect FitRectToScreen(TDlgRect rect, int screenWidth, int screenHeight);

// The rectangle moved so that its centre lies on the centre of another
// (halves rounded towards zero).
TDlgRect CenterRectOver(const TDlgRect& rect, const TDlgRect& over);

// The rectangle centred on the screen, then fitted to it.
TDlgRect CenterRectOnScreen(const TDlgRect& rect, int screenWidth, int screenHeight);

// The sizes of the docked panels; 0 for a panel that is absent.
struct TDockedPanelSizes {
    int leftWidth = 0;
    int topHeight = 0;
    int rightWidth = 0;
    int bottomHeight = 0;
};

// Where the docked panels go around a client area of clientWidth x
// clientHeight that the left and top panels pushed right and down.
struct TDockedPanelLayout {
    TDlgBounds left;
    TDlgBounds top;
    TDlgBounds right;
    TDlgBounds bottom;
};
TDockedPanelLayout LayOutDockedPanels(const TDockedPanelSizes& panels, int clientWidth, int clientHeight);

// The panels' sizes after the dialog's client area became clientWidth x
// clientHeight: the top panel's width, the left and right panels' height,
// the bottom panel's width. Their positions never change.
struct TDockedPanelResize {
    int topWidth = 0;
    int sideHeight = 0;
    int bottomWidth = 0;
};
TDockedPanelResize ResizeDockedPanels(const TDockedPanelSizes& panels, int clientWidth, int clientHeight);

// Whether the system's file dialogs take the larger record (with the places
// bar fields): NT from version 5, or the Windows line from 4.90.
bool SupportsLargeFileDialogRecord(unsigned platformId, unsigned majorVersion, unsigned minorVersion);
