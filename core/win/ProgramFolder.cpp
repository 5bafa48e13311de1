#include "ProgramFolder.h"

#include <windows.h>

#include <vector>

std::string ExePath()
{
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size())
            break;
        path.resize(path.size() * 2);
    }
    return path.data();
}

std::string ExeFolder()
{
    const std::string path = ExePath();
    return path.substr(0, path.find_last_of('\\') + 1);
}
