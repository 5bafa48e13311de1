#include "BitmapConversion.h"
#include "TestBitmaps.h"

#include "BitmapFileImage.h"
#include "Exceptions.h"
#include "ScriptedMessageBoxes.h"
#include "Streams.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <set>
#include <string_view>

namespace {

// Four colours a reduction to 1, 4 or 8 bits can keep apart: black and white
// on the left half, red and blue on the right.
TColor Quadrants(int x, int y)
{
    if (x < 50)
        return y < 50 ? clBlack : clWhite;
    return y < 50 ? TColor{0x0000FF} : TColor{0xFF0000};
}

std::string_view Bytes(TMemoryStream& stream)
{
    return {static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size())};
}

std::unique_ptr<TBitmap> Source(const std::string& kind)
{
    if (kind == "16-bit bit fields") {
        auto bitmap = MakeBitFieldsBitmap(101, 100);
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 101; ++x)
                bitmap->Canvas().SetPixel(x, y, Quadrants(x, y));
        return bitmap;
    }
    const TPixelFormat format = kind == "1-bit"    ? pf1bit
                                : kind == "8-bit"  ? pf8bit
                                : kind == "32-bit" ? pf32bit
                                                   : pfDevice;
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(format);
    if (format == pf8bit) {
        // An 8-bit section gets a palette holding the four colours.
        std::vector<std::uint8_t> logical(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY), 0);
        auto* palette = reinterpret_cast<LOGPALETTE*>(logical.data());
        palette->palVersion = 0x300;
        palette->palNumEntries = 256;
        palette->palPalEntry[1] = PALETTEENTRY{255, 255, 255, 0};
        palette->palPalEntry[2] = PALETTEENTRY{255, 0, 0, 0};
        palette->palPalEntry[3] = PALETTEENTRY{0, 0, 255, 0};
        bitmap->SetPalette(CreatePalette(palette));
    }
    bitmap->SetSize(101, 100);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 101; ++x)
            bitmap->Canvas().SetPixel(x, y, format == pf1bit && x >= 50 ? clBlack : Quadrants(x, y));
    return bitmap;
}

} // namespace

TEST(BitmapToMemoryStream, EveryDepthToEveryFormatFitsItsHeaderAndLoadsBack)
{
    const char* kinds[] = {"1-bit", "8-bit", "16-bit bit fields", "32-bit", "device"};
    const TPixelFormat formats[] = {pf1bit, pf4bit, pf8bit, pf24bit};
    for (const char* kind : kinds) {
        for (TPixelFormat format : formats) {
            auto bitmap = Source(kind);
            const bool monochrome = std::string(kind) == "1-bit";
            std::unique_ptr<TMemoryStream> stream = BitmapToMemoryStream(*bitmap, format, mmHistogram);
            EXPECT_EQ(stream->Position(), 0);
            BitmapFileImage image;
            ASSERT_EQ(ReadBitmapFileImage(Bytes(*stream), image), BitmapImageError::None) << kind << " " << format;
            const int bits = BitCountOfPixelFormat(format);
            EXPECT_EQ(image.header.bitCount, bits) << kind;
            const std::int64_t expected = 14 + 40 + DibColorTableSize(image.header) + DibImageSize(101, 100, bits);
            EXPECT_EQ(stream->Size(), expected) << kind << " " << format;
            const auto* data = static_cast<const std::uint8_t*>(stream->Memory());
            EXPECT_EQ(data[2] | data[3] << 8 | data[4] << 16, expected) << kind << " " << format;

            TBitmap loaded;
            loaded.LoadFromStream(*stream);
            EXPECT_EQ(loaded.Width(), 101);
            EXPECT_EQ(loaded.Height(), 100);
            TCanvas& canvas = loaded.Canvas();
            const bool colours = bits >= 4 && !monochrome;
            EXPECT_EQ(canvas.Pixel(10, 10), clBlack) << kind << " " << format;
            EXPECT_EQ(canvas.Pixel(10, 90), clWhite) << kind << " " << format;
            if (colours) {
                EXPECT_EQ(canvas.Pixel(90, 10), 0x0000FFu) << kind << " " << format;
                EXPECT_EQ(canvas.Pixel(90, 90), 0xFF0000u) << kind << " " << format;
            }
        }
    }
}

TEST(BitmapToMemoryStream, EightBitsStayAsTheyAreWithTheHistogram)
{
    auto bitmap = Source("8-bit");
    TMemoryStream own;
    bitmap->SaveToStream(own);
    std::unique_ptr<TMemoryStream> stream = BitmapToMemoryStream(*bitmap, pf8bit, mmHistogram);
    EXPECT_EQ(Bytes(*stream), Bytes(own));
}

