#include "ExtCtrls.h"

#include "GdiHandles.h"

#include <algorithm>

namespace {
const char* PanelClass() { return RegisterPlainClass("QuilloPanel", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW); }

UINT EdgeOf(TBevelCut bevel, bool outer)
{
    if (bevel == TBevelCut::bvRaised)
        return outer ? BDR_RAISEDOUTER : BDR_RAISEDINNER;
    return outer ? BDR_SUNKENOUTER : BDR_SUNKENINNER;
}

// The brush the parent paints static controls with: the background an image
// shows around and through its picture.
HBRUSH ParentBackground(HWND window, HDC dc)
{
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageA(GetParent(window), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window)));
    return brush ? brush : GetSysColorBrush(COLOR_BTNFACE);
}
}

// --- Panels -----------------------------------------------------------------

TCustomPanel::TCustomPanel(TComponent* owner, TControl* parent, DWORD style) : TControl(owner, parent)
{
    CreateHandle(PanelClass(), style | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
}

LRESULT TCustomPanel::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (LRESULT result = 0; AnswerFontMessage(font_, message, wParam, lParam, result))
        return result;
    switch (message) {
    case WM_SETFOCUS:
        // Not an active control of the form: skip the focus tracking.
        return DefaultHandler(message, wParam, lParam);
    case WM_NEXTDLGCTL:
    case DM_GETDEFID:
        // Edits ask their parent; the form answers for the whole dialog.
        if (const HWND root = GetAncestor(Handle(), GA_ROOT); root && root != Handle())
            return SendMessageA(root, message, wParam, lParam);
        return 0;
    default:
        return TControl::WndProc(message, wParam, lParam);
    }
}

TPanel::TPanel(TComponent* owner, TControl* parent) : TCustomPanel(owner, parent) { SetBounds(0, 0, 185, 41); }

void TPanel::SetCaption(const std::string& caption)
{
    SetText(caption);
    Invalidate();
}

void TPanel::SetBevelOuter(TBevelCut bevel)
{
    bevelOuter_ = bevel;
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TPanel::SetBevelInner(TBevelCut bevel)
{
    bevelInner_ = bevel;
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int TPanel::BevelWidth() const
{
    return (bevelOuter_ != TBevelCut::bvNone ? 1 : 0) + (bevelInner_ != TBevelCut::bvNone ? 1 : 0);
}

LRESULT TPanel::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCALCSIZE: {
        // The bevels lie outside the client area, so aligned children and the
        // caption stay inside them. The first rectangle of either form of the
        // message becomes the client area.
        const LRESULT result = DefaultHandler(message, wParam, lParam);
        auto* client = reinterpret_cast<RECT*>(lParam);
        const int border = BevelWidth();
        client->left += border;
        client->top += border;
        client->right = std::max(client->left, client->right - border);
        client->bottom = std::max(client->top, client->bottom - border);
        return result;
    }
    case WM_NCPAINT: {
        const LRESULT result = DefaultHandler(message, wParam, lParam);
        DrawBevels();
        return result;
    }
    case WM_PAINT:
        Paint();
        return 0;
    case WM_SETTEXT: {
        const LRESULT result = TCustomPanel::WndProc(message, wParam, lParam);
        Invalidate();
        return result;
    }
    default:
        return TCustomPanel::WndProc(message, wParam, lParam);
    }
}

void TPanel::DrawBevels()
{
    if (BevelWidth() == 0)
        return;
    WindowDC dc(Handle());
    RECT frame{};
    GetWindowRect(Handle(), &frame);
    OffsetRect(&frame, -frame.left, -frame.top);
    if (bevelOuter_ != TBevelCut::bvNone)
        DrawEdge(dc.Get(), &frame, EdgeOf(bevelOuter_, true), BF_RECT | BF_ADJUST);
    if (bevelInner_ != TBevelCut::bvNone)
        DrawEdge(dc.Get(), &frame, EdgeOf(bevelInner_, false), BF_RECT | BF_ADJUST);
}

void TPanel::Paint()
{
    PaintDC dc(Handle());
    const std::string caption = Text();
    if (caption.empty())
        return;
    RECT client = ClientRect();
    Selection font(dc.Get(), Font());
    SetBkMode(dc.Get(), TRANSPARENT);
    SetTextColor(dc.Get(), GetSysColor(COLOR_BTNTEXT));
    DrawTextA(dc.Get(), caption.c_str(), static_cast<int>(caption.size()), &client,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// --- Image ------------------------------------------------------------------

TImage::TImage(TComponent* owner, TControl* parent) : TControl(owner, parent)
{
    CreateHandle(RegisterPlainClass("QuilloImage", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, -1), WS_VISIBLE, 0);
    SetBounds(0, 0, 32, 32);
}

void TImage::SetIcon(HICON icon)
{
    Clear();
    icon_ = icon;
    Invalidate();
}

void TImage::SetImageList(HIMAGELIST images, int index)
{
    Clear();
    images_ = images;
    imageIndex_ = index;
    Invalidate();
}

void TImage::SetBitmap(HBITMAP bitmap)
{
    Clear();
    bitmap_ = bitmap;
    Invalidate();
}

void TImage::SetGraphic(TGraphic* graphic)
{
    Clear();
    graphic_ = graphic;
    Invalidate();
}

void TImage::Clear()
{
    graphic_ = nullptr;
    icon_ = nullptr;
    images_ = nullptr;
    imageIndex_ = -1;
    bitmap_ = nullptr;
    Invalidate();
}

void TImage::SetCenter(bool center)
{
    center_ = center;
    Invalidate();
}

void TImage::SetStretch(bool stretch)
{
    stretch_ = stretch;
    Invalidate();
}

void TImage::SetTransparent(bool transparent)
{
    transparent_ = transparent;
    Invalidate();
}

LRESULT TImage::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // painted with the picture, without flicker
    case WM_PAINT:
        Paint();
        return 0;
    default:
        return TControl::WndProc(message, wParam, lParam);
    }
}

