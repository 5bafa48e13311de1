#pragma once
// The program's table of mouse cursors by number. Negative numbers are the
// standard cursors; the program adds its own (drag cursors 1..9, the hand and
// drag cursors 14000 and 14001) from its resources. The screen cursor, when
// set, overrides every window's cursor, which is how the whole program shows
// that it is busy.

#include <windows.h>

inline constexpr int crDefault = 0;
inline constexpr int crArrow = -1;
inline constexpr int crIBeam = -2;
inline constexpr int crHourGlass = -3;
inline constexpr int crAppStart = -4;
inline constexpr int crDrag = -5;
inline constexpr int crNoDrop = -6;
inline constexpr int crNo = -7;
inline constexpr int crHandPoint = -8;
inline constexpr int crSizeAll = -9;
inline constexpr int crSizeWE = -10;
inline constexpr int crSizeNS = -11;
inline constexpr int crHSplit = -12;
inline constexpr int crVSplit = -13;
inline constexpr int crCross = -14;

// The cursor with this number: one set by SetScreenCursor, else the standard
// cursor, else the arrow.
HCURSOR ScreenCursor(int id);
// Adds or replaces a cursor of the table. The table does not own it: cursors
// loaded with LoadCursor are shared and never destroyed. Null removes it.
void SetScreenCursor(int id, HCURSOR cursor);

// The cursor number the whole program shows (crDefault: each window its own).
int ScreenCursorId();
void SetScreenCursorId(int id);
// The cursor every window shows now instead of its own, or null. Windows
// answer WM_SETCURSOR with it while it is set.
HCURSOR ScreenCursorOverride();

// The hourglass over the whole program, or back to each window's cursor.
void SetBusyCursor(bool busy);

// Shows the hourglass for as long as it lives, then the previous screen cursor.
class TBusyCursorScope {
public:
    TBusyCursorScope();
    ~TBusyCursorScope();
    TBusyCursorScope(const TBusyCursorScope&) = delete;
    TBusyCursorScope& operator=(const TBusyCursorScope&) = delete;

private:
    int previous_;
};
