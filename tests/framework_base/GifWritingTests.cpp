// Encoding and writing GIF files, the extension rebuild and grey tables.

#include "BitmapFileImage.h"
#include "Exceptions.h"
#include "GifLzw.h"
#include "GifPixels.h"
#include "GifTestFiles.h"
#include "GifWriter.h"
#include "Streams.h"

#include <gtest/gtest.h>

#include <random>

using namespace giftest;

namespace {

// A bitmap file image of indices given top row first.
std::string BitmapImage(int width, int height, int bitCount, const std::vector<int>& pixels,
                        const std::vector<DibRgbQuad>& palette)
{
    const BitmapInfoHeader header = MakeBitmapInfoHeader(width, height, bitCount);
    std::vector<DibRgbQuad> table(std::size_t{1} << bitCount);
    std::copy(palette.begin(), palette.end(), table.begin());
    const std::int64_t rowSize = DibRowSize(width, bitCount);
    std::vector<std::uint8_t> bits(static_cast<std::size_t>(rowSize * height), 0);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = bits.data() + (height - 1 - y) * rowSize;
        for (int x = 0; x < width; ++x) {
            const int value = pixels[static_cast<std::size_t>(y * width + x)];
            if (bitCount == 8)
                row[x] = static_cast<std::uint8_t>(value);
            else if (bitCount == 4)
                row[x / 2] |= static_cast<std::uint8_t>((x & 1) ? value : value << 4);
            else
                row[x / 8] |= static_cast<std::uint8_t>(value << (7 - x % 8));
        }
    }
    TStringStream stream;
    WriteBitmapFileImage(stream, header, table.data(), bits.data());
    return stream.DataString();
}

std::vector<int> RandomPixels(std::size_t count, int colors, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<int> pixels(count);
    for (int& pixel : pixels)
        pixel = static_cast<int>(random() % static_cast<unsigned>(colors));
    return pixels;
}

std::string EncodedRaster(int width, int height, int bitCount, const std::vector<int>& pixels)
{
    GifImageData image;
    image.frames.push_back(image.CreateFrameData());
    EncodeGifBitmapImage(image, *image.frames[0], BitmapImage(width, height, bitCount, pixels, {}), nullptr);
    return image.frames[0]->raster->rasterData;
}

// A picture of one encoded frame.
void OneEncodedFrame(GifImageData& image, int width, int height, const std::vector<int>& pixels)
{
    image.NewImageData();
    image.frames.push_back(image.CreateFrameData());
    EncodeGifBitmapImage(image, *image.frames[0],
                         BitmapImage(width, height, 1, pixels, {{0, 0, 0xFF, 0}, {0xFF, 0, 0, 0}}), nullptr);
}

} // namespace

TEST(GifWriting, GoldenBytes)
{
    GifImageData image;
    OneEncodedFrame(image, 1, 1, {1});
    EXPECT_EQ(WriteGifData(image), std::string("GIF87a\x01\0\x01\0\x80\0\0\xFF\0\0\0\0\xFF"
                                               ",\0\0\0\0\x01\0\x01\0\0\x02\x02\x4C\x01\0;",
                                               35));
    EXPECT_EQ(EncodedRaster(1, 1, 8, {5}), std::string("\x08\x04\x00\x0B\x04\x04\x00", 7));
    EXPECT_EQ(EncodedRaster(8, 1, 4, std::vector<int>(8, 0)), std::string("\x04\x04\x10\xC8\x29\x23\x00", 7));
}

TEST(GifWriting, EncodedPicturesDecodeBackTheSame)
{
    struct Case {
        int width, height, bitCount;
    };
    for (const Case& c : {Case{300, 200, 8}, Case{300, 200, 4}, Case{300, 200, 1}, Case{1, 1, 1}, Case{17, 5, 4},
                          Case{640, 3, 8}}) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " at " << c.bitCount);
        const auto pixels = RandomPixels(static_cast<std::size_t>(c.width * c.height), 1 << c.bitCount, 7);
        GifImageData image;
        image.frames.push_back(image.CreateFrameData());
        EncodeGifBitmapImage(image, *image.frames[0], BitmapImage(c.width, c.height, c.bitCount, pixels, {}), nullptr);
        GifImageData read;
        ReadGifData(read, WriteGifData(image));
        EXPECT_EQ(FramePixels(*read.frames[0]), pixels);
        EXPECT_FALSE(read.frames[0]->corrupted);
    }
    // Widths around the table's first reset, one of them ending on it.
    for (int width = 3900; width < 4400; width += 3) {
        const auto pixels = RandomPixels(static_cast<std::size_t>(width), 256, 11);
        GifImageData read;
        ReadGifData(read, ScreenHeader(static_cast<unsigned>(width), 1, 8) +
                              ImageBlock(0, 0, static_cast<unsigned>(width), 1, EncodedRaster(width, 1, 8, pixels)) +
                              ";");
        ASSERT_EQ(FramePixels(*read.frames[0]), pixels) << width;
    }
}

