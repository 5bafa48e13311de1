#include "AnimatedCursorImage.h"

#include "BitmapConversion.h"
#include "DrawUtils.h"
#include "Exceptions.h"
#include "IconClip.h"
#include "IconList.h"
#include "Streams.h"

#include <algorithm>
#include <cstring>

// ---- TIconFrame ----

TIconFrame::TIconFrame(std::int32_t frameNumber, std::int32_t displayTime)
    : DisplayTime(displayTime), FrameNumber(frameNumber)
{
}

void TIconFrame::Assign(const TIconFrame& source)
{
    if (&source == this)
        return;
    if (source.Icon) {
        auto icon = std::make_unique<TIcon>();
        icon->Assign(*source.Icon);
        Icon = std::move(icon);
    } else {
        Icon.reset();
    }
    FromIcon = source.FromIcon;
    ChunkHeader = source.ChunkHeader;
    HotSpot = source.HotSpot;
    DisplayTime = source.DisplayTime;
    FrameNumber = source.FrameNumber;
}

std::int32_t JiffiesToMilliseconds(std::uint32_t jiffies)
{
    // The file stores rates unsigned: a huge one is the longest wait, not none.
    const std::int64_t milliseconds = std::int64_t{jiffies} * 100 / 6;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(milliseconds, 0, INT32_MAX));
}

// ---- TAnimatedCursorImage ----

void TAnimatedCursorImage::Clear()
{
    frames_.clear();
    title_.clear();
    creator_.clear();
    header_ = AniHeader();
    paletteSize_ = 0;
}

TIconFrame& TAnimatedCursorImage::GetFrame(int index) const
{
    if (index < 0 || index >= GetIconCount())
        throw EInvalidArgument(FormatMessageText("List index out of bounds (%s)", std::to_string(index)));
    return *frames_[static_cast<std::size_t>(index)];
}

std::int32_t TAnimatedCursorImage::GetDefaultRate() const
{
    return JiffiesToMilliseconds(header_.defaultRate);
}

void TAnimatedCursorImage::Assign(const TAnimatedCursorImage* source)
{
    if (source == this)
        return;
    Clear();
    if (!source)
        return;
    try {
        header_ = source->header_;
        title_ = source->title_;
        creator_ = source->creator_;
        paletteSize_ = source->paletteSize_;
        for (const auto& frame : source->frames_) {
            auto copy = std::make_unique<TIconFrame>(-1, RateOf(source->header_.defaultRate));
            copy->Assign(*frame);
            frames_.push_back(std::move(copy));
        }
    } catch (...) {
        Clear();
        throw;
    }
}

void TAnimatedCursorImage::AssignTo(TIcon& target) const
{
    if (frames_.empty() || !frames_.front()->Icon) {
        target.SetHandle(nullptr);
        return;
    }
    target.Assign(*frames_.front()->Icon);
}

void TAnimatedCursorImage::AssignTo(TBitmap& target) const
{
    AssignToBitmap(target, target.Canvas().BrushColor, false, true);
}

void TAnimatedCursorImage::AssignTo(TIconList& target) const
{
    target.BeginUpdate();
    try {
        target.Clear();
        for (const auto& frame : frames_)
            target.Add(frame->Icon.get());
    } catch (...) {
        target.EndUpdate();
        throw;
    }
    target.EndUpdate();
}

void TAnimatedCursorImage::LoadFromStream(TStream& stream)
{
    const std::int64_t rest = stream.Size() - stream.Position();
    if (rest <= 0)
        return;
    std::string bytes(static_cast<std::size_t>(rest), '\0');
    stream.ReadBuffer(bytes.data(), rest);
    ReadAniStream(bytes);
}

void TAnimatedCursorImage::SaveToStream(TStream&) { NotImplemented(); }

void TAnimatedCursorImage::LoadFromFile(const std::string& path)
{
    try {
        TFileStream stream(path, fmOpenRead | fmShareDenyNone);
        LoadFromStream(stream);
    } catch (...) {
        Clear();
        throw;
    }
}

void TAnimatedCursorImage::ReadAniStream(std::string_view bytes)
{
    NewImage();
    AniContents contents = ReadAniContents(bytes);
    // Frames share an image by number; each gets an icon of its own.
    std::vector<std::unique_ptr<TIcon>> icons(contents.images.size());
    for (std::size_t i = 0; i < icons.size(); ++i) {
        auto icon = std::make_unique<TIcon>();
        TStringStream data(contents.images[i].bytes);
        try {
            icon->LoadFromStream(data);
            icons[i] = std::move(icon);
        } catch (const Exception&) {
            // An image the system cannot load leaves its frames without one.
        }
    }
    for (const AniFrame& read : contents.frames) {
        const auto& loaded = icons[static_cast<std::size_t>(read.image)];
        if (!loaded)
            continue;
        const AniImage& image = contents.images[static_cast<std::size_t>(read.image)];
        auto frame = std::make_unique<TIconFrame>(read.frameNumber, read.displayTime);
        frame->Icon = std::make_unique<TIcon>();
        frame->Icon->Assign(*loaded);
        frame->FromIcon = image.fromIcon;
        std::memcpy(frame->ChunkHeader.data(), image.chunkHeader.data(), frame->ChunkHeader.size());
        frame->HotSpot = image.fromIcon ? POINT{loaded->Width() / 2, loaded->Height() / 2}
                                        : POINT{image.hotSpotX, image.hotSpotY};
        frames_.push_back(std::move(frame));
    }
    if (frames_.empty()) {
        Clear();
        throw EReadError(kStreamReadError);
    }
    header_ = contents.header;
    header_.steps = static_cast<std::uint32_t>(frames_.size());
    title_ = std::move(contents.title);
    creator_ = std::move(contents.creator);
    paletteSize_ = contents.paletteSize;
}

void TAnimatedCursorImage::Draw(TCanvas& canvas, const RECT& rect) const
{
    if (!frames_.empty() && frames_.front()->Icon)
        DrawRealSizeIcon(canvas, *frames_.front()->Icon, rect.left, rect.top);
}

void TAnimatedCursorImage::AssignToBitmap(TBitmap& bitmap, TColor backColor, bool vertical, bool reduce) const
{
    if (frames_.empty())
        return;
    const TIcon* first = frames_.front()->Icon.get();
    const int width = first ? first->Width() : 0;
    const int height = first ? first->Height() : 0;
    const int count = GetIconCount();
    TBitmap strip;
    strip.SetPixelFormat(pf24bit);
    strip.SetSize(vertical ? width : width * count, vertical ? height * count : height);
    TCanvas& canvas = strip.Canvas();
    canvas.BrushColor = backColor;
    canvas.FillRect(RECT{0, 0, strip.Width(), strip.Height()});
    for (int i = 0; i < count; ++i) {
        TIcon* icon = frames_[static_cast<std::size_t>(i)]->Icon.get();
        if (icon)
            canvas.Draw(vertical ? 0 : i * width, vertical ? i * height : 0, *icon);
    }
    if (reduce) {
        std::unique_ptr<TMemoryStream> reduced = BitmapToMemory(strip, std::max<int>(paletteSize_, 16));
        bitmap.LoadFromStream(*reduced);
    } else {
        bitmap.Assign(strip);
    }
}
