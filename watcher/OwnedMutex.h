// A named mutex created owned by the calling thread, released and closed when
// the object goes, on every path.
#pragma once

#include <windows.h>

class OwnedMutex {
public:
    // Asks for ownership at creation. When the name already exists the system
    // hands out the existing mutex without ownership; AlreadyExisted() tells.
    explicit OwnedMutex(const char* name)
        : handle_(CreateMutexA(nullptr, TRUE, name))
    {
        alreadyExisted_ = GetLastError() == ERROR_ALREADY_EXISTS;
        owned_ = handle_ != nullptr && !alreadyExisted_;
    }

    OwnedMutex(const OwnedMutex&) = delete;
    OwnedMutex& operator=(const OwnedMutex&) = delete;

    ~OwnedMutex() { Reset(); }

    bool AlreadyExisted() const { return alreadyExisted_; }

    // Releases (when owned) and closes now; the destructor then does nothing.
    void Reset()
    {
        if (owned_)
            ReleaseMutex(handle_);
        owned_ = false;
        if (handle_)
            CloseHandle(handle_);
        handle_ = nullptr;
    }

private:
    HANDLE handle_;
    bool alreadyExisted_ = false;
    bool owned_ = false;
};
