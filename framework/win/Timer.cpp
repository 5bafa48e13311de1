#include "Timer.h"

#include "Application.h"
#include "Exceptions.h"

#include <unordered_map>

namespace {
// Thread timers are told apart by the id the system gives them.
std::unordered_map<UINT_PTR, TTimer*>& Timers()
{
    static auto* timers = new std::unordered_map<UINT_PTR, TTimer*>;
    return *timers;
}
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) { Restart(); }

TTimer::~TTimer() { Stop(); }

void TTimer::SetInterval(unsigned interval)
{
    if (interval == interval_)
        return;
    interval_ = interval;
    Restart();
}

void TTimer::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    Restart();
}

void TTimer::Stop()
{
    if (!id_)
        return;
    KillTimer(nullptr, id_);
    Timers().erase(id_);
    id_ = 0;
}

void TTimer::Restart()
{
    Stop();
    if (!enabled_ || interval_ == 0)
        return;
    id_ = SetTimer(nullptr, 0, interval_, &TTimer::TimerProc);
    if (!id_)
        throw EOutOfResources("Not enough timers available");
    Timers()[id_] = this;
}

void CALLBACK TTimer::TimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    const auto found = Timers().find(id);
    if (found == Timers().end())
        return;
    TTimer* timer = found->second;
    if (timer->IsDestroying())
        return;
    // Called by the system from the message loop: no error may leave here.
    GuardedCall(
        [timer] {
            if (timer->OnTimer)
                timer->OnTimer(timer);
            return true;
        },
        false);
}
