#pragma once
// Bitmaps in other pixel formats: reading as a bitmap file image, reduction to
// 256 colours by a mapping method, screen formats, tiling and gradients.

#include "ColorReduction.h"
#include "Gradient.h"
#include "Graphics.h"

#include <memory>
#include <string>

class TMemoryStream;

extern TMappingMethod DefaultMappingMethod;

int PixelFormatColorCount(TPixelFormat format);
TPixelFormat ScreenPixelFormat();
int ScreenColorCount();
TPixelFormat GetPaletteBitmapFormat(const TBitmap& bitmap);
TPixelFormat GetBitmapPixelFormat(const TBitmap& bitmap);

// A new stream at position 0 holding the bitmap as a bitmap file image in the
// format (1, 4, 8 or 24 bits; others are not implemented). Raises "Bitmap
// image is not valid" for a bitmap without handle or one that cannot be read.
std::unique_ptr<TMemoryStream> BitmapToMemoryStream(TBitmap& bitmap, TPixelFormat format, TMappingMethod method);
// The format for a colour count: 2 or fewer 1 bit, 16 or fewer 4, above 256
// 24, else 8; DefaultMappingMethod.
std::unique_ptr<TMemoryStream> BitmapToMemory(TBitmap& bitmap, int colors);
// Written through a temporary file that replaces the target only when whole.
void SaveBitmapToFile(const std::string& fileName, TBitmap& bitmap, int colors);
void SetBitmapPixelFormat(TBitmap& bitmap, TPixelFormat format, TMappingMethod method);
// 8 bits of grey; a bitmap already 8 bits with a grey palette stays as it is.
void GrayscaleBitmap(TBitmap& bitmap);

void TileImage(TCanvas& canvas, const RECT& rect, TGraphic& graphic);
void GradientFillRect(TCanvas& canvas, const RECT& rect, TColor begin, TColor end, TFillDirection direction,
                      int colors);
void DrawGradient(const TQGradient& gradient, TCanvas& canvas, const RECT& rect);
