#include "AnimatedCursorImage.h"

#include "AniBytes.h"
#include "Exceptions.h"
#include "GeneralUtils.h"
#include "IconList.h"
#include "ScriptedMessageBoxes.h"
#include "Streams.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

using namespace anibytes;

namespace {

// The program's own hand cursor, which the build copies beside the tests.
std::string HandCursor()
{
    char program[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string path = program;
    return ReadFileBytes(path.substr(0, path.find_last_of('\\') + 1) + "CTL_HANDCUR.cur");
}

std::uint16_t Word(const std::string& bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[at]) | static_cast<std::uint8_t>(bytes[at + 1]) << 8);
}

// The hand cursor and a red icon; a sequence shows the cursor at steps 1 and 3.
std::string TwoImageFile()
{
    return Riff(Chunk("anih", Header(2, 3, 6)) + InfoList("Spin", "Quillo") + Chunk("rate", Values({5, 10, 15})) +
                Chunk("seq ", Values({0, 1, 0})) + FrameList({HandCursor(), IconFile({SolidPicture(32, 32)})}));
}

void Load(TAnimatedCursorImage& image, const std::string& bytes)
{
    TStringStream stream(bytes);
    image.LoadFromStream(stream);
}

} // namespace

TEST(AnimatedCursor, FramesShareImagesBySequenceWithTheirRatesAndHotSpots)
{
    const std::string cursor = HandCursor();
    ASSERT_GT(cursor.size(), 22u) << "CTL_HANDCUR.cur beside the tests";
    TAnimatedCursorImage image;
    Load(image, TwoImageFile());
    ASSERT_EQ(image.GetIconCount(), 3);
    EXPECT_EQ(image.Header().steps, 3u);
    EXPECT_EQ(image.GetTitle(), "Spin");
    EXPECT_EQ(image.GetCreator(), "Quillo");
    EXPECT_EQ(image.PaletteSize(), 256) << "the hand cursor has 8 bits, the icon 4";
    EXPECT_EQ(image.GetDefaultRate(), 100);

    const int numbers[] = {0, 1, 0};
    const int times[] = {5, 10, 15};
    for (int i = 0; i < 3; ++i) {
        const TIconFrame& frame = image.GetFrame(i);
        EXPECT_EQ(frame.FrameNumber, numbers[i]);
        EXPECT_EQ(frame.DisplayTime, times[i]);
        ASSERT_NE(frame.Icon, nullptr);
        EXPECT_EQ(std::string(frame.ChunkHeader.data(), 4), "icon");
    }
    EXPECT_NE(image.GetIcon(0), image.GetIcon(2)) << "each frame owns its icon";
    EXPECT_EQ(image.GetIcon(0)->FileImage(), image.GetIcon(2)->FileImage());
    const TIconFrame& hand = image.GetFrame(0);
    EXPECT_FALSE(hand.FromIcon);
    EXPECT_EQ(hand.HotSpot.x, Word(cursor, 10));
    EXPECT_EQ(hand.HotSpot.y, Word(cursor, 12));
    const TIconFrame& red = image.GetFrame(1);
    EXPECT_TRUE(red.FromIcon);
    EXPECT_EQ(red.HotSpot.x, red.Icon->Width() / 2);
    EXPECT_EQ(red.HotSpot.y, red.Icon->Height() / 2);
    EXPECT_THROW(image.GetFrame(3), EInvalidArgument);

    // The system's own loader reads the same file.
    const std::string bytes = TwoImageFile();
    HCURSOR system = CursorFromAniBytes(bytes.data(), bytes.size());
    EXPECT_NE(system, nullptr);
    if (system)
        DestroyCursor(system);
}

TEST(AnimatedCursor, DamagedFilesAreRefusedAndLeaveTheImageEmpty)
{
    TestFolder folder;
    const std::string frames = FrameList({HandCursor()});
    std::string notAcon = Riff(Chunk("anih", Header(1, 1, 6)) + frames);
    notAcon.replace(8, 4, "WAVE");
    const std::string files[] = {
        notAcon,
        Riff(Chunk("anih", Header(1, 1, 6, 0)) + frames),
        Riff(Chunk("anih", Header(1, 0, 6)) + frames),
        Riff(Chunk("anih", Header(1, 1, 6))),
        Riff(Chunk("anih", Header(0x7FFFFFFF, 1, 6)) + frames),
    };
    for (const std::string& file : files) {
        TAnimatedCursorImage image;
        Load(image, TwoImageFile());
        WriteFileBytes(folder / "damaged.ani", file);
        try {
            image.LoadFromFile(folder / "damaged.ani");
            ADD_FAILURE() << "loaded";
        } catch (const EReadError& error) {
            EXPECT_STREQ(error.what(), "Stream read error");
        }
        EXPECT_EQ(image.GetIconCount(), 0);
        EXPECT_EQ(image.GetTitle(), "");
    }
    TAnimatedCursorImage image;
    Load(image, TwoImageFile());
    EXPECT_THROW(image.LoadFromFile(folder / "missing.ani"), EFOpenError);
    EXPECT_EQ(image.GetIconCount(), 0);
}

TEST(AnimatedCursor, StripsAndAssignments)
{
    TAnimatedCursorImage image;
    Load(image, Riff(Chunk("anih", Header(2, 2, 6)) +
                     FrameList({IconFile({SolidPicture(32, 32, 4, 0x80)}), IconFile({SolidPicture(32, 32, 4, 0xFF)})})));
    const int size = image.GetIcon(0)->Width();
    TBitmap strip;
    image.AssignToBitmap(strip, clWhite, false, false);
    EXPECT_EQ(strip.Width(), 2 * size);
    EXPECT_EQ(strip.Height(), size);
    EXPECT_EQ(strip.Canvas().Pixel(1, 1), TColor{0x000080});
    EXPECT_EQ(strip.Canvas().Pixel(size + 1, 1), TColor{0x0000FF});
    image.AssignToBitmap(strip, clWhite, true, true);
    EXPECT_EQ(strip.Width(), size);
    EXPECT_EQ(strip.Height(), 2 * size);
    EXPECT_EQ(strip.PixelFormat(), pf4bit) << "16 colours at most";
    EXPECT_EQ(strip.Canvas().Pixel(1, size + 1), TColor{0x0000FF});

    TAnimatedCursorImage copy;
    copy.Assign(&image);
    ASSERT_EQ(copy.GetIconCount(), 2);
    EXPECT_EQ(copy.GetFrame(1).FrameNumber, 1);
    EXPECT_EQ(copy.GetIcon(1)->FileImage(), image.GetIcon(1)->FileImage());
    EXPECT_NE(copy.GetIcon(1)->Handle(), image.GetIcon(1)->Handle());

    TIconList list;
    int changes = 0;
    list.OnChange = [&](TIconList&) { ++changes; };
    image.AssignTo(list);
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(changes, 1);
    TIcon first;
    image.AssignTo(first);
    EXPECT_EQ(first.FileImage(), image.GetIcon(0)->FileImage());

    copy.Assign(nullptr);
    EXPECT_EQ(copy.GetIconCount(), 0);
    copy.AssignTo(first);
    EXPECT_EQ(first.Handle(), nullptr);

    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    TMemoryStream unwritten;
    EXPECT_THROW(image.SaveToStream(unwritten), EAbort);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Function not yet implemented"});

    EXPECT_EQ(JiffiesToMilliseconds(6), 100);
    EXPECT_EQ(JiffiesToMilliseconds(0x7FFFFFFF), 0x7FFFFFFF);
    EXPECT_EQ(JiffiesToMilliseconds(0xFFFFFFFF), 0x7FFFFFFF);
}
