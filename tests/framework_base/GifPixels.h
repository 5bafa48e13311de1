#pragma once
// A frame's pixels as colour indices, top row first, read back from the
// bitmap file image the frame decodes into.

#include "BitmapFileImage.h"
#include "GifBitmapImage.h"
#include "GifReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace giftest {

inline std::vector<int> FramePixels(GifFrameData& frame)
{
    const std::string image = SaveGifFrameToBitmapImage(frame, nullptr);
    BitmapFileImage bitmap;
    if (ReadBitmapFileImage(image, bitmap) != BitmapImageError::None)
        return {};
    const auto& header = bitmap.header;
    const std::int64_t rowSize = DibRowSize(header.width, header.bitCount);
    std::vector<int> pixels;
    for (int y = 0; y < header.height; ++y) {
        const std::uint8_t* row = bitmap.bits.data() + (header.height - 1 - y) * rowSize;
        for (int x = 0; x < header.width; ++x) {
            if (header.bitCount == 8)
                pixels.push_back(row[x]);
            else if (header.bitCount == 4)
                pixels.push_back((x & 1) ? row[x / 2] & 15 : row[x / 2] >> 4);
            else
                pixels.push_back((row[x / 8] >> (7 - x % 8)) & 1);
        }
    }
    return pixels;
}

inline std::vector<int> FirstFramePixels(const std::string& file)
{
    GifImageData image;
    ReadGifData(image, file);
    if (image.frames.empty())
        return {};
    return FramePixels(*image.frames[0]);
}

} // namespace giftest
