#pragma once
// Takes over the window procedure of a window that another party created (a
// system dialog and its children) and hands its messages to a handler, the
// way the framework's controls take over their own windows: one table from
// window handle to subclass, no window property read per message. Giving the
// window back restores the previous procedure; a window destroyed first
// gives itself back on its last message.

#include <windows.h>

#include <functional>

class TWindowSubclass {
public:
    // Gets every message; calls CallPrevious for the default handling.
    using Handler = std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam)>;

    TWindowSubclass() = default;
    ~TWindowSubclass();
    TWindowSubclass(const TWindowSubclass&) = delete;
    TWindowSubclass& operator=(const TWindowSubclass&) = delete;

    // Gives back any window taken before; a null window takes nothing.
    void Attach(HWND window, Handler handler);
    void Detach();
    HWND Window() const { return attached_ ? window_ : nullptr; }

    LRESULT CallPrevious(UINT message, WPARAM wParam, LPARAM lParam) const;

private:
    static LRESULT CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Kept after giving the window back, so a handler that is still running
    // can pass its message on.
    HWND window_ = nullptr;
    WNDPROC previous_ = nullptr;
    bool attached_ = false;
    Handler handler_;
};
