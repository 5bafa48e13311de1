#include "GifData.h"

#include <algorithm>

bool GIFLoadCorrupted = true;

GifColor TGIFColorTable::Color(int index) const { return GifColorOf(colors[static_cast<std::size_t>(index)]); }

int TGIFColorTable::IndexOf(GifColor color) const
{
    const int valid = std::clamp(count, 0, 256);
    for (int i = 0; i < valid; ++i) {
        if (Color(i) == color)
            return i;
    }
    return -1;
}

std::string GIFVersionName(TGIFVersion version)
{
    switch (version) {
    case gv87a:
        return "87a";
    case gv89a:
        return "89a";
    default:
        return "";
    }
}

int GifBitsForCount(int count)
{
    int bits = 1;
    while (bits < 8 && (1 << bits) < count)
        ++bits;
    return bits;
}

int GifBitsOfPowerOfTwo(int count)
{
    for (int bits = 1; bits <= 8; ++bits) {
        if (count == (1 << bits))
            return bits;
    }
    return 0;
}

GifColor GrayColor(GifColor color)
{
    const unsigned red = color & 0xFF;
    const unsigned green = (color >> 8) & 0xFF;
    const unsigned blue = (color >> 16) & 0xFF;
    const unsigned value = (77 * red + 150 * green + 29 * blue) >> 8;
    return value | (value << 8) | (value << 16);
}

void GrayColorTable(TGIFColorTable& table)
{
    for (auto& item : table.colors) {
        const auto value = static_cast<std::uint8_t>(GrayColor(GifColorOf(item)) & 0xFF);
        item = TGIFColorItem{value, value, value};
    }
}

std::uint8_t TExtension::Label() const
{
    static constexpr std::uint8_t labels[] = {0xF9, 0x01, 0xFF, 0xFE};
    return labels[kind];
}

// ---- frames ----

GifFrameData::GifFrameData() : raster(std::make_shared<TGIFItem>()) {}

void GifFrameData::NewFrameData()
{
    raster = std::make_shared<TGIFItem>();
    grayscale = corrupted = interlaced = localColors = decodeFailed = false;
    transparentColor = kGifNoColor;
    transparentIndex = -1;
    left = top = 0;
    animateInterval = 0;
    disposalMethod = dmUndefined;
}

TGIFItem& GifFrameData::UniqueRaster()
{
    if (!raster)
        raster = std::make_shared<TGIFItem>();
    else if (raster.use_count() > 1)
        raster = std::make_shared<TGIFItem>(*raster);
    return *raster;
}

TExtension* GifFrameData::GraphicControl()
{
    for (auto it = extensions.rbegin(); it != extensions.rend(); ++it) {
        if (it->kind == ekGraphicControl)
            return &*it;
    }
    return nullptr;
}

TStringList* GifFrameData::FindComment(bool create)
{
    for (auto it = extensions.rbegin(); it != extensions.rend(); ++it) {
        if (it->kind == ekComment) {
            if (!it->data && create)
                it->data.emplace();
            return it->data ? &*it->data : nullptr;
        }
    }
    if (!create)
        return nullptr;
    TExtension comment;
    comment.kind = ekComment;
    comment.data.emplace();
    extensions.push_back(std::move(comment));
    return &*extensions.back().data;
}

// ---- the picture ----

GifImageData::GifImageData() : header(std::make_shared<TGIFData>()) {}

void GifImageData::NewImageData()
{
    header = std::make_shared<TGIFData>();
    frames.clear();
    corrupted = false;
    currentIndex = -1;
    backgroundColor = kGifNoColor;
    repeatCount = 1;
    looping = false;
    version = gvUnknown;
}

TGIFData& GifImageData::UniqueHeader()
{
    if (!header)
        header = std::make_shared<TGIFData>();
    else if (header.use_count() > 1)
        header = std::make_shared<TGIFData>(*header);
    return *header;
}

int GifImageData::ClampedFrameIndex(int index) const { return std::clamp(index, -1, FrameCount() - 1); }

void GifImageData::SetRepeatCountValue(int count)
{
    repeatCount = static_cast<std::uint16_t>(std::clamp(count, 0, kGifMaxRepeatCount));
}

void GifImageData::UpdateScreenSizeFromRasters()
{
    screenWidth = screenHeight = 0;
    for (const auto& frame : frames) {
        const std::int64_t width = frame->raster ? frame->raster->width : 0;
        const std::int64_t height = frame->raster ? frame->raster->height : 0;
        GrowScreen(width + frame->left, height + frame->top);
    }
}

void GifImageData::GrowScreen(std::int64_t right, std::int64_t bottom)
{
    screenWidth = static_cast<std::uint16_t>(std::clamp<std::int64_t>(right, screenWidth, 65535));
    screenHeight = static_cast<std::uint16_t>(std::clamp<std::int64_t>(bottom, screenHeight, 65535));
}

void GifImageData::RaiseVersion(TGIFVersion atLeast)
{
    if (version < atLeast)
        version = atLeast;
}
