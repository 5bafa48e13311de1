#pragma once
// Finds processes started by somebody else (the watcher is started by Quillo,
// not by the test) and keeps a handle to watch them end.

#include <windows.h>

#include <chrono>
#include <string>

class ProcessWatch {
public:
    ProcessWatch() = default;
    ProcessWatch(const ProcessWatch&) = delete;
    ProcessWatch& operator=(const ProcessWatch&) = delete;
    ~ProcessWatch();

    // Attaches to the first running process whose executable has this name.
    bool AttachByName(const std::string& exeName);
    bool Attached() const { return handle_ != nullptr; }
    bool WaitForExit(std::chrono::milliseconds bound);
    DWORD ExitCode() const;

private:
    HANDLE handle_ = nullptr;
};

bool ProcessRunning(const std::string& exeName);
