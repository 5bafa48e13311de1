#pragma once
// Routes the messages of a window the program did not make (a child of a
// system dialog) through a handler of its own, and gives the window its own
// procedure back when the holder goes. A window destroyed meanwhile simply
// ends the subclassing.

#include <windows.h>

#include <functional>

class TForeignSubclass {
public:
    // Returns the message's result; PassOn gives the window's own answer.
    using Handler = std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam)>;

    TForeignSubclass() = default;
    ~TForeignSubclass();
    TForeignSubclass(const TForeignSubclass&) = delete;
    TForeignSubclass& operator=(const TForeignSubclass&) = delete;

    // Ends any subclassing held before. Does nothing for a window that is
    // gone or already runs a handler of this kind.
    void Attach(HWND window, Handler handler);
    void Detach();
    HWND Window() const { return window_; }
    LRESULT PassOn(UINT message, WPARAM wParam, LPARAM lParam) const;

    static bool IsSubclassed(HWND window);

private:
    static LRESULT CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    bool unicode_ = false;
    WNDPROC previous_ = nullptr;
    Handler handler_;
};
