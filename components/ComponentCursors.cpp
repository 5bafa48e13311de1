#include "ComponentCursors.h"

#include "Cursors.h"

#include <windows.h>

void RegisterComponentCursors()
{
    HINSTANCE program = GetModuleHandleA(nullptr);
    SetScreenCursor(crHandCursor, LoadCursorA(program, "CTL_HANDCUR"));
    SetScreenCursor(crDragCursor, LoadCursorA(program, "CTL_DRAGCUR"));
}
