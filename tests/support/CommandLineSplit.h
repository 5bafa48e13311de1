#pragma once
// Splits a command line the way a started program's runtime does, so tests
// can see which arguments a built command line really gives.

#include <string>
#include <vector>

inline std::vector<std::string> SplitCommandLine(const std::string& line)
{
    std::vector<std::string> arguments;
    size_t i = 0;
    // The program name: up to a blank, or between quotes, with no escapes.
    std::string program;
    if (i < line.size() && line[i] == '"') {
        for (++i; i < line.size() && line[i] != '"'; ++i)
            program += line[i];
        if (i < line.size())
            ++i;
    } else {
        for (; i < line.size() && line[i] != ' ' && line[i] != '\t'; ++i)
            program += line[i];
    }
    arguments.push_back(program);
    for (;;) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i >= line.size())
            return arguments;
        std::string argument;
        bool quoted = false;
        while (i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t'))) {
            size_t backslashes = 0;
            while (i < line.size() && line[i] == '\\') {
                ++backslashes;
                ++i;
            }
            if (i < line.size() && line[i] == '"') {
                argument.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) {
                    argument += '"';
                } else if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                    argument += '"';
                    ++i;
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                argument.append(backslashes, '\\');
                if (i < line.size() && backslashes == 0)
                    argument += line[i++];
            }
        }
        arguments.push_back(argument);
    }
}
