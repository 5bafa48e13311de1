// Breaking long lines keeps every character in its order, adds nothing but
// CR LF pairs, leaves no line longer than the longest kept, and leaves text
// without such a line as it was. The input is repeated past that length, so
// that short inputs make long lines.
#include "LongLines.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {
bool IsBreak(char c) { return c == '\r' || c == '\n'; }

std::size_t LongestLine(const std::string& text)
{
    std::size_t longest = 0;
    std::size_t run = 0;
    for (const char c : text) {
        run = IsBreak(c) ? 0 : run + 1;
        longest = std::max(longest, run);
    }
    return longest;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const std::string piece(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string text;
    const std::size_t wanted = (data[0] % 4) * LongestKeptLine;
    while (!piece.empty() && text.size() <= wanted)
        text += piece;

    const std::string broken = BreakLongLines(text);

    std::size_t at = 0;
    for (std::size_t i = 0; i < broken.size(); ++i) {
        if (at < text.size() && broken[i] == text[at]) {
            ++at;
            continue;
        }
        // Anything added is a CR LF pair.
        if (broken[i] != '\r' || i + 1 >= broken.size() || broken[i + 1] != '\n')
            std::abort();
        ++i;
    }
    if (at != text.size())
        std::abort();
    if (LongestLine(broken) > LongestKeptLine)
        std::abort();
    if (LongestLine(text) <= LongestKeptLine && broken != text)
        std::abort();
    return 0;
}
