#pragma once
// Keyboard shortcuts as the menus show and dispatch them. A shortcut is a
// virtual key plus the modifiers held with it, packed into one value so that
// it can be compared and stored; its text ("Ctrl+S", "Alt+F4", "Ctrl+Alt+Up",
// "Ins") is what the menu shows after the caption.

#include "KeyboardState.h"

#include <windows.h>

#include <string>
#include <string_view>

using TShortCut = WORD;
inline constexpr TShortCut scNone = 0;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;

// Packs a key and the Shift, Ctrl and Alt bits of shift; the other bits of
// shift (mouse buttons, double click) are ignored.
TShortCut MakeShortCut(WORD key, TShiftState shift);
// The key and modifiers of a shortcut.
WORD ShortCutKey(TShortCut shortCut);
TShiftState ShortCutShiftState(TShortCut shortCut);

// "Ctrl+Alt+Up" -> the shortcut. Modifier names and key names are matched
// without regard to case and in any order of the modifiers; "" gives scNone,
// and so does text that names no known key.
TShortCut TextToShortCut(std::string_view text);
// The shortcut as the menus show it, modifiers in the order Shift, Ctrl, Alt:
// "Ctrl+S", "Shift+Ctrl+X", "Ins". scNone gives "".
std::string ShortCutToText(TShortCut shortCut);
