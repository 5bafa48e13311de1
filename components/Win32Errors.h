#pragma once
// The framework's Windows error, with the system's text for the code.

#include <windows.h>

#include "Exceptions.h"

class EWin32Error : public Exception {
public:
    EWin32Error(const std::string& message, DWORD code) : Exception(message), code_(code) {}
    DWORD ErrorCode() const { return code_; }

private:
    DWORD code_;
};

[[noreturn]] void RaiseWin32Error(DWORD code);
// Raises the last error when `result` is false; gives `result` back.
bool CheckWin32(bool result);
