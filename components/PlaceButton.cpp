#include "PlaceButton.h"

#include "Form.h"
#include "IconLibrary.h"
#include "GdiHandles.h"
#include "Places.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdlib>

namespace {
// How far the mouse moves with the button held before a drag begins.
constexpr int DragThreshold = 5;

SIZE IconSize(HICON icon)
{
    SIZE size{32, 32};
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info))
        return size;
    BITMAP bitmap{};
    if (info.hbmColor && GetObjectA(info.hbmColor, sizeof bitmap, &bitmap)) {
        size.cx = bitmap.bmWidth;
        size.cy = bitmap.bmHeight;
    }
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    return size;
}

void Line(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour)
{
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, colour));
    Selection selected(dc, pen.Get());
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

// A frame around rect: light above and left and dark below and right when
// raised, the other way round when sunken.
void Frame(HDC dc, const RECT& rect, bool sunken)
{
    const COLORREF topLeft = sunken ? RGB(0, 0, 0) : RGB(255, 255, 255);
    const COLORREF bottomRight = sunken ? RGB(255, 255, 255) : RGB(0, 0, 0);
    Line(dc, rect.left, rect.bottom - 1, rect.left, rect.top, topLeft);
    Line(dc, rect.left, rect.top, rect.right - 1, rect.top, topLeft);
    Line(dc, rect.right - 1, rect.top, rect.right - 1, rect.bottom - 1, bottomRight);
    Line(dc, rect.right - 1, rect.bottom - 1, rect.left - 1, rect.bottom - 1, bottomRight);
}
} // namespace

TApPlaceButton::TApPlaceButton(TApPlacesToolBar& bar) : TControl(&bar, &bar), bar_(bar)
{
    CreateHandle(RegisterPlainClass("QuilloPlaceButton", CS_DBLCLKS, COLOR_BTNSHADOW), WS_VISIBLE | WS_TABSTOP, 0);
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

TApPlaceButton::~TApPlaceButton()
{
    if (icon_)
        DestroyIcon(icon_);
    if (selIcon_)
        DestroyIcon(selIcon_);
}

int TApPlaceButton::Index() const { return bar_.IndexOf(this); }

void TApPlaceButton::SetCaption(const std::string& caption)
{
    SetText(caption);
    Invalidate();
}

HICON TApPlaceButton::LoadIcon(const std::string& file, int index)
{
    HICON icon = nullptr;
    if (file.empty() || index < 0 || ExtractIconExA(file.c_str(), index, &icon, nullptr, 1) == 0)
        return nullptr;
    return icon;
}

void TApPlaceButton::ReplaceIcon(HICON& icon, int index)
{
    HICON loaded = LoadIcon(iconDll_, index);
    if (icon)
        DestroyIcon(icon);
    icon = loaded;
    Invalidate();
}

void TApPlaceButton::SetIconDll(const std::string& file)
{
    iconDll_ = file;
    ReplaceIcon(icon_, 0);
}

void TApPlaceButton::SetIcons(const TIconLibrary& library, int index, int selIndex)
{
    iconDll_ = library.File();
    iconIndex_ = index;
    iconSelIndex_ = selIndex;
    for (auto [icon, loaded] : {std::pair{&icon_, library.Extract(index)}, std::pair{&selIcon_, library.Extract(selIndex)}}) {
        if (*icon)
            DestroyIcon(*icon);
        *icon = loaded;
    }
    Invalidate();
}

void TApPlaceButton::SetIconIndex(int index)
{
    iconIndex_ = index;
    ReplaceIcon(icon_, index);
}

void TApPlaceButton::SetIconSelIndex(int index)
{
    iconSelIndex_ = index;
    ReplaceIcon(selIcon_, index);
}

void TApPlaceButton::SetDown(bool down)
{
    if (down) {
        // One place at a time is the current folder.
        for (int i = 0; i < bar_.ButtonCount(); ++i)
            if (&bar_.Buttons(i) != this)
                bar_.Buttons(i).SetDown(false);
    }
    if (down_ == down)
        return;
    down_ = down;
    Invalidate();
}

void TApPlaceButton::Click()
{
    if (bar_.OnButtonClick)
        bar_.OnButtonClick(Index());
}

void TApPlaceButton::DragOver(TControl* source, int, int, TDragState, bool& accept)
{
    const auto* other = dynamic_cast<TApPlaceButton*>(source);
    accept = other && other != this && &other->bar_ == &bar_;
}

void TApPlaceButton::DragDrop(TControl* source, int, int)
{
    const auto* other = dynamic_cast<TApPlaceButton*>(source);
    if (other && other != this && &other->bar_ == &bar_ && bar_.OnButtonMoved)
        bar_.OnButtonMoved(other->Index(), Index());
}

void TApPlaceButton::TrackLeave()
{
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
    TrackMouseEvent(&track);
}

void TApPlaceButton::Paint()
{
    PaintDC paint(Handle());
    const RECT client = ClientRect();
    const int width = client.right;
    const int height = client.bottom;
    MemoryDC memory(paint.Get());
    GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(paint.Get(), std::max(width, 1), std::max(height, 1)));
    Selection selectedBitmap(memory.Get(), bitmap.Get());
    const HDC dc = memory.Get();
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNSHADOW));

    TForm* form = ParentForm();
    Selection selectedFont(dc, form ? form->Font() : TForm::DefaultFont());
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    const int textHeight = metrics.tmHeight;

    HICON icon = down_ ? selIcon_ : icon_;
    const SIZE iconSize = IconSize(icon);
    const int iconLeft = width / 2 - iconSize.cx / 2;
    const int iconTop = height / 2 - iconSize.cy / 2 - textHeight / 2;
    if (icon)
        DrawIconEx(dc, iconLeft, iconTop, icon, iconSize.cx, iconSize.cy, 0, nullptr, DI_NORMAL);
    RECT iconFrame{iconLeft - 2, iconTop - 2, iconLeft + iconSize.cx + 2, iconTop + iconSize.cy + 2};
    if (down_)
        Frame(dc, iconFrame, true);
    else if (hot_)
        Frame(dc, iconFrame, false);

    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    SetBkColor(dc, GetSysColor(COLOR_BTNSHADOW));
    SetBkMode(dc, OPAQUE);
    const auto textWidth = [dc](const std::string& text) {
        SIZE size{};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
    const TFittedCaption caption = FitCaption(Caption(), width, textWidth);
    if (caption.shortened) {
        RECT clip{3, height - textHeight - 2, 3 + width - 4, height - 2};
        ExtTextOutA(dc, 3, height - textHeight - 4, ETO_CLIPPED | ETO_OPAQUE, &clip, caption.text.c_str(),
                    static_cast<UINT>(caption.text.size()), nullptr);
    } else {
        const int left = (width - textWidth(caption.text)) / 2;
        TextOutA(dc, left, height - textHeight - 2, caption.text.c_str(), static_cast<int>(caption.text.size()));
    }
    if (GetFocus() == Handle()) {
        RECT focus{1, 1, width - 1, height - 1};
        DrawFocusRect(dc, &focus);
    }
    BitBlt(paint.Get(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
}

LRESULT TApPlaceButton::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    TDragManager& drag = DragManager();
    if (drag.Source() == this && drag.HandleSourceMessage(this, message, wParam, lParam))
        return 0;
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Invalidate();
        break;
    case WM_GETDLGCODE:
        return DLGC_BUTTON;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE || wParam == VK_RETURN) {
            Click();
            return 0;
        }
        break;
    case WM_MOUSEMOVE: {
        if (!hot_) {
            hot_ = true;
            TrackLeave();
            Invalidate();
        }
        const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (pressed_ && (wParam & MK_LBUTTON) &&
            (std::abs(point.x - pressPoint_.x) > DragThreshold || std::abs(point.y - pressPoint_.y) > DragThreshold)) {
            pressed_ = false;
            drag.BeginDrag(this);
            return 0;
        }
        break;
    }
    case WM_MOUSELEAVE:
        hot_ = false;
        Invalidate();
        break;
    case WM_LBUTTONDOWN:
        pressed_ = true;
        pressPoint_ = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        break;
    case WM_LBUTTONUP: {
        const bool wasPressed = pressed_;
        pressed_ = false;
        const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const RECT client = ClientRect();
        if (wasPressed && PtInRect(&client, point)) {
            TControl::WndProc(message, wParam, lParam);
            Click();
            return 0;
        }
        break;
    }
    default:
        break;
    }
    return TControl::WndProc(message, wParam, lParam);
}

