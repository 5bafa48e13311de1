#pragma once
// Transparent drawing of bitmaps, palette helpers and the library's funnel for
// what is not implemented.

#include "Graphics.h"

#include <windows.h>

// Copies a source rectangle to a destination rectangle, stretching as needed,
// and leaves the destination unchanged wherever the source has the
// transparent colour. Raises EOutOfResources, the destination untouched, when
// a work surface cannot be made; sizes of 0 or less draw nothing.
void StretchBltTransparent(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                           int sourceWidth, int sourceHeight, HPALETTE palette, COLORREF transparent);
void DrawTransparentBitmap(HDC dc, HBITMAP bitmap, int x, int y, COLORREF transparent);

// Sizes below 1 take the bitmap's own; clNone copies it plainly with the
// canvas's copy mode; clDefault leaves out the bottom-left pixel's colour;
// a monochrome bitmap leaves out white. An empty bitmap draws nothing.
void StretchBitmapTransparent(TCanvas& destination, TBitmap& bitmap, TColor transparent, int x, int y, int width,
                              int height, int sourceX, int sourceY, int sourceWidth, int sourceHeight);
void StretchBitmapRectTransparent(TCanvas& destination, int x, int y, int width, int height, const RECT& source,
                                  TBitmap& bitmap, TColor transparent);
void DrawBitmapRectTransparent(TCanvas& destination, int x, int y, const RECT& source, TBitmap& bitmap,
                               TColor transparent);
void DrawBitmapTransparent(TCanvas& destination, int x, int y, TBitmap& bitmap, TColor transparent);

// The colour as a palette-relative value: the nearest palette entry is used.
COLORREF PaletteColor(TColor color);
int PaletteEntries(HPALETTE palette);

// Tells the user "Function not yet implemented", then ends the operation
// with the silent abort.
[[noreturn]] void NotImplemented();
