#include "BitmapFileImage.h"
#include "ColorReduction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

struct Rgb {
    int red, green, blue;
};

// A 24-bit picture in memory order, rows padded as a bitmap's are.
class Picture {
public:
    Picture(int width, int height) : width_(width), height_(height), bits_(DibImageSize(width, height, 24)) {}
    void Set(int x, int y, Rgb c)
    {
        std::uint8_t* p = &bits_[static_cast<std::size_t>(y * DibRowSize(width_, 24) + 3 * x)];
        p[0] = static_cast<std::uint8_t>(c.blue);
        p[1] = static_cast<std::uint8_t>(c.green);
        p[2] = static_cast<std::uint8_t>(c.red);
    }
    void Fill(Rgb c)
    {
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                Set(x, y, c);
    }
    PixelRows Rows() { return {bits_.data(), width_, height_}; }
    int Index(int x, int y) const { return bits_[static_cast<std::size_t>(y * DibRowSize(width_, 8) + x)]; }

private:
    int width_, height_;
    std::vector<std::uint8_t> bits_;
};

DibRgbQuad Entry(int r, int g, int b, int reserved = 0)
{
    return {static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(r),
            static_cast<std::uint8_t>(reserved)};
}

template <std::size_t N>
void ExpectNearest(const std::array<std::uint8_t, N>& levels, int count)
{
    const auto& table = NearestLevelTable(count);
    for (int v = 0; v < 256; ++v) {
        std::size_t best = 0;
        for (std::size_t i = 0; i < N; ++i)
            if (std::abs(v - levels[i]) < std::abs(v - levels[best]))
                best = i;
        EXPECT_EQ(table[static_cast<std::size_t>(v)], best) << count << " levels, value " << v;
    }
}

} // namespace

TEST(ColorLevels, TablesGiveTheNearestLevelAndTheLowerOnATie)
{
    ExpectNearest(ColorLevels::four, 4);
    ExpectNearest(ColorLevels::six, 6);
    ExpectNearest(ColorLevels::seven, 7);
    ExpectNearest(ColorLevels::eight, 8);
    EXPECT_EQ(NearestLevelTable(4)[42], 0);
    EXPECT_EQ(NearestLevelTable(4)[43], 1);
    EXPECT_EQ(NearestLevelTable(7)[64], 1);
}

TEST(HistogramReduce, FewColoursAreKeptInFallingCountOrder)
{
    Picture picture(10, 1);
    const Rgb red{200, 0, 0}, green{0, 200, 0}, blue{0, 0, 200};
    for (int x = 0; x < 10; ++x)
        picture.Set(x, 0, x < 2 ? red : (x < 7 ? green : blue));
    DibPalette palette;
    EXPECT_EQ(HistogramReduce(picture.Rows(), 256, palette), 3);
    EXPECT_EQ(palette[0], Entry(0, 200, 0));
    EXPECT_EQ(palette[1], Entry(0, 0, 200));
    EXPECT_EQ(palette[2], Entry(200, 0, 0));
    EXPECT_EQ(palette[3], Entry(128, 128, 128));
    EXPECT_EQ(palette[255], Entry(128, 128, 128));
    EXPECT_EQ(picture.Index(0, 0), 2);
    EXPECT_EQ(picture.Index(5, 0), 0);
    EXPECT_EQ(picture.Index(9, 0), 1);
}

TEST(HistogramReduce, AllOf256ColoursStay)
{
    Picture picture(256, 2);
    for (int x = 0; x < 256; ++x) {
        picture.Set(x, 0, {x, 255 - x, 7});
        picture.Set(x, 1, {x, 255 - x, x < 10 ? 7 : 9}); // the first ten twice as often
    }
    DibPalette palette;
    EXPECT_EQ(HistogramReduce(picture.Rows(), 256, palette), 256 + 0 * 0);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(palette[static_cast<std::size_t>(x)], Entry(x, 255 - x, 7));
}

