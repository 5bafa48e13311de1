#include "MailtoCommand.h"

#include <cstdio>

namespace {
bool NeedsEncoding(unsigned char c) { return c < 0x20 || c == 0x7F || c == '"'; }

// Whether the program's argument rules see position `end` of the command
// inside double quotes.
bool InsideQuotes(const std::string& command, size_t end)
{
    bool inside = false;
    size_t backslashes = 0;
    for (size_t i = 0; i < end; ++i) {
        const char c = command[i];
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"' && backslashes % 2 == 0)
            inside = !inside;
        backslashes = 0;
    }
    return inside;
}

// Backslashes right before a closing quote would escape it: doubled, they
// stand for themselves.
std::string BeforeClosingQuote(std::string text)
{
    size_t trailing = 0;
    while (trailing < text.size() && text[text.size() - 1 - trailing] == '\\')
        ++trailing;
    text.append(trailing, '\\');
    return text;
}

std::string Quoted(const std::string& encoded) { return '"' + BeforeClosingQuote(encoded) + '"'; }
} // namespace

std::string EncodeLinkForCommand(const std::string& link)
{
    std::string encoded;
    encoded.reserve(link.size());
    for (const char c : link) {
        if (!NeedsEncoding(static_cast<unsigned char>(c))) {
            encoded += c;
            continue;
        }
        char escape[4];
        std::snprintf(escape, sizeof escape, "%%%02X", static_cast<unsigned char>(c));
        encoded += escape;
    }
    return encoded;
}

std::string MailtoCommandLine(const std::string& command, const std::string& link)
{
    const std::string encoded = EncodeLinkForCommand(link);
    const size_t at = command.find("%1");
    if (at == std::string::npos)
        return command + (command.empty() ? "" : " ") + Quoted(encoded);
    const std::string before = command.substr(0, at);
    const std::string after = command.substr(at + 2);
    if (!InsideQuotes(command, at))
        return before + Quoted(encoded) + after;
    const bool quoteFollows = !after.empty() && after.front() == '"';
    return before + (quoteFollows ? BeforeClosingQuote(encoded) : encoded) + after;
}
