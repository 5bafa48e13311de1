#include "ProcessList.h"

#include <tlhelp32.h>

namespace {
DWORD FindProcessId(const std::string& exeName)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    DWORD found = 0;
    for (BOOL more = Process32First(snapshot, &entry); more && !found; more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, exeName.c_str()) == 0)
            found = entry.th32ProcessID;
    }
    CloseHandle(snapshot);
    return found;
}
}

ProcessWatch::~ProcessWatch()
{
    if (handle_)
        CloseHandle(handle_);
}

bool ProcessWatch::AttachByName(const std::string& exeName)
{
    const DWORD id = FindProcessId(exeName);
    if (!id)
        return false;
    handle_ = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, id);
    return handle_ != nullptr;
}

bool ProcessWatch::WaitForExit(std::chrono::milliseconds bound)
{
    return handle_ && WaitForSingleObject(handle_, static_cast<DWORD>(bound.count())) == WAIT_OBJECT_0;
}

DWORD ProcessWatch::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    if (handle_)
        GetExitCodeProcess(handle_, &code);
    return code;
}

bool ProcessRunning(const std::string& exeName) { return FindProcessId(exeName) != 0; }
