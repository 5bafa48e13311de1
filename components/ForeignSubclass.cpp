#include "ForeignSubclass.h"

#include "Application.h"

namespace {
constexpr const char* SubclassProperty = "Quillo.ForeignSubclass";

LONG_PTR SetProcedure(HWND window, bool unicode, LONG_PTR procedure)
{
    return unicode ? SetWindowLongPtrW(window, GWLP_WNDPROC, procedure)
                   : SetWindowLongPtrA(window, GWLP_WNDPROC, procedure);
}
}

TForeignSubclass::~TForeignSubclass() { Detach(); }

bool TForeignSubclass::IsSubclassed(HWND window) { return window && GetPropA(window, SubclassProperty); }

void TForeignSubclass::Attach(HWND window, Handler handler)
{
    Detach();
    if (!IsWindow(window) || IsSubclassed(window))
        return;
    window_ = window;
    // The shell's list is a Unicode window: keep its messages Unicode.
    unicode_ = IsWindowUnicode(window) != FALSE;
    handler_ = std::move(handler);
    SetPropA(window, SubclassProperty, this);
    previous_ = reinterpret_cast<WNDPROC>(
        SetProcedure(window, unicode_, reinterpret_cast<LONG_PTR>(&TForeignSubclass::StaticProc)));
}

void TForeignSubclass::Detach()
{
    if (!window_)
        return;
    if (IsWindow(window_)) {
        SetProcedure(window_, unicode_, reinterpret_cast<LONG_PTR>(previous_));
        RemovePropA(window_, SubclassProperty);
    }
    window_ = nullptr;
    previous_ = nullptr;
    handler_ = nullptr;
}

LRESULT TForeignSubclass::PassOn(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return unicode_ ? CallWindowProcW(previous_, window_, message, wParam, lParam)
                    : CallWindowProcA(previous_, window_, message, wParam, lParam);
}

LRESULT CALLBACK TForeignSubclass::StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* subclass = static_cast<TForeignSubclass*>(GetPropA(window, SubclassProperty));
    if (!subclass || subclass->window_ != window)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        const WNDPROC previous = subclass->previous_;
        const bool unicode = subclass->unicode_;
        SetProcedure(window, unicode, reinterpret_cast<LONG_PTR>(previous));
        RemovePropA(window, SubclassProperty);
        subclass->window_ = nullptr;
        subclass->handler_ = nullptr;
        return unicode ? CallWindowProcW(previous, window, message, wParam, lParam)
                       : CallWindowProcA(previous, window, message, wParam, lParam);
    }
    return GuardedCall([&] { return subclass->handler_(message, wParam, lParam); }, LRESULT{0});
}
