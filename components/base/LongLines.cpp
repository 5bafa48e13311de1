#include "LongLines.h"

#include <string_view>

namespace {
bool IsBreak(char c) { return c == '\r' || c == '\n'; }

// Where the piece of line that starts at `start` ends: after a blank in its
// second half, else after its last single-byte character.
std::size_t PieceEnd(std::string_view line, std::size_t start)
{
    const std::size_t end = start + LinePieceLength;
    for (std::size_t cut = end; cut > start + LinePieceLength / 2; --cut)
        if (line[cut - 1] == ' ' || line[cut - 1] == '\t')
            return cut;
    for (std::size_t cut = end; cut > start; --cut)
        if (static_cast<unsigned char>(line[cut - 1]) < 0x80)
            return cut;
    return end;
}

void AppendInPieces(std::string& out, std::string_view line)
{
    std::size_t start = 0;
    while (line.size() - start > LinePieceLength) {
        const std::size_t end = PieceEnd(line, start);
        out.append(line.substr(start, end - start));
        out += "\r\n";
        start = end;
    }
    out.append(line.substr(start));
}
} // namespace

std::string BreakLongLines(std::string text)
{
    const std::string_view all(text);
    std::size_t lineStart = 0;
    std::string out;
    bool changed = false;
    while (lineStart < all.size()) {
        std::size_t lineEnd = lineStart;
        while (lineEnd < all.size() && !IsBreak(all[lineEnd]))
            ++lineEnd;
        std::size_t next = lineEnd;
        while (next < all.size() && IsBreak(all[next]))
            ++next;
        const std::string_view line = all.substr(lineStart, lineEnd - lineStart);
        if (line.size() > LongestKeptLine && !changed) {
            out.reserve(all.size() + all.size() / LinePieceLength * 2);
            out.append(all.substr(0, lineStart));
            changed = true;
        }
        if (changed) {
            if (line.size() > LongestKeptLine)
                AppendInPieces(out, line);
            else
                out.append(line);
            out.append(all.substr(lineEnd, next - lineEnd));
        }
        lineStart = next;
    }
    return changed ? out : text;
}
