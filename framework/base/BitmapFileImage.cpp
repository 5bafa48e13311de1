#include "BitmapFileImage.h"

#include "Streams.h"

#include <cstdint>
#include <cstring>

namespace {

void Put16(std::uint8_t* at, std::uint16_t value)
{
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::uint8_t* at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint16_t Get16(const std::uint8_t* at) { return static_cast<std::uint16_t>(at[0] | at[1] << 8); }

std::uint32_t Get32(const std::uint8_t* at)
{
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

bool KnownDepth(int bitCount)
{
    return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
}

} // namespace

std::int64_t DibRowSize(std::int64_t width, int bitCount) { return (width * bitCount + 31) / 32 * 4; }

std::int64_t DibImageSize(std::int64_t width, std::int64_t height, int bitCount)
{
    const std::int64_t row = DibRowSize(width, bitCount);
    const std::int64_t rows = height < 0 ? -height : height;
    // Sizes this large are refused anyway; saturate rather than wrap.
    if (rows != 0 && row > INT64_MAX / rows)
        return INT64_MAX;
    return row * rows;
}

BitmapInfoHeader MakeBitmapInfoHeader(std::int32_t width, std::int32_t height, int bitCount)
{
    BitmapInfoHeader header;
    header.width = width;
    header.height = height;
    header.bitCount = static_cast<std::uint16_t>(bitCount);
    header.sizeImage = static_cast<std::uint32_t>(DibImageSize(width, height, bitCount));
    return header;
}

std::int64_t DibColorTableSize(const BitmapInfoHeader& header)
{
    if (header.bitCount <= 8)
        return std::int64_t{4} << header.bitCount;
    return (header.compression & 3) != 0 ? 12 : 0;
}

void StoreInfoHeader(const BitmapInfoHeader& header, std::uint8_t* bytes)
{
    Put32(bytes, header.size);
    Put32(bytes + 4, static_cast<std::uint32_t>(header.width));
    Put32(bytes + 8, static_cast<std::uint32_t>(header.height));
    Put16(bytes + 12, header.planes);
    Put16(bytes + 14, header.bitCount);
    Put32(bytes + 16, header.compression);
    Put32(bytes + 20, header.sizeImage);
    Put32(bytes + 24, static_cast<std::uint32_t>(header.xPelsPerMeter));
    Put32(bytes + 28, static_cast<std::uint32_t>(header.yPelsPerMeter));
    Put32(bytes + 32, header.clrUsed);
    Put32(bytes + 36, header.clrImportant);
}

BitmapInfoHeader LoadInfoHeader(const std::uint8_t* bytes)
{
    BitmapInfoHeader header;
    header.size = Get32(bytes);
    header.width = static_cast<std::int32_t>(Get32(bytes + 4));
    header.height = static_cast<std::int32_t>(Get32(bytes + 8));
    header.planes = Get16(bytes + 12);
    header.bitCount = Get16(bytes + 14);
    header.compression = Get32(bytes + 16);
    header.sizeImage = Get32(bytes + 20);
    header.xPelsPerMeter = static_cast<std::int32_t>(Get32(bytes + 24));
    header.yPelsPerMeter = static_cast<std::int32_t>(Get32(bytes + 28));
    header.clrUsed = Get32(bytes + 32);
    header.clrImportant = Get32(bytes + 36);
    return header;
}

void WriteBitmapFileImage(TStream& stream, const BitmapInfoHeader& header, const void* table, const void* bits)
{
    const std::int64_t tableSize = DibColorTableSize(header);
    const std::int64_t imageSize = DibImageSize(header.width, header.height, header.bitCount);
    const std::int64_t offset = kBitmapFileHeaderSize + kBitmapInfoHeaderSize + tableSize;
    std::uint8_t head[kBitmapFileHeaderSize + kBitmapInfoHeaderSize] = {};
    head[0] = 'B';
    head[1] = 'M';
    Put32(head + 2, static_cast<std::uint32_t>(offset + imageSize));
    Put32(head + 10, static_cast<std::uint32_t>(offset));
    BitmapInfoHeader written = header;
    written.size = kBitmapInfoHeaderSize;
    StoreInfoHeader(written, head + kBitmapFileHeaderSize);
    stream.WriteBuffer(head, sizeof head);
    if (tableSize > 0)
        stream.WriteBuffer(table, tableSize);
    stream.WriteBuffer(bits, imageSize);
}

BitmapImageError ReadBitmapFileImage(std::string_view bytes, BitmapFileImage& image)
{
    image = BitmapFileImage();
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const std::int64_t total = static_cast<std::int64_t>(bytes.size());
    if (total < kBitmapFileHeaderSize + kBitmapInfoHeaderSize || data[0] != 'B' || data[1] != 'M')
        return BitmapImageError::NotBitmap;
    BitmapInfoHeader header = LoadInfoHeader(data + kBitmapFileHeaderSize);
    const std::int64_t headerEnd = std::int64_t{kBitmapFileHeaderSize} + header.size;
    if (header.size < kBitmapInfoHeaderSize || headerEnd > total || header.planes != 1)
        return BitmapImageError::BadHeader;
    if (header.width <= 0 || header.height == 0 || header.height == INT32_MIN)
        return BitmapImageError::BadHeader;
    if (!KnownDepth(header.bitCount))
        return BitmapImageError::Unsupported;
    const bool bitFields = header.compression == kBiBitFields && (header.bitCount == 16 || header.bitCount == 32);
    if (header.compression != kBiRgb && !bitFields)
        return BitmapImageError::Unsupported;
    const std::int64_t imageSize = DibImageSize(header.width, header.height, header.bitCount);
    if (imageSize > kMaxBitmapImageBytes)
        return BitmapImageError::TooLarge;

    BitmapFileImage read;
    std::int64_t tableEnd = headerEnd;
    if (header.bitCount <= 8) {
        const std::uint32_t full = 1u << header.bitCount;
        if (header.clrUsed > full)
            return BitmapImageError::BadHeader;
        const std::uint32_t entries = header.clrUsed ? header.clrUsed : full;
        tableEnd += std::int64_t{4} * entries;
        if (tableEnd > total)
            return BitmapImageError::Truncated;
        read.colors.resize(entries);
        std::memcpy(read.colors.data(), data + headerEnd, std::size_t{4} * entries);
    } else if (bitFields) {
        // A larger header carries the masks inside itself.
        const std::int64_t masksAt = std::int64_t{kBitmapFileHeaderSize} + kBitmapInfoHeaderSize;
        if (header.size == kBitmapInfoHeaderSize)
            tableEnd += 12;
        if (tableEnd > total || masksAt + 12 > total)
            return BitmapImageError::Truncated;
        for (int i = 0; i < 3; ++i)
            read.masks[i] = Get32(data + masksAt + 4 * i);
    }
    const std::uint32_t offsetField = Get32(data + 10);
    const std::int64_t bitsAt = offsetField >= tableEnd ? std::int64_t{offsetField} : tableEnd;
    if (bitsAt > total || total - bitsAt < imageSize)
        return BitmapImageError::Truncated;
    header.size = kBitmapInfoHeaderSize;
    header.sizeImage = static_cast<std::uint32_t>(imageSize);
    read.header = header;
    read.bits.assign(data + bitsAt, data + bitsAt + imageSize);
    image = std::move(read);
    return BitmapImageError::None;
}
