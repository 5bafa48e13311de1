#pragma once
// Quillo's half of the hand-over to its watcher, _Dorwick: the watcher shows a
// closing window while Quillo's windows titled "Closing Quillo..." exist, and
// signals through a named mutex that it runs, so that Quillo may end.

#include <chrono>
#include <string>

inline const char* const WatcherProgramFile = "_Dorwick.exe";
inline const char* const ClosingTitle = "Closing Quillo...";
inline const char* const WatcherReadyMutex = "_DORWICK_READY.MUTEX";

// How long the end of a run waits for the watcher before giving up on it.
inline constexpr std::chrono::milliseconds WatcherReadyBound{10000};
inline constexpr std::chrono::milliseconds WatcherPollInterval{100};

std::string WatcherPath();
bool WatcherFilePresent();

// Starts the watcher from the program's folder and remembers whether it started.
void StartWatcher();
bool WatcherStarted();

// Waits until the watcher has signalled, checking every 100 ms (the first
// check only after 100 ms). Returns at once when no watcher was started, and
// gives up after WatcherReadyBound, so a watcher that never signals cannot
// keep Quillo alive.
void WaitForWatcherReady();

// Polls for the named mutex; true once it exists, false after the bound.
bool WaitForNamedMutex(const std::string& name, std::chrono::milliseconds bound);
