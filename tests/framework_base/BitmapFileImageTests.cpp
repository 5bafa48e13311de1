#include "BitmapFileImage.h"

#include "Streams.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::string ImageBytes(const BitmapInfoHeader& header, const std::vector<std::uint8_t>& table,
                       const std::vector<std::uint8_t>& bits)
{
    TMemoryStream stream;
    WriteBitmapFileImage(stream, header, table.data(), bits.data());
    return std::string(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

void Put32(std::string& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
}

} // namespace

TEST(BitmapFileImage, RowAndImageSizesAreWorkedOutIn64Bits)
{
    EXPECT_EQ(DibRowSize(1, 1), 4);
    EXPECT_EQ(DibRowSize(33, 1), 8);
    EXPECT_EQ(DibRowSize(3, 24), 12);
    EXPECT_EQ(DibRowSize(101, 8), 104);
    EXPECT_EQ(DibImageSize(101, -100, 8), 10400);
    EXPECT_EQ(DibImageSize(0x7FFFFFFF, 0x7FFFFFFF, 8), std::int64_t{0x80000000} * 0x7FFFFFFF);
    EXPECT_EQ(DibImageSize(0x7FFFFFFF, 0x7FFFFFFF, 32), INT64_MAX);
    BitmapInfoHeader header = MakeBitmapInfoHeader(3, 2, 8);
    EXPECT_EQ(header.sizeImage, 8u);
    EXPECT_EQ(DibColorTableSize(header), 1024);
    header.bitCount = 16;
    EXPECT_EQ(DibColorTableSize(header), 0);
    header.compression = kBiBitFields;
    EXPECT_EQ(DibColorTableSize(header), 12);
}

TEST(BitmapFileImage, WritesTheExactLayoutAndReadsItBack)
{
    const BitmapInfoHeader header = MakeBitmapInfoHeader(3, 2, 1);
    const std::vector<std::uint8_t> table = {0, 0, 0, 0, 255, 255, 255, 0};
    const std::vector<std::uint8_t> bits = {0xA0, 0, 0, 0, 0x40, 0, 0, 0};
    const std::string bytes = ImageBytes(header, table, bits);
    ASSERT_EQ(bytes.size(), 14u + 40u + 8u + 8u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[2]), 70);
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[10]), 62);

    BitmapFileImage image;
    ASSERT_EQ(ReadBitmapFileImage(bytes, image), BitmapImageError::None);
    EXPECT_EQ(image.header.width, 3);
    EXPECT_EQ(image.header.height, 2);
    EXPECT_EQ(image.header.bitCount, 1);
    ASSERT_EQ(image.colors.size(), 2u);
    EXPECT_EQ(image.colors[1].red, 255);
    EXPECT_EQ(image.bits, bits);
}

TEST(BitmapFileImage, RejectsDamagedImagesWithoutReadingPastThem)
{
    const BitmapInfoHeader header = MakeBitmapInfoHeader(4, 4, 24);
    const std::string good = ImageBytes(header, {}, std::vector<std::uint8_t>(48, 7));
    struct Case {
        const char* what;
        std::size_t at; // 0: cut the bytes short instead
        std::uint32_t value;
        BitmapImageError error;
    } cases[] = {
        {"signature", 0 + 1, 0x4D4D, BitmapImageError::NotBitmap},
        {"short header size", 14, 12, BitmapImageError::BadHeader},
        {"huge header size", 14, 0xFFFFFFF0, BitmapImageError::BadHeader},
        {"zero width", 18, 0, BitmapImageError::BadHeader},
        {"negative width", 18, 0xFFFFFFFF, BitmapImageError::BadHeader},
        {"zero height", 22, 0, BitmapImageError::BadHeader},
        {"planes", 26, 0x00180002, BitmapImageError::BadHeader},
        {"depth 7", 28, 7, BitmapImageError::Unsupported},
        {"run-length", 30, 1, BitmapImageError::Unsupported},
        {"huge size", 18, 0x7FFFFFFF, BitmapImageError::TooLarge},
        {"offset past the end", 10, 0xFFFFFF00, BitmapImageError::Truncated},
        {"cut short", 0, 0, BitmapImageError::Truncated},
    };
    for (const Case& c : cases) {
        std::string bytes = good;
        if (c.at == 0)
            bytes.resize(bytes.size() - 1);
        else if (c.at == 1)
            bytes[0] = 'M';
        else
            Put32(bytes, c.at, c.value);
        BitmapFileImage image;
        EXPECT_EQ(ReadBitmapFileImage(bytes, image), c.error) << c.what;
        EXPECT_TRUE(image.bits.empty()) << c.what;
    }
    BitmapFileImage image;
    EXPECT_EQ(ReadBitmapFileImage("BM", image), BitmapImageError::NotBitmap);
}

TEST(BitmapFileImage, ReadsBitFieldMasksAndShortColourTables)
{
    BitmapInfoHeader header = MakeBitmapInfoHeader(2, 1, 16);
    header.compression = kBiBitFields;
    const std::vector<std::uint8_t> masks = {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0};
    BitmapFileImage image;
    ASSERT_EQ(ReadBitmapFileImage(ImageBytes(header, masks, {1, 2, 3, 4}), image), BitmapImageError::None);
    EXPECT_EQ(image.masks[0], 0xF800u);
    EXPECT_EQ(image.masks[1], 0x07E0u);
    EXPECT_EQ(image.masks[2], 0x001Fu);

    // An 8-bit image with two colours used stores two table entries.
    BitmapInfoHeader eight = MakeBitmapInfoHeader(1, 1, 8);
    std::string bytes = ImageBytes(eight, std::vector<std::uint8_t>(1024, 9), {1, 0, 0, 0});
    bytes.erase(14 + 40 + 8, 1024 - 8);
    Put32(bytes, 14 + 32, 2);
    Put32(bytes, 10, 14 + 40 + 8);
    ASSERT_EQ(ReadBitmapFileImage(bytes, image), BitmapImageError::None);
    EXPECT_EQ(image.colors.size(), 2u);
    EXPECT_EQ(image.bits[0], 1);
    Put32(bytes, 14 + 32, 257);
    EXPECT_EQ(ReadBitmapFileImage(bytes, image), BitmapImageError::BadHeader);
}
