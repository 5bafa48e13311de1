#include "IconFileImage.h"

#include "Exceptions.h"
#include "Streams.h"

#include <cstring>

namespace {

std::uint16_t Get16(const char* at)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(at);
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

std::uint32_t Get32(const char* at)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(at);
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

bool KnownDepth(int bitCount)
{
    return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
}

// Table entries of a depth: the full table unless the header names fewer.
std::int64_t ColorTableEntries(const BitmapInfoHeader& header)
{
    if (header.bitCount > 8)
        return 0;
    const std::int64_t full = std::int64_t{1} << header.bitCount;
    return header.clrUsed > 0 && header.clrUsed < full ? header.clrUsed : full;
}

} // namespace

bool ReadIconFileHeader(std::string_view bytes, IconFileHeader& header)
{
    if (static_cast<std::int64_t>(bytes.size()) < kIconHeaderSize)
        return false;
    header.reserved = Get16(bytes.data());
    header.type = Get16(bytes.data() + 2);
    header.count = Get16(bytes.data() + 4);
    return true;
}

IconImageError ReadIconDirectory(std::string_view bytes, IconDirectory& directory)
{
    directory = IconDirectory();
    IconFileHeader header;
    if (!ReadIconFileHeader(bytes, header))
        return IconImageError::Truncated;
    const auto size = static_cast<std::int64_t>(bytes.size());
    if (header.count == 0)
        return IconImageError::BadDirectory;
    if (kIconHeaderSize + kIconEntrySize * header.count > size)
        return IconImageError::Truncated;
    std::vector<IconDirEntry> entries(header.count);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const char* at = bytes.data() + kIconHeaderSize + kIconEntrySize * static_cast<std::int64_t>(i);
        IconDirEntry& entry = entries[i];
        entry.width = static_cast<std::uint8_t>(at[0]);
        entry.height = static_cast<std::uint8_t>(at[1]);
        entry.colorCount = static_cast<std::uint8_t>(at[2]);
        entry.reserved = static_cast<std::uint8_t>(at[3]);
        entry.planes = Get16(at + 4);
        entry.bitCount = Get16(at + 6);
        entry.bytesInRes = Get32(at + 8);
        entry.imageOffset = Get32(at + 12);
        if (std::int64_t{entry.imageOffset} + entry.bytesInRes > size)
            return IconImageError::Truncated;
    }
    directory.header = header;
    directory.entries = std::move(entries);
    return IconImageError::None;
}

IconImageError LocateIconImage(std::string_view bytes, const IconDirEntry& entry, IconImageParts& parts)
{
    parts = IconImageParts();
    if (std::int64_t{entry.imageOffset} + entry.bytesInRes > static_cast<std::int64_t>(bytes.size()))
        return IconImageError::Truncated;
    const std::string_view image = bytes.substr(entry.imageOffset, entry.bytesInRes);
    if (image.size() >= 8 && image.substr(0, 8) == std::string_view("\x89PNG\r\n\x1a\n", 8))
        return IconImageError::Png;
    if (image.size() < kBitmapInfoHeaderSize)
        return IconImageError::Truncated;
    const BitmapInfoHeader header = LoadInfoHeader(reinterpret_cast<const std::uint8_t*>(image.data()));
    if (header.size < kBitmapInfoHeaderSize || header.size > image.size() || header.width <= 0 ||
        header.height <= 0 || header.height % 2 != 0 || !KnownDepth(header.bitCount) || header.compression != kBiRgb)
        return IconImageError::BadImage;
    const std::int64_t height = header.height / 2;
    const std::int64_t tableBytes = 4 * ColorTableEntries(header);
    const std::int64_t colorBytes = DibImageSize(header.width, height, header.bitCount);
    const std::int64_t maskBytes = DibImageSize(header.width, height, 1);
    const std::int64_t available = static_cast<std::int64_t>(image.size()) - header.size;
    if (tableBytes > available || colorBytes > available - tableBytes ||
        maskBytes > available - tableBytes - colorBytes)
        return IconImageError::Truncated;
    std::size_t at = header.size;
    parts.header = header;
    parts.width = header.width;
    parts.height = static_cast<int>(height);
    parts.colorCount = static_cast<int>(tableBytes / 4);
    parts.colorTable = image.substr(at, static_cast<std::size_t>(tableBytes));
    at += static_cast<std::size_t>(tableBytes);
    parts.colorBits = image.substr(at, static_cast<std::size_t>(colorBytes));
    at += static_cast<std::size_t>(colorBytes);
    parts.maskBits = image.substr(at, static_cast<std::size_t>(maskBytes));
    return IconImageError::None;
}

void WriteIconFileImage(TStream& stream, const std::vector<IconImage>& images)
{
    if (images.empty() || images.size() > 0xFFFF)
        throw EInvalidArgument("An icon file image holds 1 to 65535 pictures");
    std::vector<std::int64_t> sizes;
    for (const IconImage& image : images) {
        const std::int64_t tableEntries = image.bitCount <= 8 ? std::int64_t{1} << image.bitCount : 0;
        if (image.width <= 0 || image.height <= 0 || image.width > 256 || image.height > 256 ||
            !KnownDepth(image.bitCount) || static_cast<std::int64_t>(image.colors.size()) != tableEntries ||
            static_cast<std::int64_t>(image.colorBits.size()) != DibImageSize(image.width, image.height, image.bitCount) ||
            static_cast<std::int64_t>(image.maskBits.size()) != DibImageSize(image.width, image.height, 1))
            throw EInvalidArgument("The picture's parts do not fit its size and depth");
        sizes.push_back(kBitmapInfoHeaderSize + 4 * tableEntries + static_cast<std::int64_t>(image.colorBits.size()) +
                        static_cast<std::int64_t>(image.maskBits.size()));
    }
    stream.WriteUInt16(0);
    stream.WriteUInt16(kIconImageType);
    stream.WriteUInt16(static_cast<std::uint16_t>(images.size()));
    std::int64_t offset = kIconHeaderSize + kIconEntrySize * static_cast<std::int64_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const IconImage& image = images[i];
        stream.WriteUInt8(static_cast<std::uint8_t>(image.width));   // 256 wraps to 0, as stored
        stream.WriteUInt8(static_cast<std::uint8_t>(image.height));
        stream.WriteUInt8(static_cast<std::uint8_t>(image.bitCount < 8 ? 1 << image.bitCount : 0));
        stream.WriteUInt8(0);
        stream.WriteUInt16(1);
        stream.WriteUInt16(static_cast<std::uint16_t>(image.bitCount));
        stream.WriteUInt32(static_cast<std::uint32_t>(sizes[i]));
        stream.WriteUInt32(static_cast<std::uint32_t>(offset));
        offset += sizes[i];
    }
    for (const IconImage& image : images) {
        BitmapInfoHeader header = MakeBitmapInfoHeader(image.width, 2 * image.height, image.bitCount);
        header.sizeImage = static_cast<std::uint32_t>(image.colorBits.size() + image.maskBits.size());
        std::uint8_t stored[kBitmapInfoHeaderSize];
        StoreInfoHeader(header, stored);
        stream.WriteBuffer(stored, sizeof stored);
        if (!image.colors.empty())
            stream.WriteBuffer(image.colors.data(), 4 * static_cast<std::int64_t>(image.colors.size()));
        stream.WriteBuffer(image.colorBits.data(), static_cast<std::int64_t>(image.colorBits.size()));
        stream.WriteBuffer(image.maskBits.data(), static_cast<std::int64_t>(image.maskBits.size()));
    }
}
