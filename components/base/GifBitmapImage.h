#pragma once
// A frame's raster as a bitmap file image and back: decoding into the rows of
// a bitmap, and encoding a bitmap file image into the frame's raster.

#include "GifData.h"

#include <string>
#include <string_view>

// Largest decoded frame, in pixel bytes; a larger one raises "Out of system
// resources" before anything is allocated.
inline constexpr std::int64_t kGifMaxBitmapBytes = std::int64_t{512} * 1024 * 1024;

// The bitmap's bit count for a frame of that many bits a pixel: 1, 4 or 8.
// Raises "Wrong number of colors; must be a power of 2" for 0 or above 8.
int GifOutputBitCount(int bitsPerPixel);
// Raises "Out of system resources" when the frame's pixels would be larger
// than kGifMaxBitmapBytes.
void CheckGifBitmapSize(std::int64_t width, std::int64_t height, int bitCount);
// The bitmap palette of a raster's table: 2^bitCount entries of blue, green,
// red, 0; entries past a partial table are 128, 128, 128, 128.
std::string GifBitmapPalette(const TGIFColorTable& table, int bitCount);

// The frame decoded into a bitmap file image (bottom-up rows). A frame of
// width or height 0 gives a header without pixels. The frame is marked
// corrupted when its data is damaged.
std::string SaveGifFrameToBitmapImage(GifFrameData& frame, const TProgressProc& progress);

// Encodes a bitmap file image of 1, 4 or 8 bits into the frame: a new raster
// (a raster shared with a copy stays with the copy), its table from the
// palette, the first table of the picture as its global one. Raises "GIF
// image encoding error" for any other depth, compression or a damaged image.
// A silent abort from the progress handler leaves the frame reset.
void EncodeGifBitmapImage(GifImageData& image, GifFrameData& frame, std::string_view bitmapImage,
                          const TProgressProc& progress);
