#include "CaseConversions.h"

namespace {
bool IsUpperLetter(unsigned char c) { return c >= 'A' && c <= 'Z'; }
bool IsLowerLetter(unsigned char c) { return c >= 'a' && c <= 'z'; }

bool IsSeparator(unsigned char c)
{
    return c <= 47 || (c >= 58 && c <= 64) || (c >= 91 && c <= 96) || (c >= 123 && c <= 127);
}

char Upper(char c) { return IsLowerLetter(static_cast<unsigned char>(c)) ? static_cast<char>(c - 'a' + 'A') : c; }
char Lower(char c) { return IsUpperLetter(static_cast<unsigned char>(c)) ? static_cast<char>(c - 'A' + 'a') : c; }

// A linear congruential generator with the constants of the classic C
// library example; the state starts at 1 as that library's does.
std::uint32_t caseRandomState = 1;
}

std::uint32_t NextCaseRandom()
{
    caseRandomState = caseRandomState * 1103515245u + 12345u;
    return (caseRandomState >> 16) & 0x7FFF;
}

std::string ToTitleCase(const std::string& text)
{
    std::string result = text;
    for (size_t at = 0; at < result.size(); ++at) {
        if (at == 0)
            result[at] = Upper(result[at]);
        else
            result[at] = IsSeparator(static_cast<unsigned char>(result[at - 1])) ? Upper(result[at]) : Lower(result[at]);
    }
    return result;
}

std::string ToToggleCase(const std::string& text)
{
    std::string result = text;
    for (char& c : result)
        c = IsUpperLetter(static_cast<unsigned char>(c)) ? Lower(c) : Upper(c);
    return result;
}

std::string ToRandomCase(const std::string& text)
{
    std::string result = text;
    bool upper = false;
    for (char& c : result) {
        c = upper ? Upper(c) : Lower(c);
        upper = NextCaseRandom() % 2 == 1;
    }
    return result;
}
