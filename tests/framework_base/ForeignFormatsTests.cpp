#include "ActionOutlineBytes.h"
#include "ActionOutlineFormat.h"
#include "TreePadFormat.h"

#include "Exceptions.h"
#include "Streams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// ---- TreePad ----

std::string TreePadNode(const std::string& title, const std::string& level, const std::string& body,
                        bool version27 = false)
{
    return std::string(version27 ? "dt=Text\r\n" : "") + "<node>\r\n" + title + "\r\n" + level + "\r\n" + body +
           "<end node> 5P9i0s8y19Z\r\n";
}

std::string TreePad09(const std::string& nodes)
{
    return "<hj-Treepad version 0.9>\r\n" + nodes;
}

struct ReadPages {
    TreePadReadResult result;
    KbfOutline outline;
};

ReadPages ReadTreePadText(const std::string& bytes)
{
    ReadPages read{};
    read.outline.pages.resize(1);
    read.outline.pages[0].title = "Untitled";
    read.result = ReadTreePad(bytes, read.outline);
    return read;
}

TEST(TreePadReader, LevelsGiveTheShapeAndALevelZeroNodeOverwritesTheRoot)
{
    for (const bool version27 : {false, true}) {
        const std::string header = version27 ? "<Treepad version 2.7>\r\n" : "<hj-Treepad version 0.9>\r\n";
        const auto read = ReadTreePadText(header + TreePadNode("First root", "0", "old\n", version27) +
                                          TreePadNode("Top", "0", "root text\n", version27) +
                                          TreePadNode("A", "1", "", version27) + TreePadNode("Deep", "3", "", version27) +
                                          TreePadNode("B", "1", "", version27));
        ASSERT_EQ(TreePadReadResult::Ok, read.result);
        const auto& pages = read.outline.pages;
        ASSERT_EQ(4u, pages.size());
        EXPECT_TRUE(read.outline.rootRecordRead);
        EXPECT_EQ("Top", pages[0].title);
        EXPECT_EQ("root text\r\n", pages[0].body);
        EXPECT_EQ("A", pages[1].title);
        EXPECT_EQ(0, pages[1].parent);
        EXPECT_EQ("Deep", pages[2].title);
        EXPECT_EQ(1, pages[2].parent); // one level deeper, not three
        EXPECT_EQ("B", pages[3].title);
        EXPECT_EQ(0, pages[3].parent);
    }
}

TEST(TreePadReader, BodyLinesEndWithOneLineEndAndLoseLeadingWhiteSpace)
{
    const std::string longLine(1500, 'x');
    const std::string longTitle(300, 't');
    const auto read = ReadTreePadText(
        TreePad09(TreePadNode(longTitle, "1", "  indented\r\n\r\n\tafter blank\r\n" + longLine + " end\r\n")));
    ASSERT_EQ(TreePadReadResult::Ok, read.result);
    ASSERT_EQ(2u, read.outline.pages.size());
    EXPECT_FALSE(read.outline.rootRecordRead);
    EXPECT_EQ("Untitled", read.outline.pages[0].title);
    EXPECT_EQ(longTitle, read.outline.pages[1].title);
    EXPECT_EQ("indented\r\nafter blank\r\n" + longLine + " end\r\n", read.outline.pages[1].body);
}

TEST(TreePadReader, EndsAndFailuresGiveTheirResultsAndKeepThePagesRead)
{
    const std::string one = TreePadNode("One", "1", "text\n");
    const struct {
        std::string bytes;
        TreePadReadResult result;
        std::size_t pages;
    } cases[] = {
        {"<Treepad version 2.8>\n" + one, TreePadReadResult::NotTreePad, 1},
        {"", TreePadReadResult::NotTreePad, 1},
        {TreePad09(""), TreePadReadResult::Ok, 1},
        {"<Treepad version 2.7>\n" + TreePadNode("One", "1", "", true) + "dt=RTF\n<node>\nR\n1\n",
         TreePadReadResult::Newer, 2},
        {"<Treepad version 2.7>\n" + TreePadNode("One", "1", "", true) + "something else\n", TreePadReadResult::Ok, 2},
        {TreePad09(one + "\n\n\n"), TreePadReadResult::Ok, 2},
        {TreePad09(one + "<nod\n"), TreePadReadResult::Ok, 2},
        {TreePad09("\n"), TreePadReadResult::Corrupted, 1},
        {TreePad09(one + "<node>\nNo level\n\ntext\n"), TreePadReadResult::MissingLevel, 2},
        {TreePad09(one + "<node>\nMinus five\n-5\ntext\n"), TreePadReadResult::MissingLevel, 2},
        {TreePad09(one + "<node>\nMinus one\n-1\n"), TreePadReadResult::MissingLevel, 2},
        {TreePad09(one + "<node>\nTo the end\n2\nbody runs on"), TreePadReadResult::Ok, 3},
        {TreePad09(one + "<node>\nNo line feed\n2\nx\n<end node> 5P9i0s8y19Z"), TreePadReadResult::Ok, 3},
        {TreePad09("<node>\nCut"), TreePadReadResult::MissingLevel, 1},
    };
    for (const auto& c : cases) {
        const auto read = ReadTreePadText(c.bytes);
        EXPECT_EQ(c.result, read.result) << c.bytes;
        EXPECT_EQ(c.pages, read.outline.pages.size()) << c.bytes;
    }
    EXPECT_STREQ("Input file is corrupted!", TreePadReadMessage(TreePadReadResult::MissingLevel));
}

