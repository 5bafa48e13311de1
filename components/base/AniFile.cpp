#include "AniFile.h"

#include "Exceptions.h"
#include "IconFileImage.h"

#include <algorithm>
#include <cstring>

namespace {

std::uint32_t Get32(const char* at)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(at);
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

[[noreturn]] void Fail() { throw EReadError(kStreamReadError); }

// A chunk inside some bytes: its tag, its header and its body (the declared
// size), and where the next chunk starts (the size padded to even).
struct Chunk {
    std::string_view tag;
    std::string_view header;
    std::string_view body;
    std::size_t next = 0;
};

// The chunk at `at`; false when its header or body runs past the end.
bool ChunkAt(std::string_view bytes, std::size_t at, Chunk& chunk)
{
    if (bytes.size() < 8 || at > bytes.size() - 8)
        return false;
    const std::uint64_t size = Get32(bytes.data() + at + 4);
    const std::uint64_t start = at + 8;
    if (size > bytes.size() - start)
        return false;
    chunk.tag = bytes.substr(at, 4);
    chunk.header = bytes.substr(at, 8);
    chunk.body = bytes.substr(start, static_cast<std::size_t>(size));
    // A last chunk of odd size may lack its pad byte.
    chunk.next = static_cast<std::size_t>(std::min<std::uint64_t>(start + size + (size & 1), bytes.size()));
    return true;
}

std::string InfoText(std::string_view body)
{
    const std::string_view text = body.substr(0, std::min<std::size_t>(body.size(), 255));
    return std::string(text.substr(0, std::min(text.find('\0'), text.size())));
}

class AniReader {
public:
    AniContents Read(std::string_view bytes)
    {
        if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "ACON")
            Fail();
        // The RIFF size is not trusted: the chunks run to the end of the data.
        const std::string_view chunks = bytes.substr(12);
        Chunk chunk;
        for (std::size_t at = 0; ChunkAt(chunks, at, chunk); at = chunk.next) {
            if (chunk.tag == "anih")
                ReadHeader(chunk.body, chunks.size() - chunk.next);
            else if (chunk.tag == "rate")
                HandOut(chunk.body, nextRate_, [](AniFrame& frame, std::uint32_t value) {
                    frame.displayTime = RateOf(value);
                });
            else if (chunk.tag == "seq ")
                HandOut(chunk.body, nextStep_, [](AniFrame& frame, std::uint32_t value) {
                    frame.frameNumber = static_cast<std::int32_t>(value);
                });
            else if (chunk.tag == "LIST" && chunk.body.size() >= 4)
                ReadList(chunk.body.substr(0, 4), chunk.body.substr(4));
        }
        if (!headerSeen_)
            Fail();
        std::erase_if(contents_.frames, [](const AniFrame& frame) { return frame.image < 0; });
        if (contents_.frames.empty())
            Fail();
        contents_.header.steps = static_cast<std::uint32_t>(contents_.frames.size());
        return std::move(contents_);
    }

private:
    void ReadHeader(std::string_view body, std::size_t bytesAfter)
    {
        // Only the first header makes frames: a second one would multiply them.
        if (headerSeen_)
            return;
        headerSeen_ = true;
        char stored[kAniHeaderSize] = {};
        std::memcpy(stored, body.data(), std::min(body.size(), kAniHeaderSize));
        AniHeader& header = contents_.header;
        std::uint32_t* fields[] = {&header.headerSize, &header.frames, &header.steps,
                                   &header.width,      &header.height, &header.bitCount,
                                   &header.planes,     &header.defaultRate, &header.flags};
        for (std::size_t i = 0; i < std::size(fields); ++i)
            *fields[i] = Get32(stored + 4 * i);
        if ((header.flags & 1) == 0 || header.steps == 0)
            Fail();
        // A sequence may show one image at several steps, so there are as many
        // frames as steps when those are more.
        const std::uint64_t count = std::max(header.frames, header.steps);
        // Each frame needs an image chunk or a sequence entry of 4 bytes or more.
        if (count > bytesAfter / 4)
            Fail();
        contents_.frames.resize(static_cast<std::size_t>(count));
        for (std::size_t i = 0; i < contents_.frames.size(); ++i)
            contents_.frames[i] = AniFrame{static_cast<std::int32_t>(i), DefaultRate(), -1};
    }

