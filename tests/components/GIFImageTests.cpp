// The GIF picture type on the system's drawing: transparent drawing, frames,
// copies, the stored form, the clipboard and the picture holder's registry.

#include "../framework_base/GifTestFiles.h"
#include "AniBytes.h"
#include "AnimatedCursorImage.h"
#include "Exceptions.h"
#include "GIFImage.h"
#include "PictureFormats.h"
#include "Streams.h"
#include "TestBitmaps.h"

#include <gtest/gtest.h>

using namespace giftest;

namespace {

// 4 x 2, a grey table of 4: 0, 85, 170, 255; index 1 transparent.
std::string TransparentFile()
{
    return ScreenHeader(4, 2, 2) + GraphicControl(1, 0, 1) +
           ImageBlock(0, 0, 4, 2, LiteralRaster(2, {0, 1, 2, 3, 3, 2, 1, 0})) + ";";
}

std::string ThreeFrames()
{
    std::string file = ScreenHeader(5, 3, 2);
    for (int i = 0; i < 3; ++i)
        file += ImageBlock(static_cast<unsigned>(i), 0, 3, 3, LiteralRaster(2, {0, 1, 2, 3, 0, 1, 2, 3, i}));
    return file + ";";
}

void Load(TGIFImage& image, const std::string& file)
{
    TStringStream stream(file);
    image.LoadFromStream(stream);
}

std::unique_ptr<TBitmap> Sentinel(int width, int height)
{
    return MakeBitmap(pf32bit, width, height, [](int, int) { return TColor{0x00FF00}; });
}

} // namespace

TEST(GIFImage, TransparentPixelsLetTheBackgroundShowAtAnyScale)
{
    TGIFImage image;
    Load(image, TransparentFile());
    ASSERT_TRUE(image.GetTransparent());
    const TColor grey[] = {0x000000, 0x00FF00, 0xAAAAAA, 0xFFFFFF}; // index 1 shows the sentinel
    const int top[] = {0, 1, 2, 3};
    const int bottom[] = {3, 2, 1, 0};
    for (int scale : {1, 2}) {
        auto canvas = Sentinel(4 * scale, 2 * scale);
        image.Draw(canvas->Canvas(), RECT{0, 0, 4 * scale, 2 * scale});
        for (int x = 0; x < 4 * scale; ++x) {
            EXPECT_EQ(canvas->Canvas().Pixel(x, 0), grey[top[x / scale]]) << scale << " " << x;
            EXPECT_EQ(canvas->Canvas().Pixel(x, 2 * scale - 1), grey[bottom[x / scale]]) << scale << " " << x;
        }
    }
    image.SetTransparent(false);
    auto canvas = Sentinel(4, 2);
    image.Draw(canvas->Canvas(), RECT{0, 0, 4, 2});
    EXPECT_EQ(canvas->Canvas().Pixel(1, 0), 0x555555u);
}

TEST(GIFImage, FrameOperations)
{
    TGIFImage image;
    Load(image, ThreeFrames());
    ASSERT_EQ(image.GetCount(), 3);
    int changes = 0;
    image.OnChange = [&](TGraphic&) { ++changes; };
    image.SetFrameIndex(99);
    EXPECT_EQ(image.FrameIndex(), 2);
    image.SetFrameIndex(-5);
    EXPECT_EQ(image.FrameIndex(), -1);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(image.Width(), 0) << "no current frame";
    image.SetFrameIndex(2);
    image.DeleteFrame(2);
    EXPECT_EQ(image.FrameIndex(), 1);
    EXPECT_EQ(image.ScreenWidth(), 4) << "from the rasters left";
    image.MoveFrame(0, 1);
    EXPECT_EQ(image.GetFrame(1).left, 0);
    EXPECT_THROW(image.GetFrame(2), EStringListError);
    image.SetRepeatCount(40000);
    EXPECT_EQ(image.repeatCount, 30000);
    EXPECT_THROW(image.SetWidth(3), EInvalidGraphicOperation);

    TGIFImage added;
    auto bitmap = MakeBitmap(pf24bit, 3, 2, [](int x, int) { return x ? TColor{0x0000FF} : TColor{0xFFFFFF}; });
    EXPECT_EQ(added.AddFrame(bitmap.get()), 0);
    EXPECT_EQ(added.version, gv87a);
    added.AddFrame(bitmap.get());
    EXPECT_EQ(added.version, gv89a);
    EXPECT_EQ(added.Width(), 3);
}

TEST(GIFImage, CopiesShareUntilOneChanges)
{
    TGIFImage image;
    Load(image, ThreeFrames());
    TGIFImage copy;
    copy.Assign(image);
    EXPECT_TRUE(copy.Equals(image));
    TStringList comment;
    comment.Add("mine");
    copy.SetComment(comment);
    EXPECT_EQ(image.GetComment().Count(), 0);
    EXPECT_FALSE(copy.Equals(image));

    TGIFImage coloured;
    const std::string file = ScreenHeader(2, 1, 1) + ImageBlock(0, 0, 2, 1, LiteralRaster(2, {0, 1})) + ";";
    TStringStream stream(file);
    coloured.ReadStream(static_cast<std::int64_t>(file.size()), stream, false);
    coloured.GetFrame(0).UniqueRaster().colorTable.colors[1] = {200, 100, 50};
    TGIFImage before;
    before.Assign(coloured);
    coloured.Grayscale(false);
    EXPECT_EQ(coloured.GetFrame(0).GetBitmap().Canvas().Pixel(1, 0), 0x7C7C7Cu);
    EXPECT_EQ(before.GetFrame(0).GetBitmap().Canvas().Pixel(1, 0), 0x3264C8u);
}

