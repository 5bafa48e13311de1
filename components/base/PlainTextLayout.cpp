#include "PlainTextLayout.h"

#include <algorithm>

namespace {
// No printable line is wider than this many characters; measuring the whole
// rest of a long paragraph for every line would make breaking quadratic.
constexpr std::size_t MeasureWindow = 2048;
// The first probe; it doubles while the whole probe fits.
constexpr std::size_t FirstProbe = 128;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The length of the line that starts run (a paragraph's rest, with no break in it).
std::size_t FitLine(std::string_view run, int width, const MeasureExtents& measure, std::vector<int>& extents)
{
    std::size_t fits = 0;
    for (std::size_t probeSize = FirstProbe;; probeSize *= 2) {
        const std::string_view probe = run.substr(0, std::min({run.size(), probeSize, MeasureWindow}));
        extents.clear();
        measure(probe, extents);
        // A measure that answers short counts the unmeasured characters as too wide.
        fits = 0;
        while (fits < probe.size() && fits < extents.size() && extents[fits] <= width)
            ++fits;
        if (fits < probe.size() || probe.size() == run.size() || probe.size() == MeasureWindow)
            break;
    }
    if (fits == run.size())
        return fits;
    // Blanks hang past the margin: a line never starts with the blanks it wrapped at.
    std::size_t end = fits;
    if (end < run.size() && IsBlank(run[end])) {
        while (end < run.size() && IsBlank(run[end]))
            ++end;
        return end;
    }
    std::size_t blank = fits;
    while (blank > 0 && !IsBlank(run[blank - 1]))
        --blank;
    if (blank > 0)
        return blank;
    return std::max<std::size_t>(fits, 1);
}
}

std::vector<TextLine> BreakTextLines(std::string_view text, LineWidths widths, const MeasureExtents& measure)
{
    std::vector<TextLine> lines;
    std::vector<int> extents;
    std::size_t position = 0;
    while (true) {
        std::size_t paragraphEnd = text.find_first_of("\r\n", position);
        if (paragraphEnd == std::string_view::npos)
            paragraphEnd = text.size();
        bool first = true;
        do {
            const std::string_view rest = text.substr(position, paragraphEnd - position);
            const std::size_t length =
                rest.empty() ? 0 : FitLine(rest, first ? widths.firstLine : widths.otherLines, measure, extents);
            lines.push_back(TextLine{position, length, first});
            position += length;
            first = false;
        } while (position < paragraphEnd);
        if (paragraphEnd == text.size())
            break;
        // CR LF is one break; a lone CR or LF is one too.
        position = paragraphEnd + 1;
        if (text[paragraphEnd] == '\r' && position < text.size() && text[position] == '\n')
            ++position;
        // A break that ends the text ends the last paragraph: no empty line after it.
        if (position == text.size())
            break;
    }
    return lines;
}

std::vector<std::size_t> PageStarts(std::size_t lineCount, int linesPerPage)
{
    const std::size_t perPage = static_cast<std::size_t>(std::max(linesPerPage, 1));
    std::vector<std::size_t> starts{0};
    for (std::size_t start = perPage; start < lineCount; start += perPage)
        starts.push_back(start);
    return starts;
}
