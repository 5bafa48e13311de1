#pragma once
// The GIF picture as data: the header shared between copies of an image, one
// frame's raster shared between copies of a frame, the extension blocks kept
// with a frame, and the frame list with its rules. The drawing side builds on
// these; nothing here needs a window.

#include "StringList.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Colours as the framework holds them: red in the low byte, then green, blue.
using GifColor = std::uint32_t;
inline constexpr GifColor kGifNoColor = 0x1FFFFFFF;

inline constexpr char kGifNoDataToWrite[] = "No GIF Data to write";
inline constexpr char kGifEncodingError[] = "GIF image encoding error";
inline constexpr char kGifWrongColorCount[] = "Wrong number of colors; must be a power of 2";
inline constexpr char kGifUnknownVersion[] = "Unknown GIF version";
inline constexpr char kGifCodeSizeRange[] = "GIF code size not in range 2 to 9";
inline constexpr char kGifCorruptData[] = "GIF encoded data is corrupt";
inline constexpr char kGifCannotResize[] = "Cannot change the Size of a GIF image";
inline constexpr char kGifStreamReadError[] = "Stream read error";

// Damaged raster data is shown as far as it goes and the frame marked
// corrupted; false makes the same damage an error.
extern bool GIFLoadCorrupted;

struct TGIFColorItem {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const TGIFColorItem&, const TGIFColorItem&) = default;
};

struct TGIFColorTable {
    std::int32_t count = 0;
    std::array<TGIFColorItem, 256> colors{};
    friend bool operator==(const TGIFColorTable&, const TGIFColorTable&) = default;
    GifColor Color(int index) const;
    // The first entry of that colour among the valid ones; -1 when none.
    int IndexOf(GifColor color) const;
};

enum TGIFVersion { gvUnknown, gv87a, gv89a };
enum TDisposalMethod {
    dmUndefined, dmLeave, dmRestoreBackground, dmRestorePrevious, dmReserved4, dmReserved5, dmReserved6, dmReserved7
};
enum TProgressStage { psStarting, psRunning, psEnding };
using TProgressProc = std::function<void(TProgressStage stage, std::uint8_t percentDone, const std::string& msg)>;

std::string GIFVersionName(TGIFVersion version);
inline GifColor GifColorOf(TGIFColorItem item)
{
    return item.red | (GifColor{item.green} << 8) | (GifColor{item.blue} << 16);
}
// The smallest n of at least 1 with 2^n >= count.
int GifBitsForCount(int count);
// n for a count of exactly 2^n, 1 to 8; 0 for any other count.
int GifBitsOfPowerOfTwo(int count);

// Grey of the same brightness: (77 r + 150 g + 29 b) / 256 in every channel.
GifColor GrayColor(GifColor color);
void GrayColorTable(TGIFColorTable& table);

struct TGIFData {
    TStringList comment;
    std::uint8_t aspectRatio = 0;
    std::uint8_t bitsPerPixel = 0;
    std::uint8_t colorResolution = 0;
    TGIFColorTable colorTable;
};

struct TGIFItem {
    // The frame's image data as in the file: the minimum code size byte, then
    // the data sub-blocks with their length bytes and the terminator.
    std::string rasterData;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint8_t packedFields = 0;
    std::uint8_t bitsPerPixel = 0;
    TGIFColorTable colorTable;
};

enum TExtensionKind : std::uint8_t { ekGraphicControl, ekPlainText, ekApplication, ekComment };

struct TExtension {
    TExtensionKind kind = ekGraphicControl;
    // One string per data sub-block; absent when the block has no data list.
    std::optional<TStringList> data;
    // header[0] is not used; then the block header bytes as read.
    std::array<std::uint8_t, 14> header{};

    std::uint8_t Label() const;
    // Graphic control fields, over header bytes 2 to 5.
    std::uint8_t Packed() const { return header[2]; }
    std::uint16_t Delay() const { return static_cast<std::uint16_t>(header[3] | (header[4] << 8)); }
    std::uint8_t TransparentIndex() const { return header[5]; }
};

// One image of the picture. The drawing side derives its frame from this.
class GifFrameData {
public:
    GifFrameData();
    virtual ~GifFrameData() = default;
    GifFrameData(const GifFrameData&) = delete;
    GifFrameData& operator=(const GifFrameData&) = delete;

    // A fresh raster, every property back to its default; extensions stay.
    void NewFrameData();
    bool HasRasterData() const { return raster && !raster->rasterData.empty(); }
    // The raster for a change: copies one shared with another frame first.
    TGIFItem& UniqueRaster();
    // The last graphic control extension; null when none.
    TExtension* GraphicControl();
    // The last comment's lines; with `create`, one is added when there is none.
    TStringList* FindComment(bool create);

    std::shared_ptr<TGIFItem> raster;
    std::vector<TExtension> extensions;
    std::int32_t left = 0;
    std::int32_t top = 0;
    bool interlaced = false;
    bool corrupted = false;
    bool grayscale = false;
    GifColor transparentColor = kGifNoColor;
    // The index the transparent colour was read from; it is written back
    // while its entry still holds that colour, so that an equal entry
    // elsewhere in the table does not take its place. -1 when none.
    int transparentIndex = -1;
    std::uint16_t animateInterval = 0;
    TDisposalMethod disposalMethod = dmUndefined;
    bool localColors = false;
    // A decode that failed is not tried again on every paint.
    bool decodeFailed = false;
};

// The whole picture: the frame list and the image-level fields.
class GifImageData {
public:
    GifImageData();
    virtual ~GifImageData() = default;
    GifImageData(const GifImageData&) = delete;
    GifImageData& operator=(const GifImageData&) = delete;

    // A new frame of the kind this picture holds.
    virtual std::unique_ptr<GifFrameData> CreateFrameData() { return std::make_unique<GifFrameData>(); }

    // Empties the picture: a fresh header, no frames.
    void NewImageData();
    // The header for a change: copies one shared with another image first.
    TGIFData& UniqueHeader();
    int FrameCount() const { return static_cast<int>(frames.size()); }
    // -1 .. count - 1.
    int ClampedFrameIndex(int index) const;
    void SetRepeatCountValue(int count);
    // The largest (width + left) and (height + top) over the frames' rasters,
    // at most 65,535 each.
    void UpdateScreenSizeFromRasters();
    // Grows the screen to hold the rectangle, at most 65,535 each.
    void GrowScreen(std::int64_t right, std::int64_t bottom);
    void RaiseVersion(TGIFVersion atLeast);

    std::shared_ptr<TGIFData> header;
    TGIFVersion version = gvUnknown;
    std::vector<std::unique_ptr<GifFrameData>> frames;
    int currentIndex = -1;
    std::uint16_t screenWidth = 0;
    std::uint16_t screenHeight = 0;
    GifColor backgroundColor = kGifNoColor;
    bool looping = false;
    bool corrupted = false;
    std::uint16_t repeatCount = 1;
};

inline constexpr int kGifMaxRepeatCount = 30000;
