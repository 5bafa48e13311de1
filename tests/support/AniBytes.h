#pragma once
// Icon file images and animated cursor files built byte by byte for tests.

#include "BitmapFileImage.h"
#include "IconFileImage.h"
#include "Streams.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace anibytes {

inline void Put16(std::string& to, std::uint16_t value)
{
    to += static_cast<char>(value);
    to += static_cast<char>(value >> 8);
}

inline void Put32(std::string& to, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        to += static_cast<char>(value >> (8 * i));
}

inline void Set32(std::string& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
}

// A picture in one colour of a 16-colour table, nothing masked.
inline IconImage SolidPicture(int width, int height, int bitCount = 4, std::uint8_t red = 0x80)
{
    IconImage image;
    image.width = width;
    image.height = height;
    image.bitCount = bitCount;
    if (bitCount <= 8) {
        image.colors.resize(std::size_t{1} << bitCount);
        image.colors[1] = DibRgbQuad{0, 0, red, 0};
    }
    image.colorBits.assign(static_cast<std::size_t>(DibImageSize(width, height, bitCount)), 0);
    if (bitCount == 4)
        std::fill(image.colorBits.begin(), image.colorBits.end(), std::uint8_t{0x11});
    else if (bitCount >= 24)
        for (std::size_t i = 2; i < image.colorBits.size(); i += bitCount / 8)
            image.colorBits[i] = red;
    image.maskBits.assign(static_cast<std::size_t>(DibImageSize(width, height, 1)), 0);
    return image;
}

inline std::string IconFile(const std::vector<IconImage>& images)
{
    TMemoryStream stream;
    WriteIconFileImage(stream, images);
    return std::string(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

// The icon file image made a cursor file image with a hot spot.
inline std::string AsCursor(std::string icon, std::uint16_t hotX, std::uint16_t hotY)
{
    icon[2] = 2;
    const std::size_t count = static_cast<std::uint8_t>(icon[4]) | static_cast<std::uint8_t>(icon[5]) << 8;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = 6 + 16 * i + 4;
        icon[at] = static_cast<char>(hotX);
        icon[at + 1] = static_cast<char>(hotX >> 8);
        icon[at + 2] = static_cast<char>(hotY);
        icon[at + 3] = static_cast<char>(hotY >> 8);
    }
    return icon;
}

inline std::string Chunk(const std::string& tag, const std::string& body)
{
    std::string chunk = tag;
    Put32(chunk, static_cast<std::uint32_t>(body.size()));
    chunk += body;
    if (body.size() % 2)
        chunk += '\0';
    return chunk;
}

inline std::string Values(std::initializer_list<std::uint32_t> values)
{
    std::string body;
    for (std::uint32_t value : values)
        Put32(body, value);
    return body;
}

// The "anih" body: frames, steps, default rate and flags; the rest zero.
inline std::string Header(std::uint32_t frames, std::uint32_t steps, std::uint32_t rate, std::uint32_t flags = 1)
{
    return Values({36, frames, steps, 0, 0, 0, 0, rate, flags});
}

inline std::string FrameList(const std::vector<std::string>& images)
{
    std::string body = "fram";
    for (const std::string& image : images)
        body += Chunk("icon", image);
    return Chunk("LIST", body);
}

inline std::string InfoList(const std::string& title, const std::string& creator)
{
    return Chunk("LIST", "INFO" + Chunk("INAM", title) + Chunk("IART", creator));
}

inline std::string Riff(const std::string& chunks)
{
    std::string file = "RIFF";
    Put32(file, static_cast<std::uint32_t>(chunks.size() + 4));
    return file + "ACON" + chunks;
}

} // namespace anibytes
