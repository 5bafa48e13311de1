#include "ProgramFolder.h"

#include <windows.h>

#include <vector>

std::string ExeFolder()
{
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size())
            break;
        path.resize(path.size() * 2);
    }
    std::string folder = path.data();
    return folder.substr(0, folder.find_last_of('\\') + 1);
}
