#pragma once
// A number edit with up and down arrows (an up-down control inside the edit's
// right end). The arrows, the Up and Down keys and code change the value
// within its range; every change of the text fires OnChange, also by code.

#include "StdCtrls.h"

#include <windows.h>

class TSpinEdit : public TCustomEdit {
public:
    TSpinEdit(TComponent* owner, TControl* parent);

    // A range of 0..0 means no limits. Only numbers from 0 up can be typed.
    int MinValue() const { return minValue_; }
    void SetMinValue(int value);
    int MaxValue() const { return maxValue_; }
    void SetMaxValue(int value);
    // What one step of the arrows adds.
    int Increment = 1;

    // The number shown, brought into the range; MinValue when the text is no
    // number.
    int Value() const;
    void SetValue(int value);

    HWND UpDownHandle() const { return upDown_; }

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool Limited() const { return minValue_ != 0 || maxValue_ != 0; }
    int Clamp(int value) const;
    void Step(int steps);
    void PlaceArrows();

    // A child of the edit, destroyed with it.
    HWND upDown_ = nullptr;
    int minValue_ = 0;
    int maxValue_ = 0;
};
