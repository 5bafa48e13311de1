#pragma once
// Which part of the screen a window may be placed on: the work area of a
// monitor that is present, which leaves out the task bar.

#include "SettingsInForce.h"

// The work area of the monitor that holds most of the placement, or of the
// primary monitor when the placement lies on none (a monitor that is gone).
// The placement and the result are in workspace coordinates, which a
// window's normal bounds use: screen coordinates less the origin of the
// primary monitor's work area.
PixelRect WorkAreaFor(const WindowPlacement& placement);

class TForm;

// Moves a dialog to the left and top its last use left it at, as far onto a
// monitor's work area as it takes for its caption to be reached: a dialog
// restored beyond every screen looks like a program that hangs.
void PlaceRestoredDialog(TForm& dialog, int left, int top);
