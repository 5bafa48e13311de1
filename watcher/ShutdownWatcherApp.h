// The watcher's application object: decides whether there is anything to
// watch and runs the dialog when there is.
#pragma once

#include <windows.h>

class CShutdownWatcherApp {
public:
    explicit CShutdownWatcherApp(HINSTANCE instance) : instance_(instance) {}

    // Always false: the program has no message loop of its own and ends once
    // this returns.
    bool InitInstance();

private:
    HINSTANCE instance_;
};