TEST(HistogramReduce, TooManyColoursCoarsenBlueFirstAndTheRestMapToTheNearest)
{
    // 2,049 distinct colours fit; 2,050 make the blue mask coarser, which
    // merges the odd blue values into the even ones.
    for (int colours : {2049, 2050, 3000}) {
        Picture picture(colours, 1);
        for (int x = 0; x < colours; ++x)
            picture.Set(x, 0, {x / 64, (x / 2) % 32, x % 2 == 0 ? 10 : 11});
        DibPalette palette;
        const int kept = HistogramReduce(picture.Rows(), 256, palette);
        EXPECT_EQ(kept, 256) << colours;
        bool oddBlue = false;
        for (int i = 0; i < kept; ++i)
            oddBlue |= palette[static_cast<std::size_t>(i)].blue == 11;
        EXPECT_EQ(oddBlue, colours == 2049) << colours;
        // Every pixel maps to the entry nearest to its masked colour.
        const int blueMask = colours == 2049 ? 0xFF : 0xFE;
        for (int x = 0; x < colours; x += 7) {
            const int r = x / 64, g = (x / 2) % 32, b = (x % 2 == 0 ? 10 : 11) & blueMask;
            auto distance = [&](const DibRgbQuad& p) {
                return (p.red - r) * (p.red - r) + (p.green - g) * (p.green - g) + (p.blue - b) * (p.blue - b);
            };
            int nearest = distance(palette[0]);
            for (int i = 1; i < kept; ++i)
                nearest = std::min(nearest, distance(palette[static_cast<std::size_t>(i)]));
            EXPECT_EQ(distance(palette[static_cast<std::size_t>(picture.Index(x, 0))]), nearest) << x;
        }
    }
}

TEST(MedianCutReduce, OneColourMakesOneBoxAndTheRestIsBlack)
{
    Picture picture(3, 3);
    picture.Fill({255, 255, 255});
    DibPalette palette;
    EXPECT_EQ(MedianCutReduce(picture.Rows(), palette), 1);
    EXPECT_EQ(palette[0], Entry(255, 255, 255));
    for (int i = 1; i < 256; ++i)
        EXPECT_EQ(palette[static_cast<std::size_t>(i)], Entry(0, 0, 0));
    EXPECT_EQ(picture.Index(2, 2), 0);
}

TEST(MedianCutReduce, NearBlackIsBlackAndEntriesAreTheMeanOfTheirColours)
{
    Picture dark(2, 1);
    dark.Set(0, 0, {3, 3, 3});
    dark.Set(1, 0, {200, 100, 50});
    DibPalette palette;
    EXPECT_EQ(MedianCutReduce(dark.Rows(), palette), 2);
    EXPECT_EQ(palette[static_cast<std::size_t>(dark.Index(0, 0))], Entry(0, 0, 0));
    EXPECT_EQ(palette[static_cast<std::size_t>(dark.Index(1, 0))], Entry(207, 111, 63));

    // 512 colours, red 14 or 15: every box ends with one red value and most
    // with two colours. A box whose colours all have one channel value v gets
    // exactly v x 16 + 15 there (white stays 255 when it shares its box).
    Picture all(512, 1);
    auto nibbles = [](int c) { return std::array<int, 3>{14 + c / 256, (c >> 4) & 15, c & 15}; };
    for (int c = 0; c < 512; ++c)
        all.Set(c, 0, {nibbles(c)[0] * 17, nibbles(c)[1] * 17, nibbles(c)[2] * 17});
    EXPECT_EQ(MedianCutReduce(all.Rows(), palette), 256);
    int sharedBoxes = 0;
    for (int index = 0; index < 256; ++index) {
        int low[3] = {15, 15, 15}, high[3] = {0, 0, 0}, members = 0;
        for (int c = 0; c < 512; ++c) {
            if (all.Index(c, 0) != index)
                continue;
            ++members;
            const std::array<int, 3> v = nibbles(c);
            for (int ch = 0; ch < 3; ++ch) {
                low[ch] = std::min(low[ch], v[ch]);
                high[ch] = std::max(high[ch], v[ch]);
            }
        }
        const DibRgbQuad& p = palette[static_cast<std::size_t>(index)];
        const int got[3] = {p.red, p.green, p.blue};
        for (int ch = 0; ch < 3; ++ch) {
            if (members > 1 && low[ch] == high[ch] && got[0] + got[1] + got[2] > 0) {
                EXPECT_EQ(got[ch], low[ch] * 16 + 15) << index << " channel " << ch;
                ++sharedBoxes;
            }
        }
    }
    EXPECT_GT(sharedBoxes, 100);
}

