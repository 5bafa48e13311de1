#include "Graphics.h"

#include "BitmapFileImage.h"
#include "Exceptions.h"
#include "FileHandle.h"
#include "GdiHandles.h"
#include "SafeFileWriter.h"
#include "Streams.h"

#include <cstdlib>
#include <cstring>

COLORREF ColorToRGB(TColor color)
{
    if (color & clSystemColor)
        return GetSysColor(static_cast<int>(color & 0xFF));
    return color & 0xFFFFFF;
}

// ---- TCanvas ----

void TCanvas::FillRect(const RECT& rect)
{
    GdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(BrushColor)));
    ::FillRect(dc_, &rect, brush.Get());
}

TColor TCanvas::Pixel(int x, int y) const { return GetPixel(dc_, x, y); }

void TCanvas::SetPixel(int x, int y, TColor color) { ::SetPixel(dc_, x, y, ColorToRGB(color)); }

void TCanvas::Draw(int x, int y, TGraphic& graphic)
{
    if (graphic.Empty())
        return;
    StretchDraw(RECT{x, y, x + graphic.Width(), y + graphic.Height()}, graphic);
}

void TCanvas::StretchDraw(const RECT& rect, TGraphic& graphic)
{
    if (!graphic.Empty())
        graphic.Draw(*this, rect);
}

void TCanvas::CopyRect(const RECT& destination, TCanvas& source, const RECT& sourceRect)
{
    StretchBlt(dc_, destination.left, destination.top, destination.right - destination.left,
               destination.bottom - destination.top, source.Handle(), sourceRect.left, sourceRect.top,
               sourceRect.right - sourceRect.left, sourceRect.bottom - sourceRect.top, CopyMode);
}

// ---- TGraphic ----

void TGraphic::SetTransparent(bool value)
{
    if (transparent_ == value)
        return;
    transparent_ = value;
    Changed();
}

void TGraphic::Assign(const TGraphic& source)
{
    transparent_ = source.transparent_;
    Changed();
}

void TGraphic::LoadFromStream(TStream&) { throw EInvalidGraphicOperation("Cannot load this picture"); }

void TGraphic::SaveToStream(TStream&) { throw EInvalidGraphicOperation("Cannot save this picture"); }

void TGraphic::ReadData(TStream& stream)
{
    const std::int32_t length = stream.ReadInt32();
    // Checked against what is there before anything is taken.
    if (length < 0 || length > stream.Size() - stream.Position())
        throw EReadError("Stream read error");
    TMemoryStream data;
    data.CopyFrom(stream, length);
    data.SetPosition(0);
    if (length > 0)
        LoadFromStream(data);
}

void TGraphic::WriteData(TStream& stream)
{
    TMemoryStream data;
    SaveToStream(data);
    stream.WriteInt32(static_cast<std::int32_t>(data.Size()));
    data.SetPosition(0);
    stream.CopyFrom(data, data.Size());
}

void TGraphic::LoadFromClipboardFormat(UINT, HANDLE, HPALETTE)
{
    throw EInvalidGraphicOperation("Unsupported clipboard format");
}

void TGraphic::SaveToClipboardFormat(UINT&, HANDLE&, HPALETTE&)
{
    throw EInvalidGraphicOperation("Unsupported clipboard format");
}

void TGraphic::Changed()
{
    if (OnChange)
        OnChange(*this);
}

void TGraphic::Progress(int percent)
{
    if (OnProgress)
        OnProgress(*this, percent);
}

// ---- pixel formats ----

TPixelFormat PixelFormatOfBitCount(int bitCount)
{
    switch (bitCount) {
    case 1:
        return pf1bit;
    case 4:
        return pf4bit;
    case 8:
        return pf8bit;
    case 16:
        return pf16bit;
    case 24:
        return pf24bit;
    case 32:
        return pf32bit;
    default:
        return pfDevice;
    }
}

int BitCountOfPixelFormat(TPixelFormat format)
{
    static const int counts[] = {0, 1, 4, 8, 16, 16, 24, 32, 0};
    return counts[format];
}

// ---- reading a bitmap as a file image ----

