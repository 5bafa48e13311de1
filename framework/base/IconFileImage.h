#pragma once
// The icon file image: a 6-byte header (reserved, type, count), `count`
// 16-byte directory entries, then the images, each a 40-byte bitmap header
// whose height counts the colour rows and the mask rows, its colour table,
// the colour bits and the 1-bit mask. Every offset and size that comes from
// the bytes is checked in 64 bits before it is used.

#include "BitmapFileImage.h"

#include <cstdint>
#include <string_view>
#include <vector>

class TStream;

constexpr std::uint16_t kIconImageType = 1;
constexpr std::uint16_t kCursorImageType = 2;
constexpr std::int64_t kIconHeaderSize = 6;
constexpr std::int64_t kIconEntrySize = 16;

// A directory entry as stored. For a cursor, planes and bitCount hold the
// hot spot.
struct IconDirEntry {
    std::uint8_t width = 0; // 0 stands for 256
    std::uint8_t height = 0;
    std::uint8_t colorCount = 0; // 0 for 256 colours or more
    std::uint8_t reserved = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t bytesInRes = 0;
    std::uint32_t imageOffset = 0;
};

struct IconFileHeader {
    std::uint16_t reserved = 0;
    std::uint16_t type = 0;
    std::uint16_t count = 0;
};

struct IconDirectory {
    IconFileHeader header;
    std::vector<IconDirEntry> entries;
};

enum class IconImageError { None, Truncated, BadDirectory, BadImage, Png };

// The 6-byte header alone; false when fewer bytes are there.
bool ReadIconFileHeader(std::string_view bytes, IconFileHeader& header);
// Header and directory, every image lying inside the bytes; at least one.
IconImageError ReadIconDirectory(std::string_view bytes, IconDirectory& directory);

// One image located in the bytes: the header as stored, the picture's own
// height (half the header's), and the parts, all inside the image.
struct IconImageParts {
    BitmapInfoHeader header;
    int width = 0;
    int height = 0;
    int colorCount = 0; // entries in the colour table
    std::string_view colorTable;
    std::string_view colorBits;
    std::string_view maskBits;
};

// Checks the entry's image: a header of 40 bytes or more, positive width, a
// positive even height, 1, 4, 8, 16, 24 or 32 bits, no compression, and the
// table and both sets of rows inside the image. An image stored as PNG gives
// IconImageError::Png.
IconImageError LocateIconImage(std::string_view bytes, const IconDirEntry& entry, IconImageParts& parts);

// A picture to write: `colors` has the full table for 8 bits or fewer,
// `colorBits` and `maskBits` exactly the rows of the size and depth.
struct IconImage {
    int width = 0;
    int height = 0;
    int bitCount = 0;
    std::vector<DibRgbQuad> colors;
    std::vector<std::uint8_t> colorBits;
    std::vector<std::uint8_t> maskBits;
};

// Writes an icon file image (type 1) of the pictures. Raises EInvalidArgument
// for a picture whose parts do not fit its size and depth.
void WriteIconFileImage(TStream& stream, const std::vector<IconImage>& images);
