#include "GIFImage.h"

#include "AnimatedCursorImage.h"
#include "BitmapConversion.h"
#include "BitmapFileImage.h"
#include "DrawUtils.h"
#include "Exceptions.h"
#include "GdiHandles.h"
#include "GifBitmapImage.h"
#include "GifLzw.h"
#include "GifReader.h"
#include "GifWriter.h"
#include "LockedBlock.h"
#include "PictureFormats.h"
#include "Streams.h"

#include <algorithm>
#include <cstring>

UINT CF_GIF = 0;

namespace {

constexpr char kClassName[] = "TGIFImage";

[[noreturn]] void ListIndexError(int index)
{
    throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}

TPixelFormat FormatForCount(int count)
{
    if (count <= 2)
        return pf1bit;
    if (count <= 16)
        return pf4bit;
    if (count > 256)
        return pf24bit;
    return pf8bit;
}

std::string StreamBytes(TStream& stream, std::int64_t size)
{
    std::string bytes(static_cast<std::size_t>(size), '\0');
    stream.ReadBuffer(bytes.data(), size);
    return bytes;
}

// A palette of the bitmap palette's entries (blue, green, red, reserved).
HPALETTE MakePalette(const std::string& entries)
{
    const std::size_t count = entries.size() / 4;
    std::vector<std::uint8_t> logical(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY), 0);
    auto* palette = reinterpret_cast<LOGPALETTE*>(logical.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(count);
    for (std::size_t i = 0; i < count; ++i)
        palette->palPalEntry[i] = PALETTEENTRY{static_cast<BYTE>(entries[i * 4 + 2]),
                                               static_cast<BYTE>(entries[i * 4 + 1]),
                                               static_cast<BYTE>(entries[i * 4]), 0};
    return CreatePalette(palette);
}
} // namespace

void RegisterGIFImage()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    CF_GIF = RegisterClipboardFormatA("GIF Image");
    RegisterGraphicClass(kClassName, [] { return std::make_unique<TGIFImage>(); });
    RegisterPictureFileFormat("gif", "CompuServe GIF Image", kClassName);
    RegisterPictureClipboardFormat(CF_GIF, kClassName);
}

void UnregisterGIFImage() { UnregisterGraphicClass(kClassName); }

// ---- TGIFFrame ----

TGIFFrame::TGIFFrame(TGIFImage* owner) : owner_(owner) {}

TGIFFrame::~TGIFFrame() = default;

void TGIFFrame::NewImage() { NewFrameData(); }

TBitmap& TGIFFrame::NewBitmap()
{
    bitmap_ = std::make_unique<TBitmap>();
    return *bitmap_;
}

void TGIFFrame::Decode()
{
    const TGIFItem& item = *raster;
    const int bitCount = GifOutputBitCount(item.bitsPerPixel);
    const std::int32_t width = item.width > 0 && item.height > 0 ? item.width : 0;
    if (width == 0)
        return;
    CheckGifBitmapSize(width, item.height, bitCount);
    const std::string palette = GifBitmapPalette(item.colorTable, bitCount);
    std::vector<std::uint8_t> info(sizeof(BITMAPINFOHEADER) + palette.size(), 0);
    StoreInfoHeader(MakeBitmapInfoHeader(width, item.height, bitCount), info.data());
    std::memcpy(info.data() + sizeof(BITMAPINFOHEADER), palette.data(), palette.size());
    void* bits = nullptr;
    HBITMAP section;
    {
        WindowDC screen(nullptr);
        section = CreateDIBSection(screen.Get(), reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &bits,
                                   nullptr, 0);
    }
    if (!section)
        throw EOutOfResources(kOutOfResources);
    // Rows straight into the section, which the system hands out zeroed.
    const GifPixelRows rows{static_cast<std::uint8_t*>(bits), width, item.height, bitCount, false};
    try {
        if (DecodeLzwRaster(item.rasterData, rows, interlaced, item.bitsPerPixel, GIFLoadCorrupted,
                            owner_ ? owner_->ProgressProc() : TProgressProc()))
            corrupted = true;
    } catch (...) {
        DeleteObject(section);
        throw;
    }
    bitmap_->SetHandle(section);
    bitmap_->SetPalette(MakePalette(palette));
}