TApPlacesToolBar::TApPlacesToolBar(TComponent* owner, TControl* parent) : TControl(owner, parent)
{
    CreateHandle(RegisterPlainClass("QuilloPlacesToolBar", CS_DBLCLKS, COLOR_BTNSHADOW),
                 WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
    SetBounds(0, 0, TApPlaceButton::ButtonWidth, 0);
}

TApPlacesToolBar::~TApPlacesToolBar() { buttons_.clear(); }

int TApPlacesToolBar::IndexOf(const TApPlaceButton* button) const
{
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i].get() == button)
            return static_cast<int>(i);
    return -1;
}

TApPlaceButton* TApPlacesToolBar::PressedButton() const
{
    for (const auto& button : buttons_)
        if (button->Down())
            return button.get();
    return nullptr;
}

TApPlaceButton& TApPlacesToolBar::AddButton()
{
    AddButtons(1);
    return *buttons_.back();
}

void TApPlacesToolBar::AddButtons(int count)
{
    for (int i = 0; i < count; ++i) {
        buttons_.push_back(std::make_unique<TApPlaceButton>(*this));
        // The bar's menu opens over its buttons, for the button under the mouse.
        buttons_.back()->SetPopupMenu(PopupMenu());
    }
    Layout();
}

void TApPlacesToolBar::Clear()
{
    buttons_.clear();
    Layout();
}

void TApPlacesToolBar::Layout()
{
    for (size_t i = 0; i < buttons_.size(); ++i)
        buttons_[i]->SetBounds(0, static_cast<int>(i) * TApPlaceButton::ButtonHeight, TApPlaceButton::ButtonWidth,
                               TApPlaceButton::ButtonHeight);
    const int height = static_cast<int>(buttons_.size()) * TApPlaceButton::ButtonHeight;
    if (height != Height()) {
        SetBounds(Left(), Top(), TApPlaceButton::ButtonWidth, height);
        if (OnHeightChanged)
            OnHeightChanged();
    }
}
