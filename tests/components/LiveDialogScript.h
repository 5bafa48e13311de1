#pragma once
// Drives a live extended file dialog: the steps run one per timer tick from
// the dialog's show event on, so each sees the dialog painted and settled,
// and a watchdog cancels the dialog if it is still up long after. A test
// never hangs on the dialog, and a cancelled one fails it.

#include "ApDialogs.h"

#include <deque>
#include <functional>

class LiveDialogScript {
public:
    using Step = std::function<void(TApCustomOpenDialog& dialog)>;

    explicit LiveDialogScript(TApCustomOpenDialog& dialog);
    ~LiveDialogScript();
    LiveDialogScript(const LiveDialogScript&) = delete;
    LiveDialogScript& operator=(const LiveDialogScript&) = delete;

    LiveDialogScript& Then(Step step);
    // Runs the dialog with the steps; true when the user's part chose a file.
    bool Execute();
    // The same where a command runs the dialog: the steps start at its show.
    bool Run(const std::function<bool()>& command);

    bool WatchdogFired() const { return watchdogFired_; }
    size_t PendingSteps() const { return steps_.size(); }

    static constexpr unsigned WatchdogMilliseconds = 10000;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    static void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD);
    void Started();
    void Stop();

    TApCustomOpenDialog& dialog_;
    std::deque<Step> steps_;
    UINT_PTR tickTimer_ = 0;
    UINT_PTR watchdogTimer_ = 0;
    bool watchdogFired_ = false;
};

// Sends the dialog a command as its toolbar or a control would.
void SendDialogCommand(HWND dialog, int id, int code = 0);
// The rectangle of a control in the dialog's client coordinates.
RECT ControlBounds(HWND dialog, HWND control);
