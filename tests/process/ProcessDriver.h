#pragma once
// Starts the real executables and watches them from outside: their windows,
// their mutexes and their exit codes. Every wait has a bound.

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

using namespace std::chrono_literals;

// The folder holding this test executable; the build puts every program there.
std::string BuildBinFolder();

// Polls the condition until it holds or the bound runs out.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound);

HWND FindTopLevelWindow(const std::string& title, const char* className = nullptr);
bool MutexExists(const std::string& name);

// The text of a dialog's control, e.g. a message box's static text.
std::string DialogItemText(HWND dialog, int id);

class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    bool Start(const std::string& program, const std::string& arguments = "");
    bool WaitForExit(std::chrono::milliseconds bound);
    bool Running() const;
    DWORD ExitCode() const;

private:
    PROCESS_INFORMATION info_{};
};

// A fresh folder under the temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

bool CopyInto(const std::string& source, const std::string& target);
