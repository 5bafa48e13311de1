#pragma once
// Runs OnTimer every Interval milliseconds while enabled. The timer belongs
// to the thread, not to a window, so it works before any form exists; its
// ticks arrive through the message loop like any other message.

#include "Component.h"

#include <windows.h>

#include <functional>

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner = nullptr);
    ~TTimer() override;

    // Milliseconds between ticks; 0 stops the timer.
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned interval);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    std::function<void(TComponent* sender)> OnTimer;

protected:
    void DestructionStarted() override { Stop(); }

private:
    static void CALLBACK TimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);
    void Restart();
    void Stop();

    unsigned interval_ = 1000;
    bool enabled_ = true;
    UINT_PTR id_ = 0;
};
