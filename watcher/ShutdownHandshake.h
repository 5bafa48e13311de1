// The names Quillo and its shutdown watcher agree on. Quillo shows a window
// with this title while it closes; the watcher holds the ready mutex while it
// waits for that window to go, so Quillo can tell the watcher is up.
#pragma once

#include <windows.h>

namespace shutdown_handshake {

inline constexpr const char* kClosingTitle = "Closing Quillo...";
inline constexpr const char* kInstanceMutex = "_DORWICK.MUTEX";
inline constexpr const char* kReadyMutex = "_DORWICK_READY.MUTEX";

// Any top-level window of any class counts: the title is the whole contract.
inline bool ClosingWindowExists()
{
    return FindWindowA(nullptr, kClosingTitle) != nullptr;
}

} // namespace shutdown_handshake
