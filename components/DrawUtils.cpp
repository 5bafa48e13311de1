#include "DrawUtils.h"

#include "Application.h"
#include "Cursors.h"
#include "Exceptions.h"
#include "GdiHandles.h"

namespace {

// A memory context with a bitmap of its own selected for the scope.
class WorkSurface {
public:
    WorkSurface(HDC like, HBITMAP bitmap) : dc_(like), bitmap_(bitmap), selection_(dc_.Get(), bitmap)
    {
        if (!dc_.Get() || !bitmap_.Get())
            throw EOutOfResources(kOutOfResources);
    }
    HDC Get() const { return dc_.Get(); }

private:
    MemoryDC dc_;
    GdiObject<HBITMAP> bitmap_;
    Selection selection_;
};

class MapModeScope {
public:
    MapModeScope(HDC dc, int mode) : dc_(dc), previous_(SetMapMode(dc, mode)) {}
    ~MapModeScope() { SetMapMode(dc_, previous_); }
    MapModeScope(const MapModeScope&) = delete;
    MapModeScope& operator=(const MapModeScope&) = delete;

private:
    HDC dc_;
    int previous_;
};

// Monochrome blits onto colour: 1 bits white, 0 bits black.
void BlackAndWhite(HDC dc)
{
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    SetStretchBltMode(dc, COLORONCOLOR);
}

} // namespace

void StretchBltTransparent(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                           int sourceWidth, int sourceHeight, HPALETTE palette, COLORREF transparent)
{
    if (width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0)
        return;
    // Every surface is made before the destination is touched.
    WorkSurface mask(destination, CreateBitmap(sourceWidth, sourceHeight, 1, 1, nullptr));
    WorkSurface inverse(destination, CreateBitmap(sourceWidth, sourceHeight, 1, 1, nullptr));
    WorkSurface work(destination, CreateCompatibleBitmap(destination, width, height));
    WorkSurface copy(destination, CreateCompatibleBitmap(destination, sourceWidth, sourceHeight));

    RealizedPalette destinationPalette(destination, palette, TRUE);
    RealizedPalette workPalette(work.Get(), palette, TRUE);
    RealizedPalette copyPalette(copy.Get(), palette, FALSE);
    RealizedPalette maskPalette(mask.Get(), palette, FALSE);
    const int mapMode = GetMapMode(destination);
    MapModeScope sourceMode(source, mapMode);
    MapModeScope copyMode(copy.Get(), mapMode);

    BitBlt(copy.Get(), 0, 0, sourceWidth, sourceHeight, source, sourceX, sourceY, SRCCOPY);
    const COLORREF background = SetBkColor(copy.Get(), PaletteColor(transparent));
    BitBlt(mask.Get(), 0, 0, sourceWidth, sourceHeight, copy.Get(), 0, 0, SRCCOPY);
    SetBkColor(copy.Get(), background);
    BitBlt(inverse.Get(), 0, 0, sourceWidth, sourceHeight, mask.Get(), 0, 0, NOTSRCCOPY);
    BitBlt(work.Get(), 0, 0, width, height, destination, x, y, SRCCOPY);
    BlackAndWhite(work.Get());
    StretchBlt(work.Get(), 0, 0, width, height, mask.Get(), 0, 0, sourceWidth, sourceHeight, SRCAND);
    BlackAndWhite(copy.Get());
    BitBlt(copy.Get(), 0, 0, sourceWidth, sourceHeight, inverse.Get(), 0, 0, SRCAND);
    StretchBlt(work.Get(), 0, 0, width, height, copy.Get(), 0, 0, sourceWidth, sourceHeight, SRCPAINT);
    BitBlt(destination, x, y, width, height, work.Get(), 0, 0, SRCCOPY);
}

