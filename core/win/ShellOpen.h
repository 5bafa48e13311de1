#pragma once
// Hands a file, folder or address to the shell's "open" verb. Tests replace
// the shell with a recorder so that nothing is really opened.

#include <functional>
#include <string>

// Returns whether the shell accepted the request; most callers need not look.
bool OpenWithShell(const std::string& target);

using ShellOpenHandler = std::function<bool(const std::string& target)>;
// An empty handler restores the real shell.
void SetShellOpenHandler(ShellOpenHandler handler);
