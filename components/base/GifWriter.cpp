#include "GifWriter.h"

#include "Exceptions.h"

#include <algorithm>

namespace {

void PutWord(std::string& out, std::uint32_t value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

// Each string as sub-blocks of up to 255 bytes (a longer one goes on in the
// next block rather than being cut), then the terminator.
void PutSubBlocks(std::string& out, const TStringList* lines)
{
    if (lines) {
        for (int i = 0; i < lines->Count(); ++i) {
            const std::string line = lines->Get(i);
            for (std::size_t at = 0; at < line.size(); at += 255) {
                const std::size_t length = std::min<std::size_t>(255, line.size() - at);
                out.push_back(static_cast<char>(length));
                out.append(line, at, length);
            }
        }
    }
    out.push_back('\0');
}

void PutColorTable(std::string& out, const TGIFColorTable& table, int entries)
{
    for (int i = 0; i < entries; ++i) {
        const TGIFColorItem item = i < table.count ? table.colors[static_cast<std::size_t>(i)] : TGIFColorItem{};
        out.push_back(static_cast<char>(item.red));
        out.push_back(static_cast<char>(item.green));
        out.push_back(static_cast<char>(item.blue));
    }
}

void PutExtension(std::string& out, const TExtension& block)
{
    out.push_back('!');
    out.push_back(static_cast<char>(block.Label()));
    const auto header = reinterpret_cast<const char*>(block.header.data()) + 1;
    switch (block.kind) {
    case ekGraphicControl:
        out.append(header, 6);
        break;
    case ekPlainText:
        out.append(header, 13);
        PutSubBlocks(out, block.data ? &*block.data : nullptr);
        break;
    case ekApplication:
        out.append(header, 12);
        PutSubBlocks(out, block.data ? &*block.data : nullptr);
        break;
    case ekComment:
        PutSubBlocks(out, block.data ? &*block.data : nullptr);
        break;
    }
}

// The raster as read or encoded, with the terminator a cut frame lacks.
void PutRaster(std::string& out, const std::string& raster)
{
    if (raster.empty())
        throw EInvalidGraphicOperation(kGifNoDataToWrite);
    out.append(raster);
    std::size_t at = 1;
    bool terminated = false;
    while (at < raster.size()) {
        const auto length = static_cast<std::uint8_t>(raster[at]);
        if (length == 0) {
            terminated = true;
            break;
        }
        at += 1 + std::size_t{length};
    }
    if (!terminated)
        out.push_back('\0');
}

bool WritesLocalTable(const GifImageData& image, const GifFrameData& frame)
{
    if (frame.localColors)
        return true;
    // A frame grayed on its own no longer matches the global table.
    const TGIFColorTable& own = frame.raster->colorTable;
    return own.count > 0 && !(own == image.header->colorTable);
}

} // namespace

void UpdateGifExtensions(GifImageData& image, GifFrameData& frame)
{
    if ((frame.animateInterval != 0 || frame.transparentColor != kGifNoColor || frame.disposalMethod != dmUndefined) &&
        !frame.GraphicControl()) {
        TExtension control;
        control.kind = ekGraphicControl;
        control.header[1] = 4;
        frame.extensions.push_back(control);
    }
    if (TExtension* control = frame.GraphicControl()) {
        const int delay = frame.animateInterval / 10;
        control->header[3] = static_cast<std::uint8_t>(delay & 0xFF);
        control->header[4] = static_cast<std::uint8_t>(delay >> 8);
        std::uint8_t packed = control->header[2];
        const TGIFColorTable& table = frame.raster->colorTable;
        int index = -1;
        if (frame.transparentColor != kGifNoColor) {
            const int kept = frame.transparentIndex;
            index = kept >= 0 && kept < table.count && table.Color(kept) == frame.transparentColor
                        ? kept
                        : table.IndexOf(frame.transparentColor);
        }
        if (index >= 0) {
            control->header[5] = static_cast<std::uint8_t>(index);
            packed |= 1;
        } else {
            packed &= static_cast<std::uint8_t>(~1);
        }
        packed = static_cast<std::uint8_t>((packed & ~0x1C) | ((frame.disposalMethod & 7) << 2));
        control->header[2] = packed;
    }
    std::erase_if(frame.extensions, [](const TExtension& block) {
        return block.kind == ekComment && (!block.data || block.data->Count() == 0);
    });
    if (!frame.extensions.empty())
        image.RaiseVersion(gv89a);
}

std::string WriteGifData(GifImageData& image)
{
    if (image.frames.empty())
        throw EInvalidGraphicOperation(kGifNoDataToWrite);
    const TGIFData& header = *image.header;
    const bool loopBlock = image.looping && image.frames.size() > 1;
    bool extensions = header.comment.Count() > 0 || loopBlock;
    for (const auto& frame : image.frames)
        extensions = extensions || !frame->extensions.empty();
    if (extensions)
        image.version = gv89a;
    image.RaiseVersion(gv87a);

    std::size_t estimate = 1024 + 3 * 256 * (image.frames.size() + 1);
    for (const auto& frame : image.frames)
        estimate += frame->raster->rasterData.size() + 64 * frame->extensions.size();
    std::string out;
    out.reserve(estimate);
    out = "GIF" + GIFVersionName(image.version);
    // The screen the file had stays, unless the frames reach beyond it.
    for (const auto& frame : image.frames)
        image.GrowScreen(std::int64_t{frame->raster->width} + frame->left,
                         std::int64_t{frame->raster->height} + frame->top);
    PutWord(out, image.screenWidth);
    PutWord(out, image.screenHeight);
    const TGIFColorTable& global = header.colorTable;
    std::uint8_t packed = 0;
    std::uint8_t background = 0;
    if (global.count > 0) {
        const int bits = GifBitsOfPowerOfTwo(global.count);
        if (bits == 0)
            throw EInvalidGraphicOperation(kGifWrongColorCount);
        if (image.backgroundColor != kGifNoColor)
            background = static_cast<std::uint8_t>(std::max(0, global.IndexOf(image.backgroundColor)));
        // Both size fields follow the table written.
        packed = static_cast<std::uint8_t>(0x80 + (bits - 1) * 16 + (bits - 1));
    }
    out.push_back(static_cast<char>(packed));
    out.push_back(static_cast<char>(background));
    out.push_back(static_cast<char>(header.aspectRatio));
    if (global.count > 0)
        PutColorTable(out, global, global.count);
    if (loopBlock) {
        out.append("!\xFF\x0BNETSCAPE2.0\x03\x01", 16);
        PutWord(out, image.repeatCount);
        out.push_back('\0');
    }
    for (const auto& frame : image.frames) {
        for (const TExtension& block : frame->extensions)
            PutExtension(out, block);
        const TGIFItem& raster = *frame->raster;
        out.push_back(',');
        PutWord(out, static_cast<std::uint32_t>(frame->left));
        PutWord(out, static_cast<std::uint32_t>(frame->top));
        PutWord(out, static_cast<std::uint32_t>(raster.width));
        PutWord(out, static_cast<std::uint32_t>(raster.height));
        const bool local = WritesLocalTable(image, *frame);
        const int bits = GifBitsForCount(raster.colorTable.count);
        std::uint8_t descriptor = local ? static_cast<std::uint8_t>(0x80 + bits - 1) : 0;
        if (frame->interlaced)
            descriptor |= 0x40;
        out.push_back(static_cast<char>(descriptor));
        if (local)
            PutColorTable(out, raster.colorTable, 1 << bits);
        PutRaster(out, raster.rasterData);
    }
    if (header.comment.Count() > 0) {
        out.append("!\xFE", 2);
        PutSubBlocks(out, &header.comment);
    }
    out.push_back(';');
    return out;
}

bool GrayscaleGifRaster(GifFrameData& frame)
{
    if (frame.grayscale || !frame.HasRasterData() || frame.raster->colorTable.count == 0)
        return false;
    const int index = frame.transparentColor == kGifNoColor ? -1
                      : frame.transparentIndex >= 0 &&
                              frame.raster->colorTable.Color(frame.transparentIndex) == frame.transparentColor
                          ? frame.transparentIndex
                          : frame.raster->colorTable.IndexOf(frame.transparentColor);
    TGIFItem& raster = frame.UniqueRaster();
    GrayColorTable(raster.colorTable);
    frame.transparentIndex = index;
    frame.transparentColor = index >= 0 ? raster.colorTable.Color(index) : kGifNoColor;
    frame.grayscale = true;
    frame.decodeFailed = false;
    return true;
}

void GrayscaleGifBackground(GifImageData& image)
{
    if (image.backgroundColor == kGifNoColor)
        return;
    if (image.header->colorTable.count == 0) {
        image.backgroundColor = GrayColor(image.backgroundColor);
        return;
    }
    const int index = image.header->colorTable.IndexOf(image.backgroundColor);
    TGIFData& header = image.UniqueHeader();
    GrayColorTable(header.colorTable);
    image.backgroundColor = index >= 0 ? header.colorTable.Color(index) : GrayColor(image.backgroundColor);
}