TBitmap& TGIFFrame::GetBitmap()
{
    if (HasBitmap())
        return *bitmap_;
    NewBitmap();
    if (!HasRasterData() || decodeFailed)
        return *bitmap_;
    try {
        Decode();
    } catch (...) {
        // Shown as far as it went, and not decoded again on the next paint.
        decodeFailed = true;
        corrupted = true;
        throw;
    }
    return *bitmap_;
}

int TGIFFrame::GetWidth()
{
    if (!bitmap_ && !HasRasterData())
        return 0;
    if (HasRasterData())
        return raster->width;
    return GetBitmap().Width();
}

int TGIFFrame::GetHeight()
{
    if (!bitmap_ && !HasRasterData())
        return 0;
    if (HasRasterData())
        return raster->height;
    return GetBitmap().Height();
}

int TGIFFrame::GetColorCount()
{
    if (raster->colorTable.count != 0)
        return raster->colorTable.count;
    if (bitmap_ && bitmap_->Palette())
        return PaletteEntries(bitmap_->Palette());
    return 0;
}

void TGIFFrame::SaveToBitmapStream(TMemoryStream& stream)
{
    stream.Clear();
    const std::string image = SaveGifFrameToBitmapImage(*this, owner_ ? owner_->ProgressProc() : TProgressProc());
    stream.WriteBuffer(image.data(), static_cast<std::int64_t>(image.size()));
    stream.SetPosition(0);
}

void TGIFFrame::SetTopLeft(POINT point)
{
    if (point.x == left && point.y == top)
        return;
    left = point.x;
    top = point.y;
    if (owner_) {
        owner_->GrowScreen(std::int64_t{raster->width} + left, std::int64_t{raster->height} + top);
        owner_->SignalChange();
    }
}

void TGIFFrame::SetTransparentColor(TColor color)
{
    if (color == transparentColor)
        return;
    transparentColor = color;
    transparentIndex = -1;
    if (owner_) {
        if (color != clNone)
            owner_->RaiseVersion(gv89a);
        owner_->SignalChange();
    }
}

void TGIFFrame::SetDisposalMethod(TDisposalMethod method)
{
    if (method == disposalMethod)
        return;
    disposalMethod = method;
    if (owner_) {
        if (method != dmUndefined)
            owner_->RaiseVersion(gv89a);
        owner_->SignalChange();
    }
}

void TGIFFrame::SetAnimateInterval(int milliseconds)
{
    const auto value = static_cast<std::uint16_t>(std::clamp(milliseconds, 0, 65535));
    if (value == animateInterval)
        return;
    animateInterval = value;
    if (owner_) {
        if (value != 0)
            owner_->RaiseVersion(gv89a);
        owner_->SignalChange();
    }
}

void TGIFFrame::SetComment(const TStrings& lines) { GetComment().Assign(lines); }

void TGIFFrame::Draw(TCanvas& canvas, const RECT& rect, bool transparent)
{
    TBitmap& bitmap = GetBitmap();
    if (bitmap.Empty())
        return;
    if (transparent && transparentColor != clNone)
        StretchBitmapTransparent(canvas, bitmap, transparentColor, rect.left, rect.top, rect.right - rect.left,
                                 rect.bottom - rect.top, 0, 0, bitmap.Width(), bitmap.Height());
    else
        canvas.StretchDraw(rect, bitmap);
}

void TGIFFrame::AssignFrame(const TGIFFrame& source)
{
    if (&source == this)
        return;
    raster = source.raster;
    localColors = source.owner_ == owner_ ? source.localColors : true;
    left = source.left;
    top = source.top;
    interlaced = source.interlaced;
    bitmap_.reset();
    if (source.bitmap_) {
        NewBitmap();
        bitmap_->Assign(*source.bitmap_);
    }
    transparentColor = source.transparentColor;
    transparentIndex = source.transparentIndex;
    animateInterval = source.animateInterval;
    disposalMethod = source.disposalMethod;
    grayscale = source.grayscale;
    corrupted = source.corrupted;
    decodeFailed = source.decodeFailed;
    const TStringList* comment = const_cast<TGIFFrame&>(source).FindComment(false);
    if (comment && comment->Count() > 0)
        SetComment(*comment);
    if (owner_)
        owner_->UpdateScreenSize();
}

