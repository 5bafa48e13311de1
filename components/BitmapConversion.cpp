#include "BitmapConversion.h"

#include "BitmapFileImage.h"
#include "DrawUtils.h"
#include "Exceptions.h"
#include "GdiHandles.h"
#include "SafeFileWriter.h"
#include "Streams.h"

TMappingMethod DefaultMappingMethod = mmHistogram;

int PixelFormatColorCount(TPixelFormat format)
{
    switch (format) {
    case pf1bit:
        return 2;
    case pf4bit:
        return 16;
    case pf8bit:
        return 256;
    default:
        return 0;
    }
}

TPixelFormat ScreenPixelFormat()
{
    WindowDC screen(nullptr);
    const int bits = GetDeviceCaps(screen.Get(), PLANES) * GetDeviceCaps(screen.Get(), BITSPIXEL);
    return bits == 16 || bits == 32 ? pfDevice : PixelFormatOfBitCount(bits);
}

int ScreenColorCount() { return PixelFormatColorCount(ScreenPixelFormat()); }

TPixelFormat GetPaletteBitmapFormat(const TBitmap& bitmap)
{
    const int entries = PaletteEntries(bitmap.Palette());
    if (entries == 0)
        return pfDevice;
    if (entries <= 2)
        return pf1bit;
    if (entries <= 16)
        return pf4bit;
    if (entries <= 256)
        return pf8bit;
    return pfDevice;
}

TPixelFormat GetBitmapPixelFormat(const TBitmap& bitmap) { return bitmap.PixelFormat(); }

namespace {

std::unique_ptr<TMemoryStream> StreamOf(const std::vector<std::uint8_t>& bytes)
{
    auto stream = std::make_unique<TMemoryStream>();
    stream->WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream->SetPosition(0);
    return stream;
}

std::unique_ptr<TMemoryStream> ConvertedStream(TBitmap& bitmap, TPixelFormat format, TMappingMethod method)
{
    if (!bitmap.HandleAllocated())
        throw EInvalidGraphic(kBitmapNotValid);
    if (format != pf1bit && format != pf4bit && format != pf8bit && format != pf24bit)
        NotImplemented();
    bitmap.Dormant();
    std::vector<std::uint8_t> image =
        ReadBitmapFileBytes(bitmap.Handle(), bitmap.Palette(), format == pf8bit ? 24 : BitCountOfPixelFormat(format));
    if (format != pf8bit)
        return StreamOf(image);
    const std::int64_t offset = kBitmapFileHeaderSize + kBitmapInfoHeaderSize;
    PixelRows rows{image.data() + offset, bitmap.Width(), bitmap.Height()};
    auto stream = std::make_unique<TMemoryStream>();
    WriteReducedImage(*stream, rows, method);
    stream->SetPosition(0);
    return stream;
}

bool HasGreyPalette(const TBitmap& bitmap)
{
    PALETTEENTRY entries[256];
    const UINT count = bitmap.Palette() ? GetPaletteEntries(bitmap.Palette(), 0, 256, entries) : 0;
    if (count == 0)
        return false;
    for (UINT i = 0; i < count; ++i) {
        if (entries[i].peRed != entries[i].peGreen || entries[i].peGreen != entries[i].peBlue)
            return false;
    }
    return true;
}

} // namespace

std::unique_ptr<TMemoryStream> BitmapToMemoryStream(TBitmap& bitmap, TPixelFormat format, TMappingMethod method)
{
    if (!bitmap.HandleAllocated())
        throw EInvalidGraphic(kBitmapNotValid);
    if (bitmap.PixelFormat() == format && method != mmGrayscale) {
        auto stream = std::make_unique<TMemoryStream>();
        bitmap.SaveToStream(*stream);
        stream->SetPosition(0);
        return stream;
    }
    return ConvertedStream(bitmap, format, method);
}

namespace {

TPixelFormat FormatForColors(int colors)
{
    if (colors <= 2)
        return pf1bit;
    if (colors <= 16)
        return pf4bit;
    if (colors > 256)
        return pf24bit;
    return pf8bit;
}

} // namespace

std::unique_ptr<TMemoryStream> BitmapToMemory(TBitmap& bitmap, int colors)
{
    return BitmapToMemoryStream(bitmap, FormatForColors(colors), DefaultMappingMethod);
}

void SaveBitmapToFile(const std::string& fileName, TBitmap& bitmap, int colors)
{
    const std::unique_ptr<TMemoryStream> image = BitmapToMemory(bitmap, bitmap.Monochrome() ? 2 : colors);
    WriteStreamSafely(fileName, [&](TStream& stream) { image->SaveToStream(stream); });
}

void SetBitmapPixelFormat(TBitmap& bitmap, TPixelFormat format, TMappingMethod method)
{
    if (!bitmap.HandleAllocated() || bitmap.PixelFormat() == format)
        return;
    const std::unique_ptr<TMemoryStream> image = BitmapToMemoryStream(bitmap, format, method);
    bitmap.LoadFromStream(*image);
}

void GrayscaleBitmap(TBitmap& bitmap)
{
    if (!bitmap.HandleAllocated() || (bitmap.PixelFormat() == pf8bit && HasGreyPalette(bitmap)))
        return;
    const std::unique_ptr<TMemoryStream> image = ConvertedStream(bitmap, pf8bit, mmGrayscale);
    bitmap.LoadFromStream(*image);
}

void TileImage(TCanvas& canvas, const RECT& rect, TGraphic& graphic)
{
    const int width = graphic.Width(), height = graphic.Height();
    if (width == 0 || height == 0)
        return;
    const int state = canvas.SaveState();
    canvas.IntersectClip(rect);
    const int columns = (rect.right - rect.left) / width;
    const int rows = (rect.bottom - rect.top) / height;
    for (int row = 0; row <= rows; ++row)
        for (int column = 0; column <= columns; ++column)
            canvas.Draw(rect.left + column * width, rect.top + row * height, graphic);
    canvas.RestoreState(state);
}

void GradientFillRect(TCanvas& canvas, const RECT& rect, TColor begin, TColor end, TFillDirection direction,
                      int colors)
{
    const TColor brush = canvas.BrushColor;
    for (const GradientBand& band : GradientBands(rect.left, rect.top, rect.right, rect.bottom, ColorToRGB(begin),
                                                  ColorToRGB(end), direction, colors)) {
        canvas.BrushColor = band.color;
        canvas.FillRect(RECT{band.left, band.top, band.right, band.bottom});
    }
    canvas.BrushColor = brush;
}

void DrawGradient(const TQGradient& gradient, TCanvas& canvas, const RECT& rect)
{
    GradientFillRect(canvas, rect, gradient.StartColor(), gradient.EndColor(), gradient.Direction(),
                     gradient.StepCount());
}
