#include "SentMessages.h"

#include "Cursors.h"

namespace {
TSentMessages* watching = nullptr;
}

TSentMessages::TSentMessages(UINT message) : message_(message)
{
    watching = this;
    hook_ = SetWindowsHookExA(WH_CALLWNDPROC, &TSentMessages::Hook, nullptr, GetCurrentThreadId());
}

TSentMessages::~TSentMessages()
{
    if (hook_)
        UnhookWindowsHookEx(hook_);
    watching = nullptr;
}

LRESULT CALLBACK TSentMessages::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && watching && sent->message == watching->message_) {
        watching->Seen.push_back({sent->hwnd, sent->wParam, ScreenCursorId()});
        if (watching->OnSent)
            watching->OnSent(watching->Seen.back());
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
