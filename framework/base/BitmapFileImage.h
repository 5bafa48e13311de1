#pragma once
// The bitmap file image: a 14-byte file header, a 40-byte information header,
// the colour table, then the rows bottom-up, each padded to 4 bytes. Every
// size is worked out in 64 bits so that no header can wrap it.

#include <cstdint>
#include <string_view>
#include <vector>

class TStream;

// A colour table entry as stored: blue, green, red, reserved.
struct DibRgbQuad {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t reserved = 0;
    friend bool operator==(const DibRgbQuad&, const DibRgbQuad&) = default;
};

constexpr std::uint32_t kBitmapFileHeaderSize = 14;
constexpr std::uint32_t kBitmapInfoHeaderSize = 40;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitFields = 3;

struct BitmapInfoHeader {
    std::uint32_t size = kBitmapInfoHeaderSize;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t sizeImage = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t clrImportant = 0;
};

std::int64_t DibRowSize(std::int64_t width, int bitCount);
std::int64_t DibImageSize(std::int64_t width, std::int64_t height, int bitCount);
// A fresh uncompressed header for the size and depth, image size filled in.
BitmapInfoHeader MakeBitmapInfoHeader(std::int32_t width, std::int32_t height, int bitCount);
// Bytes of the colour table that follows the header: a full table up to 8
// bits, the three colour masks for bit fields, nothing otherwise.
std::int64_t DibColorTableSize(const BitmapInfoHeader& header);

// Writes a whole file image: file header, information header, `table`
// (DibColorTableSize bytes), then exactly DibImageSize bytes of `bits`.
void WriteBitmapFileImage(TStream& stream, const BitmapInfoHeader& header, const void* table, const void* bits);

// Writes the header fields, in file order, into a 40-byte buffer, and back.
void StoreInfoHeader(const BitmapInfoHeader& header, std::uint8_t* bytes);
BitmapInfoHeader LoadInfoHeader(const std::uint8_t* bytes);

enum class BitmapImageError { None, NotBitmap, BadHeader, Unsupported, TooLarge, Truncated };

// A bitmap file image read back: header (size 40 whatever was read), colour
// table entries (for 8 bits or fewer), bit-field masks, and the rows.
struct BitmapFileImage {
    BitmapInfoHeader header;
    std::vector<DibRgbQuad> colors;
    std::uint32_t masks[3] = {0, 0, 0};
    std::vector<std::uint8_t> bits;
};

// Largest image the reader accepts, in pixel bytes.
constexpr std::int64_t kMaxBitmapImageBytes = std::int64_t{512} * 1024 * 1024;

// Checks and reads a file image from outside bytes; on an error `image` is
// left empty.
BitmapImageError ReadBitmapFileImage(std::string_view bytes, BitmapFileImage& image);
