// Entry point of _Dorwick.exe, the companion Quillo starts while it closes.
#include "ShutdownWatcherApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    try {
        CShutdownWatcherApp app(instance);
        app.InitInstance();
    } catch (...) {
        // Ends quietly like every other path; the mutexes were released as
        // the stack unwound.
    }
    return 0;
}
