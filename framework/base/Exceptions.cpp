#include "Exceptions.h"

void Abort() { throw EAbort(); }

std::string FormatMessageText(const std::string& pattern, const std::string& argument)
{
    std::string result;
    result.reserve(pattern.size() + argument.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's') {
            result += argument;
            ++i;
        } else {
            result += pattern[i];
        }
    }
    return result;
}
