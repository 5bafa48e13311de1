#pragma once
// The LZW coding of GIF raster data, straight to and from the rows of a
// bitmap file image (bottom-up, each row padded to 4 bytes, 1, 4 or 8 bits a
// pixel, the first pixel in the high bits).

#include "GifData.h"

#include <cstdint>
#include <string>
#include <string_view>

struct GifPixelRows {
    std::uint8_t* pixels = nullptr; // the bottom row first
    std::int32_t width = 0;
    std::int32_t height = 0;
    int bitCount = 8;
    // Rows stored from the top down instead.
    bool topDown = false;
};

// Decodes raster data (minimum code size byte, sub-blocks) into the rows, in
// interlace order when asked. Pixels never reached keep their value. Returns
// true when the data was damaged: decoding then ends, and with `tolerate`
// false the damage raises the invalid-graphic-operation error instead.
// `frameBits` (1-8) masks the pixel values. Progress, when given, hears the
// stages and every change of the percentage.
bool DecodeLzwRaster(std::string_view raster, const GifPixelRows& rows, bool interlaced, int frameBits,
                     bool tolerate, const TProgressProc& progress);

// Encodes the rows (1, 4 or 8 bits) as raster data appended to `out`: the
// minimum code size byte (2, 4 or 8), the sub-blocks, the terminator.
void EncodeLzwRaster(std::string& out, const GifPixelRows& rows, bool interlaced, const TProgressProc& progress);

// The row of the picture written n-th, for plain or interlaced order.
class GifRowOrder {
public:
    GifRowOrder(std::int32_t height, bool interlaced);
    std::int32_t Row() const { return row_; }
    bool Done() const { return row_ >= height_; }
    void Next();

private:
    void SkipEmptyPasses();
    std::int32_t height_;
    bool interlaced_;
    int pass_ = 0;
    std::int32_t row_ = 0;
};
