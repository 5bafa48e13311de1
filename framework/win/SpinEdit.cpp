#include "SpinEdit.h"

#include "AnsiStrings.h"
#include "Exceptions.h"

#include <commctrl.h>

#include <algorithm>

TSpinEdit::TSpinEdit(TComponent* owner, TControl* parent)
    : TCustomEdit(owner, parent, ES_AUTOHSCROLL | ES_NUMBER | WS_CLIPCHILDREN, "0")
{
    // The arrows have no buddy: the edit itself receives their notifications
    // and keeps the value, so arrows, keys and code take one road.
    upDown_ = CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, Handle(), nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    if (!upDown_)
        throw EOutOfResources("Error creating window");
    // A rising range makes the up arrow report +1.
    SendMessageA(upDown_, UDM_SETRANGE32, 0, 100);
    SendMessageA(upDown_, UDM_SETPOS32, 0, 50);
    PlaceArrows();
}

void TSpinEdit::PlaceArrows()
{
    const RECT client = ClientRect();
    const int width = GetSystemMetrics(SM_CXVSCROLL);
    SetWindowPos(upDown_, nullptr, std::max(0, static_cast<int>(client.right) - width), 0, width, client.bottom,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(Handle(), EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, width));
}

void TSpinEdit::SetMinValue(int value)
{
    minValue_ = value;
    if (Limited())
        SetValue(Value());
}

void TSpinEdit::SetMaxValue(int value)
{
    maxValue_ = value;
    if (Limited())
        SetValue(Value());
}

int TSpinEdit::Clamp(int value) const
{
    if (!Limited())
        return value;
    return std::clamp(value, minValue_, std::max(minValue_, maxValue_));
}

int TSpinEdit::Value() const { return Clamp(StrToIntDef(Text(), minValue_)); }

void TSpinEdit::SetValue(int value)
{
    const std::string text = IntToStr(Clamp(value));
    if (text != Text())
        SetText(text);
}

void TSpinEdit::Step(int steps)
{
    if (ReadOnly())
        return;
    SetValue(Value() + steps * Increment);
    SelectAll();
}

LRESULT TSpinEdit::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        if (upDown_)
            PlaceArrows();
        break;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == upDown_ && header->code == UDN_DELTAPOS) {
            ::SetFocus(Handle());
            Step(reinterpret_cast<const NMUPDOWN*>(lParam)->iDelta);
            return TRUE; // the arrows keep no position of their own
        }
        break;
    }
    case WM_KEYDOWN:
        if (wParam == VK_UP || wParam == VK_DOWN) {
            Step(wParam == VK_UP ? 1 : -1);
            return 0;
        }
        break;
    default:
        break;
    }
    return TCustomEdit::WndProc(message, wParam, lParam);
}