TEST(TreePadReader, ByteOneAIsAnOrdinaryByte)
{
    const auto read = ReadTreePadText(TreePad09(TreePadNode("Sub\x1a", "1", "a\x1a b\n")));
    ASSERT_EQ(2u, read.outline.pages.size());
    EXPECT_EQ("Sub\x1a", read.outline.pages[1].title);
    EXPECT_EQ("a\x1a b\r\n", read.outline.pages[1].body);
}

// ---- ActionOutline ----

// Root with two children; the first has one child of its own.
const std::string AoRecords[] = {
    AoRecord("Root", "root body\r\n", 2),
    AoRecord(std::string("\x01\x01\x03Red", 6), std::string("a\0hidden", 8), 1),
    AoRecord("Inner", "", 0),
    AoRecord("\x01\x01", "", 0),
};
const std::string AoSample = AoFile(AoRecords[0] + AoRecords[1] + AoRecords[2] + AoRecords[3]);

TEST(ActionOutlineReader, ReadsNestedChildCountsAndIcons)
{
    KbfOutline outline;
    ASSERT_EQ(ActionOutlineReadResult::Ok, ReadActionOutline(AoSample, outline));
    const auto& pages = outline.pages;
    ASSERT_EQ(4u, pages.size());
    EXPECT_TRUE(outline.rootRecordRead);
    EXPECT_EQ("Root", pages[0].title);
    EXPECT_EQ("root body\r\n", pages[0].body);
    EXPECT_EQ("Red", pages[1].title);
    EXPECT_EQ(9, pages[1].state);
    EXPECT_EQ("a", pages[1].body);
    EXPECT_EQ(0, pages[1].parent);
    EXPECT_EQ(1, pages[2].parent);
    EXPECT_EQ("\x01\x01", pages[3].title);
    EXPECT_EQ(1, pages[3].state);
    EXPECT_EQ(0, pages[3].parent);
}

TEST(ActionOutlineReader, IconCodesMapToStateIcons)
{
    const struct {
        char code;
        std::int32_t state;
    } cases[] = {{2, 2}, {3, 9}, {4, 11}, {5, 10}, {6, 12}, {7, 13}, {8, 14}, {9, 15}, {10, 3},
                 {1, 1}, {0, 0}, {11, 11}, {'\x80', -128}, {'\x7f', 127}};
    for (const auto& c : cases) {
        std::string name = std::string("\x01\x01", 2) + c.code + "x";
        EXPECT_EQ(c.state, ActionOutlineStateOf(name)) << int(c.code);
        EXPECT_EQ("x", name);
    }
}

TEST(ActionOutlineReader, ARootWithoutChildrenIsReplacedByEachFollowingRecord)
{
    KbfOutline outline;
    ASSERT_EQ(ActionOutlineReadResult::Ok,
              ReadActionOutline(AoFile(AoRecord("One", "1", 0) + AoRecord("\x01\x01\x02Two", "2", 0)), outline));
    ASSERT_EQ(1u, outline.pages.size());
    EXPECT_EQ("Two", outline.pages[0].title);
    EXPECT_EQ("2", outline.pages[0].body);
    EXPECT_EQ(2, outline.pages[0].state);
}

TEST(ActionOutlineReader, DamagedFilesAreRefusedWithoutReadingOutside)
{
    KbfOutline wrong;
    EXPECT_EQ(ActionOutlineReadResult::NotActionOutline, ReadActionOutline("[GP][AO][1.0][02]\x08", wrong));
    // Cut at every byte: only a cut between records reads as a whole file.
    std::vector<std::size_t> recordEnds;
    std::size_t end = AoFile("").size();
    for (const auto& record : AoRecords)
        recordEnds.push_back(end += record.size());
    for (std::size_t size = 18; size < AoSample.size(); ++size) {
        KbfOutline outline;
        const auto result = ReadActionOutline(std::string_view(AoSample).substr(0, size), outline);
        const bool whole = std::find(recordEnds.begin(), recordEnds.end(), size) != recordEnds.end();
        EXPECT_EQ(whole ? ActionOutlineReadResult::Ok : ActionOutlineReadResult::Corrupted, result) << size;
        for (std::size_t i = 1; i < outline.pages.size(); ++i)
            EXPECT_LT(static_cast<std::size_t>(outline.pages[i].parent), i);
    }
    const std::string damaged[] = {
        AoFile(Int32Bytes(-1) + "x"),
        AoFile(Int32Bytes(0x7FFFFFFF) + "x"),
        AoFile(AoRecord("R", "", 0).substr(0, 5) + Int32Bytes(1 << 30)),
        AoFile(AoRecord("R", "", -2)),
        AoFile(AoRecord("R", "", 1) + AoRecord("C", "", 0) + AoRecord("After", "", 0)),
    };
    for (const auto& bytes : damaged) {
        KbfOutline outline;
        EXPECT_EQ(ActionOutlineReadResult::Corrupted, ReadActionOutline(bytes, outline));
    }
    EXPECT_STREQ("Input file is corrupted!", ActionOutlineReadMessage(ActionOutlineReadResult::Corrupted));
}

TEST(ActionOutlineReader, ReadStreamStringStopsAtTheFirstNul)
{
    TStringStream stream(std::string("ab\0cd|rest", 10));
    EXPECT_EQ("ab", ReadStreamString(stream, 5));
    EXPECT_EQ(5, stream.Position());
    EXPECT_THROW(ReadStreamString(stream, 6), EReadError);
}

} // namespace
