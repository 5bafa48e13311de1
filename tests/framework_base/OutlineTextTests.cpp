// Outlines written as indented text, the source of the outlines Quillo ships.
#include "KbfFormat.h"
#include "OutlineText.h"
#include "Streams.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
const char* const Sample = "# a comment\n"
                           "@subject Sample\n"
                           "@description For the tests\n"
                           "* Root\n"
                           "  Root text.\n"
                           "\n"
                           "  Second paragraph.\n"
                           "  * One\n"
                           "    + [4] One.A\n"
                           "      * One.A.i\n"
                           "        Deep text,\n"
                           "          indented further.\n"
                           "\n"
                           "\n"
                           "  * [2] Two\n";
}

TEST(OutlineText, PagesComeInFileOrderWithTheirParentsTextsStatesAndExpandStates)
{
    const KbfOutline outline = ParseOutlineText(Sample);
    struct Expected {
        const char* title;
        std::int32_t parent;
        std::int32_t state;
        std::int32_t expand;
        const char* body;
    };
    const std::vector<Expected> expected = {
        {"Root", 0, 1, KbfExpanded, "Root text.\n\nSecond paragraph."},
        {"One", 0, 1, KbfExpanded, ""},
        {"One.A", 1, 4, KbfCollapsed, ""},
        {"One.A.i", 2, 1, KbfNoChildren, "Deep text,\n  indented further."},
        {"Two", 0, 2, KbfNoChildren, ""},
    };
    ASSERT_EQ(outline.pages.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].title);
        EXPECT_EQ(outline.pages[i].title, expected[i].title);
        EXPECT_EQ(outline.pages[i].state, expected[i].state);
        EXPECT_EQ(outline.pages[i].body, expected[i].body);
        if (i > 0) {
            EXPECT_EQ(outline.pages[i].parent, expected[i].parent);
            EXPECT_EQ(outline.pages[i].expand, expected[i].expand);
        }
    }
    EXPECT_EQ(outline.properties.Subject, "Sample");
    EXPECT_EQ(outline.properties.Description, "For the tests");
}

TEST(OutlineText, TheWrittenFileReadsBackTheSamePages)
{
    KbfOutline outline = ParseOutlineText(Sample);
    TStringStream bytes;
    WriteKbf(bytes, outline, KbfStamp{"1 January 2027 12:00", "Corvane"});
    KbfOutline read;
    ASSERT_EQ(ReadKbfBytes(bytes.DataString(), read), KbfReadResult::Ok);
    ASSERT_EQ(read.pages.size(), outline.pages.size());
    for (std::size_t i = 0; i < read.pages.size(); ++i) {
        EXPECT_EQ(read.pages[i].title, outline.pages[i].title);
        EXPECT_EQ(read.pages[i].body, outline.pages[i].body);
    }
}

TEST(OutlineText, TextThatIsNoOutlineNamesItsLine)
{
    struct Case {
        const char* text;
        int line;
    };
    const Case cases[] = {
        {"", 0},                                  // no root
        {"Loose text\n* Root\n", 1},              // text before the root
        {"* Root\n* Second root\n", 2},           // one root only
        {"* Root\n    * Too deep\n", 2},          // a level skipped
        {"* Root\n   * Odd indent\n", 2},         // not two blanks per level
        {"* Root\n  * Page\n  Shallow text\n", 3}, // text less indented than its page
        {"* Root\n  * [16] Page\n", 2},           // no such state
        {"@colour red\n* Root\n", 1},             // unknown property
        {"* Root\n@subject Late\n", 2},           // properties after the pages
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            ParseOutlineText(c.text);
            ADD_FAILURE() << "accepted";
        } catch (const OutlineTextError& error) {
            EXPECT_EQ(error.Line(), c.line) << error.what();
        }
    }
}
