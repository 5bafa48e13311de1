#pragma once
// Lays plain text out in lines no wider than a page and the lines out in
// pages, for printing text that the rich edit control cannot lay out itself.
// The widths come from whoever draws (a printer's font), so the layout itself
// knows no device.

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

// One line: a run of the source text. Between two lines lie only the line
// break that ended a paragraph (CR, LF or CR LF), or nothing where a long
// paragraph was wrapped; so every character of the text is placed once, in
// order. The blanks at which a line wraps stay at its end (invisible there).
struct TextLine {
    std::size_t start = 0;
    std::size_t length = 0;
    // The first line of a paragraph, which is indented differently.
    bool firstOfParagraph = true;
};

// Fills extents with the width of each prefix of run: extents[i] is the width
// of run's first i + 1 characters. The widths never shrink as i grows.
using MeasureExtents = std::function<void(std::string_view run, std::vector<int>& extents)>;

struct LineWidths {
    // Room for the first line of a paragraph, and for the lines after it.
    int firstLine = 0;
    int otherLines = 0;
};

// Breaks text into lines. A line that fits ends at its paragraph's end;
// otherwise after the last blank that fits, else after as many characters as
// fit, and at least one, so every line makes progress whatever the widths.
std::vector<TextLine> BreakTextLines(std::string_view text, LineWidths widths, const MeasureExtents& measure);

// Cuts the lines into pages of linesPerPage lines (at least one per page);
// each page is the index of its first line. No lines give one empty page.
std::vector<std::size_t> PageStarts(std::size_t lineCount, int linesPerPage);
