#pragma once
// The animated cursor file (RIFF form "ACON") read into its header, texts,
// images and frames. Chunk sizes are unsigned 32-bit and padded to an even
// length; nothing is read or allocated beyond what the bytes hold.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr char kStreamReadError[] = "Stream read error";

// The "anih" chunk, in file order.
struct AniHeader {
    std::uint32_t headerSize = 0;
    std::uint32_t frames = 0;
    std::uint32_t steps = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bitCount = 0;
    std::uint32_t planes = 0;
    std::uint32_t defaultRate = 0; // jiffies, 1/60 s
    std::uint32_t flags = 0;       // bit 0: the frames are in icon format
};
inline constexpr std::size_t kAniHeaderSize = 36;

// A rate as the frames hold it: the file's unsigned jiffies, the longest
// wait for those beyond the signed range.
inline std::int32_t RateOf(std::uint32_t jiffies)
{
    return static_cast<std::int32_t>(jiffies > 0x7FFFFFFFu ? 0x7FFFFFFFu : jiffies);
}

// One "icon" sub-chunk: its icon file image, type set to icon.
struct AniImage {
    std::string bytes;
    std::array<char, 8> chunkHeader{};
    bool fromIcon = false;
    // A cursor's hot spot from its directory; an icon's is the centre of the
    // icon once it is loaded.
    std::int32_t hotSpotX = 0;
    std::int32_t hotSpotY = 0;
};

struct AniFrame {
    std::int32_t frameNumber = -1;
    std::int32_t displayTime = 0;
    int image = -1; // index into the images, -1 for none
};

struct AniContents {
    AniHeader header;
    std::string title;
    std::string creator;
    std::vector<AniImage> images;
    std::vector<AniFrame> frames; // every frame has an image
    std::uint16_t paletteSize = 0;
};

// Raises EReadError "Stream read error" for data that is not an animated
// cursor, declares no icon frames, or leaves no frame with an image.
AniContents ReadAniContents(std::string_view bytes);

// An image sub-chunk's data checked and made loadable as an icon; false when
// it cannot be read. Raises `paletteSize` to the table size of its pictures.
bool ReadAniImage(std::string_view data, AniImage& image, std::uint16_t& paletteSize);
