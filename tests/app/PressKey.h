#pragma once
// A key press sent to a window the way the keyboard sends it, with the
// modifier keys held while the message loop handles it: in the framework's
// keyboard provider, which its shortcuts read, and in the thread's keyboard
// state, which the controls themselves read.

#include "Application.h"
#include "KeyboardState.h"

#include <string>

#include <windows.h>

namespace press_key_detail {
inline void HoldModifiers(TShiftState shift)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = (shift & ssCtrl) ? 0x80 : 0;
    keys[VK_SHIFT] = (shift & ssShift) ? 0x80 : 0;
    keys[VK_MENU] = (shift & ssAlt) ? 0x80 : 0;
    SetKeyboardState(keys);
}
} // namespace press_key_detail

// Shift, Ctrl and Alt let go in the middle of a key press (in a menu that the
// key opened, say).
inline void LetGoOfModifiers() { press_key_detail::HoldModifiers(0); }

inline void PressKey(HWND target, WORD key, TShiftState shift)
{
    SetKeyboardStateProvider([shift] { return shift; });
    press_key_detail::HoldModifiers(shift);
    // Ctrl+Alt is no system key: it makes characters on many keyboards.
    const UINT message = (shift & ssAlt) && !(shift & ssCtrl) ? WM_SYSKEYDOWN : WM_KEYDOWN;
    LPARAM data = 1;
    if (shift & ssAlt)
        data |= LPARAM{1} << 29;
    PostMessageA(target, message, key, data);
    Application.ProcessMessages();
    press_key_detail::HoldModifiers(0);
    SetKeyboardStateProvider(nullptr);
}

// Characters typed into a window, as the keyboard's translation posts them.
inline void TypeText(HWND target, const std::string& text)
{
    for (char c : text)
        PostMessageA(target, WM_CHAR, static_cast<unsigned char>(c), 1);
    Application.ProcessMessages();
}
