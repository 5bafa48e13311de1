#include "CommandLineSplit.h"
#include "MailtoCommand.h"

#include <gtest/gtest.h>

namespace {
struct Row {
    const char* command;
    const char* link;
    const char* line;
};

TEST(MailtoCommand, QuotesTheLinkWhereverItStands)
{
    const Row rows[] = {
        {R"(notes.exe %1)", "mailto:a@b.c", R"(notes.exe "mailto:a@b.c")"},
        {R"(notes.exe "%1")", "mailto:a@b.c", R"(notes.exe "mailto:a@b.c")"},
        {R"(notes.exe /m)", "mailto:a@b.c", R"(notes.exe /m "mailto:a@b.c")"},
        // Only the first "%1" is the link's place.
        {R"(n.exe %1 %1)", "mailto:x", R"(n.exe "mailto:x" %1)"},
        // A second command after an ampersand stays inside the argument.
        {R"(n.exe %1)", "mailto:a@b.c & calc", R"(n.exe "mailto:a@b.c & calc")"},
        {R"(n.exe %1)", "mailto:a\"b\r\n\x7f", R"(n.exe "mailto:a%22b%0D%0A%7F")"},
        // A trailing backslash must not escape the closing quote.
        {R"(n.exe "%1")", "mailto:a\\", R"(n.exe "mailto:a\\")"},
        {R"(n.exe %1)", "mailto:a\\\\", R"(n.exe "mailto:a\\\\")"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(MailtoCommandLine(row.command, row.link), row.line) << row.command << " " << row.link;
}

TEST(MailtoCommand, TheLinkIsExactlyOneArgument)
{
    const std::string link = "mailto:a@b.c?subject=\"x\" & del *.* \\\" \\";
    const auto arguments = SplitCommandLine(MailtoCommandLine(R"("C:\Notes\n.exe" -a "%1" -b)", link));
    ASSERT_EQ(arguments.size(), 4u);
    EXPECT_EQ(arguments[0], R"(C:\Notes\n.exe)");
    EXPECT_EQ(arguments[2], EncodeLinkForCommand(link));
    EXPECT_EQ(arguments[3], "-b");
}
} // namespace
