#pragma once
// The program's arguments, which choose the outline the main window starts
// with. Tests start the window as if given arguments of their own.

#include <optional>
#include <string>
#include <vector>

// The arguments after the program's name, split as the system splits a
// command line (a quoted part is one argument, without its quotes).
std::vector<std::string> CommandLineArguments();

// From now on CommandLineArguments gives these; nullopt gives back the
// process's own.
void SetCommandLineArguments(std::optional<std::vector<std::string>> arguments);
