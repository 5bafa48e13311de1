#include "WatcherHandshake.h"

#include "FileHandle.h"
#include "ProgramFolder.h"
#include "ShellOpen.h"

#include <windows.h>

namespace {
bool watcherStarted = false;

bool NamedMutexExists(const std::string& name)
{
    HANDLE mutex = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, name.c_str());
    if (!mutex)
        return false;
    CloseHandle(mutex);
    return true;
}
}

std::string WatcherPath() { return ExeFolder() + WatcherProgramFile; }

bool WatcherFilePresent() { return FileExists(WatcherPath()); }

void StartWatcher() { watcherStarted = OpenWithShell(WatcherPath()); }

bool WatcherStarted() { return watcherStarted; }

bool WaitForNamedMutex(const std::string& name, std::chrono::milliseconds bound)
{
    for (auto waited = std::chrono::milliseconds{0}; waited < bound;) {
        Sleep(static_cast<DWORD>(WatcherPollInterval.count()));
        waited += WatcherPollInterval;
        if (NamedMutexExists(name))
            return true;
    }
    return false;
}

void WaitForWatcherReady()
{
    if (watcherStarted)
        WaitForNamedMutex(WatcherReadyMutex, WatcherReadyBound);
}
