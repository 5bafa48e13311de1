#include "GifReader.h"

#include "Exceptions.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

[[noreturn]] void StreamReadError() { throw EReadError(kGifStreamReadError); }

class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}
    bool AtEnd() const { return position_ >= bytes_.size(); }
    std::size_t Left() const { return bytes_.size() - position_; }
    // All or nothing.
    void Read(void* buffer, std::size_t count)
    {
        if (count > Left())
            StreamReadError();
        std::memcpy(buffer, bytes_.data() + position_, count);
        position_ += count;
    }
    std::uint8_t Byte()
    {
        std::uint8_t value;
        Read(&value, 1);
        return value;
    }
    // As many bytes as there are, up to count; the rest of the buffer stays.
    std::size_t ReadSome(void* buffer, std::size_t count)
    {
        count = std::min(count, Left());
        std::memcpy(buffer, bytes_.data() + position_, count);
        position_ += count;
        return count;
    }
    std::string_view Take(std::size_t count)
    {
        count = std::min(count, Left());
        const std::string_view part = bytes_.substr(position_, count);
        position_ += count;
        return part;
    }

private:
    std::string_view bytes_;
    std::size_t position_ = 0;
};

std::uint16_t Word(const std::uint8_t* bytes) { return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8)); }

bool SameText(const char* a, const char* b, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (std::tolower(ca) != std::tolower(cb))
            return false;
    }
    return true;
}

void ReadSignature(GifImageData& image, ByteReader& reader)
{
    image.version = gvUnknown;
    char text[3];
    reader.Read(text, 3);
    if (!SameText(text, "GIF", 3))
        throw EInvalidGraphicOperation(kGifUnknownVersion);
    reader.Read(text, 3);
    for (TGIFVersion version : {gv87a, gv89a}) {
        if (SameText(text, GIFVersionName(version).c_str(), 3)) {
            image.version = version;
            return;
        }
    }
    throw EInvalidGraphicOperation(kGifUnknownVersion);
}

TStringList ReadSubBlocks(ByteReader& reader)
{
    TStringList data;
    while (!reader.AtEnd()) {
        const std::uint8_t length = reader.Byte();
        if (length == 0)
            break;
        data.Add(std::string(reader.Take(length)));
    }
    return data;
}

bool IsLoopBlock(const TExtension& block)
{
    // The identifier and authentication code are 11 bytes after the block
    // size; any other block size names some other block.
    if (block.header[1] != 11 || !block.data || block.data->Count() == 0)
        return false;
    const char* identifier = reinterpret_cast<const char*>(block.header.data() + 2);
    if (std::memcmp(identifier, "NETSCAPE2.0", 11) != 0 && std::memcmp(identifier, "ANIMEXTS1.0", 11) != 0)
        return false;
    const std::string first = block.data->Get(0);
    return first.size() >= 3 && first[0] == 1;
}

// Extensions from the introducer on; leaves the introducer of the next
// block that is not one.
std::vector<TExtension> CollectExtensions(GifImageData& image, ByteReader& reader, std::uint8_t& introducer)
{
    std::vector<TExtension> collected;
    while (introducer == '!') {
        const std::uint8_t label = reader.Byte();
        TExtension block;
        switch (label) {
        case 0xF9:
            block.kind = ekGraphicControl;
            reader.Read(block.header.data() + 1, 6);
            break;
        case 0xFE:
            block.kind = ekComment;
            block.data = ReadSubBlocks(reader);
            break;
        case 0x01:
            block.kind = ekPlainText;
            reader.Read(block.header.data() + 1, 13);
            block.data = ReadSubBlocks(reader);
            break;
        case 0xFF:
            block.kind = ekApplication;
            reader.Read(block.header.data() + 1, 12);
            block.data = ReadSubBlocks(reader);
            break;
        default: {
            char text[64];
            std::snprintf(text, sizeof text, "Unrecognized extension block: %.2x", label);
            throw EInvalidGraphicOperation(text);
        }
        }
        if (block.kind == ekPlainText)
            collected.clear();
        if (block.kind == ekApplication && IsLoopBlock(block)) {
            const std::string first = block.data->Get(0);
            image.looping = true;
            image.SetRepeatCountValue(static_cast<std::uint8_t>(first[1]) + static_cast<std::uint8_t>(first[2]) * 256);
        }
        if (block.kind == ekGraphicControl || block.kind == ekComment)
            collected.push_back(std::move(block));
        introducer = reader.AtEnd() ? ';' : reader.Byte();
    }
    return collected;
}

