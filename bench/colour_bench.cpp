// Times the reduction of a screen-sized true-colour picture to 256 colours by
// each mapping method, its conversion from a 32-bit section to an 8-bit
// bitmap file image, and drawing it stretched with a transparent colour.

#include "BenchReport.h"
#include "BitmapConversion.h"
#include "ColorReduction.h"
#include "DrawUtils.h"
#include "Graphics.h"
#include "Streams.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace {
constexpr int Width = 1920;
constexpr int Height = 1080;
constexpr int Runs = 5;

// Smooth ramps with a pattern across them: tens of thousands of colours.
void Paint(std::uint8_t* pixel, int x, int y)
{
    pixel[0] = static_cast<std::uint8_t>((x ^ y) & 0xFF);
    pixel[1] = static_cast<std::uint8_t>(y * 255 / (Height - 1));
    pixel[2] = static_cast<std::uint8_t>(x * 255 / (Width - 1));
}

std::vector<std::uint8_t> TrueColourRows()
{
    const auto row = static_cast<std::size_t>(DibRowSize(Width, 24));
    std::vector<std::uint8_t> bits(row * Height);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            Paint(&bits[static_cast<std::size_t>(y) * row + 3 * static_cast<std::size_t>(x)], x, y);
    return bits;
}

std::unique_ptr<TBitmap> TrueColourSection()
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(Width, Height);
    DIBSECTION section{};
    GetObjectA(bitmap->Handle(), sizeof section, &section);
    GdiFlush();
    auto* bits = static_cast<std::uint8_t*>(section.dsBm.bmBits);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            Paint(bits + (static_cast<std::size_t>(y) * Width + x) * 4, x, y);
    return bitmap;
}

template <class Reduce>
void TimeMethod(const char* what, const std::vector<std::uint8_t>& original, double target, Reduce reduce)
{
    std::vector<double> runs;
    for (int run = 0; run < Runs; ++run) {
        std::vector<std::uint8_t> bits = original;
        DibPalette palette{};
        const auto start = BenchClock::now();
        reduce(PixelRows{bits.data(), Width, Height}, palette);
        runs.push_back(MillisecondsSince(start));
    }
    Report(what, Best(runs), target);
    std::printf("    %s\n", RunsText(runs).c_str());
}

} // namespace

int main()
{
    const std::vector<std::uint8_t> original = TrueColourRows();
    TimeMethod("histogram, 1920 x 1080 to 256 colours", original, 300,
               [](PixelRows rows, DibPalette& palette) { HistogramReduce(rows, 256, palette); });
    TimeMethod("median cut, 1920 x 1080", original, 300,
               [](PixelRows rows, DibPalette& palette) { MedianCutReduce(rows, palette); });
    TimeMethod("truncation 7 x 8 x 4, 1920 x 1080", original, 50, Trunc784Reduce);
    TimeMethod("truncation 6 x 6 x 6, 1920 x 1080", original, 50, Trunc666Reduce);
    TimeMethod("three ramps, 1920 x 1080", original, 50, TripelReduce);
    TimeMethod("greyscale, 1920 x 1080", original, 50, GrayscaleReduce);

    auto section = TrueColourSection();
    std::vector<double> runs;
    for (int run = 0; run < Runs; ++run) {
        const auto start = BenchClock::now();
        std::unique_ptr<TMemoryStream> stream = BitmapToMemoryStream(*section, pf8bit, mmHistogram);
        runs.push_back(MillisecondsSince(start));
    }
    Report("32-bit section 1920 x 1080 to an 8-bit image", Best(runs), 400);
    std::printf("    %s\n", RunsText(runs).c_str());

    TBitmap destination;
    destination.SetPixelFormat(pf32bit);
    destination.SetSize(Width, Height);
    runs.clear();
    for (int run = 0; run < Runs; ++run) {
        const auto start = BenchClock::now();
        StretchBitmapTransparent(destination.Canvas(), *section, clDefault, 0, 0, Width, Height, 0, 0, Width / 2,
                                 Height / 2);
        GdiFlush();
        runs.push_back(MillisecondsSince(start));
    }
    Report("transparent stretch of 960 x 540 to 1920 x 1080", Best(runs), 40);
    std::printf("    %s\n", RunsText(runs).c_str());
    runs.clear();
    for (int run = 0; run < Runs; ++run) {
        const auto start = BenchClock::now();
        DrawBitmapTransparent(destination.Canvas(), 0, 0, *section, clDefault);
        GdiFlush();
        runs.push_back(MillisecondsSince(start));
    }
    Report("transparent drawing of 1920 x 1080", Best(runs), 40);
    std::printf("    %s\n", RunsText(runs).c_str());
    return 0;
}
