#pragma once
// Colours, the canvas, the graphic base, the bitmap over a DIB section and a
// plain icon holder: the least the drawing and conversion routines need.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TStream;

using TColor = std::uint32_t;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clGray = 0x808080;
// System colours: the high bit set, the system's colour index in the low byte.
inline constexpr TColor clSystemColor = 0x80000000;
inline constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
inline constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
inline constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;

// The RGB value of a colour, system colours looked up now.
COLORREF ColorToRGB(TColor color);

inline constexpr char kBitmapNotValid[] = "Bitmap image is not valid";
inline constexpr char kOutOfResources[] = "Out of system resources";

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

class TGraphic;

// Drawing on a device context the canvas does not own.
class TCanvas {
public:
    explicit TCanvas(HDC dc = nullptr) : dc_(dc) {}
    HDC Handle() const { return dc_; }
    void SetHandle(HDC dc) { dc_ = dc; }

    TColor BrushColor = clWhite;
    DWORD CopyMode = SRCCOPY;

    void Lock() { ++locks_; }
    void Unlock() { --locks_; }
    int LockCount() const { return locks_; }

    void FillRect(const RECT& rect);
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);
    void Draw(int x, int y, TGraphic& graphic);
    void StretchDraw(const RECT& rect, TGraphic& graphic);
    void CopyRect(const RECT& destination, TCanvas& source, const RECT& sourceRect);
    // Saved device state; RestoreState takes the value SaveState gave.
    int SaveState() { return SaveDC(dc_); }
    void RestoreState(int state) { RestoreDC(dc_, state); }
    void IntersectClip(const RECT& rect) { IntersectClipRect(dc_, rect.left, rect.top, rect.right, rect.bottom); }

private:
    HDC dc_;
    int locks_ = 0;
};

class TGraphic {
public:
    virtual ~TGraphic() = default;
    virtual void Draw(TCanvas& canvas, const RECT& rect) = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const { return Width() == 0 || Height() == 0; }
    virtual HPALETTE Palette() const { return nullptr; }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    virtual void Assign(const TGraphic& source);

    // The picture as a file, and as the picture holder stores it (an int32
    // length, then the file). A type without a file format raises the
    // invalid-graphic-operation error.
    virtual void LoadFromStream(TStream& stream);
    virtual void SaveToStream(TStream& stream);
    virtual void ReadData(TStream& stream);
    virtual void WriteData(TStream& stream);
    // The clipboard: the caller has the clipboard open.
    virtual void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette);
    virtual void SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette);

    std::function<void(TGraphic& sender)> OnChange;
    std::function<void(TGraphic& sender, int percent)> OnProgress;

protected:
    void Changed();
    void Progress(int percent);

private:
    bool transparent_ = false;
};

// A bitmap over a DIB section (or, in the device format, over a bitmap
// compatible with the screen). It owns its bitmap, palette and canvas.
class TBitmap : public TGraphic {
public:
    TBitmap() = default;
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void SetSize(int width, int height);
    void Draw(TCanvas& canvas, const RECT& rect) override;
    HPALETTE Palette() const override { return palette_; }
    // Takes over the palette (and frees the one held).
    void SetPalette(HPALETTE palette);
    void Assign(const TGraphic& source) override;

    TPixelFormat PixelFormat() const { return format_; }
    // Keeps the picture, in the new format.
    void SetPixelFormat(TPixelFormat format);
    bool Monochrome() const { return format_ == pf1bit; }

    // clDefault: the bottom-left pixel's colour.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor color) { transparentColor_ = color; }

    bool HandleAllocated() const { return handle_ != nullptr; }
    HBITMAP Handle() const { return handle_; }
    // Takes over a bitmap the caller made, and its format.
    void SetHandle(HBITMAP bitmap);
    TCanvas& Canvas();
    // Takes the bitmap out of the canvas's device context, so that another
    // context can select it.
    void Dormant();

    // Loads a bitmap file image; a damaged one raises "Bitmap image is not valid".
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path);

private:
    void Release();
    void Replace(HBITMAP bitmap, TPixelFormat format, int width, int height);
    HBITMAP MakeBitmap(TPixelFormat format, int width, int height) const;

    HBITMAP handle_ = nullptr;
    HPALETTE palette_ = nullptr;
    HDC canvasDc_ = nullptr;
    HGDIOBJ canvasPrevious_ = nullptr;
    TCanvas canvas_;
    TPixelFormat format_ = pfDevice;
    int width_ = 0;
    int height_ = 0;
    TColor transparentColor_ = clDefault;
};

// A palette selected and realized in a context for the scope.
class RealizedPalette {
public:
    RealizedPalette(HDC dc, HPALETTE palette, BOOL background)
        : dc_(dc), previous_(palette ? SelectPalette(dc, palette, background) : nullptr)
    {
        if (palette)
            RealizePalette(dc);
    }
    ~RealizedPalette()
    {
        if (previous_)
            SelectPalette(dc_, previous_, TRUE);
    }
    RealizedPalette(const RealizedPalette&) = delete;
    RealizedPalette& operator=(const RealizedPalette&) = delete;

private:
    HDC dc_;
    HPALETTE previous_;
};

// The pixel format of a bitmap's bit count (0 or anything unknown: device).
TPixelFormat PixelFormatOfBitCount(int bitCount);
int BitCountOfPixelFormat(TPixelFormat format);

// The bitmap file image of a bitmap at a bit count (1, 4, 8, 16, 24 or 32; 0
// for its own), read with a header made fresh for that depth: the block is
// exactly as long as its headers say, whatever the bitmap's own depth. A
// bitmap that cannot be described or read raises "Bitmap image is not valid".
std::vector<std::uint8_t> ReadBitmapFileBytes(HBITMAP bitmap, HPALETTE palette, int bitCount);

inline constexpr char kIconNotValid[] = "Icon image is not valid";

// An icon the holder owns. Loaded from a stream, it keeps the icon file image
// it was loaded from and writes exactly those bytes back; otherwise it writes
// one picture made from its bitmaps.
class TIcon : public TGraphic {
public:
    TIcon() = default;
    // Destroys the icon without telling anyone: no listener outlives the icon.
    ~TIcon() override
    {
        if (icon_)
            DestroyIcon(icon_);
    }
    TIcon(const TIcon&) = delete;
    TIcon& operator=(const TIcon&) = delete;
    HICON Handle() const { return icon_; }
    // Takes over the icon (and frees the one held).
    void SetHandle(HICON icon);
    HICON ReleaseHandle();
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void Draw(TCanvas& canvas, const RECT& rect) override;
    // Another icon: a copy of its handle and of its file image.
    void Assign(const TGraphic& source) override;

    // Reads the rest of the stream as an icon file image (type icon) at the
    // system's icon size; damaged data raises "Icon image is not valid" and
    // leaves the icon as it was.
    void LoadFromStream(TStream& stream) override;
    // Nothing for an empty icon.
    void SaveToStream(TStream& stream) override;
    // A block holding an icon file image, as the program's icon format puts
    // it on the clipboard.
    void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette) override;
    // The bytes SaveToStream writes.
    std::string FileImage() const;

private:
    void Take(HICON icon, std::string fileImage);

    HICON icon_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    std::string fileImage_;
};
