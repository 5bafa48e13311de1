#pragma once
// A locked global memory block, as the clipboard hands them out, unlocked on
// every way out.

#include <windows.h>

class LockedBlock {
public:
    explicit LockedBlock(HANDLE block) : block_(block), bytes_(block ? GlobalLock(block) : nullptr) {}
    ~LockedBlock()
    {
        if (bytes_)
            GlobalUnlock(block_);
    }
    LockedBlock(const LockedBlock&) = delete;
    LockedBlock& operator=(const LockedBlock&) = delete;
    // Null when the block could not be locked.
    void* Bytes() const { return bytes_; }

private:
    HANDLE block_;
    void* bytes_;
};
