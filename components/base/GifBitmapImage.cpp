#include "GifBitmapImage.h"

#include "BitmapFileImage.h"
#include "Exceptions.h"
#include "GifLzw.h"
#include "Streams.h"

#include <cstring>

int GifOutputBitCount(int bitsPerPixel)
{
    if (bitsPerPixel == 1)
        return 1;
    if (bitsPerPixel >= 2 && bitsPerPixel <= 4)
        return 4;
    if (bitsPerPixel >= 5 && bitsPerPixel <= 8)
        return 8;
    throw EInvalidGraphicOperation(kGifWrongColorCount);
}

void CheckGifBitmapSize(std::int64_t width, std::int64_t height, int bitCount)
{
    if (DibImageSize(width, height, bitCount) > kGifMaxBitmapBytes)
        throw EOutOfResources("Out of system resources");
}

std::string GifBitmapPalette(const TGIFColorTable& table, int bitCount)
{
    std::string entries(256 * 4, '\x80');
    const int copied = table.count >= 1 && table.count <= 255 ? table.count : 256;
    for (int i = 0; i < copied; ++i) {
        const TGIFColorItem& item = table.colors[static_cast<std::size_t>(i)];
        const auto at = static_cast<std::size_t>(i) * 4;
        entries[at] = static_cast<char>(item.blue);
        entries[at + 1] = static_cast<char>(item.green);
        entries[at + 2] = static_cast<char>(item.red);
        entries[at + 3] = 0;
    }
    entries.resize(std::size_t{4} << bitCount);
    return entries;
}

std::string SaveGifFrameToBitmapImage(GifFrameData& frame, const TProgressProc& progress)
{
    const TGIFItem& raster = *frame.raster;
    const int bitCount = GifOutputBitCount(raster.bitsPerPixel);
    const std::int32_t width = raster.width > 0 && raster.height > 0 ? raster.width : 0;
    const std::int32_t height = width > 0 ? raster.height : 0;
    CheckGifBitmapSize(width, height, bitCount);
    BitmapInfoHeader header = MakeBitmapInfoHeader(width, height, bitCount);
    const std::string palette = GifBitmapPalette(raster.colorTable, bitCount);
    std::string pixels(static_cast<std::size_t>(header.sizeImage), '\0');
    if (!pixels.empty()) {
        const GifPixelRows rows{reinterpret_cast<std::uint8_t*>(pixels.data()), width, height, bitCount, false};
        if (DecodeLzwRaster(raster.rasterData, rows, frame.interlaced, raster.bitsPerPixel, GIFLoadCorrupted,
                            progress))
            frame.corrupted = true;
    }
    TStringStream stream;
    WriteBitmapFileImage(stream, header, palette.data(), pixels.data());
    return stream.DataString();
}

void EncodeGifBitmapImage(GifImageData& image, GifFrameData& frame, std::string_view bitmapImage,
                          const TProgressProc& progress)
{
    BitmapFileImage bitmap;
    if (ReadBitmapFileImage(bitmapImage, bitmap) != BitmapImageError::None)
        throw EInvalidGraphicOperation(kGifEncodingError);
    const BitmapInfoHeader& header = bitmap.header;
    if (header.bitCount != 1 && header.bitCount != 4 && header.bitCount != 8)
        throw EInvalidGraphicOperation(kGifEncodingError);
    frame.interlaced = false;
    // A new raster: a copy of this frame keeps the one it shares.
    auto raster = std::make_shared<TGIFItem>();
    raster->colorTable.count = static_cast<std::int32_t>(std::min<std::size_t>(256, bitmap.colors.size()));
    for (int i = 0; i < raster->colorTable.count; ++i) {
        const DibRgbQuad& entry = bitmap.colors[static_cast<std::size_t>(i)];
        raster->colorTable.colors[static_cast<std::size_t>(i)] = TGIFColorItem{entry.red, entry.green, entry.blue};
    }
    const std::int32_t height = header.height < 0 ? -header.height : header.height;
    const GifPixelRows rows{bitmap.bits.data(), header.width, height, header.bitCount, header.height < 0};
    try {
        EncodeLzwRaster(raster->rasterData, rows, false, progress);
    } catch (const EAbort&) {
        frame.NewFrameData();
        throw;
    }
    raster->bitsPerPixel = static_cast<std::uint8_t>(GifBitsForCount(raster->colorTable.count));
    raster->width = header.width;
    raster->height = height;
    frame.raster = raster;
    frame.decodeFailed = false;
    if (image.header->colorTable.count == 0) {
        TGIFData& shared = image.UniqueHeader();
        shared.colorTable = raster->colorTable;
        shared.bitsPerPixel = raster->bitsPerPixel;
        frame.localColors = false;
    } else {
        frame.localColors = true;
    }
    image.GrowScreen(std::int64_t{raster->width} + frame.left, std::int64_t{raster->height} + frame.top);
}