void TGIFFrame::AssignGraphic(const TGraphic* source)
{
    if (const auto* image = dynamic_cast<const TGIFImage*>(source)) {
        if (image->GetCount() == 0)
            source = nullptr;
        else {
            AssignFrame(image->GetFrame(std::max(image->FrameIndex(), 0)));
            return;
        }
    }
    if (!source || source->Empty()) {
        NewImage();
        bitmap_.reset();
        if (owner_)
            owner_->UpdateScreenSize();
        return;
    }
    NewImage();
    NewBitmap();
    const auto* bitmap = dynamic_cast<const TBitmap*>(source);
    try {
        if (!bitmap)
            throw EInvalidGraphicOperation("not a bitmap");
        bitmap_->Assign(*bitmap);
    } catch (const Exception&) {
        bitmap_->Canvas().BrushColor = 0xFF00FF;
        bitmap_->SetSize(source->Width(), source->Height());
        bitmap_->Canvas().FillRect(RECT{0, 0, source->Width(), source->Height()});
        bitmap_->Canvas().Draw(0, 0, const_cast<TGraphic&>(*source));
    }
    if (source->Transparent()) {
        if (bitmap)
            transparentColor = bitmap->TransparentColor();
        else
            transparentColor = GetNearestColor(bitmap_->Canvas().Handle(), ColorToRGB(bitmap_->Canvas().BrushColor));
    }
    if (owner_)
        owner_->UpdateScreenSize();
}

void TGIFFrame::AssignTo(TGraphic& destination)
{
    if (auto* image = dynamic_cast<TGIFImage*>(&destination)) {
        image->AssignFrame(*this);
        return;
    }
    TBitmap& bitmap = GetBitmap();
    destination.Assign(bitmap);
    if (auto* target = dynamic_cast<TBitmap*>(&destination); target && transparentColor != clNone) {
        target->SetTransparentColor(GetNearestColor(target->Canvas().Handle(), ColorToRGB(transparentColor)));
        target->SetTransparent(true);
    }
}

void TGIFFrame::EncodeRasterData()
{
    if (!bitmap_ || bitmap_->Empty())
        throw EInvalidGraphicOperation(kGifNoDataToWrite);
    std::unique_ptr<TMemoryStream> stream;
    const TPixelFormat format = GetBitmapPixelFormat(*bitmap_);
    if (format != pf1bit && format != pf4bit && format != pf8bit) {
        const TMappingMethod method = grayscale ? mmGrayscale : DefaultMappingMethod;
        stream = BitmapToMemoryStream(*bitmap_, pf8bit, method);
        if (method == mmGrayscale)
            grayscale = true;
    }
    if (!stream) {
        stream = std::make_unique<TMemoryStream>();
        bitmap_->SaveToStream(*stream);
    }
    EncodeBitmapStream(*stream);
}