TEST(MedianCutReduce, ManyColoursMake256BoxesEachNearItsPixels)
{
    Picture picture(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            picture.Set(x, y, {x * 4, y * 4, (x + y) * 2});
    Picture copy = picture;
    DibPalette palette;
    EXPECT_EQ(MedianCutReduce(picture.Rows(), palette), 256);
    for (int y = 0; y < 64; y += 5)
        for (int x = 0; x < 64; x += 5) {
            const DibRgbQuad& p = palette[static_cast<std::size_t>(picture.Index(x, y))];
            EXPECT_LE(std::abs(p.red - x * 4), 48) << x << "," << y;
            EXPECT_LE(std::abs(p.green - y * 4), 48) << x << "," << y;
        }
}

TEST(FixedPalettes, TruncationGivesExactIndicesAndPalettes)
{
    Picture picture(5, 1);
    const Rgb colours[] = {{0, 0, 0}, {255, 255, 255}, {64, 100, 42}, {43, 200, 43}, {128, 18, 230}};
    for (int x = 0; x < 5; ++x)
        picture.Set(x, 0, colours[x]);
    Picture six = picture;
    DibPalette palette;
    Trunc784Reduce(picture.Rows(), palette);
    const int expected784[] = {0, 6 * 32 + 7 * 4 + 3, 1 * 32 + 3 * 4 + 0, 1 * 32 + 5 * 4 + 1, 3 * 32 + 0 * 4 + 3};
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(picture.Index(x, 0), expected784[x]) << x;
    EXPECT_EQ(palette[1 * 32 + 3 * 4 + 0], Entry(43, 109, 0));
    EXPECT_EQ(palette[223], Entry(255, 255, 255));
    for (int i = 224; i < 256; ++i)
        EXPECT_EQ(palette[static_cast<std::size_t>(i)], Entry(128, 128, 128, 128));

    Trunc666Reduce(six.Rows(), palette);
    const int expected666[] = {0, 215, 1 * 36 + 2 * 6 + 1, 1 * 36 + 4 * 6 + 1, 3 * 36 + 0 * 6 + 5};
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(six.Index(x, 0), expected666[x]) << x;
    EXPECT_EQ(palette[1 * 36 + 2 * 6 + 1], Entry(51, 102, 51));
    for (int i = 216; i < 256; ++i)
        EXPECT_EQ(palette[static_cast<std::size_t>(i)], Entry(128, 128, 128, 128));
}

TEST(FixedPalettes, TripelAndGreyConvertRowsOfEveryPaddingInPlace)
{
    for (int width : {1, 3, 5}) {
        Picture tripel(width, 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < width; ++x)
                tripel.Set(x, y, {100 + x, 40 + y, 252});
        Picture grey = tripel;
        DibPalette palette;
        TripelReduce(tripel.Rows(), palette);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < width; ++x) {
                const int expected[] = {(100 + x) / 4, 64 + (40 + y) / 4, 128 + 63};
                EXPECT_EQ(tripel.Index(x, y), expected[(x + y) % 3]) << width << ": " << x << "," << y;
            }
        EXPECT_EQ(palette[10], Entry(40, 0, 0));
        EXPECT_EQ(palette[64 + 10], Entry(0, 40, 0));
        EXPECT_EQ(palette[128 + 63], Entry(0, 0, 252));
        EXPECT_EQ(palette[192], Entry(0, 0, 0));

        GrayscaleReduce(grey.Rows(), palette);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < width; ++x)
                EXPECT_EQ(grey.Index(x, y), (77 * (100 + x) + 150 * (40 + y) + 29 * 252) >> 8);
        EXPECT_EQ(palette[77], Entry(77, 77, 77));
    }
}
