#include "SpeedButton.h"

#include "Form.h"
#include "GdiHandles.h"

namespace {
// Keeps the DC's font and text colour for the scope.
class TextSettings {
public:
    TextSettings(HDC dc, HFONT font, COLORREF colour)
        : dc_(dc), font_(font ? SelectObject(dc, font) : nullptr), colour_(SetTextColor(dc, colour)),
          mode_(SetBkMode(dc, TRANSPARENT))
    {
    }
    ~TextSettings()
    {
        SetBkMode(dc_, mode_);
        SetTextColor(dc_, colour_);
        if (font_)
            SelectObject(dc_, font_);
    }
    TextSettings(const TextSettings&) = delete;
    TextSettings& operator=(const TextSettings&) = delete;

private:
    HDC dc_;
    HGDIOBJ font_;
    COLORREF colour_;
    int mode_;
};
}

TSpeedButton::TSpeedButton(TComponent* owner, TControl* parent, const std::string& caption) : TControl(owner, parent)
{
    CreateHandle(RegisterPlainClass("QuilloSpeedButton", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW), WS_VISIBLE, 0, caption);
    SetBounds(0, 0, 23, 22);
}

void TSpeedButton::SetCaption(const std::string& caption)
{
    SetText(caption);
    Invalidate();
}

void TSpeedButton::SetGlyph(HIMAGELIST images, int index)
{
    glyphImages_ = images;
    glyphIndex_ = index;
    Invalidate();
}

void TSpeedButton::SetGroupIndex(int groupIndex)
{
    groupIndex_ = groupIndex;
    if (groupIndex_ == 0)
        SetDown(false);
    else if (down_)
        ReleaseOthersInGroup();
}

void TSpeedButton::SetDown(bool down)
{
    if (groupIndex_ == 0)
        down = false;
    if (down == down_)
        return;
    down_ = down;
    if (down_)
        ReleaseOthersInGroup();
    Invalidate();
}

void TSpeedButton::ReleaseOthersInGroup()
{
    if (!Parent())
        return;
    for (TControl* sibling : Parent()->Controls()) {
        auto* button = dynamic_cast<TSpeedButton*>(sibling);
        if (button && button != this && button->groupIndex_ == groupIndex_ && button->down_) {
            button->down_ = false;
            button->Invalidate();
        }
    }
}

void TSpeedButton::Click()
{
    if (!Handle() || !IsWindowEnabled(Handle()))
        return;
    if (groupIndex_ != 0)
        SetDown(true);
    if (OnClick)
        OnClick();
}

LRESULT TSpeedButton::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    // The button handles the mouse itself, so the focus stays where it was.
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (groupIndex_ == 0) {
            pressed_ = true;
            SetCapture(Handle());
            Invalidate();
        } else {
            Click();
        }
        return 0;
    case WM_LBUTTONUP:
        if (pressed_) {
            pressed_ = false;
            ReleaseCapture();
            Invalidate();
            const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            const RECT client = ClientRect();
            if (PtInRect(&client, point))
                Click();
        }
        return 0;
    case WM_CAPTURECHANGED:
        if (pressed_) {
            pressed_ = false;
            Invalidate();
        }
        break;
    case WM_ENABLE:
        Invalidate();
        break;
    default:
        break;
    }
    return TControl::WndProc(message, wParam, lParam);
}

void TSpeedButton::Paint()
{
    PaintDC dc(Handle());
    RECT client = ClientRect();
    const bool sunken = down_ || pressed_;
    FillRect(dc.Get(), &client, GetSysColorBrush(sunken && !pressed_ ? COLOR_3DLIGHT : COLOR_BTNFACE));
    DrawEdge(dc.Get(), &client, sunken ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    const int shift = sunken ? 1 : 0;
    const bool enabled = IsWindowEnabled(Handle()) != FALSE;
    if (glyphImages_ && glyphIndex_ >= 0) {
        int width = 0;
        int height = 0;
        ImageList_GetIconSize(glyphImages_, &width, &height);
        const int x = (client.right - width) / 2 + shift;
        const int y = (client.bottom - height) / 2 + shift;
        ImageList_Draw(glyphImages_, glyphIndex_, dc.Get(), x, y, ILD_TRANSPARENT);
        return;
    }
    const std::string caption = Caption();
    const TextSettings text(dc.Get(), ParentForm() ? ParentForm()->Font() : TForm::DefaultFont(),
                            GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    OffsetRect(&client, shift, shift);
    DrawTextA(dc.Get(), caption.c_str(), static_cast<int>(caption.size()), &client,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
