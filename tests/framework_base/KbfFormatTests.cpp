#include "KbfFormat.h"
#include "OutlineProperties.h"

#include "Exceptions.h"
#include "Streams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>

namespace {

const KbfStamp FixedStamp{"8 December 2026 7:01 PM", "Anybody"};

// Root "Home" (empty body, state 1) with "Plan" (body a CR LF b, state 2) and
// "Ideas" (body with leading blanks and an empty line, state 9, expanded),
// which has the child "Sub One".
KbfOutline SampleOutline()
{
    KbfOutline outline;
    outline.properties.Description = "Line1\r\nLine2";
    outline.properties.Created = "5 March 2024 10:15 AM";
    outline.pages = {
        {"", "Home", -1, 1, 0},
        {"a\r\nb", "Plan", 0, 2, KbfNoChildren},
        {"  indented\r\n\r\nlast", "Ideas", 0, 9, KbfExpanded},
        {"", "Sub One", 2, 1, KbfNoChildren},
    };
    return outline;
}

// The sample as the format lays it out, byte by byte.
const std::string SampleHeaderAndProperties = "kbf\r\n01\r\n"
                                              "5\r\nxNone\r\n"
                                              "12\r\nxLine1\r\nLine2\r\n"
                                              "22\r\nx5 March 2024 10:15 AM\r\n"
                                              "24\r\nx8 December 2026 7:01 PM\r\n"
                                              "8\r\nxAnybody\r\n"
                                              "1\r\n"
                                              "xx\r\n";
const std::string SampleCount = "4\r\n";
const std::string SamplePages = "4\r\nxa\r\nb\r\n5\r\nxPlan\r\n0\r\n2\r\n0\r\n"
                                "17\r\nx  indented\r\n\r\nlast\r\n6\r\nxIdeas\r\n0\r\n9\r\n2\r\n"
                                "1\r\nx\r\n8\r\nxSub One\r\n2\r\n1\r\n0\r\n";
const std::string SampleRoot = "1\r\nx\r\n5\r\nxHome\r\n1\r\n";
const std::string SampleBytes = SampleHeaderAndProperties + SampleCount + SamplePages + SampleRoot;

std::string Written(KbfOutline outline, const KbfStamp& stamp = FixedStamp)
{
    TMemoryStream stream;
    WriteKbf(stream, outline, stamp);
    return std::string(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

std::string WithoutCr(std::string text)
{
    std::erase(text, '\r');
    return text;
}


void ExpectSamePages(const KbfOutline& expected, const KbfOutline& actual)
{
    ASSERT_EQ(expected.pages.size(), actual.pages.size());
    for (std::size_t i = 0; i < expected.pages.size(); ++i) {
        SCOPED_TRACE("page " + std::to_string(i));
        EXPECT_EQ(WithoutCr(expected.pages[i].body), actual.pages[i].body);
        EXPECT_EQ(WithoutCr(expected.pages[i].title), actual.pages[i].title);
        EXPECT_EQ(expected.pages[i].state, actual.pages[i].state);
        if (i > 0) {
            EXPECT_EQ(expected.pages[i].parent, actual.pages[i].parent);
            EXPECT_EQ(expected.pages[i].expand, actual.pages[i].expand);
        }
    }
}

// Accepts the first limit bytes, then takes nothing more.
class FullDiskStream : public TMemoryStream {
public:
    explicit FullDiskStream(std::int64_t limit) : limit_(limit) {}
    std::int64_t Write(const void* buffer, std::int64_t count) override
    {
        const std::int64_t room = std::max<std::int64_t>(0, limit_ - Size());
        return TMemoryStream::Write(buffer, std::min(count, room));
    }

private:
    std::int64_t limit_;
};

// ---- OutlineProperties ----------------------------------------------------

TEST(OutlineProperties, ConstructionSetsTheDefaults)
{
    OutlineProperties properties;
    EXPECT_EQ("None", properties.Subject);
    EXPECT_EQ("None", properties.Description);
    EXPECT_FALSE(properties.Created.empty());
    EXPECT_EQ("None", properties.Modified);
    EXPECT_EQ("None", properties.SavedBy);
    EXPECT_EQ("Unsaved", properties.Path);
    EXPECT_EQ(0, properties.FileChanged);
    EXPECT_EQ(0, properties.Revisions);
}

TEST(OutlineProperties, ResetPutsTheDefaultsBack)
{
    OutlineProperties properties;
    properties.Subject = "s";
    properties.Created = "long ago";
    properties.Path = "C:\\x.kbf";
    properties.FileChanged = 1;
    properties.Revisions = 7;
    ResetOutlineProperties(properties);
    EXPECT_EQ("None", properties.Subject);
    EXPECT_NE("long ago", properties.Created);
    EXPECT_EQ("Unsaved", properties.Path);
    EXPECT_EQ(0, properties.FileChanged);
    EXPECT_EQ(0, properties.Revisions);
}

TEST(OutlineProperties, CopyTakesTheStringsAndRevisionsButNotTheChangedFlag)
{
    OutlineProperties source;
    source.Subject = "a";
    source.Description = "b";
    source.Created = "c";
    source.Modified = "d";
    source.SavedBy = "e";
    source.Path = "f";
    source.Revisions = 5;
    source.FileChanged = 1;
    OutlineProperties destination;
    destination.FileChanged = 0;
    CopyOutlineProperties(destination, source);
    EXPECT_EQ("a", destination.Subject);
    EXPECT_EQ("b", destination.Description);
    EXPECT_EQ("c", destination.Created);
    EXPECT_EQ("d", destination.Modified);
    EXPECT_EQ("e", destination.SavedBy);
    EXPECT_EQ("f", destination.Path);
    EXPECT_EQ(5, destination.Revisions);
    EXPECT_EQ(0, destination.FileChanged);
}

TEST(OutlineProperties, EverySaveStampsDateUserAndRevision)
{
    KbfOutline outline = SampleOutline();
    TMemoryStream first;
    WriteKbf(first, outline, {"1 May 2026 9:00 AM", "Ann"});
    TMemoryStream second;
    WriteKbf(second, outline, {"2 May 2026 9:30 AM", "Bob"});
    EXPECT_EQ(2, outline.properties.Revisions);
    EXPECT_EQ("2 May 2026 9:30 AM", outline.properties.Modified);
    EXPECT_EQ("Bob", outline.properties.SavedBy);

    KbfOutline read;
    second.SetPosition(0);
    ASSERT_EQ(KbfReadResult::Ok, ReadKbf(second, read));
    EXPECT_EQ(2, read.properties.Revisions);
    EXPECT_EQ("2 May 2026 9:30 AM", read.properties.Modified);
    EXPECT_EQ("Bob", read.properties.SavedBy);
    // Path and the changed flag never travel in the file.
    EXPECT_EQ("Unsaved", read.properties.Path);
    EXPECT_EQ(0, read.properties.FileChanged);
}

TEST(OutlineProperties, RevisionsStopAtTheTopInsteadOfWrapping)
{
    OutlineProperties properties;
    properties.Revisions = std::numeric_limits<std::int32_t>::max();
    StampOutlineProperties(properties, FixedStamp);
    EXPECT_EQ(std::numeric_limits<std::int32_t>::max(), properties.Revisions);
}

// ---- exact bytes ----------------------------------------------------------

TEST(KbfWrite, SampleOutlineGivesTheExactBytes)
{
    EXPECT_EQ(240u, SampleBytes.size());
    EXPECT_EQ(SampleBytes, Written(SampleOutline()));
}

TEST(KbfWrite, BlanksAndHighAnsiBytesPassUnchanged)
{
    KbfOutline outline;
    outline.properties.Subject = "";
    outline.properties.Description = "";
    outline.properties.Created = "";
    outline.pages = {
        {"\r\n  x\r\ny", " Caf\xE9 \xAB\x80\xBB ", -1, 20, 0},
        {"\n", "", 0, 0, KbfNoChildren},
    };
    const std::string expected = "kbf\r\n01\r\n"
                                 "1\r\nx\r\n"
                                 "1\r\nx\r\n"
                                 "1\r\nx\r\n"
                                 "6\r\nx1 Jan\r\n"
                                 "2\r\nxZ\r\n"
                                 "-3\r\n"
                                 "xx\r\n"
                                 "2\r\n"
                                 "2\r\nx\r\n\r\n" // a body that is one line feed
                                 "1\r\nx\r\n"
                                 "0\r\n0\r\n0\r\n"
                                 "7\r\nx\r\n  x\r\ny\r\n" // CR dropped before counting
                                 "11\r\nx Caf\xE9 \xAB\x80\xBB \r\n"
                                 "20\r\n";
    outline.properties.Revisions = -4;
    EXPECT_EQ(expected, Written(outline, {"1 Jan", "Z"}));
}

TEST(KbfWrite, SingleItemsFollowTheLayout)
{
    TMemoryStream stream;
    WriteCountedString(stream, "");
    WriteCountedString(stream, "a\r\nb\n");
    WriteKbfNumber(stream, -2147483647 - 1);
    WriteKbfText(stream, "p\r\nq\n");
    EXPECT_EQ("1\r\nx\r\n5\r\nxa\r\nb\r\n\r\n-2147483648\r\np\r\nq\r\n",
              std::string(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size())));
}

TEST(KbfWrite, RootOnlyOutlineHasNoPageRecords)
{
    KbfOutline outline;
    outline.properties.Created = "c";
    outline.pages = {{"b", "Home", -1, 3, 0}};
    EXPECT_EQ("kbf\r\n01\r\n5\r\nxNone\r\n5\r\nxNone\r\n2\r\nxc\r\n24\r\nx8 December 2026 7:01 PM\r\n"
              "8\r\nxAnybody\r\n1\r\nxx\r\n1\r\n2\r\nxb\r\n5\r\nxHome\r\n3\r\n",
              Written(outline));
}

TEST(KbfWrite, RefusesOutlinesThatCouldNotBeReadBackBeforeWritingAnything)
{
    for (std::int32_t parent : {-1, 1, 2}) {
        KbfOutline outline = SampleOutline();
        outline.pages[1].parent = parent;
        TMemoryStream stream;
        EXPECT_THROW(WriteKbf(stream, outline, FixedStamp), std::invalid_argument) << parent;
        EXPECT_EQ(0, stream.Size());
    }
    KbfOutline empty;
    TMemoryStream stream;
    EXPECT_THROW(WriteKbf(stream, empty, FixedStamp), std::invalid_argument);
    EXPECT_EQ(0, stream.Size());
}

TEST(KbfWrite, AShortWriteThrowsAndTheStampStays)
{
    for (std::int64_t limit : {0, 5, 100, 239}) {
        KbfOutline outline = SampleOutline();
        FullDiskStream stream(limit);
        EXPECT_THROW(WriteKbf(stream, outline, FixedStamp), EWriteError) << limit;
        EXPECT_EQ(1, outline.properties.Revisions);
        EXPECT_EQ("Anybody", outline.properties.SavedBy);
    }
}

// A branch file is the same layout: the branch's top page as the root, its
// pages numbered from it, fresh properties stamped once.
TEST(KbfWrite, BranchFileOfIdeas)
{
    KbfOutline branch;
    branch.properties.Created = "now";
    branch.pages = {
        {"  indented\n\nlast", "Ideas", -1, 9, 0},
        {"", "Sub One", 0, 1, KbfNoChildren},
    };
    EXPECT_EQ("kbf\r\n01\r\n5\r\nxNone\r\n5\r\nxNone\r\n4\r\nxnow\r\n4\r\nxnow\r\n8\r\nxAnybody\r\n1\r\nxx\r\n"
              "2\r\n1\r\nx\r\n8\r\nxSub One\r\n0\r\n1\r\n0\r\n17\r\nx  indented\r\n\r\nlast\r\n6\r\nxIdeas\r\n9\r\n",
              Written(branch, {"now", "Anybody"}));
}

// ---- reading --------------------------------------------------------------

TEST(KbfRead, SampleRebuildsEveryField)
{
    KbfOutline outline;
    ASSERT_EQ(KbfReadResult::Ok, ReadKbfBytes(SampleBytes, outline));
    EXPECT_TRUE(outline.rootRecordRead);
    EXPECT_EQ("None", outline.properties.Subject);
    EXPECT_EQ("Line1\nLine2", outline.properties.Description);
    EXPECT_EQ("5 March 2024 10:15 AM", outline.properties.Created);
    EXPECT_EQ("8 December 2026 7:01 PM", outline.properties.Modified);
    EXPECT_EQ("Anybody", outline.properties.SavedBy);
    EXPECT_EQ(1, outline.properties.Revisions);
    ExpectSamePages(SampleOutline(), outline);
    EXPECT_EQ("a\nb", outline.pages[1].body);
    EXPECT_EQ("  indented\n\nlast", outline.pages[2].body);
}

TEST(KbfRead, FromAStreamStartsAtItsPosition)
{
    TMemoryStream stream;
    stream.WriteBuffer("junk", 4);
    stream.WriteBuffer(SampleBytes.data(), static_cast<std::int64_t>(SampleBytes.size()));
    stream.SetPosition(4);
    KbfOutline outline;
    ASSERT_EQ(KbfReadResult::Ok, ReadKbf(stream, outline));
    ExpectSamePages(SampleOutline(), outline);
}

TEST(KbfRead, ChunkedStreamReadsAsTheWholeText)
{
    // Chunk boundaries fall inside numbers, guards, bodies and CR LF pairs;
    // damaged and cut-off files must fail the same way as from memory.
    std::string strayCr = SampleBytes;
    strayCr.insert(strayCr.find("xa\r\nb") + 1, "\r\r");
    const std::string inputs[] = {
        SampleBytes,
        WithoutCr(SampleBytes),
        strayCr,
        SampleHeaderAndProperties + SampleCount + SamplePages,
        SampleBytes.substr(0, SampleBytes.size() - 9),
        SampleHeaderAndProperties + "9\r\n" + SamplePages + SampleRoot,
        SampleHeaderAndProperties + SampleCount + SamplePages + "\x1a" + SampleRoot,
    };
    for (const std::string& bytes : inputs) {
        KbfOutline whole;
        const KbfReadResult expected = ReadKbfBytes(bytes, whole);
        for (const std::size_t chunk : {1, 2, 3, 5, 64, 1 << 20}) {
            TMemoryStream stream;
            stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
            stream.SetPosition(0);
            KbfOutline chunked;
            EXPECT_EQ(expected, ReadKbfInChunks(stream, chunked, KbfLineEnds::Lf, chunk)) << chunk;
            ExpectSamePages(whole, chunked);
            EXPECT_EQ(whole.rootRecordRead, chunked.rootRecordRead);
            EXPECT_EQ(whole.properties.Description, chunked.properties.Description);
        }
    }
}

TEST(KbfRead, CrLfBodiesAreTheBodiesWithCrBeforeEveryLf)
{
    for (const std::size_t chunk : {1, 4, 1 << 20}) {
        TMemoryStream stream;
        stream.WriteBuffer(SampleBytes.data(), static_cast<std::int64_t>(SampleBytes.size()));
        stream.SetPosition(0);
        KbfOutline outline;
        ASSERT_EQ(KbfReadResult::Ok, ReadKbfInChunks(stream, outline, KbfLineEnds::CrLf, chunk));
        EXPECT_EQ("a\r\nb", outline.pages[1].body);
        EXPECT_EQ("  indented\r\n\r\nlast", outline.pages[2].body);
        // Titles and properties keep the file's LF.
        EXPECT_EQ("Line1\nLine2", outline.properties.Description);
    }
}

TEST(KbfRead, LineFeedOnlyFileReadsTheSame)
{
    KbfOutline crlf;
    KbfOutline lf;
    ASSERT_EQ(KbfReadResult::Ok, ReadKbfBytes(SampleBytes, crlf));
    ASSERT_EQ(KbfReadResult::Ok, ReadKbfBytes(WithoutCr(SampleBytes), lf));
    ExpectSamePages(crlf, lf);
    EXPECT_EQ(crlf.properties.Description, lf.properties.Description);
}

TEST(KbfRead, StrayCarriageReturnsAreDroppedBeforeCounting)
{
    std::string bytes = SampleBytes;
    // "4" CR LF "xa" CR LF "b": extra CRs inside the body change nothing.
    const std::size_t at = bytes.find("xa\r\nb");
    bytes.insert(at + 1, "\r\r");
    KbfOutline outline;
    ASSERT_EQ(KbfReadResult::Ok, ReadKbfBytes(bytes, outline));
    EXPECT_EQ("a\nb", outline.pages[1].body);
}

TEST(KbfRead, StateNumbersAreKeptAsRead)
{
    KbfOutline outline = SampleOutline();
    outline.pages[0].state = 0;
    outline.pages[1].state = 20;
    outline.pages[2].state = std::numeric_limits<std::int32_t>::min();
    outline.pages[3].state = std::numeric_limits<std::int32_t>::max();
    KbfOutline read;
    ASSERT_EQ(KbfReadResult::Ok, ReadKbfBytes(Written(outline), read));
    ExpectSamePages(outline, read);
}

TEST(KbfRead, HeaderFaultsGiveTheirMessagesAndDefaults)
{
    struct Case {
        std::string bytes;
        KbfReadResult result;
    };
    const std::string rest = SampleBytes.substr(9);
    const Case cases[] = {
        {"kbf\r\n02\r\n" + rest, KbfReadResult::NewerVersion},
        {"kbf\r\n1", KbfReadResult::NewerVersion},
        {"kbx\r\n01\r\n" + rest, KbfReadResult::NotKbfFile},
        {"kbf 01\r\n" + rest, KbfReadResult::NotKbfFile},
        {"", KbfReadResult::NotKbfFile},
        {"\x1A" + SampleBytes, KbfReadResult::NotKbfFile},
        {"KBF\r\n01\r\n" + rest, KbfReadResult::NotKbfFile},
    };
    for (const Case& c : cases) {
        KbfOutline outline;
        EXPECT_EQ(c.result, ReadKbfBytes(c.bytes, outline)) << c.bytes.substr(0, 12);
        ASSERT_EQ(1u, outline.pages.size());
        EXPECT_EQ("Untitled", outline.pages[0].title);
        EXPECT_EQ(1, outline.pages[0].state);
        EXPECT_EQ("None", outline.properties.Subject);
        EXPECT_FALSE(outline.rootRecordRead);
    }
}

TEST(KbfRead, DamagedPropertiesBlockIsCorrupted)
{
    std::string trailer = SampleBytes;
    trailer.replace(trailer.find("xx\r\n"), 2, "xy");
    std::string shortTrailer = SampleBytes;
    shortTrailer.replace(shortTrailer.find("xx\r\n"), 2, "x\n");
    std::string hugeCount = SampleBytes;
    hugeCount.replace(hugeCount.find("5\r\nxNone"), 1, "2147483647");
    std::string overflow = SampleBytes;
    overflow.replace(overflow.find("5\r\nxNone"), 1, "2147483648");
    std::string letters = SampleBytes;
    letters.replace(letters.find("1\r\nxx"), 1, "1a");
    for (const std::string& bytes : {trailer, shortTrailer, hugeCount, overflow, letters}) {
        KbfOutline outline;
        EXPECT_EQ(KbfReadResult::Corrupted, ReadKbfBytes(bytes, outline));
        EXPECT_EQ(1u, outline.pages.size());
        EXPECT_EQ("None", outline.properties.Subject);
    }
    EXPECT_STREQ("Input file is corrupted!", KbfReadMessage(KbfReadResult::Corrupted));
}

// Record i of the sample with one field replaced.
std::string SampleWithPageField(int page, int field, const std::string& value)
{
    std::string pages = WithoutCr(SamplePages);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = pages.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(pages.substr(start, end - start));
    }
    // Lines per record: body (count + text lines), title (2), parent, state, expand.
    const int bodyLines[] = {3, 4, 2};
    int line = 0;
    for (int p = 1; p < page; ++p) {
        line += bodyLines[p - 1] + 5;
    }
    line += bodyLines[page - 1] + 2 + field; // field 0 parent, 1 state, 2 expand
    lines[static_cast<std::size_t>(line)] = value;
    std::string joined;
    for (const std::string& l : lines) {
        joined += l + "\n";
    }
    return WithoutCr(SampleHeaderAndProperties + SampleCount) + joined + WithoutCr(SampleRoot);
}

TEST(KbfRead, SampleHelperChangesOnlyTheField)
{
    KbfOutline outline;
    ASSERT_EQ(KbfReadResult::Ok, ReadKbfBytes(SampleWithPageField(3, 0, "1"), outline));
    EXPECT_EQ(1, outline.pages[3].parent);
    EXPECT_EQ(KbfReadResult::Ok, ReadKbfBytes(SampleWithPageField(2, 2, "1"), outline));
    EXPECT_EQ(KbfCollapsed, outline.pages[2].expand);
}

TEST(KbfRead, ParentsMustPointAtAPageAlreadyRead)
{
    struct Case {
        int page;
        std::string parent;
    };
    const Case cases[] = {
        {1, "-1"}, {1, "1"},         {1, "2"}, {1, "4"}, // negative, self, forward, = C
        {3, "3"},  {3, "-2147483648"}, {2, "9"}, {2, ""},   {2, "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("page " + std::to_string(c.page) + " parent '" + c.parent + "'");
        KbfOutline outline;
        EXPECT_EQ(KbfReadResult::DamagedPages, ReadKbfBytes(SampleWithPageField(c.page, 0, c.parent), outline));
        // The pages before the bad record stay; the root keeps its defaults.
        ASSERT_EQ(static_cast<std::size_t>(c.page), outline.pages.size());
        EXPECT_EQ("Untitled", outline.pages[0].title);
        EXPECT_FALSE(outline.rootRecordRead);
        EXPECT_EQ("Line1\nLine2", outline.properties.Description);
    }
    EXPECT_STREQ("Error loading file!", KbfReadMessage(KbfReadResult::DamagedPages));
}

TEST(KbfRead, ExpandStateMustBeZeroOneOrTwo)
{
    for (const char* expand : {"3", "-1", "x", "2147483648"}) {
        KbfOutline outline;
        EXPECT_EQ(KbfReadResult::DamagedPages, ReadKbfBytes(SampleWithPageField(2, 2, expand), outline)) << expand;
        EXPECT_EQ(2u, outline.pages.size());
    }
}

TEST(KbfRead, CountsLargerThanTheInputAreRefusedWithoutAllocating)
{
    std::string pageCount = SampleBytes;
    pageCount.replace(SampleHeaderAndProperties.size(), 1, "2147483647");
    KbfOutline outline;
    EXPECT_EQ(KbfReadResult::DamagedPages, ReadKbfBytes(pageCount, outline));
    EXPECT_EQ(1u, outline.pages.size());
    EXPECT_LT(outline.pages.capacity(), 1000u);

    // More records announced than bytes could hold, by one.
    std::string fiveRecords = SampleBytes;
    fiveRecords.replace(SampleHeaderAndProperties.size(), 1, "40");
    EXPECT_EQ(KbfReadResult::DamagedPages, ReadKbfBytes(fiveRecords, outline));

    for (const char* count : {"0", "-1", "", "99999999999"}) {
        std::string bytes = SampleBytes;
        bytes.replace(SampleHeaderAndProperties.size(), 1, count);
        EXPECT_EQ(KbfReadResult::DamagedPages, ReadKbfBytes(bytes, outline)) << count;
        EXPECT_EQ(1u, outline.pages.size());
    }

    std::string bodyLength = SampleBytes;
    bodyLength.replace(bodyLength.find("4\r\nxa"), 1, "2147483647");
    EXPECT_EQ(KbfReadResult::DamagedPages, ReadKbfBytes(bodyLength, outline));
    EXPECT_EQ(1u, outline.pages.size());
}

TEST(KbfRead, MissingRootRecordLeavesTheRootDefaults)
{
    const std::string cut = SampleHeaderAndProperties + SampleCount + SamplePages;
    for (const std::string& bytes : {cut, cut + "\r\n  ", cut + "0\r\nx\r\n", cut + "-5\r\n", cut + "zz"}) {
        KbfOutline outline;
        ASSERT_EQ(KbfReadResult::Ok, ReadKbfBytes(bytes, outline));
        EXPECT_FALSE(outline.rootRecordRead);
        ASSERT_EQ(4u, outline.pages.size());
        EXPECT_EQ("", outline.pages[0].body);
        EXPECT_EQ("Untitled", outline.pages[0].title);
        EXPECT_EQ(1, outline.pages[0].state);
        EXPECT_EQ("Sub One", outline.pages[3].title);
    }
}

TEST(KbfRead, RootOnlyFile)
{
    KbfOutline outline;
    outline.pages = {{"just\nme", "Home", -1, 4, 0}};
    KbfOutline read;
    ASSERT_EQ(KbfReadResult::Ok, ReadKbfBytes(Written(outline), read));
    ExpectSamePages(outline, read);
    EXPECT_TRUE(read.rootRecordRead);
}

// 0x1A where white space, a number or the header is expected ends the text,
// as a text-mode writer's padding; inside a counted string it is text.
TEST(KbfRead, CtrlZEndsTheTextOnlyBetweenItems)
{
    KbfOutline outline;
    ASSERT_EQ(KbfReadResult::Ok, ReadKbfBytes(SampleBytes + "\x1A", outline));
    ExpectSamePages(SampleOutline(), outline);
    ASSERT_EQ(KbfReadResult::Ok, ReadKbfBytes(SampleBytes + "\x1A" + "garbage", outline));
    ExpectSamePages(SampleOutline(), outline);

    // In place of the root record: the root keeps its defaults.
    ASSERT_EQ(KbfReadResult::Ok,
              ReadKbfBytes(SampleHeaderAndProperties + SampleCount + SamplePages + "\x1A" + SampleRoot, outline));
    EXPECT_FALSE(outline.rootRecordRead);
    EXPECT_EQ(4u, outline.pages.size());

    // Before a page record: the record is missing.
    EXPECT_EQ(KbfReadResult::DamagedPages,
              ReadKbfBytes(SampleHeaderAndProperties + SampleCount + "\x1A" + SamplePages + SampleRoot, outline));
    EXPECT_EQ(1u, outline.pages.size());

    // Inside a text it is kept.
    KbfOutline withCtrlZ = SampleOutline();
    withCtrlZ.pages[1].body = "before\x1A" "after";
    withCtrlZ.pages[2].title = "\x1A";
    ASSERT_EQ(KbfReadResult::Ok, ReadKbfBytes(Written(withCtrlZ), outline));
    ExpectSamePages(withCtrlZ, outline);
}

TEST(KbfRead, NulBytesInTextsRoundTrip)
{
    KbfOutline outline = SampleOutline();
    outline.pages[1].body = std::string("a\0b\n\0", 5);
    outline.pages[0].title = std::string(1, '\0');
    KbfOutline read;
    ASSERT_EQ(KbfReadResult::Ok, ReadKbfBytes(Written(outline), read));
    ExpectSamePages(outline, read);
}

// Cutting the file anywhere never crashes or hangs and always leaves a usable
// root. Only cuts at the end of the page records (no root record) or in or
// after the root's final state line may succeed.
void SweepTruncations(const std::string& bytes, std::size_t rootStart, std::size_t stateStart)
{
    const KbfOutline full = SampleOutline();
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        KbfOutline outline;
        const KbfReadResult result = ReadKbfBytes(std::string_view(bytes).substr(0, cut), outline);
        ASSERT_FALSE(outline.pages.empty());
        EXPECT_LE(outline.pages.size(), full.pages.size());
        if (!outline.rootRecordRead) {
            EXPECT_EQ("Untitled", outline.pages[0].title);
            EXPECT_EQ(1, outline.pages[0].state);
        }
        if (result != KbfReadResult::Ok) {
            continue;
        }
        // The last record's expand digit is the byte before its line end.
        const bool rootMissing = cut >= rootStart - 3 && cut <= rootStart;
        EXPECT_TRUE(rootMissing || cut > stateStart);
        ASSERT_EQ(full.pages.size(), outline.pages.size());
        EXPECT_EQ(!rootMissing, outline.rootRecordRead);
        for (std::size_t i = 1; i < full.pages.size(); ++i) {
            EXPECT_EQ(WithoutCr(full.pages[i].body), outline.pages[i].body);
            EXPECT_EQ(full.pages[i].parent, outline.pages[i].parent);
        }
        if (!rootMissing) {
            EXPECT_EQ("Home", outline.pages[0].title);
        }
    }
}

TEST(KbfRead, EveryTruncationOfTheSampleFailsSafely)
{
    const std::size_t rootStart = SampleBytes.size() - SampleRoot.size();
    SweepTruncations(SampleBytes, rootStart, SampleBytes.size() - 3);
    const std::string lf = WithoutCr(SampleBytes);
    const std::size_t lfRootStart = lf.size() - WithoutCr(SampleRoot).size();
    // In the LF-only form the last expand digit is two bytes before the root.
    SweepTruncations(lf, lfRootStart + 1, lf.size() - 2);
}

// ---- round trips ----------------------------------------------------------

std::string RandomText(std::mt19937& random)
{
    static const char alphabet[] = {' ', ' ', '\n', '\r', '\0', '\x1A', 'x', 'a', 'Z', '0', '9', '-',
                                    '\t', '\xE9', '\x80', '\xFF', '\x7F', '.', 'K'};
    std::uniform_int_distribution<int> length(0, 12);
    std::uniform_int_distribution<std::size_t> pick(0, sizeof(alphabet) - 1);
    std::string text;
    for (int n = length(random); n > 0; --n) {
        text += alphabet[pick(random)];
    }
    return text;
}

// A random tree in pre-order: each page's parent is the previous page or one
// of its ancestors.
KbfOutline RandomOutline(std::mt19937& random, int maxPages)
{
    KbfOutline outline;
    outline.properties.Subject = RandomText(random);
    outline.properties.Description = RandomText(random);
    outline.properties.Created = RandomText(random);
    outline.properties.Revisions = static_cast<std::int32_t>(random() % 1000);
    std::uniform_int_distribution<int> pages(1, maxPages);
    std::uniform_int_distribution<std::int32_t> state(std::numeric_limits<std::int32_t>::min(),
                                                      std::numeric_limits<std::int32_t>::max());
    const int count = pages(random);
    outline.pages.push_back({RandomText(random), RandomText(random), -1, state(random), 0});
    std::vector<std::int32_t> chain{0}; // ancestors of the last page, and it
    for (int i = 1; i < count; ++i) {
        chain.resize(1 + random() % chain.size());
        outline.pages.push_back({RandomText(random), RandomText(random), chain.back(), state(random),
                                 static_cast<std::int32_t>(random() % 3)});
        chain.push_back(i);
    }
    return outline;
}

TEST(KbfRoundTrip, RandomOutlinesComeBackWithLineFeedOnlyTexts)
{
    std::mt19937 random(6);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        KbfOutline outline = RandomOutline(random, 40);
        const std::string bytes = Written(outline);
        KbfOutline read;
        ASSERT_EQ(KbfReadResult::Ok, ReadKbfBytes(bytes, read));
        EXPECT_TRUE(read.rootRecordRead);
        ExpectSamePages(outline, read);
        EXPECT_EQ(WithoutCr(outline.properties.Subject), read.properties.Subject);
        EXPECT_EQ(WithoutCr(outline.properties.Description), read.properties.Description);
        EXPECT_EQ(WithoutCr(outline.properties.Created), read.properties.Created);
        EXPECT_EQ(outline.properties.Revisions + 1, read.properties.Revisions);
        // Writing what was read gives the same bytes: the format is stable.
        read.properties.Revisions -= 1;
        EXPECT_EQ(bytes, Written(read));
    }
}