void DrawTransparentBitmap(HDC dc, HBITMAP bitmap, int x, int y, COLORREF transparent)
{
    BITMAP description{};
    if (!GetObjectA(bitmap, sizeof description, &description))
        return;
    MemoryDC source(dc);
    if (!source.Get())
        throw EOutOfResources(kOutOfResources);
    Selection selected(source.Get(), bitmap);
    StretchBltTransparent(dc, x, y, description.bmWidth, description.bmHeight, source.Get(), 0, 0, description.bmWidth,
                          description.bmHeight, nullptr, transparent);
}

namespace {

// The bitmap's canvas locked and its change notification off for the scope.
class QuietBitmap {
public:
    explicit QuietBitmap(TBitmap& bitmap) : bitmap_(bitmap), onChange_(std::move(bitmap.OnChange))
    {
        bitmap.OnChange = nullptr;
        bitmap.Canvas().Lock();
    }
    ~QuietBitmap()
    {
        bitmap_.Canvas().Unlock();
        bitmap_.OnChange = std::move(onChange_);
    }
    QuietBitmap(const QuietBitmap&) = delete;
    QuietBitmap& operator=(const QuietBitmap&) = delete;

private:
    TBitmap& bitmap_;
    std::function<void(TGraphic&)> onChange_;
};

} // namespace

void StretchBitmapTransparent(TCanvas& destination, TBitmap& bitmap, TColor transparent, int x, int y, int width,
                              int height, int sourceX, int sourceY, int sourceWidth, int sourceHeight)
{
    if (bitmap.Empty())
        return;
    if (width < 1)
        width = bitmap.Width();
    if (height < 1)
        height = bitmap.Height();
    if (sourceWidth < 1 || sourceHeight < 1) {
        sourceX = sourceY = 0;
        sourceWidth = bitmap.Width();
        sourceHeight = bitmap.Height();
    }
    if (!bitmap.Monochrome())
        SetStretchBltMode(destination.Handle(), COLORONCOLOR);
    QuietBitmap quiet(bitmap);
    HDC source = bitmap.Canvas().Handle();
    if (transparent == clNone) {
        StretchBlt(destination.Handle(), x, y, width, height, source, sourceX, sourceY, sourceWidth, sourceHeight,
                   destination.CopyMode);
        return;
    }
    if (transparent == clDefault)
        transparent = bitmap.Canvas().Pixel(0, bitmap.Height() - 1);
    const COLORREF rgb = bitmap.Monochrome() ? RGB(255, 255, 255) : ColorToRGB(transparent);
    StretchBltTransparent(destination.Handle(), x, y, width, height, source, sourceX, sourceY, sourceWidth,
                          sourceHeight, bitmap.Palette(), rgb);
}

void StretchBitmapRectTransparent(TCanvas& destination, int x, int y, int width, int height, const RECT& source,
                                  TBitmap& bitmap, TColor transparent)
{
    StretchBitmapTransparent(destination, bitmap, transparent, x, y, width, height, source.left, source.top,
                             source.right - source.left, source.bottom - source.top);
}

void DrawBitmapRectTransparent(TCanvas& destination, int x, int y, const RECT& source, TBitmap& bitmap,
                               TColor transparent)
{
    StretchBitmapRectTransparent(destination, x, y, source.right - source.left, source.bottom - source.top, source,
                                 bitmap, transparent);
}

void DrawBitmapTransparent(TCanvas& destination, int x, int y, TBitmap& bitmap, TColor transparent)
{
    StretchBitmapTransparent(destination, bitmap, transparent, x, y, bitmap.Width(), bitmap.Height(), 0, 0,
                             bitmap.Width(), bitmap.Height());
}

COLORREF PaletteColor(TColor color) { return ColorToRGB(color) | 0x02000000; }

int PaletteEntries(HPALETTE palette)
{
    WORD count = 0;
    if (!palette || !GetObjectA(palette, sizeof count, &count))
        return 0;
    return count;
}

void NotImplemented()
{
    SetScreenCursorId(crDefault);
    Application.MessageBox("Function not yet implemented", Application.Title(), MB_OK | MB_ICONINFORMATION);
    Abort();
}
