#pragma once
// Bitmaps of every depth for the drawing and conversion tests, drawn pixel by
// pixel through their canvas.

#include "Graphics.h"

#include <memory>
#include <vector>

// A section of the format, every pixel set by colorAt(x, y).
template <class ColorAt>
std::unique_ptr<TBitmap> MakeBitmap(TPixelFormat format, int width, int height, ColorAt colorAt)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(format);
    bitmap->SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap->Canvas().SetPixel(x, y, colorAt(x, y));
    return bitmap;
}

// A 16-bit section with 5-6-5 bit fields.
inline std::unique_ptr<TBitmap> MakeBitFieldsBitmap(int width, int height)
{
    struct {
        BITMAPINFOHEADER header;
        DWORD masks[3];
    } info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = 16;
    info.header.biCompression = BI_BITFIELDS;
    info.masks[0] = 0xF800;
    info.masks[1] = 0x07E0;
    info.masks[2] = 0x001F;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP section = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetHandle(section);
    return bitmap;
}