RECT TImage::Placement(int width, int height) const
{
    const RECT client = ClientRect();
    if (stretch_)
        return client;
    const int left = center_ ? (client.right - width) / 2 : 0;
    const int top = center_ ? (client.bottom - height) / 2 : 0;
    return RECT{left, top, left + width, top + height};
}

void TImage::Paint()
{
    PaintDC dc(Handle());
    const RECT client = ClientRect();
    FillRect(dc.Get(), &client, ParentBackground(Handle(), dc.Get()));
    if (icon_) {
        ICONINFO info{};
        if (!GetIconInfo(icon_, &info))
            return;
        const GdiObject<HBITMAP> color(info.hbmColor);
        const GdiObject<HBITMAP> mask(info.hbmMask);
        BITMAP bits{};
        GetObjectA(info.hbmMask, sizeof bits, &bits);
        const int height = info.hbmColor ? bits.bmHeight : bits.bmHeight / 2;
        const RECT place = Placement(bits.bmWidth, height);
        DrawIconEx(dc.Get(), place.left, place.top, icon_, place.right - place.left, place.bottom - place.top, 0,
                   nullptr, DI_NORMAL);
    } else if (images_ && imageIndex_ >= 0) {
        int width = 0;
        int height = 0;
        ImageList_GetIconSize(images_, &width, &height);
        const RECT place = stretch_ ? RECT{0, 0, width, height} : Placement(width, height);
        ImageList_Draw(images_, imageIndex_, dc.Get(), place.left, place.top, ILD_TRANSPARENT);
    } else if (bitmap_) {
        DrawBitmap(dc.Get());
    } else if (graphic_) {
        TCanvas canvas(dc.Get());
        canvas.StretchDraw(Placement(graphic_->Width(), graphic_->Height()), *graphic_);
    }
}

void TImage::DrawBitmap(HDC dc)
{
    BITMAP bits{};
    if (!GetObjectA(bitmap_, sizeof bits, &bits))
        return;
    const RECT place = Placement(bits.bmWidth, bits.bmHeight);
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    MemoryDC source(dc);
    Selection picture(source.Get(), bitmap_);
    if (!transparent_) {
        StretchBlt(dc, place.left, place.top, width, height, source.Get(), 0, 0, bits.bmWidth, bits.bmHeight,
                   SRCCOPY);
        return;
    }
    // A mask with 1 where the key colour is; then the picture is drawn
    // XOR, the mask cuts the opaque parts out, and a second XOR leaves the
    // picture there and the background elsewhere.
    MemoryDC maskDc(dc);
    const GdiObject<HBITMAP> mask(CreateBitmap(bits.bmWidth, bits.bmHeight, 1, 1, nullptr));
    Selection maskSelection(maskDc.Get(), mask.Get());
    SetBkColor(source.Get(), GetPixel(source.Get(), 0, bits.bmHeight - 1));
    BitBlt(maskDc.Get(), 0, 0, bits.bmWidth, bits.bmHeight, source.Get(), 0, 0, SRCCOPY);
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    StretchBlt(dc, place.left, place.top, width, height, source.Get(), 0, 0, bits.bmWidth, bits.bmHeight,
               SRCINVERT);
    StretchBlt(dc, place.left, place.top, width, height, maskDc.Get(), 0, 0, bits.bmWidth, bits.bmHeight, SRCAND);
    StretchBlt(dc, place.left, place.top, width, height, source.Get(), 0, 0, bits.bmWidth, bits.bmHeight,
               SRCINVERT);
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
}

// --- Progress bar -----------------------------------------------------------

TProgressBar::TProgressBar(TComponent* owner, TControl* parent) : TControl(owner, parent)
{
    CreateHandle(PROGRESS_CLASSA, WS_VISIBLE, 0);
    SetBounds(0, 0, 150, 16);
    SetRange(0, 100);
}

int TProgressBar::Min() const { return static_cast<int>(SendMessageA(Handle(), PBM_GETRANGE, TRUE, 0)); }

int TProgressBar::Max() const { return static_cast<int>(SendMessageA(Handle(), PBM_GETRANGE, FALSE, 0)); }

void TProgressBar::SetRange(int min, int max) { SendMessageA(Handle(), PBM_SETRANGE32, min, max); }

int TProgressBar::Position() const { return static_cast<int>(SendMessageA(Handle(), PBM_GETPOS, 0, 0)); }

void TProgressBar::SetPosition(int position) { SendMessageA(Handle(), PBM_SETPOS, position, 0); }

void TProgressBar::StepBy(int delta) { SendMessageA(Handle(), PBM_DELTAPOS, delta, 0); }
