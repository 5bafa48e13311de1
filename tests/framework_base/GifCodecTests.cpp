// Reading and decoding GIF files: edge streams from the tests' own literal
// writer, the container's rules, damaged input.

#include "Exceptions.h"
#include "GifLzw.h"
#include "GifPixels.h"
#include "GifTestFiles.h"
#include "GifWriter.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

using namespace giftest;

namespace {

std::vector<int> Pattern(int count, int modulo)
{
    std::vector<int> pixels(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        pixels[static_cast<std::size_t>(i)] = (i * 7 + i / 3) % modulo;
    return pixels;
}

// The pixels of an interlaced picture in the order they are stored.
std::vector<int> InterlacedOrder(const std::vector<int>& pixels, int width, int height)
{
    std::vector<int> stored;
    for (GifRowOrder order(height, true); !order.Done(); order.Next())
        for (int x = 0; x < width; ++x)
            stored.push_back(pixels[static_cast<std::size_t>(order.Row() * width + x)]);
    return stored;
}

std::string OneFrame(int width, int height, int tableBits, const std::string& raster, bool interlaced = false)
{
    return ScreenHeader(static_cast<unsigned>(width), static_cast<unsigned>(height), tableBits) +
           ImageBlock(0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height), raster, interlaced) + ";";
}

} // namespace

TEST(GifDecoding, EdgeStreamsDecodeToTheirPixels)
{
    struct Case {
        int width, height, tableBits, minSize;
        bool interlaced;
    };
    const Case cases[] = {
        {1, 1, 1, 2, false},  {7, 3, 1, 2, false},  {9, 2, 1, 2, false},  {17, 3, 1, 2, false},
        {5, 3, 4, 4, false},  {3, 1, 4, 4, true},   {4, 2, 2, 2, true},   {2, 3, 8, 8, true},
        {3, 5, 3, 3, true},   {2, 8, 1, 2, true},   {3, 9, 5, 5, true},   {5, 17, 8, 8, true},
        {300, 2, 8, 8, false}, {11, 4, 4, 6, false}, // code size above the table's bits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " bits " << c.tableBits);
        const auto pixels = Pattern(c.width * c.height, 1 << c.tableBits);
        const auto stored = c.interlaced ? InterlacedOrder(pixels, c.width, c.height) : pixels;
        const std::string file =
            OneFrame(c.width, c.height, c.tableBits, LiteralRaster(c.minSize, stored), c.interlaced);
        GifImageData image;
        ReadGifData(image, file);
        ASSERT_EQ(image.FrameCount(), 1);
        EXPECT_EQ(FramePixels(*image.frames[0]), pixels);
        EXPECT_FALSE(image.frames[0]->corrupted);
    }
}

TEST(GifDecoding, StreamsTheToolsReadAlike)
{
    // Without a leading clear code the first code is a literal like any
    // first code after a clear.
    CodeStream noClear(2);
    for (int pixel : {0, 1, 2, 3})
        noClear.Literal(pixel);
    noClear.End();
    EXPECT_EQ(FirstFramePixels(OneFrame(4, 1, 2, noClear.Raster())), (std::vector<int>{0, 1, 2, 3}));

    // Codes below the clear code are pixels whatever the table's size.
    EXPECT_EQ(FirstFramePixels(OneFrame(4, 1, 8, LiteralRaster(2, {0, 1, 0, 1}))), (std::vector<int>{0, 1, 0, 1}));

    // Table codes: 0 1, then entry 6 (0 1), then the code being defined
    // (entry 6 and its own first pixel).
    CodeStream chained(2);
    chained.Clear();
    for (int code : {0, 1, 6, 8})
        chained.Literal(code);
    chained.End();
    EXPECT_EQ(FirstFramePixels(OneFrame(7, 1, 2, chained.Raster())), (std::vector<int>{0, 1, 0, 1, 0, 1, 0}));
}

