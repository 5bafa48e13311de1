#pragma once
// The keyboard and call-window-procedure hooks of the extended file dialog,
// held for the current thread while a dialog is shown. The hooks are set once
// however many dialogs nest, and answer for the innermost one only: a second
// pair would run every step twice. The call-window-procedure hook is set only
// while a holder watches sort requests: under Wine every message sent on the
// thread pays for it, which makes a large folder list several times slower.

#include <windows.h>

// What the hooks ask of the dialog shown.
class TApHookTarget {
public:
    // True when the Delete key, down or up, must go nowhere.
    virtual bool SwallowsDeleteKey() = 0;
    // A window is about to handle a list view's sort request.
    virtual void SortRequested(HWND window) = 0;

protected:
    ~TApHookTarget() = default;
};

class TApThreadHooks {
public:
    // The target is answered for until the holder goes.
    TApThreadHooks(TApHookTarget& target, bool watchSortRequests);
    ~TApThreadHooks();
    TApThreadHooks(const TApThreadHooks&) = delete;
    TApThreadHooks& operator=(const TApThreadHooks&) = delete;

    // Whether the hooks are set now, and their handles (null when not set).
    static bool Installed();
    static HHOOK KeyboardHandle();
    static HHOOK CallWndHandle();

private:
    TApHookTarget& target_;
    bool watchSortRequests_;
};