void TGIFFrame::EncodeBitmapStream(TMemoryStream& stream)
{
    const std::string_view bytes(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
    EncodeGifBitmapImage(*owner_, *this, bytes, owner_->ProgressProc());
}

void TGIFFrame::UpdateExtensions() { UpdateGifExtensions(*owner_, *this); }

void TGIFFrame::GrayscaleImage(bool forceEncoding)
{
    if (grayscale || (!bitmap_ && !HasRasterData()))
        return;
    if (HasRasterData() && raster->colorTable.count > 0) {
        bitmap_.reset();
        GrayscaleGifRaster(*this);
        try {
            GetBitmap();
        } catch (const EAbort&) {
        }
        return;
    }
    auto stream = BitmapToMemoryStream(*bitmap_, pf8bit, mmGrayscale);
    raster = std::make_shared<TGIFItem>();
    if (forceEncoding)
        EncodeBitmapStream(*stream);
    grayscale = true;
    if (transparentColor != clNone)
        transparentColor = GrayColor(transparentColor);
    stream->SetPosition(0);
    bitmap_->LoadFromStream(*stream);
}

// ---- TGIFImage ----

TGIFImage::TGIFImage()
{
    RegisterGIFImage();
    NewImage();
    SetTransparent(true);
}

TGIFImage::~TGIFImage() { OnChange = nullptr; }

std::unique_ptr<GifFrameData> TGIFImage::CreateFrameData() { return std::make_unique<TGIFFrame>(this); }

void TGIFImage::NewImage() { NewImageData(); }

void TGIFImage::Clear()
{
    NewImage();
    Changed();
}

TProgressProc TGIFImage::ProgressProc()
{
    if (!OnProgressStage && !OnProgress)
        return {};
    return [this](TProgressStage stage, std::uint8_t percent, const std::string& message) {
        if (OnProgressStage)
            OnProgressStage(*this, stage, percent, message);
        Progress(percent);
    };
}

void TGIFImage::ReadBytes(std::string_view bytes, bool decodeFirst)
{
    try {
        ReadGifData(*this, bytes);
    } catch (...) {
        currentIndex = ClampedFrameIndex(currentIndex);
        throw;
    }
    if (!frames.empty() && decodeFirst) {
        try {
            GetFrame(0).GetBitmap();
        } catch (...) {
            frames.erase(frames.begin());
            currentIndex = ClampedFrameIndex(frames.empty() ? -1 : 0);
            throw;
        }
    }
    paletteModified_ = true;
    Changed();
}

void TGIFImage::ReadStream(std::int64_t size, TStream& stream, bool decodeFirst)
{
    NewImage();
    if (size <= 0)
        return;
    if (size > stream.Size() - stream.Position())
        throw EReadError(kGifStreamReadError);
    // A memory stream is read where it lies.
    if (auto* memory = dynamic_cast<TMemoryStream*>(&stream)) {
        const std::int64_t at = memory->Position();
        memory->Seek(size, soCurrent);
        ReadBytes(std::string_view(static_cast<const char*>(memory->Memory()) + at, static_cast<std::size_t>(size)),
                  decodeFirst);
        return;
    }
    const std::string bytes = StreamBytes(stream, size);
    ReadBytes(bytes, decodeFirst);
}

void TGIFImage::LoadFromStream(TStream& stream) { ReadStream(stream.Size() - stream.Position(), stream, true); }

void TGIFImage::ReadData(TStream& stream)
{
    ReadStream(stream.ReadInt32(), stream, true);
}

void TGIFImage::LoadFromResourceName(HINSTANCE instance, const std::string& name, LPCSTR type)
{
    HRSRC resource = FindResourceA(instance, name.c_str(), type);
    HGLOBAL loaded = resource ? LoadResource(instance, resource) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        throw EResNotFound("Resource " + name + " not found");
    const std::string_view bytes(static_cast<const char*>(data), SizeofResource(instance, resource));
    NewImage();
    ReadBytes(bytes, true);
}

void TGIFImage::LoadFromResourceID(HINSTANCE instance, unsigned id, LPCSTR type)
{
    HRSRC resource = FindResourceA(instance, MAKEINTRESOURCEA(id), type);
    HGLOBAL loaded = resource ? LoadResource(instance, resource) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        throw EResNotFound("Resource " + std::to_string(id) + " not found");
    const std::string_view bytes(static_cast<const char*>(data), SizeofResource(instance, resource));
    NewImage();
    ReadBytes(bytes, true);
}

void TGIFImage::WriteStream(TStream& stream, bool withLength)
{
    if (frames.empty())
        throw EInvalidGraphicOperation(kGifNoDataToWrite);
    EncodeFrames(false);
    const std::string bytes = WriteGifData(*this);
    if (withLength)
        stream.WriteInt32(static_cast<std::int32_t>(bytes.size()));
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

void TGIFImage::SaveToStream(TStream& stream) { WriteStream(stream, false); }

void TGIFImage::WriteData(TStream& stream) { WriteStream(stream, true); }

TGIFFrame& TGIFImage::GetFrame(int index) const
{
    if (index < 0 || index >= FrameCount())
        ListIndexError(index);
    return static_cast<TGIFFrame&>(*frames[static_cast<std::size_t>(index)]);
}

void TGIFImage::SetFrameIndex(int index)
{
    index = ClampedFrameIndex(index);
    if (index == currentIndex)
        return;
    currentIndex = index;
    paletteModified_ = true;
    Changed();
}

int TGIFImage::AddFrame(const TGraphic* graphic)
{
    auto created = std::make_unique<TGIFFrame>(this);
    TGIFFrame& frame = *created;
    frames.push_back(std::move(created));
    currentIndex = FrameCount() - 1;
    frame.AssignGraphic(graphic);
    RaiseVersion(gv87a);
    if (FrameCount() > 1)
        RaiseVersion(gv89a);
    return currentIndex;
}

void TGIFImage::DeleteFrame(int index)
{
    GetFrame(index);
    frames.erase(frames.begin() + index);
    UpdateScreenSize();
    if (currentIndex >= FrameCount())
        currentIndex = FrameCount() - 1;
    Changed();
}

void TGIFImage::MoveFrame(int from, int to)
{
    GetFrame(from);
    GetFrame(to);
    auto moved = std::move(frames[static_cast<std::size_t>(from)]);
    frames.erase(frames.begin() + from);
    frames.insert(frames.begin() + to, std::move(moved));
    currentIndex = to;
    Changed();
}

void TGIFImage::UpdateScreenSize()
{
    // Sizes from the rasters: no frame is decoded to learn them.
    screenWidth = screenHeight = 0;
    for (int i = 0; i < FrameCount(); ++i) {
        TGIFFrame& frame = GetFrame(i);
        GrowScreen(std::int64_t{frame.GetWidth()} + frame.left, std::int64_t{frame.GetHeight()} + frame.top);
    }
}

bool TGIFImage::Empty() const
{
    if (frames.empty())
        return true;
    const TGIFFrame& frame = GetFrame(std::clamp(currentIndex, 0, FrameCount() - 1));
    return !frame.HasBitmap() && !frame.HasRasterData();
}

int TGIFImage::Width() const
{
    if (Empty() || currentIndex < 0 || currentIndex >= FrameCount())
        return 0;
    return GetFrame(currentIndex).GetWidth();
}

int TGIFImage::Height() const
{
    if (Empty() || currentIndex < 0 || currentIndex >= FrameCount())
        return 0;
    return GetFrame(currentIndex).GetHeight();
}

HPALETTE TGIFImage::Palette() const
{
    if (frames.empty())
        return nullptr;
    return const_cast<TGIFImage*>(this)->GetBitmap().Palette();
}

bool TGIFImage::GetTransparent() const
{
    if (!Transparent())
        return false;
    return std::any_of(frames.begin(), frames.end(),
                       [](const auto& frame) { return frame->transparentColor != kGifNoColor; });
}

TColor TGIFImage::GetTransparentColor() const
{
    if (currentIndex < 0 || currentIndex >= FrameCount())
        return clNone;
    return GetFrame(currentIndex).transparentColor;
}

void TGIFImage::SetBackgroundColor(TColor color)
{
    if (color == backgroundColor)
        return;
    backgroundColor = color;
    Changed();
}

void TGIFImage::SetLooping(bool value)
{
    if (value == looping)
        return;
    looping = value;
    Changed();
}

void TGIFImage::SetRepeatCount(int count)
{
    const std::uint16_t before = repeatCount;
    SetRepeatCountValue(count);
    if (repeatCount != before)
        Changed();
}

bool TGIFImage::GetCorrupted() const
{
    return corrupted || std::any_of(frames.begin(), frames.end(), [](const auto& frame) { return frame->corrupted; });
}

TPixelFormat TGIFImage::GetPixelFormat() const
{
    if (Empty())
        return pfDevice;
    TPixelFormat format = FormatForCount(header->colorTable.count);
    for (int i = 0; i < FrameCount(); ++i) {
        TGIFFrame& frame = GetFrame(i);
        if (!frame.HasRasterData()) {
            if (frame.HasBitmap())
                format = std::max(format, GetBitmapPixelFormat(frame.GetBitmap()));
        } else if (frame.localColors) {
            format = std::max(format, FormatForCount(frame.raster->colorTable.count));
        }
    }
    return format;
}

void TGIFImage::SetComment(const TStrings& lines)
{
    UniqueImage();
    header->comment.Assign(lines);
}

void TGIFImage::UniqueImage()
{
    if (!header)
        NewImage();
    else
        UniqueHeader();
}

TBitmap& TGIFImage::GetBitmap()
{
    if (frames.empty()) {
        currentIndex = 0;
        TBitmap empty;
        AddFrame(&empty);
    }
    const int index = currentIndex < 0 || currentIndex >= FrameCount() ? 0 : currentIndex;
    return GetFrame(index).GetBitmap();
}

void TGIFImage::DecodeAllFrames()
{
    for (int i = 0; i < FrameCount(); ++i) {
        try {
            GetFrame(i).GetBitmap();
        } catch (const EAbort&) {
            frames.erase(frames.begin() + i, frames.end());
            currentIndex = ClampedFrameIndex(currentIndex);
            corrupted = true;
            return;
        }
    }
}

void TGIFImage::Draw(TCanvas& canvas, const RECT& rect)
{
    if (currentIndex < 0 || currentIndex >= FrameCount())
        return;
    GetFrame(currentIndex).Draw(canvas, rect, GetTransparent());
}

bool TGIFImage::Equals(const TGraphic& graphic) const
{
    const auto* other = dynamic_cast<const TGIFImage*>(&graphic);
    return other && other->header == header;
}

void TGIFImage::Assign(const TGraphic& source)
{
    if (&source == this)
        return;
    if (const auto* image = dynamic_cast<const TGIFImage*>(&source)) {
        header = image->header;
        version = image->version;
        backgroundColor = image->backgroundColor;
        repeatCount = image->repeatCount;
        looping = image->looping;
        corrupted = image->corrupted;
        frames.clear();
        for (int i = 0; i < image->GetCount(); ++i) {
            const TGIFFrame& from = image->GetFrame(i);
            auto frame = std::make_unique<TGIFFrame>(this);
            frame->raster->bitsPerPixel = from.raster->bitsPerPixel;
            frame->AssignFrame(from);
            frame->localColors = from.localColors;
            frames.push_back(std::move(frame));
        }
        screenWidth = image->screenWidth;
        screenHeight = image->screenHeight;
        currentIndex = image->currentIndex;
        Changed();
        return;
    }
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(&source)) {
        NewImage();
        AddFrame(bitmap);
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

void TGIFImage::AssignFrame(const TGIFFrame& source)
{
    NewImage();
    if (source.Owner()) {
        TGIFData& own = UniqueHeader();
        const TGIFData& from = *source.Owner()->header;
        own.aspectRatio = from.aspectRatio;
        own.bitsPerPixel = from.bitsPerPixel;
        own.colorResolution = from.colorResolution;
        own.colorTable = from.colorTable;
    }
    auto frame = std::make_unique<TGIFFrame>(this);
    TGIFFrame& added = *frame;
    frames.push_back(std::move(frame));
    currentIndex = 0;
    added.AssignFrame(source);
    RaiseVersion(gv87a);
    Changed();
}

void TGIFImage::AssignAnimatedCursor(const TAnimatedCursorImage& source)
{
    NewImage();
    backgroundColor = ColorToRGB(clSystemColor | COLOR_WINDOW);
    for (int i = 0; i < source.GetIconCount(); ++i) {
        const TIconFrame& icon = source.GetFrame(i);
        AddFrame(icon.Icon.get());
        const std::int64_t milliseconds = std::int64_t{icon.DisplayTime} * 100 / 6;
        GetFrame(currentIndex).animateInterval = static_cast<std::uint16_t>(std::clamp<std::int64_t>(milliseconds, 0, 65535));
    }
    Changed();
}

void TGIFImage::AssignTo(TGraphic& destination)
{
    if (auto* image = dynamic_cast<TGIFImage*>(&destination)) {
        image->Assign(*this);
        return;
    }
    if (Empty())
        return;
    if (currentIndex < 0 || currentIndex >= FrameCount()) {
        destination.Assign(GetBitmap());
        return;
    }
    GetFrame(currentIndex).AssignTo(destination);
}

void TGIFImage::SetWidth(int) { throw EInvalidGraphicOperation(kGifCannotResize); }

void TGIFImage::SetHeight(int) { throw EInvalidGraphicOperation(kGifCannotResize); }

void TGIFImage::SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette)
{
    if (frames.empty())
        return;
    TBitmap& bitmap = GetFrame(0).GetBitmap();
    format = CF_BITMAP;
    data = bitmap.Handle() ? CopyImage(bitmap.Handle(), IMAGE_BITMAP, 0, 0, 0) : nullptr;
    palette = bitmap.Palette() ? static_cast<HPALETTE>(CopyImage(bitmap.Palette(), 0, 0, 0, 0)) : nullptr;
    if (!std::all_of(frames.begin(), frames.end(), [](const auto& frame) { return frame->HasRasterData(); }))
        return;
    TMemoryStream stream;
    WriteStream(stream, true);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, static_cast<SIZE_T>(stream.Size()));
    if (!block)
        throw EOutOfResources(kOutOfResources);
    bool filled = false;
    {
        const LockedBlock locked(block);
        if (locked.Bytes()) {
            std::memcpy(locked.Bytes(), stream.Memory(), static_cast<std::size_t>(stream.Size()));
            filled = true;
        }
    }
    if (!filled || !SetClipboardData(CF_GIF, block)) {
        GlobalFree(block);
        throw EOutOfResources(kOutOfResources);
    }
}

void TGIFImage::LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette)
{
    HANDLE gif = CF_GIF ? GetClipboardData(CF_GIF) : nullptr;
    if (!gif) {
        TBitmap bitmap;
        if (format == CF_BITMAP && data) {
            HBITMAP copy = static_cast<HBITMAP>(CopyImage(data, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
            if (!copy)
                throw EInvalidGraphic(kBitmapNotValid);
            bitmap.SetHandle(copy);
            if (palette)
                bitmap.SetPalette(static_cast<HPALETTE>(CopyImage(palette, 0, 0, 0, 0)));
        } else {
            throw EInvalidGraphicOperation("Unsupported clipboard format");
        }
        Assign(bitmap);
        return;
    }
    std::string bytes;
    {
        const LockedBlock locked(gif);
        if (!locked.Bytes())
            throw EReadError(kGifStreamReadError);
        bytes.assign(static_cast<const char*>(locked.Bytes()), GlobalSize(gif));
    }
    // Another program wrote the length: it is checked against the block.
    NewImage();
    ReadBytes(GifLengthPrefixed(bytes), false);
    if (frames.empty())
        return;
    currentIndex = 0;
    if (HANDLE bitmapData = GetClipboardData(CF_BITMAP)) {
        TBitmap& bitmap = GetFrame(0).NewBitmap();
        if (HBITMAP copy = static_cast<HBITMAP>(CopyImage(bitmapData, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))) {
            bitmap.SetHandle(copy);
            if (palette)
                bitmap.SetPalette(static_cast<HPALETTE>(CopyImage(palette, 0, 0, 0, 0)));
        }
    }
}

void TGIFImage::EncodeFrames(bool returnBitmaps)
{
    for (int i = 0; i < FrameCount(); ++i) {
        TGIFFrame& frame = GetFrame(i);
        if (!frame.HasRasterData()) {
            frame.EncodeRasterData();
            if (returnBitmaps && frame.HasBitmap() && !frame.GetBitmap().Palette()) {
                frame.NewBitmap();
                try {
                    frame.GetBitmap();
                } catch (const EAbort&) {
                }
            }
        }
        frame.UpdateExtensions();
    }
}

void TGIFImage::Grayscale(bool forceEncoding)
{
    if (frames.empty())
        throw EInvalidGraphicOperation(kGifNoDataToWrite);
    for (int i = 0; i < FrameCount(); ++i)
        GetFrame(i).GrayscaleImage(forceEncoding);
    GrayscaleGifBackground(*this);
    paletteModified_ = true;
    Changed();
}
