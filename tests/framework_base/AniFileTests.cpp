#include "AniFile.h"

#include "AniBytes.h"
#include "Exceptions.h"
#include "IconListStream.h"
#include "Streams.h"

#include <gtest/gtest.h>

using namespace anibytes;

namespace {

const std::string kIcon16 = IconFile({SolidPicture(16, 16, 4)});
const std::string kIcon32 = IconFile({SolidPicture(32, 32, 8)});

struct Seen {
    int frameNumber;
    int displayTime;
    int image;
    friend bool operator==(const Seen&, const Seen&) = default;
};

std::vector<Seen> FramesOf(const AniContents& contents)
{
    std::vector<Seen> seen;
    for (const AniFrame& frame : contents.frames)
        seen.push_back(Seen{frame.frameNumber, frame.displayTime, frame.image});
    return seen;
}

} // namespace

TEST(AniFile, SequencesAndRatesGoToTheFramesInTurn)
{
    struct Case {
        const char* what;
        std::string chunks;
        std::vector<Seen> frames;
    };
    const Case cases[] = {
        {"one sequence chunk shows an image twice, one rate per step",
         Chunk("anih", Header(2, 3, 6)) + Chunk("rate", Values({10, 20, 30})) + Chunk("seq ", Values({1, 0, 1})) +
             FrameList({kIcon16, kIcon32}),
         {{1, 10, 1}, {0, 20, 0}, {1, 30, 1}}},
        {"one value per chunk gives the same",
         Chunk("anih", Header(2, 3, 6)) + Chunk("rate", Values({10})) + Chunk("rate", Values({20})) +
             Chunk("rate", Values({30})) + Chunk("seq ", Values({1})) + Chunk("seq ", Values({0})) +
             Chunk("seq ", Values({1})) + FrameList({kIcon16, kIcon32}),
         {{1, 10, 1}, {0, 20, 0}, {1, 30, 1}}},
        {"frames without an image go, the rest keep the default rate",
         Chunk("anih", Header(3, 3, 6)) + FrameList({kIcon16, kIcon32}), {{0, 6, 0}, {1, 6, 1}}},
        {"an image without a declared frame gets a frame of its own",
         Chunk("anih", Header(1, 1, 7)) + FrameList({kIcon16, kIcon32}), {{0, 7, 0}, {-1, 7, 1}}},
        {"an image chunk that cannot be read ends the walk",
         Chunk("anih", Header(3, 3, 6)) + FrameList({kIcon16, std::string("\0\0\3\0\1\0", 6), kIcon32}), {{0, 6, 0}}},
        {"an image sub-chunk longer than its list ends the walk",
         Chunk("anih", Header(2, 2, 6)) +
             Chunk("LIST", "fram" + Chunk("icon", kIcon16) + "icon" + Values({0x7FFFFFFF}) + kIcon32),
         {{0, 6, 0}}},
        {"rates beyond the signed range are the longest wait",
         Chunk("anih", Header(2, 2, 0xFFFFFFFF)) + Chunk("rate", Values({0x80000000})) + FrameList({kIcon16, kIcon32}),
         {{0, 0x7FFFFFFF, 0}, {1, 0x7FFFFFFF, 1}}},
        {"a later header makes no more frames",
         Chunk("anih", Header(1, 1, 6)) + Chunk("anih", Header(9, 9, 1)) + FrameList({kIcon16}), {{0, 6, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const AniContents contents = ReadAniContents(Riff(c.chunks));
        EXPECT_EQ(FramesOf(contents), c.frames);
        EXPECT_EQ(contents.header.steps, c.frames.size());
    }
}

TEST(AniFile, ImagesKeepTheirHeaderHotSpotKindAndPaletteSize)
{
    const std::string cursor = AsCursor(kIcon16, 3, 5);
    const AniContents contents =
        ReadAniContents(Riff(Chunk("anih", Header(2, 2, 6)) + FrameList({cursor, kIcon32})));
    ASSERT_EQ(contents.images.size(), 2u);
    const AniImage& first = contents.images[0];
    EXPECT_FALSE(first.fromIcon);
    EXPECT_EQ(first.hotSpotX, 3);
    EXPECT_EQ(first.hotSpotY, 5);
    EXPECT_EQ(first.bytes[2], 1) << "a cursor loads as an icon";
    EXPECT_EQ(first.bytes.substr(3), cursor.substr(3));
    EXPECT_EQ(std::string(first.chunkHeader.data(), 4), "icon");
    EXPECT_EQ(static_cast<std::uint8_t>(first.chunkHeader[4]), cursor.size() & 0xFF);
    EXPECT_TRUE(contents.images[1].fromIcon);
    EXPECT_EQ(contents.paletteSize, 256);
}

TEST(AniFile, TitleAndCreatorStopAt255Characters)
{
    const std::string long_(300, 'T');
    AniContents contents = ReadAniContents(
        Riff(Chunk("anih", Header(1, 1, 6)) + InfoList(long_, std::string("Ann\0junk", 8)) + FrameList({kIcon16})));
    EXPECT_EQ(contents.title, std::string(255, 'T'));
    EXPECT_EQ(contents.creator, "Ann");

    // A sub-chunk longer than what remains ends the walk; the file still reads.
    const std::string info = Chunk("LIST", "INFO" + Chunk("INAM", "Spin") + "IART" + Values({1000}) + "x");
    contents = ReadAniContents(Riff(Chunk("anih", Header(1, 1, 6)) + info + FrameList({kIcon16})));
    EXPECT_EQ(contents.title, "Spin");
    EXPECT_EQ(contents.creator, "");
}

TEST(AniFile, DamagedFilesAreAStreamReadError)
{
    const std::string frames = FrameList({kIcon16});
    struct Case {
        const char* what;
        std::string file;
    };
    std::string notAcon = Riff(Chunk("anih", Header(1, 1, 6)) + frames);
    notAcon.replace(8, 4, "AVI ");
    std::string notRiff = Riff(Chunk("anih", Header(1, 1, 6)) + frames);
    notRiff.replace(0, 4, "RIFX");
    const Case cases[] = {
        {"not RIFF", notRiff},
        {"not ACON", notAcon},
        {"frames not in icon format", Riff(Chunk("anih", Header(1, 1, 6, 0)) + frames)},
        {"no steps", Riff(Chunk("anih", Header(1, 0, 6)) + frames)},
        {"no header", Riff(frames)},
        {"no image", Riff(Chunk("anih", Header(1, 1, 6)))},
        {"no readable image", Riff(Chunk("anih", Header(1, 1, 6)) + FrameList({kIcon16.substr(0, 40)}))},
        {"millions of frames", Riff(Chunk("anih", Header(0x7FFFFFFF, 1, 6)) + frames)},
        {"millions of steps", Riff(Chunk("anih", Header(1, 0xFFFFFFFF, 6)) + frames)},
        {"a header that runs past the end", Riff("anih" + Values({0xFFFFFFFF}) + Header(1, 1, 6) + frames)},
        {"too short", "RIFF"},
    };
    for (const Case& c : cases) {
        try {
            ReadAniContents(c.file);
            ADD_FAILURE() << c.what << ": read";
        } catch (const EReadError& error) {
            EXPECT_STREQ(error.what(), "Stream read error") << c.what;
        }
    }
}

TEST(AniFile, EveryCutEndsInAResultOrTheReadError)
{
    const std::string file = Riff(Chunk("anih", Header(2, 3, 6)) + Chunk("rate", Values({1, 2, 3})) +
                                  Chunk("seq ", Values({0, 1, 0})) + InfoList("t", "c") +
                                  FrameList({AsCursor(kIcon16, 1, 1), kIcon32}));
    int read = 0;
    for (std::size_t length = 0; length <= file.size(); ++length) {
        try {
            const AniContents contents = ReadAniContents(std::string_view(file).substr(0, length));
            for (const AniFrame& frame : contents.frames)
                ASSERT_LT(static_cast<std::size_t>(frame.image), contents.images.size());
            ++read;
        } catch (const EReadError&) {
        }
    }
    EXPECT_GT(read, 0);
}

TEST(IconListStream, RoundTripKeepsEmptySlotsAndRefusesSizesBeyondTheData)
{
    TMemoryStream stream;
    WriteIconListData(stream, {kIcon16, "", kIcon32});
    EXPECT_EQ(stream.Size(), 4 + 4 + static_cast<std::int64_t>(kIcon16.size()) + 4 + 4 +
                                 static_cast<std::int64_t>(kIcon32.size()));
    stream.SetPosition(0);
    std::vector<std::string> slots;
    ReadIconListData(stream, [&](std::string&& bytes) { slots.push_back(std::move(bytes)); });
    EXPECT_EQ(slots, (std::vector<std::string>{kIcon16, "", kIcon32}));

    struct Case {
        const char* what;
        std::string bytes;
        std::size_t slotsBefore;
    };
    const Case cases[] = {
        {"huge count", Values({0x7FFFFFFF, 0}), 0},
        {"negative count", Values({0x80000000}), 0},
        {"size beyond the data", Values({2, 0, 0x7FFFFFF0}) + "abc", 1},
        {"data cut short", Values({1, 4}) + "ab", 0},
        {"no count", "ab", 0},
    };
    for (const Case& c : cases) {
        TStringStream hostile(c.bytes);
        std::size_t seen = 0;
        EXPECT_THROW(ReadIconListData(hostile, [&](std::string&&) { ++seen; }), EReadError) << c.what;
        EXPECT_EQ(seen, c.slotsBefore) << c.what;
    }
    TStringStream negative(Values({1, 0xFFFFFFFF}));
    slots.clear();
    ReadIconListData(negative, [&](std::string&& bytes) { slots.push_back(std::move(bytes)); });
    EXPECT_EQ(slots, std::vector<std::string>{""});
}
