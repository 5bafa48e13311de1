#include "KeyboardState.h"

#include <windows.h>

namespace {
std::function<TShiftState()>& Provider()
{
    static std::function<TShiftState()> provider;
    return provider;
}

bool Held(int key) { return (GetKeyState(key) & 0x8000) != 0; }
}

void SetKeyboardStateProvider(std::function<TShiftState()> provider) { Provider() = std::move(provider); }

TShiftState KeyboardShiftState()
{
    if (Provider())
        return Provider()();
    TShiftState state = 0;
    if (Held(VK_SHIFT))
        state |= ssShift;
    if (Held(VK_CONTROL))
        state |= ssCtrl;
    if (Held(VK_MENU))
        state |= ssAlt;
    return state;
}

void DiscardQueuedCharacter(HWND window, char character)
{
    MSG queued{};
    if (PeekMessageA(&queued, window, WM_CHAR, WM_CHAR, PM_NOREMOVE) &&
        queued.wParam == static_cast<unsigned char>(character))
        PeekMessageA(&queued, window, WM_CHAR, WM_CHAR, PM_REMOVE);
}
