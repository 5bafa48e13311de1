#include "TextUtils.h"

#include <gtest/gtest.h>

TEST(TextUtils, SmallTextRoutines)
{
    EXPECT_EQ(ResStr("Resource %s not found"), "Resource %s not found");
    EXPECT_EQ(AnsiUpperFirstChar("hELLO wORLD"), "Hello world");
    EXPECT_EQ(AnsiUpperFirstChar(""), "");
    EXPECT_EQ(DropT("TButton"), "Button");
    EXPECT_EQ(DropT("tree"), "ree");
    EXPECT_EQ(DropT("T"), "T");
    EXPECT_EQ(DropT("Form"), "Form");
}

TEST(TextUtils, MinimizeTextEndsWithDotsAndStopsWhenNothingFits)
{
    auto within = [](std::size_t width) { return [width](const std::string& t) { return t.size() <= width; }; };
    EXPECT_EQ(MinimizeText("short", within(10)), "short");
    EXPECT_EQ(MinimizeText("a longer text", within(8)), "a lon...");
    EXPECT_EQ(MinimizeText("abc", within(2)), "");
}

TEST(TextUtils, CommandLinesSplitOnBlanksAndQuotes)
{
    const std::string longPath = "C:\\" + std::string(300, 'p') + "\\file.kbf";
    struct Case {
        std::string line;
        std::vector<std::string> arguments;
    } cases[] = {
        {"", {}},
        {"   ", {}},
        {"prog", {"prog"}},
        {"prog a  b\tc", {"prog", "a", "b", "c"}},
        {"\"C:\\My Files\\q.exe\" \"x y\" z", {"C:\\My Files\\q.exe", "x y", "z"}},
        {"prog a\"b c\"d", {"prog", "ab cd"}},
        {"prog \"unclosed tail", {"prog", "unclosed tail"}},
        {"prog \"\"", {"prog", ""}},
        {"prog " + longPath, {"prog", longPath}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitArguments(c.line), c.arguments) << c.line;
        const int count = c.arguments.empty() ? 0 : static_cast<int>(c.arguments.size()) - 1;
        EXPECT_EQ(ParamCountFromCommandLine(c.line), count) << c.line;
        for (std::size_t i = 0; i < c.arguments.size(); ++i)
            EXPECT_EQ(ParamStrFromCommandLine(c.line, static_cast<int>(i)), c.arguments[i]);
        EXPECT_EQ(ParamStrFromCommandLine(c.line, static_cast<int>(c.arguments.size())), "");
    }
}

TEST(TextUtils, SplitCommandLineQuotesArgumentsWithBlanksAgain)
{
    std::string program, parameters;
    SplitCommandLine("\"C:\\Prog Files\\q.exe\" \"my outline.kbf\" /s x", program, parameters);
    EXPECT_EQ(program, "C:\\Prog Files\\q.exe");
    EXPECT_EQ(parameters, "\"my outline.kbf\" /s x");
}
