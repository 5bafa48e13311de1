#pragma once
// Which of Shift, Ctrl and Alt are held. Commands that behave differently with
// Ctrl held ask here, so tests can say what is held without real keys.

#include <windows.h>

#include <functional>

using TShiftState = unsigned;
inline constexpr TShiftState ssShift = 1;
inline constexpr TShiftState ssAlt = 2;
inline constexpr TShiftState ssCtrl = 4;
inline constexpr TShiftState ssLeft = 8;
inline constexpr TShiftState ssRight = 16;
inline constexpr TShiftState ssMiddle = 32;
inline constexpr TShiftState ssDouble = 64;

// The modifier keys held now (ssShift, ssCtrl, ssAlt).
TShiftState KeyboardShiftState();
// An empty function restores the real keyboard.
void SetKeyboardStateProvider(std::function<TShiftState()> provider);

// Takes the character that the key being handled has queued for window out
// of the queue, when it is this character. A key that opens a menu loop
// needs it: the loop reads the queued character as its own first input.
void DiscardQueuedCharacter(HWND window, char character);
