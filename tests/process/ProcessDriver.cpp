#include "ProcessDriver.h"

#include <thread>
#include <vector>

std::string BuildBinFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound)
{
    const auto deadline = std::chrono::steady_clock::now() + bound;
    for (;;) {
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(10ms);
    }
}

HWND FindTopLevelWindow(const std::string& title, const char* className)
{
    return FindWindowA(className, title.c_str());
}

bool MutexExists(const std::string& name)
{
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, name.c_str());
    if (!mutex)
        return false;
    CloseHandle(mutex);
    return true;
}

std::string DialogItemText(HWND dialog, int id)
{
    char text[1024] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

ChildProcess::~ChildProcess()
{
    if (Running())
        TerminateProcess(info_.hProcess, 1);
    if (info_.hProcess)
        CloseHandle(info_.hProcess);
    if (info_.hThread)
        CloseHandle(info_.hThread);
}

bool ChildProcess::Start(const std::string& program, const std::string& arguments)
{
    std::string commandLine = "\"" + program + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    return CreateProcessA(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info_) != 0;
}

bool ChildProcess::WaitForExit(std::chrono::milliseconds bound)
{
    return info_.hProcess &&
           WaitForSingleObject(info_.hProcess, static_cast<DWORD>(bound.count())) == WAIT_OBJECT_0;
}

bool ChildProcess::Running() const
{
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD ChildProcess::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    if (info_.hProcess)
        GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

TempFolder::TempFolder()
{
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    for (unsigned attempt = GetTickCount();; ++attempt) {
        path_ = std::string(base) + "quillo-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(attempt);
        if (CreateDirectoryA(path_.c_str(), nullptr))
            break;
    }
}

static void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

TempFolder::~TempFolder() { RemoveTree(path_); }

bool CopyInto(const std::string& source, const std::string& target)
{
    return CopyFileA(source.c_str(), target.c_str(), FALSE) != 0;
}