TEST(KbfRoundTrip, DeepChainAndManyPages)
{
    KbfOutline chain;
    chain.pages.push_back({"", "root", -1, 1, 0});
    for (std::int32_t i = 1; i <= 300; ++i) {
        std::string title(1, 't');
        title += std::to_string(i);
        chain.pages.push_back({"b", title, i - 1, 1, i == 300 ? KbfNoChildren : KbfExpanded});
    }
    KbfOutline read;
    ASSERT_EQ(KbfReadResult::Ok, ReadKbfBytes(Written(chain), read));
    ExpectSamePages(chain, read);

    KbfOutline flat;
    flat.pages.push_back({"", "root", -1, 1, 0});
    for (int i = 1; i < 65535; ++i) {
        flat.pages.push_back({"", "", 0, 0, 0});
    }
    ASSERT_EQ(KbfReadResult::Ok, ReadKbfBytes(Written(flat), read));
    EXPECT_EQ(65535u, read.pages.size());
}

TEST(KbfReadMessages, ExactTexts)
{
    EXPECT_STREQ("", KbfReadMessage(KbfReadResult::Ok));
    EXPECT_STREQ("Cannot open input file!", KbfReadMessage(KbfReadResult::CannotOpen));
    EXPECT_STREQ("This file requires newer version of Quillo! Please visit our web site for newer version download!",
                 KbfReadMessage(KbfReadResult::NewerVersion));
    EXPECT_STREQ("Input file is not Quillo .kbf file!", KbfReadMessage(KbfReadResult::NotKbfFile));
    EXPECT_STREQ("Input file is corrupted!", KbfReadMessage(KbfReadResult::Corrupted));
    EXPECT_STREQ("Error loading file!", KbfReadMessage(KbfReadResult::DamagedPages));
}

} // namespace
