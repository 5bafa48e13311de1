#include "WindowSubclass.h"

#include "Application.h"

#include <unordered_map>

namespace {
// A window whose procedure someone else took over after us cannot be given
// back without cutting them off; it stays here with its previous procedure,
// and messages pass through, until the window is destroyed.
struct Entry {
    TWindowSubclass* subclass = nullptr;
    WNDPROC previous = nullptr;
};

std::unordered_map<HWND, Entry>& SubclassTable()
{
    static auto* table = new std::unordered_map<HWND, Entry>;
    return *table;
}
}

TWindowSubclass::~TWindowSubclass() { Detach(); }

void TWindowSubclass::Attach(HWND window, Handler handler)
{
    Detach();
    if (!window)
        return;
    handler_ = std::move(handler);
    window_ = window;
    attached_ = true;
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWindowSubclass::StaticProc)));
    SubclassTable()[window] = Entry{this, previous_};
}

void TWindowSubclass::Detach()
{
    if (!attached_)
        return;
    attached_ = false;
    HWND window = window_;
    const auto found = SubclassTable().find(window);
    if (found == SubclassTable().end())
        return;
    const bool stillOurs =
        reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)) == &TWindowSubclass::StaticProc;
    if (stillOurs && IsWindow(window)) {
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(found->second.previous));
        SubclassTable().erase(found);
    } else {
        found->second.subclass = nullptr;
    }
}

LRESULT TWindowSubclass::CallPrevious(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return CallWindowProcA(previous_, window_, message, wParam, lParam);
}

LRESULT CALLBACK TWindowSubclass::StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto found = SubclassTable().find(window);
    if (found == SubclassTable().end())
        return DefWindowProcA(window, message, wParam, lParam);
    const Entry entry = found->second;
    if (message == WM_NCDESTROY) {
        SubclassTable().erase(window);
        if (entry.subclass)
            entry.subclass->attached_ = false;
        return CallWindowProcA(entry.previous, window, message, wParam, lParam);
    }
    if (!entry.subclass || !entry.subclass->attached_ || !entry.subclass->handler_)
        return CallWindowProcA(entry.previous, window, message, wParam, lParam);
    TWindowSubclass* subclass = entry.subclass;
    return GuardedCall([&] { return subclass->handler_(message, wParam, lParam); }, LRESULT{0});
}
