#pragma once
// The GIF picture type: an ordered list of frames, each decoded on demand
// into a bitmap and drawn stretched, with transparency; read from and
// written to files, the picture holder's stored form and the clipboard.

#include "GifData.h"
#include "Graphics.h"

#include <memory>
#include <string>

class TAnimatedCursorImage;
class TGIFImage;
class TMemoryStream;
class TStream;

// The clipboard format registered under "GIF Image" (0 until registered).
extern UINT CF_GIF;
// Registers the clipboard format and the picture type with the picture
// holder: extension "gif" as "CompuServe GIF Image", the clipboard format,
// the class name "TGIFImage". Runs once; later calls do nothing.
void RegisterGIFImage();
void UnregisterGIFImage();

class TGIFFrame : public GifFrameData {
public:
    explicit TGIFFrame(TGIFImage* owner);
    ~TGIFFrame() override;

    TGIFImage* Owner() const { return owner_; }
    void NewImage();
    TBitmap& NewBitmap();
    bool HasBitmap() const { return bitmap_ && !bitmap_->Empty(); }
    // Decodes the raster the first time; a decode that failed is not
    // tried again until the frame changes.
    TBitmap& GetBitmap();
    int GetWidth();
    int GetHeight();
    int GetColorCount();
    // The frame's raster as a bitmap file image.
    void SaveToBitmapStream(TMemoryStream& stream);

    void SetTopLeft(POINT point);
    void SetTransparentColor(TColor color);
    void SetDisposalMethod(TDisposalMethod method);
    void SetAnimateInterval(int milliseconds);
    TStringList& GetComment() { return *FindComment(true); }
    void SetComment(const TStrings& lines);

    void Draw(TCanvas& canvas, const RECT& rect, bool transparent);
    void AssignFrame(const TGIFFrame& source);
    // A GIF picture gives its current frame; any other graphic its picture.
    void AssignGraphic(const TGraphic* source);
    void AssignTo(TGraphic& destination);

    void EncodeRasterData();
    void EncodeBitmapStream(TMemoryStream& stream);
    void UpdateExtensions();
    void GrayscaleImage(bool forceEncoding);

private:
    void Decode();
    TGIFImage* owner_;
    std::unique_ptr<TBitmap> bitmap_;
};

class TGIFImage : public TGraphic, public GifImageData {
public:
    TGIFImage();
    ~TGIFImage() override;
    TGIFImage(const TGIFImage&) = delete;
    TGIFImage& operator=(const TGIFImage&) = delete;

    std::unique_ptr<GifFrameData> CreateFrameData() override;

    void NewImage();
    void Clear();
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    void ReadData(TStream& stream) override;
    void WriteData(TStream& stream) override;
    void ReadStream(std::int64_t size, TStream& stream, bool decodeFirst);
    void WriteStream(TStream& stream, bool withLength);
    void LoadFromResourceName(HINSTANCE instance, const std::string& name, LPCSTR type);
    void LoadFromResourceID(HINSTANCE instance, unsigned id, LPCSTR type);

    int GetCount() const { return FrameCount(); }
    // Raises the list's index error outside 0 .. count - 1.
    TGIFFrame& GetFrame(int index) const;
    int FrameIndex() const { return currentIndex; }
    void SetFrameIndex(int index);
    virtual int AddFrame(const TGraphic* graphic);
    void DeleteFrame(int index);
    void MoveFrame(int from, int to);
    void UpdateScreenSize();

    bool Empty() const override;
    int Width() const override;
    int Height() const override;
    int ScreenWidth() const { return Empty() ? 0 : screenWidth; }
    int ScreenHeight() const { return Empty() ? 0 : screenHeight; }
    HPALETTE Palette() const override;
    bool GetTransparent() const;
    TColor GetTransparentColor() const;
    TColor GetBackgroundColor() const { return backgroundColor; }
    void SetBackgroundColor(TColor color);
    void SetLooping(bool value);
    void SetRepeatCount(int count);
    bool GetCorrupted() const;
    int GetGlobalColorCount() const { return header->colorTable.count; }
    TPixelFormat GetPixelFormat() const;
    const TStringList& GetComment() const { return header->comment; }
    void SetComment(const TStrings& lines);
    void UniqueImage();
    TBitmap& GetBitmap();
    void DecodeAllFrames();

    void Draw(TCanvas& canvas, const RECT& rect) override;
    bool Equals(const TGraphic& graphic) const;
    void Assign(const TGraphic& source) override;
    void AssignFrame(const TGIFFrame& source);
    // One frame per icon on the window colour, each shown as long as the
    // cursor shows it (at most 65,535 ms).
    void AssignAnimatedCursor(const TAnimatedCursorImage& source);
    void AssignTo(TGraphic& destination);
    // Always raise "Cannot change the Size of a GIF image".
    void SetWidth(int width);
    void SetHeight(int height);

    void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette) override;
    void SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette) override;

    void EncodeFrames(bool returnBitmaps);
    void EncodeAllFrames() { EncodeFrames(true); }
    void Grayscale(bool forceEncoding);

    std::function<void(TGIFImage& sender, TProgressStage stage, int percent, const std::string& message)>
        OnProgressStage;
    TProgressProc ProgressProc();
    void SignalChange() { Changed(); }
    bool PaletteModified() const { return paletteModified_; }

private:
    void ReadBytes(std::string_view bytes, bool decodeFirst);
    bool paletteModified_ = false;
};
