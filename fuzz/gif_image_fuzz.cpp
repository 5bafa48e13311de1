// Feeds arbitrary bytes to the GIF reader, as a plain file (first byte even)
// or as a length-prefixed block (odd). Whatever the bytes, every frame read
// must decode without a crash; a picture that reads and decodes cleanly must
// write back to a file that reads and decodes to the same pixels.

#include "BitmapFileImage.h"
#include "Exceptions.h"
#include "GifBitmapImage.h"
#include "GifReader.h"
#include "GifWriter.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Larger frames only cost time: the size check itself is tested.
constexpr std::int64_t kMaxFuzzPixels = 1 << 20;

// Every frame's bitmap image; false when any frame is damaged or too large.
bool DecodeAll(GifImageData& image, std::vector<std::string>& bitmaps)
{
    bool clean = true;
    for (auto& frame : image.frames) {
        const std::int64_t pixels = std::int64_t{frame->raster->width} * frame->raster->height;
        if (pixels > kMaxFuzzPixels) {
            clean = false;
            continue;
        }
        try {
            bitmaps.push_back(SaveGifFrameToBitmapImage(*frame, nullptr));
        } catch (const Exception&) {
            clean = false;
        }
        clean = clean && !frame->corrupted;
    }
    return clean;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    GifImageData image;
    std::vector<std::string> bitmaps;
    try {
        if (data[0] & 1)
            bytes = GifLengthPrefixed(bytes);
        ReadGifData(image, bytes);
    } catch (const Exception&) {
        DecodeAll(image, bitmaps);
        return 0;
    }
    if (!DecodeAll(image, bitmaps) || image.frames.empty())
        return 0;
    // A size of 0 in the file means the screen's, and the screen written
    // may be larger than the one read: such a frame has no pixels to keep.
    for (const auto& frame : image.frames) {
        if (frame->raster->width == 0 || frame->raster->height == 0)
            return 0;
    }
    GifImageData again;
    std::vector<std::string> again_bitmaps;
    ReadGifData(again, WriteGifData(image));
    if (!DecodeAll(again, again_bitmaps) || again_bitmaps != bitmaps)
        std::abort();
    return 0;
}
