#pragma once
// Writing the picture's data as a GIF file, the extension rebuild that comes
// first, and the grey conversion of the colour tables.

#include "GifData.h"

#include <string>

// Rebuilds the frame's graphic control extension from its properties and
// drops comments without lines; any extension left makes the file 89a.
void UpdateGifExtensions(GifImageData& image, GifFrameData& frame);

// The whole file. Every frame must have raster data ("No GIF Data to write"
// when there is no frame). The version and the screen are brought up to date
// on the picture: any extension makes it 89a, and the screen keeps its size
// unless the frames reach further. A raster without its terminator gets
// one; a local table is padded to a power of two; a frame whose table
// differs from the global one is written with it as a local table.
std::string WriteGifData(GifImageData& image);

// The frame's colour table turned grey (a raster shared with a copy stays
// with the copy), the transparent colour with it; nothing for a frame
// already grey or without raster data and table. Returns true when it
// changed something, the frame's bitmap then needing a new decode.
bool GrayscaleGifRaster(GifFrameData& frame);
// The background colour turned grey, with the global table.
void GrayscaleGifBackground(GifImageData& image);