namespace {

[[noreturn]] void BitmapNotValid() { throw EInvalidGraphic(kBitmapNotValid); }

// Guard bytes after the block prove that the system wrote no further than
// the header allowed.
constexpr std::size_t kGuardBytes = 64;
constexpr std::uint8_t kGuard = 0xA5;

} // namespace

std::vector<std::uint8_t> ReadBitmapFileBytes(HBITMAP bitmap, HPALETTE palette, int bitCount)
{
    BITMAP description{};
    if (!bitmap || GetObjectA(bitmap, sizeof description, &description) == 0)
        BitmapNotValid();
    if (bitCount == 0)
        bitCount = description.bmPlanes * description.bmBitsPixel;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        BitmapNotValid();
    const int width = description.bmWidth;
    const int height = description.bmHeight < 0 ? -description.bmHeight : description.bmHeight;
    if (width <= 0 || height <= 0)
        BitmapNotValid();
    // A header of the section's own would describe the section's depth, not
    // the one asked for, and size the block for it.
    const BitmapInfoHeader header = MakeBitmapInfoHeader(width, height, bitCount);
    const std::int64_t imageSize = DibImageSize(width, height, bitCount);
    const std::int64_t tableSize = DibColorTableSize(header);
    const std::int64_t offset = kBitmapFileHeaderSize + kBitmapInfoHeaderSize + tableSize;
    if (imageSize > kMaxBitmapImageBytes)
        throw EOutOfResources(kOutOfResources);
    const auto total = static_cast<std::size_t>(offset + imageSize);

    std::vector<std::uint8_t> block(total + kGuardBytes, 0);
    std::memset(block.data() + total, kGuard, kGuardBytes);
    std::uint8_t* info = block.data() + kBitmapFileHeaderSize;
    StoreInfoHeader(header, info);
    int lines = 0;
    {
        MemoryDC dc(nullptr);
        if (!dc.Get())
            throw EOutOfResources(kOutOfResources);
        RealizedPalette realized(dc.Get(), palette, FALSE);
        lines = GetDIBits(dc.Get(), bitmap, 0, static_cast<UINT>(height), block.data() + offset,
                          reinterpret_cast<BITMAPINFO*>(info), DIB_RGB_COLORS);
    }
    for (std::size_t i = total; i < block.size(); ++i) {
        if (block[i] != kGuard)
            std::abort(); // the heap is already damaged: nothing safe is left to do
    }
    if (lines != height)
        BitmapNotValid();
    block.resize(total);
    // The system may rewrite fields of the header; the image keeps the one
    // it describes.
    StoreInfoHeader(header, info);
    block[0] = 'B';
    block[1] = 'M';
    const auto fileSize = static_cast<std::uint32_t>(total);
    const auto pixelOffset = static_cast<std::uint32_t>(offset);
    for (int i = 0; i < 4; ++i) {
        block[2 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(fileSize >> (8 * i));
        block[10 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(pixelOffset >> (8 * i));
    }
    return block;
}

// ---- TBitmap ----

TBitmap::~TBitmap()
{
    Release();
    SetPalette(nullptr);
}

void TBitmap::Dormant()
{
    if (!canvasDc_)
        return;
    SelectObject(canvasDc_, canvasPrevious_);
    DeleteDC(canvasDc_);
    canvasDc_ = nullptr;
    canvas_.SetHandle(nullptr);
}

void TBitmap::Release()
{
    Dormant();
    if (handle_)
        DeleteObject(handle_);
    handle_ = nullptr;
    width_ = height_ = 0;
}

void TBitmap::SetPalette(HPALETTE palette)
{
    if (palette_ == palette)
        return;
    if (palette_)
        DeleteObject(palette_);
    palette_ = palette;
}

HBITMAP TBitmap::MakeBitmap(TPixelFormat format, int width, int height) const
{
    if (width <= 0 || height <= 0)
        return nullptr;
    const int bitCount = BitCountOfPixelFormat(format);
    WindowDC screen(nullptr);
    if (bitCount == 0)
        return CreateCompatibleBitmap(screen.Get(), width, height);
    std::vector<std::uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
    StoreInfoHeader(MakeBitmapInfoHeader(width, height, bitCount), info.data());
    auto* colors = reinterpret_cast<RGBQUAD*>(info.data() + sizeof(BITMAPINFOHEADER));
    if (bitCount <= 8) {
        // A grey ramp until a palette says otherwise: black to white.
        const int entries = 1 << bitCount;
        for (int i = 0; i < entries; ++i) {
            const auto level = static_cast<BYTE>(i * 255 / (entries - 1));
            colors[i] = RGBQUAD{level, level, level, 0};
        }
        if (palette_) {
            PALETTEENTRY entries_[256];
            const UINT count = GetPaletteEntries(palette_, 0, static_cast<UINT>(entries), entries_);
            for (UINT i = 0; i < count; ++i)
                colors[i] = RGBQUAD{entries_[i].peBlue, entries_[i].peGreen, entries_[i].peRed, 0};
        }
    }
    void* bits = nullptr;
    return CreateDIBSection(screen.Get(), reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &bits,
                            nullptr, 0);
}

void TBitmap::Replace(HBITMAP bitmap, TPixelFormat format, int width, int height)
{
    Release();
    handle_ = bitmap;
    format_ = format;
    width_ = bitmap ? width : 0;
    height_ = bitmap ? height : 0;
    Changed();
}

void TBitmap::SetSize(int width, int height)
{
    if (width == width_ && height == height_ && handle_)
        return;
    HBITMAP bitmap = MakeBitmap(format_, width, height);
    if (!bitmap && width > 0 && height > 0)
        throw EOutOfResources(kOutOfResources);
    Replace(bitmap, format_, width, height);
}

void TBitmap::SetPixelFormat(TPixelFormat format)
{
    if (format == format_)
        return;
    if (!handle_) {
        format_ = format;
        return;
    }
    HBITMAP bitmap = MakeBitmap(format, width_, height_);
    if (!bitmap)
        throw EOutOfResources(kOutOfResources);
    {
        MemoryDC dc(nullptr);
        Selection selected(dc.Get(), bitmap);
        BitBlt(dc.Get(), 0, 0, width_, height_, Canvas().Handle(), 0, 0, SRCCOPY);
    }
    Replace(bitmap, format, width_, height_);
}

void TBitmap::SetHandle(HBITMAP bitmap)
{
    BITMAP description{};
    if (bitmap && GetObjectA(bitmap, sizeof description, &description) == 0)
        BitmapNotValid();
    DIBSECTION section{};
    const bool isSection = bitmap && GetObjectA(bitmap, sizeof section, &section) == sizeof section;
    const TPixelFormat format =
        isSection ? PixelFormatOfBitCount(description.bmPlanes * description.bmBitsPixel) : pfDevice;
    Replace(bitmap, format, description.bmWidth, description.bmHeight < 0 ? -description.bmHeight
                                                                           : description.bmHeight);
}

TCanvas& TBitmap::Canvas()
{
    if (!canvasDc_) {
        canvasDc_ = CreateCompatibleDC(nullptr);
        if (!canvasDc_)
            throw EOutOfResources(kOutOfResources);
        canvasPrevious_ = handle_ ? SelectObject(canvasDc_, handle_) : nullptr;
        canvas_.SetHandle(canvasDc_);
    }
    return canvas_;
}

TColor TBitmap::TransparentColor() const
{
    if (transparentColor_ != clDefault)
        return transparentColor_;
    if (!handle_)
        return clNone;
    return const_cast<TBitmap*>(this)->Canvas().Pixel(0, height_ - 1);
}

void TBitmap::Draw(TCanvas& canvas, const RECT& rect)
{
    if (!handle_)
        return;
    SetStretchBltMode(canvas.Handle(), Monochrome() ? BLACKONWHITE : COLORONCOLOR);
    StretchBlt(canvas.Handle(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               Canvas().Handle(), 0, 0, width_, height_, canvas.CopyMode);
}

void TBitmap::Assign(const TGraphic& source)
{
    const auto* bitmap = dynamic_cast<const TBitmap*>(&source);
    if (!bitmap) {
        TGraphic::Assign(source);
        return;
    }
    if (bitmap == this)
        return;
    if (!bitmap->handle_) {
        format_ = bitmap->format_;
        Release();
    } else {
        HBITMAP copy = static_cast<HBITMAP>(CopyImage(bitmap->handle_, IMAGE_BITMAP, 0, 0,
                                                      bitmap->format_ == pfDevice ? 0 : LR_CREATEDIBSECTION));
        if (!copy)
            throw EOutOfResources(kOutOfResources);
        Replace(copy, bitmap->format_, bitmap->width_, bitmap->height_);
    }
    SetPalette(bitmap->palette_ ? static_cast<HPALETTE>(CopyImage(bitmap->palette_, 0, 0, 0, 0)) : nullptr);
    transparentColor_ = bitmap->transparentColor_;
    SetTransparent(bitmap->Transparent());
}

void TBitmap::LoadFromStream(TStream& stream)
{
    std::string bytes(static_cast<std::size_t>(stream.Size() - stream.Position()), '\0');
    stream.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    BitmapFileImage image;
    if (ReadBitmapFileImage(bytes, image) != BitmapImageError::None)
        BitmapNotValid();
    const BitmapInfoHeader& header = image.header;
    std::vector<std::uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
    StoreInfoHeader(header, info.data());
    if (header.bitCount <= 8)
        std::memcpy(info.data() + sizeof(BITMAPINFOHEADER), image.colors.data(), image.colors.size() * 4);
    else if (header.compression == kBiBitFields)
        std::memcpy(info.data() + sizeof(BITMAPINFOHEADER), image.masks, 12);
    void* bits = nullptr;
    HBITMAP bitmap;
    {
        WindowDC screen(nullptr);
        bitmap = CreateDIBSection(screen.Get(), reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &bits,
                                  nullptr, 0);
    }
    if (!bitmap)
        throw EOutOfResources(kOutOfResources);
    std::memcpy(bits, image.bits.data(), image.bits.size());
    HPALETTE palette = nullptr;
    if (header.bitCount <= 8) {
        std::vector<std::uint8_t> logical(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY), 0);
        auto* log = reinterpret_cast<LOGPALETTE*>(logical.data());
        log->palVersion = 0x300;
        log->palNumEntries = static_cast<WORD>(image.colors.size());
        for (std::size_t i = 0; i < image.colors.size(); ++i)
            log->palPalEntry[i] = PALETTEENTRY{image.colors[i].red, image.colors[i].green, image.colors[i].blue, 0};
        palette = CreatePalette(log);
    }
    SetPalette(palette);
    Replace(bitmap, PixelFormatOfBitCount(header.bitCount), header.width,
            header.height < 0 ? -header.height : header.height);
}

void TBitmap::SaveToStream(TStream& stream)
{
    if (!handle_)
        return;
    Dormant();
    DIBSECTION section{};
    int bitCount = 0;
    if (GetObjectA(handle_, sizeof section, &section) == sizeof section)
        bitCount = section.dsBmih.biBitCount;
    const std::vector<std::uint8_t> bytes = ReadBitmapFileBytes(handle_, palette_, bitCount);
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

void TBitmap::LoadFromFile(const std::string& path)
{
    TFileStream stream(path, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

void TBitmap::SaveToFile(const std::string& path)
{
    WriteStreamSafely(path, [this](TStream& stream) { SaveToStream(stream); });
}

// ---- TIcon ----

void TIcon::SetHandle(HICON icon) { Take(icon, std::string()); }

void TIcon::Take(HICON icon, std::string fileImage)
{
    if (icon_ && icon_ != icon)
        DestroyIcon(icon_);
    icon_ = icon;
    fileImage_ = std::move(fileImage);
    width_ = height_ = 0;
    ICONINFO info{};
    if (icon_ && GetIconInfo(icon_, &info)) {
        BITMAP mask{};
        GetObjectA(info.hbmMask, sizeof mask, &mask);
        width_ = mask.bmWidth;
        height_ = info.hbmColor ? mask.bmHeight : mask.bmHeight / 2;
        if (info.hbmColor)
            DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    Changed();
}

HICON TIcon::ReleaseHandle()
{
    HICON icon = icon_;
    icon_ = nullptr;
    fileImage_.clear();
    width_ = height_ = 0;
    return icon;
}

void TIcon::Draw(TCanvas& canvas, const RECT& rect)
{
    if (icon_)
        DrawIconEx(canvas.Handle(), rect.left, rect.top, icon_, rect.right - rect.left, rect.bottom - rect.top, 0,
                   nullptr, DI_NORMAL);
}
