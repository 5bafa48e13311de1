#include "Splitter.h"


#include <algorithm>
#include <climits>
#include <windowsx.h>

namespace {
constexpr int DefaultThickness = 3;
}

TSplitter::TSplitter(TComponent* owner, TControl* parent, TAlign align) : TControl(owner, parent)
{
    CreateHandle(RegisterPlainClass("QuilloSplitter"), WS_VISIBLE, 0);
    SetBounds(0, 0, DefaultThickness, DefaultThickness);
    SetAlign(align);
}

bool TSplitter::Vertical() const { return Align() == TAlign::alLeft || Align() == TAlign::alRight; }

int TSplitter::SizeOf(const TControl& control) const { return Vertical() ? control.Width() : control.Height(); }

TControl* TSplitter::Neighbour() const
{
    if (!Parent())
        return nullptr;
    TControl* best = nullptr;
    int bestDistance = INT_MAX;
    for (TControl* control : Parent()->Controls()) {
        if (control == this || control->Align() != Align() || !control->Visible())
            continue;
        int distance = 0;
        switch (Align()) {
        case TAlign::alLeft:
            distance = Left() - (control->Left() + control->Width());
            break;
        case TAlign::alRight:
            distance = control->Left() - (Left() + Width());
            break;
        case TAlign::alTop:
            distance = Top() - (control->Top() + control->Height());
            break;
        case TAlign::alBottom:
            distance = control->Top() - (Top() + Height());
            break;
        default:
            return nullptr;
        }
        if (distance >= 0 && distance < bestDistance) {
            best = control;
            bestDistance = distance;
        }
    }
    return best;
}

int TSplitter::LargestSize() const
{
    // What the parent's client area leaves once the other controls aligned
    // along the same axis, this bar and MinSize for the rest are taken away.
    const RECT client = Parent()->ClientRect();
    int free = Vertical() ? client.right : client.bottom;
    for (TControl* control : Parent()->Controls()) {
        if (control == neighbour_ || !control->Visible())
            continue;
        const TAlign align = control->Align();
        const bool sameAxis = Vertical() ? align == TAlign::alLeft || align == TAlign::alRight
                                         : align == TAlign::alTop || align == TAlign::alBottom;
        if (sameAxis)
            free -= SizeOf(*control);
    }
    return std::max(free - MinSize, MinSize);
}

POINT TSplitter::InParent(LPARAM lParam) const
{
    // The bar moves while it is dragged, so its own coordinates do not stay put.
    return POINT{Left() + GET_X_LPARAM(lParam), Top() + GET_Y_LPARAM(lParam)};
}

void TSplitter::StartDrag(POINT point)
{
    neighbour_ = Neighbour();
    if (!neighbour_)
        return;
    start_ = point;
    startSize_ = SizeOf(*neighbour_);
    dragging_ = true;
    SetCapture(Handle());
}

void TSplitter::DragTo(POINT point)
{
    int delta = Vertical() ? point.x - start_.x : point.y - start_.y;
    if (Align() == TAlign::alRight || Align() == TAlign::alBottom)
        delta = -delta;
    const int size = std::clamp(startSize_ + delta, MinSize, LargestSize());
    if (size == SizeOf(*neighbour_))
        return;
    if (Vertical())
        neighbour_->SetWidth(size);
    else
        neighbour_->SetHeight(size);
    Parent()->Update();
}

void TSplitter::EndDrag()
{
    dragging_ = false;
    if (GetCapture() == Handle())
        ReleaseCapture();
    const bool moved = neighbour_ && SizeOf(*neighbour_) != startSize_;
    neighbour_ = nullptr;
    if (moved && OnMoved)
        OnMoved();
}

LRESULT TSplitter::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            ::SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(Vertical() ? IDC_SIZEWE : IDC_SIZENS)));
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
        if (!dragging_)
            StartDrag(InParent(lParam));
        break;
    case WM_MOUSEMOVE:
        if (dragging_)
            DragTo(InParent(lParam));
        break;
    case WM_LBUTTONUP:
        if (dragging_) {
            DragTo(InParent(lParam));
            EndDrag();
        }
        break;
    case WM_CAPTURECHANGED:
        if (dragging_)
            EndDrag();
        break;
    default:
        break;
    }
    return TControl::WndProc(message, wParam, lParam);
}
