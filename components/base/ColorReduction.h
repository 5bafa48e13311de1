#pragma once
// Reduction of 24-bit pixel rows to 8-bit palette indices, in place: row y of
// the output starts at y x its 8-bit row size in the same buffer, which never
// overtakes the input. Rows are in memory order, each padded to 4 bytes,
// pixels stored blue, green, red.

#include "BitmapFileImage.h"

#include <array>
#include <cstdint>

using DibPalette = std::array<DibRgbQuad, 256>;

enum TMappingMethod { mmHistogram, mmQuantize, mmTrunc784, mmTrunc666, mmTripel, mmGrayscale };

// Channel levels of the fixed truncation palettes, and for each channel value
// the index of the nearest level (the lower index on a tie).
struct ColorLevels {
    static const std::array<std::uint8_t, 4> four;
    static const std::array<std::uint8_t, 6> six;
    static const std::array<std::uint8_t, 7> seven;
    static const std::array<std::uint8_t, 8> eight;
};
const std::array<std::uint8_t, 256>& NearestLevelTable(int levels); // 4, 6, 7 or 8

// A pixel buffer of `height` rows of 24-bit pixels, `width` wide.
struct PixelRows {
    std::uint8_t* bits;
    int width;
    int height;
};

// The most frequent colours (at most `colours`, up to 256), coarsening the
// channel masks until no more than 2,049 distinct colours remain; the others
// map to their nearest kept colour. Returns the number of colours kept.
int HistogramReduce(PixelRows rows, int colours, DibPalette& palette);
// Median cut over 12-bit colours to at most 256 boxes; returns the number made.
int MedianCutReduce(PixelRows rows, DibPalette& palette);
// Fixed palettes of 7 red x 8 green x 4 blue (224) and 6 x 6 x 6 (216).
void Trunc784Reduce(PixelRows rows, DibPalette& palette);
void Trunc666Reduce(PixelRows rows, DibPalette& palette);
// Each pixel keeps one channel, chosen by (x + y) mod 3, on three 64-step ramps.
void TripelReduce(PixelRows rows, DibPalette& palette);
void GrayscaleReduce(PixelRows rows, DibPalette& palette);

class TStream;

// Reduces the 24-bit rows in place by the method and writes the 8-bit bitmap
// file image: the palette the method made, colours-important set to the
// number of colours the median cut and the truncations make.
void WriteReducedImage(TStream& stream, PixelRows rows, TMappingMethod method);
