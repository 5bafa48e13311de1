// Feeds arbitrary bytes to the icon file image reader, as they come from the
// clipboard or inside an animated cursor frame. Whatever the bytes, every
// part it locates must lie inside them, and a picture it accepts must write
// back to an image that reads the same.

#include "IconEntryChoice.h"
#include "IconFileImage.h"
#include "Streams.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

void CheckInside(std::string_view bytes, std::string_view part)
{
    if (!part.empty() && (part.data() < bytes.data() || part.data() + part.size() > bytes.data() + bytes.size()))
        std::abort();
}

void CheckRewrite(const IconImageParts& parts)
{
    if (parts.width > 256 || parts.height > 256 || parts.colorCount != (parts.header.bitCount <= 8 ? 1 << parts.header.bitCount : 0))
        return;
    IconImage picture;
    picture.width = parts.width;
    picture.height = parts.height;
    picture.bitCount = parts.header.bitCount;
    picture.colors.resize(static_cast<std::size_t>(parts.colorCount));
    if (!parts.colorTable.empty())
        std::memcpy(picture.colors.data(), parts.colorTable.data(), parts.colorTable.size());
    picture.colorBits.assign(parts.colorBits.begin(), parts.colorBits.end());
    picture.maskBits.assign(parts.maskBits.begin(), parts.maskBits.end());
    TMemoryStream stream;
    WriteIconFileImage(stream, {picture});
    const std::string_view written(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
    IconDirectory directory;
    IconImageParts again;
    if (ReadIconDirectory(written, directory) != IconImageError::None ||
        LocateIconImage(written, directory.entries.at(0), again) != IconImageError::None ||
        again.colorBits != parts.colorBits || again.maskBits != parts.maskBits || again.colorTable != parts.colorTable)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    IconDirectory directory;
    if (ReadIconDirectory(bytes, directory) != IconImageError::None)
        return 0;
    if (directory.entries.empty())
        std::abort();
    for (std::uint16_t screen : {std::uint16_t{0}, std::uint16_t{1}, std::uint16_t{16}, std::uint16_t{256}}) {
        if (ChooseIconEntry(directory.entries, screen) >= directory.entries.size())
            std::abort();
    }
    for (const IconDirEntry& entry : directory.entries) {
        IconImageParts parts;
        if (LocateIconImage(bytes, entry, parts) != IconImageError::None)
            continue;
        CheckInside(bytes, parts.colorTable);
        CheckInside(bytes, parts.colorBits);
        CheckInside(bytes, parts.maskBits);
        CheckRewrite(parts);
    }
    return 0;
}
