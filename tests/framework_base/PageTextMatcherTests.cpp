#include "PageTextMatcher.h"

#include <gtest/gtest.h>

#include <string>

namespace {
struct MatchRow {
    const char* page;
    const char* text;
    bool matchCase;
    bool whole;
    bool mayHold;
};

const MatchRow Rows[] = {
    {"Word sword", "word", false, false, true},
    {"Word sword", "word", true, false, true},
    {"Word swords", "word", true, true, false},
    {"Word swords", "WORD", false, true, true},
    {"order or", "or", false, true, true},
    {"order ore", "or", false, true, false},
    {"x_or_y", "or", false, true, true}, // a boundary the control may see
    {"a-b", "-b", false, true, true},
    {"ab-c", "b-", false, true, false},
    {"", "a", false, false, false},
    {"abc", "", false, false, false},
    {"ab", "abc", false, false, false},
    {"line one\r\nline two", "one\r\nline", false, false, true},
    {"\xE9t\xE9", "\xC9T\xC9", false, false, false},
    {"aaaaaaab", "aab", false, false, true},
    {"zebra quartz", "zebra quartz", true, true, true},
};
}

TEST(PageTextMatcher, RulesOutOnlyPagesWithoutAMatch)
{
    for (const MatchRow& row : Rows) {
        const TPageTextMatcher matcher(row.text, row.matchCase, row.whole, AsciiCaseFold());
        EXPECT_EQ(matcher.MayHold(row.page), row.mayHold) << row.page << " / " << row.text;
    }
}

TEST(PageTextMatcher, AFoldLinksTheLettersOfBothMappings)
{
    std::array<unsigned char, 256> upper{};
    std::array<unsigned char, 256> lower{};
    for (size_t c = 0; c < 256; ++c)
        upper[c] = lower[c] = static_cast<unsigned char>(c);
    upper[0xE9] = 0xC9;
    lower[0xC9] = 0xE9;
    // A dotless letter whose capital is an ASCII one links to both cases.
    upper[0xB9] = 'I';
    const TCaseFold fold = CaseFoldOf(upper, lower);
    EXPECT_EQ(fold[0xE9], fold[0xC9]);
    EXPECT_EQ(fold[0xB9], fold['i']);
    EXPECT_EQ(fold['a'], fold['A']);
    EXPECT_NE(fold['a'], fold['b']);
    EXPECT_TRUE(TPageTextMatcher("\xC9T\xC9", false, false, fold).MayHold("x \xE9t\xE9"));
    EXPECT_FALSE(TPageTextMatcher("\xC9T\xC9", true, false, fold).MayHold("x \xE9t\xE9"));
    EXPECT_TRUE(TPageTextMatcher("Win", false, false, fold).MayHold("w\xB9n"));
}
