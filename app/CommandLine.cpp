#include "CommandLine.h"

#include <cstdlib>

namespace {
std::optional<std::vector<std::string>>& Replacement()
{
    static std::optional<std::vector<std::string>> arguments;
    return arguments;
}
}

std::vector<std::string> CommandLineArguments()
{
    if (Replacement())
        return *Replacement();
    std::vector<std::string> arguments;
    for (int i = 1; i < __argc; ++i)
        arguments.emplace_back(__argv[i] ? __argv[i] : "");
    return arguments;
}

void SetCommandLineArguments(std::optional<std::vector<std::string>> arguments)
{
    Replacement() = std::move(arguments);
}
