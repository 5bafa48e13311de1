#include "TextUtils.h"

#include "AnsiStrings.h"

const std::string& ResStr(const std::string& text) { return text; }

std::string AnsiUpperFirstChar(const std::string& text)
{
    std::string result = AnsiLowerCase(text);
    if (!result.empty())
        result = AnsiUpperCase(result.substr(0, 1)) + result.substr(1);
    return result;
}

std::string DropT(const std::string& className)
{
    if (className.size() > 1 && (className[0] == 'T' || className[0] == 't'))
        return className.substr(1);
    return className;
}

std::string MinimizeText(const std::string& text, const std::function<bool(const std::string&)>& fits)
{
    if (fits(text))
        return text;
    for (std::size_t keep = text.size(); keep-- > 0;) {
        std::string candidate = text.substr(0, keep) + "...";
        if (fits(candidate))
            return candidate;
    }
    return std::string();
}

namespace {

bool Separates(char c) { return static_cast<unsigned char>(c) <= ' '; }

} // namespace

std::string GetParamStr(const std::string& commandLine, std::size_t& position)
{
    while (position < commandLine.size() && Separates(commandLine[position]))
        ++position;
    std::string argument;
    bool quoted = false;
    for (; position < commandLine.size(); ++position) {
        const char c = commandLine[position];
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && Separates(c))
            break;
        else
            argument += c;
    }
    return argument;
}

std::vector<std::string> SplitArguments(const std::string& commandLine)
{
    std::vector<std::string> arguments;
    std::size_t position = 0;
    for (;;) {
        while (position < commandLine.size() && Separates(commandLine[position]))
            ++position;
        if (position >= commandLine.size())
            return arguments;
        arguments.push_back(GetParamStr(commandLine, position));
    }
}

int ParamCountFromCommandLine(const std::string& commandLine)
{
    const auto count = static_cast<int>(SplitArguments(commandLine).size());
    return count > 0 ? count - 1 : 0;
}

std::string ParamStrFromCommandLine(const std::string& commandLine, int index)
{
    const std::vector<std::string> arguments = SplitArguments(commandLine);
    if (index < 0 || static_cast<std::size_t>(index) >= arguments.size())
        return std::string();
    return arguments[static_cast<std::size_t>(index)];
}

void SplitCommandLine(const std::string& commandLine, std::string& program, std::string& parameters)
{
    const std::vector<std::string> arguments = SplitArguments(commandLine);
    program = arguments.empty() ? std::string() : arguments.front();
    parameters.clear();
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        if (!parameters.empty())
            parameters += ' ';
        const bool blank = arguments[i].find(' ') != std::string::npos;
        parameters += blank ? '"' + arguments[i] + '"' : arguments[i];
    }
}