TEST(GifWriting, ReadFilesComeBackWithTheirRastersAndScreen)
{
    const std::string raster = LiteralRaster(3, RandomPixels(35, 8, 3));
    std::string cut = LiteralRaster(2, {1, 2, 3, 1, 2, 3});
    cut.pop_back(); // no terminator
    const std::string file = ScreenHeader(40, 30, 3, "GIF87a") + ImageBlock(2, 3, 7, 5, raster, true) +
                             ImageBlock(0, 0, 6, 1, cut) + ";";
    GifImageData image;
    ReadGifData(image, file);
    const std::string written = WriteGifData(image);
    EXPECT_EQ(written.substr(0, 13), file.substr(0, 13)) << "version and screen";
    EXPECT_NE(written.find(raster), std::string::npos);
    EXPECT_NE(written.find(cut + std::string(1, '\0') + ";"), std::string::npos) << "terminator added";
    GifImageData again;
    ReadGifData(again, written);
    EXPECT_EQ(WriteGifData(again), written);
}

TEST(GifWriting, ExtensionBytes)
{
    GifImageData image;
    OneEncodedFrame(image, 2, 1, {0, 1});
    image.looping = true;
    image.repeatCount = 4;
    std::string bytes = WriteGifData(image);
    EXPECT_EQ(bytes.find("NETSCAPE"), std::string::npos) << "one frame loops nowhere";
    EXPECT_EQ(bytes.substr(0, 6), "GIF87a");

    image.frames.push_back(image.CreateFrameData());
    EncodeGifBitmapImage(image, *image.frames[1], BitmapImage(2, 1, 1, {1, 1}, {{1, 2, 3, 0}, {4, 5, 6, 0}}),
                         nullptr);
    image.frames[1]->animateInterval = 125;
    image.frames[1]->transparentColor = 0x040506;
    image.frames[1]->disposalMethod = dmRestorePrevious;
    image.frames[0]->transparentColor = 0x123456; // not in its table
    image.frames[0]->FindComment(true);           // empty: dropped
    for (auto& frame : image.frames)
        UpdateGifExtensions(image, *frame);
    bytes = WriteGifData(image);
    EXPECT_EQ(bytes.substr(0, 6), "GIF89a");
    EXPECT_NE(bytes.find(std::string("!\xFF\x0BNETSCAPE2.0\x03\x01\x04\x00\x00", 19)), std::string::npos);
    EXPECT_NE(bytes.find(std::string("!\xF9\x04\x0D\x0C\x00\x01\x00", 8)), std::string::npos);
    EXPECT_NE(bytes.find(std::string("!\xF9\x04\x00\x00\x00\x00\x00", 8)), std::string::npos);
    EXPECT_EQ(bytes.find("!\xFE"), std::string::npos);

    image.header->comment.Add(std::string(300, 'c'));
    image.header->comment.Add("");
    bytes = WriteGifData(image);
    EXPECT_NE(bytes.find("!\xFE\xFF" + std::string(255, 'c') + "\x2D" + std::string(45, 'c') + std::string(1, '\0') +
                         ";"),
              std::string::npos);
    GifImageData read;
    ReadGifData(read, bytes);
    EXPECT_EQ(read.header->comment.GetText(), std::string(255, 'c') + "\r\n" + std::string(45, 'c') + "\r\n");
    EXPECT_EQ(read.frames[1]->animateInterval, 120);
}

