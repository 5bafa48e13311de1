#include "ShellOpen.h"

#include <windows.h>
#include <shellapi.h>

namespace {
ShellOpenHandler& Handler()
{
    static ShellOpenHandler handler;
    return handler;
}
}

void SetShellOpenHandler(ShellOpenHandler handler) { Handler() = std::move(handler); }

bool OpenWithShell(const std::string& target)
{
    if (Handler())
        return Handler()(target);
    SHELLEXECUTEINFOA request{};
    request.cbSize = sizeof request;
    // A failed open is silent: the shell must not put up a box of its own.
    request.fMask = SEE_MASK_FLAG_NO_UI;
    request.lpVerb = "open";
    request.lpFile = target.c_str();
    request.nShow = SW_SHOWNORMAL;
    return ShellExecuteExA(&request) != FALSE;
}
