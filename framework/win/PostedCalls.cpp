#include "PostedCalls.h"

#include "Control.h"

#include <windows.h>

#include <deque>
#include <utility>

namespace {
const char* const WindowClass = "QuilloPostedCalls";
constexpr UINT RunPostedCall = WM_APP + 1;

struct PostedCall {
    TControl* owner;
    HWND ownerWindow;
    std::function<void()> call;
};

std::deque<PostedCall>& Queue()
{
    static std::deque<PostedCall> queue;
    return queue;
}

void RunFirst()
{
    if (Queue().empty())
        return;
    PostedCall posted = std::move(Queue().front());
    Queue().pop_front();
    if (TControl::FromHandle(posted.ownerWindow) == posted.owner && posted.owner->Handle() == posted.ownerWindow)
        posted.call();
}

LRESULT CALLBACK PostedCallsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == RunPostedCall) {
        RunFirst();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A message-only window of its own: the calls never meet another window's
// messages.
HWND PostedCallsWindow()
{
    static const HWND window = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &PostedCallsProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = WindowClass;
        RegisterClassA(&windowClass);
        return CreateWindowExA(0, WindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance,
                               nullptr);
    }();
    return window;
}
}

void PostCall(TControl& owner, std::function<void()> call)
{
    Queue().push_back({&owner, owner.Handle(), std::move(call)});
    PostMessageA(PostedCallsWindow(), RunPostedCall, 0, 0);
}
