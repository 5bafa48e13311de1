#include "Win32Errors.h"

#include "AnsiStrings.h"

void RaiseWin32Error(DWORD code)
{
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = text ? TrimRight(text) : std::string();
    if (text)
        LocalFree(text);
    throw EWin32Error("System Error.  Code: " + std::to_string(code) + ".\n" + message, code);
}

bool CheckWin32(bool result)
{
    if (!result)
        RaiseWin32Error(GetLastError());
    return result;
}
