#include "WindowWork.h"

#include "Application.h"
#include "Form.h"
#include "Main.h"

namespace {
int runningWork = 0;
}

bool WindowWorkRunning() { return runningWork > 0; }

TWindowWork::TWindowWork(const std::string& text) : scope_(text)
{
    ++runningWork;
    disabled_ = DisableOtherWindows(nullptr);
    // A main window hidden in the tray is disabled all the same.
    if (Main && Main->Handle() && IsWindowEnabled(Main->Handle())) {
        EnableWindow(Main->Handle(), FALSE);
        disabled_.push_back(Main->Handle());
    }
}

TWindowWork::~TWindowWork()
{
    for (HWND window : disabled_) {
        if (IsWindow(window))
            EnableWindow(window, TRUE);
    }
    --runningWork;
}

void TWindowWork::Step(long long done, long long total)
{
    const long long share = total > 0 ? done * 100 / total : 0;
    if (share != shownShare_) {
        shownShare_ = share;
        scope_.SetProgress(done, total);
    }
    // Ten times a second: each round repaints what changed, which under
    // Wine costs milliseconds.
    constexpr DWORD PumpInterval = 100;
    const DWORD now = GetTickCount();
    if (now - lastPump_ < PumpInterval)
        return;
    lastPump_ = now;
    Application.ProcessMessages();
}
