#include "PlainTextLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// Every character one unit wide, so widths count characters.
const MeasureExtents EachOneWide = [](std::string_view run, std::vector<int>& extents) {
    for (std::size_t i = 0; i < run.size(); ++i)
        extents.push_back(static_cast<int>(i) + 1);
};

std::vector<std::string> Lines(std::string_view text, LineWidths widths)
{
    std::vector<std::string> result;
    for (const TextLine& line : BreakTextLines(text, widths, EachOneWide))
        result.emplace_back(text.substr(line.start, line.length));
    return result;
}
} // namespace

TEST(PlainTextLayout, BreaksAtBlanksThenAnywhereAndAtEveryKindOfLineBreak)
{
    struct Case {
        std::string text;
        LineWidths widths;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {10, 10}, {""}},
        {"one two three", {20, 20}, {"one two three"}},
        // Blanks hang at the end of the line they wrap.
        {"one two three", {7, 7}, {"one two ", "three"}},
        {"one   two", {3, 3}, {"one   ", "two"}},
        // A word wider than the line is cut; a character wider than the line still goes.
        {"abcdefgh ij", {3, 3}, {"abc", "def", "gh ", "ij"}},
        {"xyz", {0, 0}, {"x", "y", "z"}},
        // The first line of each paragraph has its own room.
        {"aa bb cc\ndd ee", {2, 5}, {"aa ", "bb cc", "dd ", "ee"}},
        {"a\r\nb\rc\nd", {9, 9}, {"a", "b", "c", "d"}},
        {"a\r\n\r\nb\r\n", {9, 9}, {"a", "", "b"}},
        {"\n", {9, 9}, {""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Lines(c.text, c.widths), c.lines) << c.text;
}

TEST(PlainTextLayout, MarksParagraphStartsAndCutsPages)
{
    const auto lines = BreakTextLines("aa bb\ncc", {3, 3}, EachOneWide);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(lines[0].firstOfParagraph);
    EXPECT_FALSE(lines[1].firstOfParagraph);
    EXPECT_TRUE(lines[2].firstOfParagraph);

    EXPECT_EQ(PageStarts(0, 5), (std::vector<std::size_t>{0}));
    EXPECT_EQ(PageStarts(10, 5), (std::vector<std::size_t>{0, 5}));
    EXPECT_EQ(PageStarts(11, 5), (std::vector<std::size_t>{0, 5, 10}));
    // A line taller than the page still gets a page of its own.
    EXPECT_EQ(PageStarts(2, 0), (std::vector<std::size_t>{0, 1}));
}

TEST(PlainTextLayout, ALongParagraphIsMeasuredInWindowsNotWhole)
{
    std::size_t longest = 0;
    const MeasureExtents counting = [&](std::string_view run, std::vector<int>& extents) {
        longest = std::max(longest, run.size());
        EachOneWide(run, extents);
    };
    const std::string text(200000, 'w');
    const auto lines = BreakTextLines(text, {100, 100}, counting);
    EXPECT_EQ(lines.size(), 2000u);
    EXPECT_LE(longest, 4096u);
}
