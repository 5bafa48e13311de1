// For any text and any character widths, the plain-text layout of printing
// ends, places every character once and in order (only line breaks between
// lines), gives every non-empty line at least one character, and keeps every
// line that holds more than one character within its width.
#include "PlainTextLayout.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    // The widths of the lines, then a factor spreading the character widths
    // over 0..15 (zero-width characters included).
    const LineWidths widths{data[0] % 64, data[1] % 64};
    const unsigned factor = data[2];
    const std::string_view text(reinterpret_cast<const char*>(data + 3), size - 3);
    auto width = [factor](char c) { return static_cast<int>((static_cast<unsigned char>(c) * factor) % 16); };
    const MeasureExtents measure = [&](std::string_view run, std::vector<int>& extents) {
        int sum = 0;
        for (char c : run)
            extents.push_back(sum += width(c));
    };

    const std::vector<TextLine> lines = BreakTextLines(text, widths, measure);
    if (lines.empty())
        std::abort();
    std::size_t position = 0;
    bool firstLine = true;
    for (const TextLine& line : lines) {
        // Only a paragraph's first line follows a break, and it must (but
        // the text's first line).
        if (line.start < position)
            std::abort();
        const std::string_view gap = text.substr(position, line.start - position);
        if (firstLine ? (!gap.empty() || !line.firstOfParagraph)
                      : (line.firstOfParagraph != !gap.empty() ||
                         (!gap.empty() && gap != "\r" && gap != "\n" && gap != "\r\n")))
            std::abort();
        firstLine = false;
        const std::string_view content = text.substr(line.start, line.length);
        if (content.find_first_of("\r\n") != std::string_view::npos)
            std::abort();
        // A line of more than one character fits, apart from the blanks it ends with.
        const std::size_t visible = content.find_last_not_of(" \t") + 1;
        int used = 0;
        for (std::size_t i = 0; i < visible && content.size() > 1; ++i)
            used += width(content[i]);
        const int room = line.firstOfParagraph ? widths.firstLine : widths.otherLines;
        if (content.size() > 1 && visible > 1 && used > room)
            std::abort();
        if (!line.firstOfParagraph && line.length == 0)
            std::abort();
        position = line.start + line.length;
    }
    const std::string_view tail = text.substr(position);
    if (!tail.empty() && tail != "\r" && tail != "\n" && tail != "\r\n")
        std::abort();
    const std::vector<std::size_t> pages = PageStarts(lines.size(), static_cast<int>(data[0] % 8) - 2);
    if (pages.empty() || pages.front() != 0 || pages.back() >= lines.size())
        std::abort();
    return 0;
}