TEST(GifWriting, HeaderAndLocalTablesFollowTheTablesWritten)
{
    GifImageData image;
    OneEncodedFrame(image, 2, 1, {0, 1});
    image.header->bitsPerPixel = 0; // as a fresh header has it
    auto& second = *image.frames.emplace_back(image.CreateFrameData());
    EncodeGifBitmapImage(image, second, BitmapImage(2, 1, 8, {0, 2}, {{1, 1, 1, 0}, {2, 2, 2, 0}, {3, 3, 3, 0}}),
                         nullptr);
    second.raster->colorTable.count = 3;
    const std::string bytes = WriteGifData(image);
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[10]), 0x80);
    GifImageData read;
    ReadGifData(read, bytes);
    EXPECT_EQ(read.frames[1]->raster->colorTable.count, 4);
    EXPECT_EQ(FramePixels(*read.frames[1]), (std::vector<int>{0, 2}));

    EXPECT_THROW(EncodeGifBitmapImage(image, second, "BM", nullptr), EInvalidGraphicOperation);
    const std::string topDown = [] {
        BitmapInfoHeader header = MakeBitmapInfoHeader(2, -1, 8);
        std::vector<DibRgbQuad> table(256);
        const std::uint8_t bits[4] = {7, 9, 0, 0};
        TStringStream stream;
        WriteBitmapFileImage(stream, header, table.data(), bits);
        return stream.DataString();
    }();
    EncodeGifBitmapImage(image, second, topDown, nullptr);
    EXPECT_EQ(FramePixels(second), (std::vector<int>{7, 9}));
    std::string deep = BitmapImage(2, 1, 8, {0, 0}, {});
    deep[28] = 24;
    EXPECT_THROW(EncodeGifBitmapImage(image, second, deep, nullptr), EInvalidGraphicOperation);
    GifImageData empty;
    EXPECT_THROW(WriteGifData(empty), EInvalidGraphicOperation);
}

TEST(GifGrayscale, TablesTurnGreyAndCopiesKeepTheirColours)
{
    GifImageData image;
    ReadGifData(image, ScreenHeader(2, 1, 1) + GraphicControl(1, 0, 1) + ImageBlock(0, 0, 2, 1, LiteralRaster(2, {0, 1})) +
                           ";");
    image.header->colorTable.colors[1] = {200, 100, 50};
    image.frames[0]->raster->colorTable.colors[1] = {200, 100, 50};
    image.frames[0]->transparentColor = GifColorOf({200, 100, 50});
    image.backgroundColor = GifColorOf({200, 100, 50});

    GifImageData copy;
    copy.header = image.header;
    copy.frames.push_back(copy.CreateFrameData());
    copy.frames[0]->raster = image.frames[0]->raster;

    EXPECT_TRUE(GrayscaleGifRaster(*image.frames[0]));
    GrayscaleGifBackground(image);
    const GifColor grey = 0x7C7C7C; // (77 * 200 + 150 * 100 + 29 * 50) >> 8 = 124
    EXPECT_EQ(image.frames[0]->raster->colorTable.Color(1), grey);
    EXPECT_EQ(image.frames[0]->transparentColor, grey);
    EXPECT_EQ(image.backgroundColor, grey);
    EXPECT_EQ(image.header->colorTable.Color(1), grey);
    EXPECT_EQ(copy.frames[0]->raster->colorTable.Color(1), 0x3264C8u);
    EXPECT_EQ(copy.header->colorTable.Color(1), 0x3264C8u);
    EXPECT_FALSE(GrayscaleGifRaster(*image.frames[0])) << "already grey";

    // Grayed alone, a frame is written with its own table.
    GifImageData single;
    ReadGifData(single, ScreenHeader(2, 1, 1) + ImageBlock(0, 0, 2, 1, LiteralRaster(2, {0, 1})) + ";");
    single.header->colorTable.colors[1] = {200, 100, 50};
    single.frames[0]->raster->colorTable.colors[1] = {200, 100, 50};
    GrayscaleGifRaster(*single.frames[0]);
    GifImageData read;
    ReadGifData(read, WriteGifData(single));
    EXPECT_TRUE(read.frames[0]->localColors);
    EXPECT_EQ(read.frames[0]->raster->colorTable.Color(1), grey);
}

TEST(GifWriting, TransparentIndexReadIsKept)
{
    std::string header = ScreenHeader(2, 1, 2);
    header.replace(13 + 3 * 3, 3, std::string(3, '\0')); // entry 3 black like entry 0
    GifImageData image;
    ReadGifData(image, header + GraphicControl(1, 0, 3) + ImageBlock(0, 0, 2, 1, LiteralRaster(2, {0, 3})) + ";");
    UpdateGifExtensions(image, *image.frames[0]);
    EXPECT_NE(WriteGifData(image).find(std::string("!\xF9\x04\x01\x00\x00\x03\x00", 8)), std::string::npos);
}
