// Lines too long for the rich edit control to wrap come in pieces; every
// other text stays as it is.
#include "LongLines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

std::string WithoutBreaks(std::string text)
{
    std::erase(text, '\r');
    std::erase(text, '\n');
    return text;
}
} // namespace

TEST(LongLines, KeepsLinesUpToTheLongestKept)
{
    const std::string text = "short\r\n" + std::string(LongestKeptLine, 'x') + "\nlast\r";
    EXPECT_EQ(text, BreakLongLines(text));
}

TEST(LongLines, CutsALongerLineAfterBlanksKeepingEveryCharacter)
{
    std::string words;
    while (words.size() <= 3 * LongestKeptLine)
        words += "word" + std::to_string(words.size() % 97) + " ";
    const std::string text = "first\n" + words + "\r\nlast";

    const std::string broken = BreakLongLines(text);

    EXPECT_EQ(WithoutBreaks(text), WithoutBreaks(broken));
    const std::vector<std::string> lines = Lines(broken.substr(broken.find('\n') + 1));
    ASSERT_GT(lines.size(), 3 * LongestKeptLine / LinePieceLength);
    for (std::size_t i = 0; i + 2 < lines.size(); ++i) {
        EXPECT_LE(lines[i].size(), LinePieceLength);
        EXPECT_EQ(' ', lines[i].back());
    }
    EXPECT_EQ("last", lines.back());
}

TEST(LongLines, NeverCutsAfterTheFirstByteOfAPair)
{
    // Double-byte characters whose second byte is ASCII.
    std::string line;
    while (line.size() <= LongestKeptLine)
        line += "\x82\x41";

    for (const std::string& piece : Lines(BreakLongLines(line))) {
        ASSERT_FALSE(piece.empty());
        EXPECT_LT(static_cast<unsigned char>(piece.back()), 0x80);
    }
}
