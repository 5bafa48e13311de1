#pragma once
// A handle of the kernel's objects (a file, a process), closed on every way
// out. Both null and INVALID_HANDLE_VALUE mean none: the calls that make
// these handles answer a failure with one or the other.

#include <windows.h>

class KernelHandle {
public:
    explicit KernelHandle(HANDLE handle = nullptr) : handle_(handle) {}
    ~KernelHandle() { Close(); }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;

    // Takes handle in place of the one held, which is closed.
    void Reset(HANDLE handle)
    {
        Close();
        handle_ = handle;
    }

    bool Valid() const { return handle_ && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    // Closes the handle now; false when the system reported a failure (for
    // a file written through it, the last bytes may not have been stored).
    bool Close()
    {
        if (!Valid())
            return true;
        const bool closed = CloseHandle(handle_) != FALSE;
        handle_ = nullptr;
        return closed;
    }

private:
    HANDLE handle_;
};