// One image after its ',' introducer. Returns false when its data was cut short.
bool ReadFrame(GifImageData& image, GifFrameData& frame, ByteReader& reader)
{
    TGIFItem& raster = frame.UniqueRaster();
    raster.rasterData.clear();
    std::uint8_t descriptor[9];
    reader.Read(descriptor, sizeof descriptor);
    const std::uint8_t packed = descriptor[8];
    frame.interlaced = (packed & 0x40) != 0;
    if (packed & 0x80) {
        raster.bitsPerPixel = static_cast<std::uint8_t>((packed & 7) + 1);
        frame.localColors = true;
        raster.colorTable = {};
        raster.colorTable.count = 1 << raster.bitsPerPixel;
        reader.Read(raster.colorTable.colors.data(), static_cast<std::size_t>(raster.colorTable.count) * 3);
    } else {
        frame.localColors = false;
        raster.colorTable = {};
    }
    raster.rasterData.push_back(static_cast<char>(reader.Byte()));
    bool cut = false;
    while (!reader.AtEnd()) {
        const std::uint8_t length = reader.Byte();
        if (length > reader.Left()) {
            cut = true;
            break;
        }
        raster.rasterData.push_back(static_cast<char>(length));
        raster.rasterData.append(reader.Take(length));
        if (length == 0)
            break;
    }
    if (cut) {
        if (!GIFLoadCorrupted)
            StreamReadError();
        frame.corrupted = true;
    }
    const std::uint16_t width = Word(descriptor + 4);
    const std::uint16_t height = Word(descriptor + 6);
    frame.left = Word(descriptor);
    frame.top = Word(descriptor + 2);
    raster.width = width ? width : image.screenWidth;
    raster.height = height ? height : image.screenHeight;
    raster.packedFields = packed;
    if (!frame.localColors)
        raster.colorTable = image.header->colorTable;
    frame.animateInterval = 0;
    for (const TExtension& block : frame.extensions) {
        if (block.kind != ekGraphicControl)
            continue;
        if (block.Packed() & 1) {
            if (block.TransparentIndex() < raster.colorTable.count) {
                frame.transparentIndex = block.TransparentIndex();
                frame.transparentColor = raster.colorTable.Color(frame.transparentIndex);
            }
        } else {
            frame.transparentColor = kGifNoColor;
            frame.transparentIndex = -1;
        }
        frame.animateInterval =
            static_cast<std::uint16_t>(std::max<int>(std::min(block.Delay() * 10, 65535), frame.animateInterval));
        frame.disposalMethod = static_cast<TDisposalMethod>((block.Packed() >> 2) & 7);
    }
    return !cut;
}

void AppendImageComment(GifImageData& image, const std::vector<TExtension>& collected)
{
    for (const TExtension& block : collected) {
        if (block.kind != ekComment || !block.data)
            continue;
        TStringList& comment = image.UniqueHeader().comment;
        if (comment.Count() > 0)
            comment.Add("\r\n\r\n");
        comment.AddStrings(*block.data);
    }
}

} // namespace

void ReadGifData(GifImageData& image, std::string_view bytes)
{
    image.NewImageData();
    if (bytes.empty())
        return;
    ByteReader reader(bytes);
    ReadSignature(image, reader);

    // A cut screen descriptor or colour table reads as far as it goes.
    std::uint8_t screen[7] = {};
    reader.ReadSome(screen, sizeof screen);
    image.screenWidth = Word(screen);
    image.screenHeight = Word(screen + 2);
    TGIFData& header = *image.header;
    header.aspectRatio = screen[6];
    header.bitsPerPixel = static_cast<std::uint8_t>((screen[4] & 7) + 1);
    header.colorResolution = static_cast<std::uint8_t>(((screen[4] >> 4) & 7) + 1);
    if (screen[4] & 0x80) {
        header.colorTable.count = 1 << header.bitsPerPixel;
        reader.ReadSome(header.colorTable.colors.data(), static_cast<std::size_t>(header.colorTable.count) * 3);
        if (screen[5] < header.colorTable.count)
            image.backgroundColor = header.colorTable.Color(screen[5]);
    }

    std::uint8_t introducer = reader.AtEnd() ? 0 : reader.Byte();
    while (introducer != 0 && introducer != ';' && !reader.AtEnd()) {
        std::vector<TExtension> collected = CollectExtensions(image, reader, introducer);
        if (introducer == ',') {
            auto frame = image.CreateFrameData();
            if (header.colorTable.count > 0) {
                const int bits = GifBitsOfPowerOfTwo(header.colorTable.count);
                if (bits == 0)
                    throw EInvalidGraphicOperation(kGifWrongColorCount);
                frame->raster->bitsPerPixel = static_cast<std::uint8_t>(bits);
            }
            frame->extensions = std::move(collected);
            const bool whole = ReadFrame(image, *frame, reader);
            image.frames.push_back(std::move(frame));
            if (!whole || reader.AtEnd())
                break;
            introducer = reader.Byte();
            while (introducer == 0 && !reader.AtEnd())
                introducer = reader.Byte();
            if (introducer != '!' && introducer != ',' && introducer != ';')
                introducer = 0;
        } else if (image.header->comment.Count() == 0 && !collected.empty()) {
            AppendImageComment(image, collected);
        } else if (introducer != 0 && introducer != ';') {
            StreamReadError();
        }
    }
    if (!image.frames.empty())
        image.currentIndex = 0;
}

std::string_view GifLengthPrefixed(std::string_view bytes)
{
    if (bytes.size() < 4)
        StreamReadError();
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const auto length = static_cast<std::int32_t>(std::uint32_t{data[0]} | (std::uint32_t{data[1]} << 8) |
                                                  (std::uint32_t{data[2]} << 16) | (std::uint32_t{data[3]} << 24));
    if (length < 0 || static_cast<std::size_t>(length) > bytes.size() - 4)
        StreamReadError();
    return bytes.substr(4, static_cast<std::size_t>(length));
}