TEST(GIFImage, DamagedFramesFailOnce)
{
    // Frame 0 cannot decode without any colour table: it is removed and the
    // current index follows.
    TGIFImage image;
    EXPECT_THROW(Load(image, ScreenHeader(2, 1, 0) + ImageBlock(0, 0, 2, 1, LiteralRaster(2, {0, 1})) + ";"),
                 EInvalidGraphicOperation);
    EXPECT_EQ(image.GetCount(), 0);
    EXPECT_EQ(image.FrameIndex(), -1);

    std::string file = ScreenHeader(2, 1, 0) + ImageBlock(0, 0, 2, 1, LiteralRaster(2, {0, 1})) + ";";
    TStringStream stream(file);
    image.ReadStream(static_cast<std::int64_t>(file.size()), stream, false);
    ASSERT_EQ(image.GetCount(), 1);
    EXPECT_THROW(image.GetFrame(0).GetBitmap(), EInvalidGraphicOperation);
    EXPECT_NO_THROW(image.GetFrame(0).GetBitmap()) << "not again on the next paint";
    EXPECT_TRUE(image.GetCorrupted());

    TStringStream huge(std::string("\xFF\xFF\xFF\x7FGIF89a", 10));
    EXPECT_THROW(image.ReadData(huge), EReadError);
}

TEST(GIFImage, StoredFormAndRegistry)
{
    RegisterGIFImage();
    auto byExtension = CreateGraphicForExtension(".GIF");
    ASSERT_NE(dynamic_cast<TGIFImage*>(byExtension.get()), nullptr);
    const auto formats = PictureFileFormats();
    ASSERT_TRUE(std::any_of(formats.begin(), formats.end(), [](const PictureFileFormat& format) {
        return format.extension == "gif" && format.description == "CompuServe GIF Image";
    }));
    EXPECT_NE(CF_GIF, 0u);
    EXPECT_NE(dynamic_cast<TGIFImage*>(CreateGraphicForClipboardFormat(CF_GIF).get()), nullptr);

    TGIFImage image;
    Load(image, TransparentFile());
    TMemoryStream stored;
    WriteStoredGraphic(stored, "TGIFImage", image);
    stored.SetPosition(0);
    auto read = ReadStoredGraphic(stored);
    auto* gif = dynamic_cast<TGIFImage*>(read.get());
    ASSERT_NE(gif, nullptr);
    EXPECT_EQ(gif->Width(), 4);
    EXPECT_EQ(gif->GetTransparentColor(), 0x555555u);
    EXPECT_EQ(stored.Position(), stored.Size());
}

TEST(GIFImage, BitmapsAreEncodedAndReadBack)
{
    TGIFImage image;
    auto bitmap = MakeBitmap(pf24bit, 5, 3, [](int x, int y) { return TColor((x + y) % 2 ? 0x0000FF : 0x00FF00); });
    image.Assign(*bitmap);
    TMemoryStream stream;
    image.SaveToStream(stream);
    stream.SetPosition(0);
    TGIFImage read;
    read.LoadFromStream(stream);
    TBitmap& decoded = read.GetBitmap();
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(decoded.Canvas().Pixel(x, y), (x + y) % 2 ? 0x0000FFu : 0x00FF00u) << x << " " << y;
}

TEST(GIFImage, ClipboardRoundTrip)
{
    TGIFImage image;
    Load(image, ThreeFrames());
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    UINT format = 0;
    HANDLE data = nullptr;
    HPALETTE palette = nullptr;
    image.SaveToClipboardFormat(format, data, palette);
    EXPECT_EQ(format, static_cast<UINT>(CF_BITMAP));
    SetClipboardData(format, data);
    if (palette)
        SetClipboardData(CF_PALETTE, palette);
    CloseClipboard();

    ASSERT_TRUE(OpenClipboard(nullptr));
    TGIFImage pasted;
    pasted.LoadFromClipboardFormat(CF_BITMAP, GetClipboardData(CF_BITMAP), nullptr);
    EmptyClipboard();
    CloseClipboard();
    EXPECT_EQ(pasted.GetCount(), 3);
    EXPECT_EQ(pasted.ScreenWidth(), 5);
    EXPECT_EQ(pasted.GetBitmap().Width(), 3);
}

TEST(GIFImage, AnimatedCursorsBecomeFramesWithTheirTimes)
{
    using namespace anibytes;
    const std::string file = Riff(Chunk("anih", Header(2, 2, 6)) + Chunk("rate", Values({6, 4000})) +
                                  FrameList({IconFile({SolidPicture(32, 32)}), IconFile({SolidPicture(16, 16)})}));
    TAnimatedCursorImage cursor;
    TStringStream stream(file);
    cursor.LoadFromStream(stream);
    ASSERT_EQ(cursor.GetIconCount(), 2);
    TGIFImage image;
    image.AssignAnimatedCursor(cursor);
    ASSERT_EQ(image.GetCount(), 2);
    EXPECT_EQ(image.GetFrame(0).animateInterval, 100) << "6 jiffies";
    EXPECT_EQ(image.GetFrame(1).animateInterval, 65535);
    EXPECT_EQ(image.GetFrame(0).GetWidth(), 32);
    EXPECT_EQ(image.GetBackgroundColor(), static_cast<TColor>(GetSysColor(COLOR_WINDOW)));
    EXPECT_EQ(image.version, gv89a);
}