TEST(GifDecoding, DamagedCodesStopTheFrame)
{
    struct Case {
        const char* what;
        std::vector<int> codes; // -1 a clear, -2 the end
        std::vector<int> pixels;
        bool corrupted;
    };
    const Case cases[] = {
        {"clear, end", {-1, -2}, {0, 0, 0, 0}, false},
        {"clear, clear, end", {-1, -1, 1, -2}, {1, 0, 0, 0}, false},
        {"a code beyond the next free one", {-1, 1, 7, 2}, {1, 0, 0, 0}, true},
        {"a table code first", {-1, 6, 1}, {0, 0, 0, 0}, true},
        {"data ends early", {-1, 2, 3}, {2, 3, 0, 0}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CodeStream codes(2);
        for (int code : c.codes) {
            if (code == -1)
                codes.Clear();
            else if (code == -2)
                codes.End();
            else
                codes.Literal(code);
        }
        GifImageData image;
        ReadGifData(image, OneFrame(4, 1, 2, codes.Raster()));
        EXPECT_EQ(FramePixels(*image.frames[0]), c.pixels);
        EXPECT_EQ(image.frames[0]->corrupted, c.corrupted);
    }
}

TEST(GifDecoding, DamageRaisesWhenNotTolerated)
{
    const std::string badSize = OneFrame(2, 1, 1, std::string("\x0C\x01\x00\x00", 4));
    GifImageData image;
    ReadGifData(image, badSize);
    EXPECT_EQ(FramePixels(*image.frames[0]), (std::vector<int>{0, 0}));
    EXPECT_TRUE(image.frames[0]->corrupted);

    GIFLoadCorrupted = false;
    ReadGifData(image, badSize);
    EXPECT_THROW(SaveGifFrameToBitmapImage(*image.frames[0], nullptr), EInvalidGraphicOperation);
    CodeStream beyond(2);
    beyond.Clear();
    beyond.Literal(1);
    beyond.Literal(7);
    ReadGifData(image, OneFrame(2, 1, 1, beyond.Raster()));
    EXPECT_THROW(SaveGifFrameToBitmapImage(*image.frames[0], nullptr), EInvalidGraphicOperation);
    const std::string cut = OneFrame(2, 1, 1, LiteralRaster(2, {1, 1})).substr(0, 32);
    EXPECT_THROW(ReadGifData(image, cut), EReadError);
    GIFLoadCorrupted = true;
}

TEST(GifReading, ContainerRules)
{
    const std::string pixel = ImageBlock(0, 0, 1, 1, LiteralRaster(2, {1}));
    const std::string header = ScreenHeader(1, 1, 2);
    GifImageData image;

    ReadGifData(image, header + GraphicControl(0x05, 3, 1) + GraphicControl(0x09, 2, 2) + pixel + ";");
    EXPECT_EQ(image.frames[0]->transparentColor, 0xAAAAAAu) << "the later control decides";
    EXPECT_EQ(image.frames[0]->disposalMethod, dmRestoreBackground);
    EXPECT_EQ(image.frames[0]->animateInterval, 30) << "the larger delay wins";

    ReadGifData(image, header + GraphicControl(0x01, 0, 4) + pixel + ";");
    EXPECT_EQ(image.frames[0]->transparentColor, kGifNoColor) << "an index past the table";

    ReadGifData(image, header + GraphicControl(0x01, 0, 1) + "!\x01\x0C" + std::string(12, 'p') + '\0' + pixel + ";");
    EXPECT_EQ(image.frames[0]->transparentColor, kGifNoColor) << "plain text drops the control before it";
    EXPECT_TRUE(image.frames[0]->extensions.empty());

    for (auto [identifier, count, blockSize, looping, repeat] :
         {std::tuple{"NETSCAPE2.0", 0u, 11, true, 0}, std::tuple{"NETSCAPE2.0", 65535u, 11, true, 30000},
          std::tuple{"ANIMEXTS1.0", 7u, 11, true, 7}, std::tuple{"NETSCAPE2.0", 5u, 255, false, 1},
          std::tuple{"NETSCAPE2.X", 5u, 11, false, 1}}) {
        ReadGifData(image, header + LoopBlock(identifier, count, blockSize) + pixel + ";");
        EXPECT_EQ(image.looping, looping) << identifier << " " << blockSize;
        EXPECT_EQ(image.repeatCount, repeat) << identifier << " " << blockSize;
    }

    ReadGifData(image, header + Comment("frame") + pixel + Comment("one") + Comment("two") + ";");
    EXPECT_EQ(image.header->comment.GetText(), "one\r\n\r\n\r\n\r\ntwo\r\n");
    EXPECT_EQ(image.frames[0]->FindComment(false)->GetText(), "frame\r\n");

    ReadGifData(image, ScreenHeader(6, 4, 1) + ImageBlock(0, 0, 0, 0, LiteralRaster(2, {})) + ";");
    EXPECT_EQ(image.frames[0]->raster->width, 6) << "width 0 takes the screen's";
    EXPECT_EQ(image.frames[0]->raster->height, 4);

    ReadGifData(image, ScreenHeader(0, 0, 1) + ImageBlock(0, 0, 0, 0, LiteralRaster(2, {1})) + ";");
    EXPECT_EQ(SaveGifFrameToBitmapImage(*image.frames[0], nullptr).size(), 54u + 8u) << "an empty bitmap";

    ReadGifData(image, "gif89A" + header.substr(6) + pixel + ";");
    EXPECT_EQ(image.version, gv89a);
    ReadGifData(image, "");
    EXPECT_EQ(image.FrameCount(), 0);

    // The last sub-block cut short, no terminator: the rows decoded show.
    std::string whole = LiteralRaster(2, {1, 2, 3, 1, 2, 3});
    ReadGifData(image, header + ImageBlock(0, 0, 6, 1, whole.substr(0, 3)));
    ASSERT_EQ(image.FrameCount(), 1);
    EXPECT_TRUE(image.frames[0]->corrupted);
    EXPECT_EQ(FramePixels(*image.frames[0]), (std::vector<int>{0, 0, 0, 0, 0, 0}));
}

TEST(GifReading, FailureMessages)
{
    const std::string pixel = ImageBlock(0, 0, 1, 1, LiteralRaster(2, {1}));
    struct Case {
        std::string file;
        std::string message;
    };
    const Case cases[] = {
        {"GIF88a" + ScreenHeader(1, 1, 1).substr(6) + pixel + ";", "Unknown GIF version"},
        {"JIF89a" + ScreenHeader(1, 1, 1).substr(6) + pixel + ";", "Unknown GIF version"},
        {ScreenHeader(1, 1, 1) + "!\x0A\x00" + pixel + ";", "Unrecognized extension block: 0a"},
        {ScreenHeader(1, 1, 1) + "x" + pixel + ";", "Stream read error"},
        {ScreenHeader(1, 1, 1) + std::string(",\0\0\0", 4), "Stream read error"},
        {ScreenHeader(1, 1, 1) + Comment("c") + "x" + pixel + ";", "Stream read error"},
    };
    for (const Case& c : cases) {
        GifImageData image;
        try {
            ReadGifData(image, c.file);
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const Exception& error) {
            EXPECT_EQ(error.Message(), c.message);
        }
    }
}

TEST(GifReading, EveryCutOfAnAnimationReadsOrFailsCleanly)
{
    std::string file = ScreenHeader(9, 5, 2) + LoopBlock("NETSCAPE2.0", 3);
    for (int frame = 0; frame < 3; ++frame)
        file += GraphicControl(0x05, 10, 1) + Comment("f") +
                ImageBlock(static_cast<unsigned>(frame), 0, 7, 5, LiteralRaster(2, Pattern(35, 4)), frame == 1, 2);
    file += Comment("end") + ";";
    for (std::size_t length = 0; length <= file.size(); ++length) {
        GifImageData image;
        try {
            ReadGifData(image, std::string_view(file).substr(0, length));
        } catch (const Exception&) {
            continue;
        }
        for (auto& frame : image.frames)
            FramePixels(*frame);
    }
    GifImageData image;
    ReadGifData(image, file);
    EXPECT_EQ(image.FrameCount(), 3);
    EXPECT_EQ(FramePixels(*image.frames[2]), Pattern(35, 4));
}

TEST(GifReading, HugeAndCyclicInputStaysBounded)
{
    GifImageData image;
    ReadGifData(image, ScreenHeader(65535, 65535, 8) + ImageBlock(0, 0, 65535, 65535, LiteralRaster(8, {1})) + ";");
    EXPECT_THROW(SaveGifFrameToBitmapImage(*image.frames[0], nullptr), EOutOfResources);

    // Random codes fill the table and chain back as far as they go.
    std::mt19937 random(22);
    for (int minSize : {2, 5, 8}) {
        std::string raster(1, static_cast<char>(minSize));
        for (int block = 0; block < 40; ++block) {
            raster.push_back('\xFF');
            for (int i = 0; i < 255; ++i)
                raster.push_back(static_cast<char>(random()));
        }
        ReadGifData(image, OneFrame(200, 200, minSize, raster + std::string(1, '\0')));
        EXPECT_EQ(FramePixels(*image.frames[0]).size(), 200u * 200u);
    }
}

TEST(GifBitmapImage, GoldenBytesOfAThreeByTwoFrame)
{
    GifImageData image;
    ReadGifData(image, OneFrame(3, 2, 2, LiteralRaster(2, {0, 1, 2, 3, 2, 1})));
    image.header->colorTable.colors[3] = {0x10, 0x20, 0x30};
    image.frames[0]->raster->colorTable.colors[3] = {0x10, 0x20, 0x30};
    const std::string bytes = SaveGifFrameToBitmapImage(*image.frames[0], nullptr);
    std::string expected = "BM";
    expected += std::string("\x7E\0\0\0\0\0\0\0\x76\0\0\0", 12);
    expected += std::string("\x28\0\0\0\x03\0\0\0\x02\0\0\0\x01\0\x04\0\0\0\0\0\x08\0\0\0", 24);
    expected += std::string(16, '\0');
    expected += std::string("\0\0\0\0\x55\x55\x55\0\xAA\xAA\xAA\0\x30\x20\x10\0", 16);
    expected += std::string(12 * 4, '\x80');
    expected += std::string("\x32\x10\0\0\x01\x20\0\0", 8);
    EXPECT_EQ(bytes, expected);
}

TEST(GifBitmapImage, PaletteOfPartialAndEmptyTables)
{
    TGIFColorTable table;
    table.count = 1;
    table.colors[0] = {1, 2, 3};
    table.colors[1] = {9, 9, 9};
    EXPECT_EQ(GifBitmapPalette(table, 1), std::string("\x03\x02\x01\0\x80\x80\x80\x80", 8));
    table.count = 0;
    EXPECT_EQ(GifBitmapPalette(table, 1), std::string("\x03\x02\x01\0\x09\x09\x09\0", 8));
    EXPECT_THROW(GifOutputBitCount(0), EInvalidGraphicOperation);
    EXPECT_EQ(GifOutputBitCount(3), 4);
    EXPECT_EQ(GifOutputBitCount(6), 8);
}
