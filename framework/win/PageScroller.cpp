#include "PageScroller.h"

#include <commctrl.h>

TPageScroller::TPageScroller(TComponent* owner, TControl* parent) : TControl(owner, parent)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PAGESCROLLER_CLASS};
    InitCommonControlsEx(&controls);
    // Tab walks on into the scrolled control.
    CreateHandle(WC_PAGESCROLLERA, WS_VISIBLE | PGS_VERT, WS_EX_CONTROLPARENT);
}

void TPageScroller::SetControl(TControl* control)
{
    control_ = control;
    SendMessageA(Handle(), PGM_SETCHILD, 0, reinterpret_cast<LPARAM>(control ? control->Handle() : nullptr));
    ControlResized();
}

void TPageScroller::ControlResized() { SendMessageA(Handle(), PGM_RECALCSIZE, 0, 0); }

bool TPageScroller::AutoScroll() const { return (GetWindowLongPtrA(Handle(), GWL_STYLE) & PGS_AUTOSCROLL) != 0; }

void TPageScroller::SetAutoScroll(bool autoScroll)
{
    LONG_PTR style = GetWindowLongPtrA(Handle(), GWL_STYLE);
    style = autoScroll ? (style | PGS_AUTOSCROLL) : (style & ~static_cast<LONG_PTR>(PGS_AUTOSCROLL));
    SetWindowLongPtrA(Handle(), GWL_STYLE, style);
}

bool TPageScroller::HandleNotify(NMHDR& header, LRESULT& result)
{
    if (header.code != static_cast<UINT>(PGN_CALCSIZE))
        return false;
    auto& size = reinterpret_cast<NMPGCALCSIZE&>(header);
    if (control_ && (size.dwFlag & PGF_CALCHEIGHT))
        size.iHeight = control_->Height();
    if (control_ && (size.dwFlag & PGF_CALCWIDTH))
        size.iWidth = control_->Width();
    result = 0;
    return true;
}
