#include "LiveDialogScript.h"

#include <gtest/gtest.h>

namespace {
// Thread timers carry no context: the script of the dialog now up.
LiveDialogScript* runningScript = nullptr;
}

LiveDialogScript::LiveDialogScript(TApCustomOpenDialog& dialog) : dialog_(dialog) {}

LiveDialogScript::~LiveDialogScript()
{
    Stop();
    EXPECT_TRUE(steps_.empty()) << steps_.size() << " step(s) of the dialog never ran";
}

LiveDialogScript& LiveDialogScript::Then(Step step)
{
    steps_.push_back(std::move(step));
    return *this;
}

bool LiveDialogScript::Execute()
{
    return Run([this] { return dialog_.Execute(); });
}

bool LiveDialogScript::Run(const std::function<bool()>& command)
{
    auto previousShow = dialog_.OnShow;
    dialog_.OnShow = [this, previousShow] {
        if (previousShow)
            previousShow();
        Started();
    };
    const bool chosen = command();
    dialog_.OnShow = previousShow;
    Stop();
    EXPECT_FALSE(watchdogFired_) << "the dialog was still up after " << WatchdogMilliseconds << " ms";
    return chosen;
}

void LiveDialogScript::Started()
{
    runningScript = this;
    watchdogTimer_ = SetTimer(nullptr, 0, WatchdogMilliseconds, &LiveDialogScript::Watchdog);
    tickTimer_ = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, &LiveDialogScript::Tick);
}

void LiveDialogScript::Stop()
{
    if (tickTimer_)
        KillTimer(nullptr, tickTimer_);
    if (watchdogTimer_)
        KillTimer(nullptr, watchdogTimer_);
    tickTimer_ = watchdogTimer_ = 0;
    if (runningScript == this)
        runningScript = nullptr;
}

void CALLBACK LiveDialogScript::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    LiveDialogScript* script = runningScript;
    if (!script || script->steps_.empty() || !script->dialog_.DialogWindow())
        return;
    const Step step = std::move(script->steps_.front());
    script->steps_.pop_front();
    step(script->dialog_);
}

void CALLBACK LiveDialogScript::Watchdog(HWND, UINT, UINT_PTR, DWORD)
{
    LiveDialogScript* script = runningScript;
    if (!script)
        return;
    script->watchdogFired_ = true;
    script->steps_.clear();
    script->dialog_.CloseDialog(IDCANCEL);
}

void SendDialogCommand(HWND dialog, int id, int code)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

RECT ControlBounds(HWND dialog, HWND control)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