    std::int32_t DefaultRate() const { return RateOf(contents_.header.defaultRate); }

    // Each value of the chunk goes to the next frame in turn.
    template <typename Apply>
    void HandOut(std::string_view body, std::size_t& next, Apply apply)
    {
        for (std::size_t at = 0; at + 4 <= body.size(); at += 4, ++next) {
            if (next < contents_.frames.size())
                apply(contents_.frames[next], Get32(body.data() + at));
        }
    }

    void ReadList(std::string_view type, std::string_view items)
    {
        if (type == "fram")
            ReadFrames(items);
        else if (type == "INFO")
            ReadInfo(items);
    }

    void ReadFrames(std::string_view items)
    {
        Chunk chunk;
        for (std::size_t at = 0; ChunkAt(items, at, chunk); at = chunk.next) {
            if (chunk.tag != "icon")
                continue;
            AniImage image;
            if (!ReadAniImage(chunk.body, image, contents_.paletteSize))
                return;
            std::memcpy(image.chunkHeader.data(), chunk.header.data(), 8);
            const int number = static_cast<int>(contents_.images.size());
            contents_.images.push_back(std::move(image));
            bool taken = false;
            for (AniFrame& frame : contents_.frames) {
                if (frame.frameNumber == number) {
                    frame.image = number;
                    taken = true;
                }
            }
            if (!taken)
                contents_.frames.push_back(AniFrame{-1, DefaultRate(), number});
        }
    }

    void ReadInfo(std::string_view items)
    {
        Chunk chunk;
        for (std::size_t at = 0; ChunkAt(items, at, chunk); at = chunk.next) {
            if (chunk.tag == "INAM")
                contents_.title = InfoText(chunk.body);
            else if (chunk.tag == "IART")
                contents_.creator = InfoText(chunk.body);
        }
    }

    AniContents contents_;
    bool headerSeen_ = false;
    std::size_t nextRate_ = 0;
    std::size_t nextStep_ = 0;
};

std::uint16_t TableSizeOfDepth(int bitCount)
{
    switch (bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

} // namespace

bool ReadAniImage(std::string_view data, AniImage& image, std::uint16_t& paletteSize)
{
    IconFileHeader header;
    if (!ReadIconFileHeader(data, header) || (header.type != kIconImageType && header.type != kCursorImageType))
        return false;
    IconDirectory directory;
    if (ReadIconDirectory(data, directory) != IconImageError::None)
        return false;
    std::uint16_t palette = paletteSize;
    for (const IconDirEntry& entry : directory.entries) {
        IconImageParts parts;
        const IconImageError error = LocateIconImage(data, entry, parts);
        if (error != IconImageError::None && error != IconImageError::Png)
            return false;
        if (error == IconImageError::None)
            palette = std::max(palette, TableSizeOfDepth(parts.header.bitCount));
    }
    // A cursor's directory keeps the hot spot where an icon's keeps planes and depth.
    const IconDirEntry& last = directory.entries.back();
    image.fromIcon = header.type == kIconImageType;
    image.hotSpotX = image.fromIcon ? 0 : last.planes;
    image.hotSpotY = image.fromIcon ? 0 : last.bitCount;
    image.bytes.assign(data);
    image.bytes[2] = static_cast<char>(kIconImageType);
    image.bytes[3] = 0;
    paletteSize = palette;
    return true;
}

AniContents ReadAniContents(std::string_view bytes) { return AniReader().Read(bytes); }
