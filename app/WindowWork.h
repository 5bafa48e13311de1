#pragma once
// A long piece of work of the main window (an export, Insert File, a print):
// the status bar's text with the bar moving and the hourglass, pending
// messages let through ten times a second so that the window keeps painting,
// and every window of the program disabled meanwhile as under a modal
// dialog, since commands that still arrive (the tray menu's, say) must not
// change or free what the work reads; the keys and clicks the messages let
// through are dropped (TProgressScope holds the input). The window refuses
// to close while one runs.

#include "Progress.h"

#include <windows.h>

#include <string>
#include <vector>

// True while a piece of work of the main window runs.
bool WindowWorkRunning();

class TWindowWork {
public:
    explicit TWindowWork(const std::string& text);
    ~TWindowWork();
    TWindowWork(const TWindowWork&) = delete;
    TWindowWork& operator=(const TWindowWork&) = delete;

    // Moves the bar to the share done when that share changes, and lets
    // pending messages through when a tenth of a second has passed.
    void Step(long long done, long long total);

private:
    TProgressScope scope_;
    std::vector<HWND> disabled_;
    long long shownShare_ = 0;
    // When messages last went through: a round per step would cost more
    // than the work itself.
    DWORD lastPump_ = 0;
};
