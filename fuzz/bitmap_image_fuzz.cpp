// Feeds arbitrary bytes to the bitmap file image reader. Whatever the bytes,
// it must return without a crash or an oversized allocation; what it accepts
// must hold exactly the rows its header describes and write back to an image
// that reads the same.

#include "BitmapFileImage.h"
#include "Streams.h"

#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    BitmapFileImage image;
    if (ReadBitmapFileImage(std::string_view(reinterpret_cast<const char*>(data), size), image) !=
        BitmapImageError::None) {
        if (!image.bits.empty())
            std::abort();
        return 0;
    }
    const BitmapInfoHeader& header = image.header;
    if (static_cast<std::int64_t>(image.bits.size()) != DibImageSize(header.width, header.height, header.bitCount))
        std::abort();
    std::vector<std::uint8_t> table(static_cast<std::size_t>(DibColorTableSize(header)));
    if (header.bitCount <= 8)
        std::memcpy(table.data(), image.colors.data(), std::min(table.size(), image.colors.size() * 4));
    else if (!table.empty())
        std::memcpy(table.data(), image.masks, 12);
    BitmapInfoHeader written = header;
    written.clrUsed = 0;
    TMemoryStream stream;
    WriteBitmapFileImage(stream, written, table.data(), image.bits.data());
    BitmapFileImage again;
    const std::string_view bytes(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
    if (ReadBitmapFileImage(bytes, again) != BitmapImageError::None || again.bits != image.bits)
        std::abort();
    return 0;
}