TEST(BitmapToMemoryStream, MethodsFillHeaderAndPalette)
{
    struct Case {
        TMappingMethod method;
        std::uint32_t important;
    } cases[] = {{mmQuantize, 4}, {mmTrunc784, 224}, {mmTrunc666, 216}, {mmTripel, 0}, {mmGrayscale, 0}};
    for (const Case& c : cases) {
        auto bitmap = Source("32-bit");
        std::unique_ptr<TMemoryStream> stream = BitmapToMemoryStream(*bitmap, pf8bit, c.method);
        BitmapFileImage image;
        ASSERT_EQ(ReadBitmapFileImage(Bytes(*stream), image), BitmapImageError::None);
        EXPECT_EQ(image.header.clrImportant, c.important) << c.method;
        EXPECT_EQ(image.colors.size(), 256u);
    }
}

TEST(BitmapToMemoryStream, BadBitmapsAndFormatsRaise)
{
    TBitmap empty;
    EXPECT_THROW(BitmapToMemoryStream(empty, pf8bit, mmHistogram), EInvalidGraphic);
    EXPECT_THROW(ReadBitmapFileBytes(reinterpret_cast<HBITMAP>(static_cast<std::uintptr_t>(0x1234)), nullptr, 24),
                 EInvalidGraphic);
    auto bitmap = Source("32-bit");
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    EXPECT_THROW(BitmapToMemoryStream(*bitmap, pf16bit, mmHistogram), EAbort);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Function not yet implemented"});
}

TEST(BitmapConversion, GreyscaleConvertsColourEightBitPicturesOnly)
{
    auto bitmap = Source("8-bit");
    GrayscaleBitmap(*bitmap);
    EXPECT_EQ(bitmap->PixelFormat(), pf8bit);
    const COLORREF red = bitmap->Canvas().Pixel(90, 10);
    EXPECT_EQ(GetRValue(red), GetGValue(red));
    EXPECT_EQ(GetRValue(red), (77 * 255) >> 8);
    TMemoryStream grey;
    bitmap->SaveToStream(grey);
    GrayscaleBitmap(*bitmap);
    TMemoryStream again;
    bitmap->SaveToStream(again);
    EXPECT_EQ(Bytes(again), Bytes(grey));
}

TEST(BitmapConversion, SetPixelFormatAndSaveToFile)
{
    auto bitmap = Source("32-bit");
    SetBitmapPixelFormat(*bitmap, pf8bit, mmHistogram);
    EXPECT_EQ(bitmap->PixelFormat(), pf8bit);
    EXPECT_EQ(bitmap->Canvas().Pixel(90, 90), 0xFF0000u);
    EXPECT_EQ(GetPaletteBitmapFormat(*bitmap), pf8bit);

    TestFolder folder;
    const std::string path = folder.Path() + "\\picture.bmp";
    SaveBitmapToFile(path, *bitmap, 16);
    TBitmap loaded;
    loaded.LoadFromFile(path);
    EXPECT_EQ(loaded.PixelFormat(), pf4bit);
    EXPECT_EQ(loaded.Canvas().Pixel(90, 10), 0x0000FFu);
    EXPECT_THROW(SaveBitmapToFile(folder.Path() + "\\missing\\x.bmp", *bitmap, 256), EFCreateError);
}

TEST(BitmapConversion, ScreenAndColourCounts)
{
    EXPECT_EQ(PixelFormatColorCount(pf1bit), 2);
    EXPECT_EQ(PixelFormatColorCount(pf4bit), 16);
    EXPECT_EQ(PixelFormatColorCount(pf8bit), 256);
    EXPECT_EQ(PixelFormatColorCount(pf24bit), 0);
    const TPixelFormat screen = ScreenPixelFormat();
    EXPECT_TRUE(screen == pf24bit || screen == pfDevice) << screen; // Wine's screen is true colour
    EXPECT_EQ(ScreenColorCount(), 0);
    TBitmap none;
    EXPECT_EQ(GetPaletteBitmapFormat(none), pfDevice);
}

TEST(BitmapConversion, TileAndGradientFill)
{
    auto tile = MakeBitmap(pf24bit, 3, 2, [](int x, int) { return x == 0 ? TColor{0x0000FF} : clWhite; });
    auto canvas = MakeBitmap(pf24bit, 20, 20, [](int, int) { return clBlack; });
    TileImage(canvas->Canvas(), RECT{1, 1, 11, 6}, *tile);
    EXPECT_EQ(canvas->Canvas().Pixel(1, 1), 0x0000FFu);
    EXPECT_EQ(canvas->Canvas().Pixel(10, 5), 0x0000FFu);
    EXPECT_EQ(canvas->Canvas().Pixel(11, 5), clBlack);
    EXPECT_EQ(canvas->Canvas().Pixel(5, 6), clBlack);
    EXPECT_EQ(canvas->Canvas().Pixel(0, 0), clBlack);

    TQGradient gradient;
    gradient.SetStartColor(0x000000);
    gradient.SetEndColor(0x0000FF);
    gradient.SetStepCount(2);
    DrawGradient(gradient, canvas->Canvas(), RECT{0, 0, 20, 20});
    EXPECT_EQ(canvas->Canvas().Pixel(0, 0), 0x000000u);
    EXPECT_EQ(canvas->Canvas().Pixel(0, 19), 0x0000FFu);
}
