// The screen before the rich edit control's RTF reader: shapes the control
// overruns (each one ended or froze it) are refused, real RTF passes.
#include "RtfReaderLimits.h"

#include <gtest/gtest.h>

#include <string>

namespace {
std::string Repeated(const std::string& piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

std::string Groups(int depth) { return "{\\rtf1 " + Repeated("{", depth - 1) + "x" + Repeated("}", depth); }

std::string Row(int cellx, int cells)
{
    return "\\trowd" + Repeated("\\cellx1000", cellx) + " " + Repeated("\\intbl x\\cell ", cells) + "\\row ";
}
} // namespace

TEST(RtfReaderLimits, RefusesWhatTheControlOverrunsAndPassesRealRtf)
{
    struct Case {
        const char* what;
        std::string bytes;
        bool passes;
    };
    const Case cases[] = {
        {"styled text", "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}{\\b Bold}\\par plain}", true},
        {"not RTF at all", std::string(3000, 'a'), true},
        {"a table of two rows", "{\\rtf1 " + Row(3, 3) + Row(3, 3) + "}", true},
        {"rows that take their definition from the first", "{\\rtf1 " + Row(2, 2) + Repeated("\\intbl a\\cell b\\cell\\row ", 3) + "}", true},
        {"cells with no positions", "{\\rtf1 " + Row(0, 80) + "}", true},
        {"64 cells", "{\\rtf1 " + Row(64, 64) + "}", true},
        {"a nested table", "{\\rtf1\\trowd\\cellx4000 \\intbl a\\itap2 b\\nestcell{\\*\\nesttableprops\\trowd\\cellx2000\\nestrow}"
                           "\\itap1 c\\cell\\row}", true},
        {"a table two levels deep at the start", "{\\rtf1\\pard\\intbl\\itap3 a\\nestcell{\\*\\nesttableprops\\trowd\\cellx100"
                                                   "\\nestrow}\\pard\\intbl\\itap2 b\\nestcell{\\*\\nesttableprops\\trowd"
                                                   "\\cellx200\\nestrow}\\pard\\intbl\\itap1 c\\cell\\trowd\\cellx300\\row}", true},
        {"32 groups deep", Groups(32), true},
        {"a 32-letter control word with ten digits", "{\\rtf1 \\" + std::string(32, 'q') + "-1234567890 x}", true},
        {"bytes after the document", "{\\rtf1 x}\\" + std::string(3000, 'a'), true},
        {"the one-row table of 2,000 cells", "{\\rtf1\\trowd" + Repeated("\\cellx99999999", 2000) +
                                                 Repeated("\\intbl x\\cell", 2000) + "\\row}", false},
        {"more cells than positions", "{\\rtf1 " + Row(1, 2) + "}", false},
        {"65 cells", "{\\rtf1 " + Row(65, 65) + "}", false},
        {"a row redefined under way", "{\\rtf1\\trowd\\cellx1000 \\intbl x\\cell " + Row(1, 2) + "}", false},
        {"a nested row with too many cells", "{\\rtf1\\trowd\\cellx4000 \\intbl\\itap2 " + Repeated("x\\nestcell ", 3) +
                                                 "{\\*\\nesttableprops\\trowd\\cellx2000\\nestrow}\\itap1 c\\cell\\row}", false},
        {"tables nested 33 deep", "{\\rtf1\\intbl\\itap33 x}", false},
        {"two table levels opened after a cell", "{\\rtf1 \\intbl \\cellx5 \\cell \\itap3 }", false},
        {"a nested cell ended as an outer one", "{\\rtf1\\intbl\\itap2 x\\cell}", false},
        {"an outer row ended as a nested one", "{\\rtf1 " + Row(1, 1).substr(0, Row(1, 1).size() - 5) + "\\nestrow}", false},
        {"a control word of 3,000 letters", "{\\rtf1 \\" + std::string(3000, 'a') + "}", false},
        {"a control word of 33 letters", "{\\rtf1 \\" + std::string(33, 'a') + " x}", false},
        {"a parameter of 11 digits", "{\\rtf1 \\fs12345678901 x}", false},
        {"33 groups deep", Groups(33), false},
        {"a font name of 256 characters", "{\\rtf1{\\fonttbl{\\f0 " + std::string(256, 'A') + ";}}x}", false},
        {"a style name of 3,000 characters", "{\\rtf1{\\stylesheet{\\s1 " + std::string(3000, 'A') + ";}}x}", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.passes, RichEditCanReadRtf(c.bytes)) << c.what;
}
