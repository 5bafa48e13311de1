#include "DrawUtils.h"
#include "TestBitmaps.h"

#include "Exceptions.h"
#include "ScriptedMessageBoxes.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor kRed = 0x0000FF;
constexpr TColor kBlue = 0xFF0000;
constexpr TColor kGreen = 0x00FF00;
constexpr TColor kYellow = 0x00FFFF;

// A 16 x 16 picture: red (transparent) wherever x + y is odd, and along the
// bottom row; green elsewhere.
std::unique_ptr<TBitmap> Checkers()
{
    return MakeBitmap(pf24bit, 16, 16, [](int x, int y) { return (x + y) % 2 || y == 15 ? kRed : kGreen; });
}

std::unique_ptr<TBitmap> Background(int size, TColor color = kBlue)
{
    return MakeBitmap(pf24bit, size, size, [color](int, int) { return color; });
}

} // namespace

TEST(TransparentDrawing, StretchingKeepsTheBackgroundInEveryDoubledTransparentPixel)
{
    auto picture = Checkers();
    auto destination = Background(40);
    StretchBitmapTransparent(destination->Canvas(), *picture, clDefault, 4, 4, 32, 32, 0, 0, 16, 16);
    TCanvas& canvas = destination->Canvas();
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const int sx = x / 2, sy = y / 2;
            const TColor expected = (sx + sy) % 2 || sy == 15 ? kBlue : kGreen;
            ASSERT_EQ(canvas.Pixel(4 + x, 4 + y), expected) << x << "," << y;
        }
    EXPECT_EQ(canvas.Pixel(3, 3), kBlue);
    EXPECT_EQ(canvas.Pixel(36, 36), kBlue);
}

TEST(TransparentDrawing, ColourChoicesSizesAndEmptyBitmaps)
{
    // Red where x + y is even, green where it is odd; bottom-left is green.
    // Checked at (0, 0), (3, 0) and (17, 0), the last beyond 16 pixels.
    struct Case {
        const char* what;
        TColor transparent;
        int width, sourceWidth;
        TColor expected[3];
    } cases[] = {
        {"no colour covers all", clNone, 16, 16, {kRed, kGreen, kBlue}},
        {"no colour, stretched", clNone, 32, 0, {kRed, kGreen, kRed}},
        {"default leaves out the bottom-left colour", clDefault, 16, 16, {kRed, kBlue, kBlue}},
        {"an explicit colour", kRed, 16, 16, {kBlue, kGreen, kBlue}},
        {"width 0 takes the bitmap's own", kRed, 0, 16, {kBlue, kGreen, kBlue}},
        {"source width 0 takes the whole bitmap", kRed, 32, 0, {kBlue, kGreen, kBlue}},
    };
    for (const Case& c : cases) {
        auto picture = MakeBitmap(pf24bit, 16, 16, [](int x, int y) { return (x + y) % 2 ? kGreen : kRed; });
        auto destination = Background(40);
        destination->Canvas().CopyMode = SRCCOPY;
        StretchBitmapTransparent(destination->Canvas(), *picture, c.transparent, 0, 0, c.width, 16, 0, 0,
                                 c.sourceWidth, 16);
        const int xs[3] = {0, 3, 17};
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(destination->Canvas().Pixel(xs[i], 0), c.expected[i]) << c.what << " at " << xs[i];
    }

    TBitmap empty;
    auto destination = Background(8);
    StretchBitmapTransparent(destination->Canvas(), empty, clDefault, 0, 0, 8, 8, 0, 0, 0, 0);
    DrawBitmapTransparent(destination->Canvas(), 0, 0, empty, clNone);
    EXPECT_EQ(destination->Canvas().Pixel(0, 7), kBlue);
}

TEST(TransparentDrawing, MonochromeLeavesOutWhite)
{
    auto mask = MakeBitmap(pf1bit, 8, 8, [](int x, int) { return x < 4 ? clBlack : clWhite; });
    auto destination = Background(8);
    DrawBitmapTransparent(destination->Canvas(), 0, 0, *mask, kRed);
    EXPECT_EQ(destination->Canvas().Pixel(1, 1), clBlack);
    EXPECT_EQ(destination->Canvas().Pixel(6, 6), kBlue);
}

TEST(TransparentDrawing, RectangleFormsAndTheDeviceContextForm)
{
    auto picture = Checkers();
    auto destination = Background(40);
    // Cells (2, 2) to (5, 5) of the picture, once at its size, once doubled.
    DrawBitmapRectTransparent(destination->Canvas(), 0, 0, RECT{2, 2, 5, 5}, *picture, kRed);
    StretchBitmapRectTransparent(destination->Canvas(), 10, 10, 6, 6, RECT{2, 2, 5, 5}, *picture, kRed);
    EXPECT_EQ(destination->Canvas().Pixel(0, 0), kGreen);
    EXPECT_EQ(destination->Canvas().Pixel(1, 0), kBlue);
    EXPECT_EQ(destination->Canvas().Pixel(3, 0), kBlue);
    EXPECT_EQ(destination->Canvas().Pixel(11, 11), kGreen);
    EXPECT_EQ(destination->Canvas().Pixel(12, 10), kBlue);

    auto plain = Background(40, kYellow);
    picture->Dormant();
    DrawTransparentBitmap(plain->Canvas().Handle(), picture->Handle(), 2, 2, ColorToRGB(kRed));
    EXPECT_EQ(plain->Canvas().Pixel(2, 2), kGreen);
    EXPECT_EQ(plain->Canvas().Pixel(3, 2), kYellow);
}

TEST(PaletteHelpers, EntriesAndPaletteRelativeColours)
{
    std::vector<std::uint8_t> logical(sizeof(LOGPALETTE) + 16 * sizeof(PALETTEENTRY), 0);
    auto* palette = reinterpret_cast<LOGPALETTE*>(logical.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = 16;
    HPALETTE handle = CreatePalette(palette);
    EXPECT_EQ(PaletteEntries(handle), 16);
    DeleteObject(handle);
    EXPECT_EQ(PaletteEntries(nullptr), 0);
    EXPECT_EQ(PaletteColor(0x123456), 0x02123456u);
    EXPECT_EQ(PaletteColor(clBtnFace), GetSysColor(COLOR_BTNFACE) | 0x02000000u);
}

TEST(NotImplemented, TellsTheUserThenAbortsSilently)
{
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    EXPECT_THROW(NotImplemented(), EAbort);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "Function not yet implemented");
    EXPECT_EQ(boxes.Shown()[0].flags & (MB_ICONINFORMATION | MB_OK | MB_OKCANCEL), UINT{MB_ICONINFORMATION});
}

TEST(TransparentDrawing, AWorkSurfaceThatCannotBeMadeLeavesTheDestinationAlone)
{
    auto picture = Checkers();
    auto destination = Background(8);
    // No system makes a work bitmap of 200,000 x 200,000 pixels.
    EXPECT_THROW(StretchBltTransparent(destination->Canvas().Handle(), 0, 0, 200000, 200000,
                                       picture->Canvas().Handle(), 0, 0, 16, 16, nullptr, ColorToRGB(kRed)),
                 EOutOfResources);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(destination->Canvas().Pixel(x, y), kBlue);
}
