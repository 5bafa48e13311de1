#include "ApThreadHooks.h"

#include "Application.h"

#include <algorithm>
#include <vector>

namespace {
// The process-wide state of the hooks: one pair for the GUI thread, and the
// dialogs shown, innermost last.
struct HookState {
    HHOOK keyboardHook = nullptr;
    HHOOK callWndHook = nullptr;
    std::vector<TApHookTarget*> targets;
    int sortWatchers = 0;
};

HookState& State()
{
    static HookState state;
    return state;
}

TApHookTarget* Innermost() { return State().targets.empty() ? nullptr : State().targets.back(); }

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM key, LPARAM flags)
{
    if (code >= 0 && key == VK_DELETE) {
        const bool swallow =
            GuardedCall([] { return Innermost() && Innermost()->SwallowsDeleteKey(); }, false);
        if (swallow)
            return 1;
    }
    return CallNextHookEx(State().keyboardHook, code, key, flags);
}

constexpr UINT ListViewSortRequest = 0x1030;

LRESULT CALLBACK CallWndHookProc(int code, WPARAM sentByThread, LPARAM call)
{
    if (code == HC_ACTION) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(call);
        if (message->message == ListViewSortRequest && Innermost()) {
            const HWND window = message->hwnd;
            GuardedCall(
                [window] {
                    Innermost()->SortRequested(window);
                    return 0;
                },
                0);
        }
    }
    return CallNextHookEx(State().callWndHook, code, sentByThread, call);
}
}

TApThreadHooks::TApThreadHooks(TApHookTarget& target, bool watchSortRequests)
    : target_(target), watchSortRequests_(watchSortRequests)
{
    HookState& state = State();
    const DWORD thread = GetCurrentThreadId();
    if (state.targets.empty())
        state.keyboardHook = SetWindowsHookExA(WH_KEYBOARD, KeyboardHookProc, nullptr, thread);
    if (watchSortRequests && state.sortWatchers++ == 0)
        state.callWndHook = SetWindowsHookExA(WH_CALLWNDPROC, CallWndHookProc, nullptr, thread);
    state.targets.push_back(&target);
}

TApThreadHooks::~TApThreadHooks()
{
    HookState& state = State();
    // Holders normally go innermost first, but a target must never outlive
    // its holder whatever the order.
    if (auto found = std::ranges::find(state.targets, &target_); found != state.targets.end())
        state.targets.erase(found);
    if (watchSortRequests_ && --state.sortWatchers == 0 && state.callWndHook) {
        UnhookWindowsHookEx(state.callWndHook);
        state.callWndHook = nullptr;
    }
    if (state.targets.empty() && state.keyboardHook) {
        UnhookWindowsHookEx(state.keyboardHook);
        state.keyboardHook = nullptr;
    }
}

bool TApThreadHooks::Installed() { return State().keyboardHook || State().callWndHook; }

HHOOK TApThreadHooks::KeyboardHandle() { return State().keyboardHook; }

HHOOK TApThreadHooks::CallWndHandle() { return State().callWndHook; }
