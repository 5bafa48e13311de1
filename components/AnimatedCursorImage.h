#pragma once
// Animated cursor files (".ani") read into frames, each with its own icon.

#include "AniFile.h"
#include "Graphics.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TIconList;
class TStream;

// One frame of an animated cursor; it owns its icon.
class TIconFrame {
public:
    TIconFrame(std::int32_t frameNumber, std::int32_t displayTime);
    virtual ~TIconFrame() = default;
    TIconFrame(const TIconFrame&) = delete;
    TIconFrame& operator=(const TIconFrame&) = delete;

    // A new icon copying the source's, and every other field.
    virtual void Assign(const TIconFrame& source);

    std::unique_ptr<TIcon> Icon;        // none until the image is read
    bool FromIcon = false;              // an icon (true) rather than a cursor
    std::array<char, 8> ChunkHeader{};  // the image chunk's tag and size
    POINT HotSpot{0, 0};                // an icon's is its centre
    std::int32_t DisplayTime;           // jiffies, 1/60 s
    std::int32_t FrameNumber;           // -1: made for an image without a declared frame
};

// Milliseconds of a rate in jiffies: rate x 100 / 6, limited to 0 .. 2147483647.
std::int32_t JiffiesToMilliseconds(std::uint32_t jiffies);

class TAnimatedCursorImage {
public:
    TAnimatedCursorImage() = default;
    virtual ~TAnimatedCursorImage() = default;
    TAnimatedCursorImage(const TAnimatedCursorImage&) = delete;
    TAnimatedCursorImage& operator=(const TAnimatedCursorImage&) = delete;

    // Null clears. Otherwise header, texts and palette size, and a new frame
    // (number -1, the source's default rate) copying each source frame; on a
    // failure the image is cleared and the error passes on.
    virtual void Assign(const TAnimatedCursorImage* source);
    // The first frame's icon, or none.
    void AssignTo(TIcon& target) const;
    // AssignToBitmap with the target canvas's brush colour, horizontal, reduced.
    void AssignTo(TBitmap& target) const;
    // Inside one update: clears the list and adds every frame's icon.
    void AssignTo(TIconList& target) const;

    // The rest of the stream; raises EReadError "Stream read error" for data
    // that is not an animated cursor with at least one readable frame.
    virtual void LoadFromStream(TStream& stream);
    // Writing is not provided.
    virtual void SaveToStream(TStream& stream);
    // On any failure the image is left empty and the error passes on.
    virtual void LoadFromFile(const std::string& path);

    void NewImage() { Clear(); }
    void Clear();

    const std::string& GetTitle() const { return title_; }
    const std::string& GetCreator() const { return creator_; }
    int GetIconCount() const { return static_cast<int>(frames_.size()); }
    TIcon* GetIcon(int index) const { return GetFrame(index).Icon.get(); }
    // Raises EInvalidArgument outside 0 .. count - 1.
    TIconFrame& GetFrame(int index) const;
    // The default rate in milliseconds.
    std::int32_t GetDefaultRate() const;
    const AniHeader& Header() const { return header_; }
    std::uint16_t PaletteSize() const { return paletteSize_; }

    // The first frame's icon at its real size at the rectangle's top-left.
    void Draw(TCanvas& canvas, const RECT& rect) const;
    // The frames side by side (or one above the other) on the back colour;
    // with `reduce`, in at most max(palette size, 16) colours.
    void AssignToBitmap(TBitmap& bitmap, TColor backColor, bool vertical, bool reduce) const;

private:
    void ReadAniStream(std::string_view bytes);

    AniHeader header_;
    std::string title_;
    std::string creator_;
    std::vector<std::unique_ptr<TIconFrame>> frames_;
    std::uint16_t paletteSize_ = 0;
};
