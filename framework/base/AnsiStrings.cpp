#include "AnsiStrings.h"

#include "Exceptions.h"

#include <algorithm>
#include <array>

namespace {

// Where the folder part of a path ends: after the last backslash or drive colon.
constexpr const char* FolderDelimiters = "\\:";
// Same, but the extension dot counts as well, so a dot in a folder name is
// never mistaken for the file's extension.
constexpr const char* ExtensionDelimiters = ".\\:";

std::size_t LastDelimiter(const std::string& path, const char* delimiters)
{
    return path.find_last_of(delimiters);
}

// Index of the extension dot, or npos when the file name has none.
std::size_t ExtensionDot(const std::string& path)
{
    const std::size_t i = LastDelimiter(path, ExtensionDelimiters);
    return i != std::string::npos && path[i] == '.' ? i : std::string::npos;
}

using CaseTable = std::array<unsigned char, 256>;

constexpr CaseTable MakeUpperTable()
{
    CaseTable table{};
    for (int c = 0; c < 256; ++c)
        table[c] = static_cast<unsigned char>(c);
    for (int c = 'a'; c <= 'z'; ++c)
        table[c] = static_cast<unsigned char>(c - 0x20);
    // 0xF7 is the division sign, not a letter.
    for (int c = 0xE0; c <= 0xFE; ++c)
        if (c != 0xF7)
            table[c] = static_cast<unsigned char>(c - 0x20);
    // The letters code page 1252 placed in the 0x80 block (s and z caron, oe,
    // y diaeresis). Sharp s and micro have no single-byte capital and stay.
    table[0x9A] = 0x8A;
    table[0x9C] = 0x8C;
    table[0x9E] = 0x8E;
    table[0xFF] = 0x9F;
    return table;
}

// Lowercase is the inverse of the uppercase pairs, so both always agree.
constexpr CaseTable MakeLowerTable(const CaseTable& upper)
{
    CaseTable table{};
    for (int c = 0; c < 256; ++c)
        table[c] = static_cast<unsigned char>(c);
    for (int c = 0; c < 256; ++c)
        if (upper[c] != c)
            table[upper[c]] = static_cast<unsigned char>(c);
    return table;
}

constexpr CaseTable UpperTable = MakeUpperTable();
constexpr CaseTable LowerTable = MakeLowerTable(UpperTable);

unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

std::string MapBytes(std::string text, const CaseTable& table)
{
    for (char& c : text)
        c = static_cast<char>(table[Byte(c)]);
    return text;
}

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 0x20) : c; }
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c; }

int Sign(int value) { return (value > 0) - (value < 0); }

int DigitValue(char c, int base)
{
    int digit = -1;
    if (c >= '0' && c <= '9')
        digit = c - '0';
    else if (c >= 'a' && c <= 'f')
        digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        digit = c - 'A' + 10;
    return digit < base ? digit : -1;
}

bool IsBlank(char c) { return Byte(c) <= ' '; }

} // namespace

std::string ExtractFileName(const std::string& path)
{
    const std::size_t i = LastDelimiter(path, FolderDelimiters);
    return i == std::string::npos ? path : path.substr(i + 1);
}

std::string ExtractFilePath(const std::string& path)
{
    const std::size_t i = LastDelimiter(path, FolderDelimiters);
    return i == std::string::npos ? std::string() : path.substr(0, i + 1);
}

std::string ExtractFileDir(const std::string& path)
{
    std::size_t i = LastDelimiter(path, FolderDelimiters);
    if (i == std::string::npos)
        return std::string();
    // Drop the separator unless it is a root's: "C:\" and "\" stay as they are.
    if (i > 0 && path[i] == '\\' && path[i - 1] != '\\' && path[i - 1] != ':')
        --i;
    return path.substr(0, i + 1);
}

std::string ExtractFileExt(const std::string& path)
{
    const std::size_t dot = ExtensionDot(path);
    return dot == std::string::npos ? std::string() : path.substr(dot);
}

std::string ChangeFileExt(const std::string& path, const std::string& extension)
{
    return path.substr(0, ExtensionDot(path)) + extension;
}

std::string IncludeTrailingBackslash(const std::string& path)
{
    return !path.empty() && path.back() == '\\' ? path : path + '\\';
}

std::string ExcludeTrailingBackslash(const std::string& path)
{
    return !path.empty() && path.back() == '\\' ? path.substr(0, path.size() - 1) : path;
}

std::string AnsiUpperCase(const std::string& text) { return MapBytes(text, UpperTable); }

std::string AnsiLowerCase(const std::string& text) { return MapBytes(text, LowerTable); }

std::string UpperCase(const std::string& text)
{
    std::string result = text;
    std::transform(result.begin(), result.end(), result.begin(), AsciiUpper);
    return result;
}

std::string LowerCase(const std::string& text)
{
    std::string result = text;
    std::transform(result.begin(), result.end(), result.begin(), AsciiLower);
    return result;
}

int AnsiCompareText(const std::string& a, const std::string& b)
{
    // Folding to lowercase rather than uppercase keeps "_" and the other
    // characters between 'Z' and 'a' sorting before the letters.
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const int difference = LowerTable[Byte(a[i])] - LowerTable[Byte(b[i])];
        if (difference != 0)
            return Sign(difference);
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

bool SameText(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && AnsiCompareText(a, b) == 0;
}

int AnsiCompareStr(const std::string& a, const std::string& b)
{
    // std::string compares its chars as unsigned bytes.
    return Sign(a.compare(b));
}

std::string IntToStr(int value) { return std::to_string(value); }

std::string IntToStr(std::int64_t value) { return std::to_string(value); }

bool TryStrToInt(const std::string& text, int& value)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (text.compare(i, 1, "$") == 0) {
        base = 16;
        i += 1;
    } else if (text.compare(i, 2, "0x") == 0 || text.compare(i, 2, "0X") == 0) {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        return false;

    const std::uint64_t limit = base == 16 ? 0xFFFFFFFFu : negative ? 0x80000000u : 0x7FFFFFFFu;
    std::uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0)
            return false;
        magnitude = magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        if (magnitude > limit)
            return false;
    }
    std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
    if (negative)
        bits = 0u - bits;
    value = static_cast<std::int32_t>(bits);
    return true;
}

int StrToInt(const std::string& text)
{
    int value = 0;
    if (!TryStrToInt(text, value))
        throw EConvertError("'" + text + "' is not a valid integer value");
    return value;
}

int StrToIntDef(const std::string& text, int defaultValue)
{
    int value = 0;
    return TryStrToInt(text, value) ? value : defaultValue;
}

std::string TrimLeft(const std::string& text)
{
    const auto first = std::find_if_not(text.begin(), text.end(), IsBlank);
    return std::string(first, text.end());
}

std::string TrimRight(const std::string& text)
{
    const auto last = std::find_if_not(text.rbegin(), text.rend(), IsBlank);
    return std::string(text.begin(), last.base());
}

std::string Trim(const std::string& text) { return TrimLeft(TrimRight(text)); }

std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to)
{
    if (from.empty())
        return text;
    std::string result;
    std::size_t start = 0;
    for (std::size_t hit = text.find(from); hit != std::string::npos; hit = text.find(from, start)) {
        result.append(text, start, hit - start).append(to);
        start = hit + from.size();
    }
    return result.append(text, start, std::string::npos);
}
