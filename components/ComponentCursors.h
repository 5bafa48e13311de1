#pragma once
// The two cursors the components share, registered in the screen's cursor
// table once at start.

inline constexpr int crHandCursor = 14000; // over links
inline constexpr int crDragCursor = 14001; // while dragging

// Loads "CTL_HANDCUR" and "CTL_DRAGCUR" from the program's resources.
void RegisterComponentCursors();
