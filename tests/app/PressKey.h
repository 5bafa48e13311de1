#pragma once
// A key press sent to a window the way the keyboard sends it, with the
// modifier keys reported as held while the message loop handles it.

#include "Application.h"
#include "KeyboardState.h"

#include <windows.h>

inline void PressKey(HWND target, WORD key, TShiftState shift)
{
    SetKeyboardStateProvider([shift] { return shift; });
    const UINT message = (shift & ssAlt) ? WM_SYSKEYDOWN : WM_KEYDOWN;
    LPARAM data = 1;
    if (shift & ssAlt)
        data |= LPARAM{1} << 29;
    PostMessageA(target, message, key, data);
    Application.ProcessMessages();
    SetKeyboardStateProvider(nullptr);
}
