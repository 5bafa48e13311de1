#pragma once
// Reading a GIF file into the picture's data. The rasters stay compressed.

#include "GifData.h"

#include <string_view>

// Replaces the picture's contents with the file in `bytes`. Raises the read
// error "Stream read error" and the invalid-graphic-operation errors with
// the texts of GifData.h; the picture then holds the frames read before the
// error. A frame whose data is cut short ends the reading.
void ReadGifData(GifImageData& image, std::string_view bytes);

// The GIF file of a length-prefixed block (int32 length, little-endian, then
// the file): the length is checked against the bytes there are before
// anything is taken. Raises "Stream read error" when they are fewer.
std::string_view GifLengthPrefixed(std::string_view bytes);
