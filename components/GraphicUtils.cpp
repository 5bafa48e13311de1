#include "GraphicUtils.h"

#include "DrawUtils.h"
#include "Exceptions.h"
#include "GdiHandles.h"
#include "TextUtils.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

void ResourceNotFound(const ResourceId& resource)
{
    throw EResNotFound(FormatMessageText(ResStr("Resource %s not found"), resource.Text()));
}

namespace {

HINSTANCE ProgramModule() { return GetModuleHandleA(nullptr); }

std::unique_ptr<TBitmap> NewBitmap(TPixelFormat format, int width, int height, TColor fill)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(format);
    bitmap->SetSize(width, height);
    bitmap->Canvas().BrushColor = fill;
    bitmap->Canvas().FillRect(RECT{0, 0, width, height});
    return bitmap;
}

} // namespace

std::unique_ptr<TBitmap> MakeModuleBitmap(HINSTANCE module, const ResourceId& resource)
{
    auto handle = static_cast<HBITMAP>(LoadImageA(module, resource.Pointer(), IMAGE_BITMAP, 0, 0, 0));
    if (!handle) {
        if (!module)
            ResourceNotFound(resource);
        return nullptr;
    }
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetHandle(handle);
    return bitmap;
}

std::unique_ptr<TBitmap> MakeBitmap(const std::string& name) { return MakeModuleBitmap(ProgramModule(), name); }
std::unique_ptr<TBitmap> MakeBitmapID(unsigned id) { return MakeModuleBitmap(ProgramModule(), id); }

std::unique_ptr<TIcon> MakeModuleIcon(HINSTANCE module, const ResourceId& resource)
{
    auto handle = static_cast<HICON>(LoadImageA(module, resource.Pointer(), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    if (!handle)
        return nullptr;
    auto icon = std::make_unique<TIcon>();
    icon->SetHandle(handle);
    return icon;
}

std::unique_ptr<TIcon> MakeIcon(const std::string& name) { return MakeModuleIcon(ProgramModule(), name); }
std::unique_ptr<TIcon> MakeIconID(unsigned id) { return MakeModuleIcon(ProgramModule(), id); }

void AssignBitmapCell(TGraphic& source, TBitmap& destination, int columns, int rows, int index)
{
    if (columns < 1 || rows < 1 || index < 0)
        return;
    const int width = source.Width() / columns, height = source.Height() / rows;
    const int left = index % columns * width, top = index / columns * height;
    destination.SetSize(width, height);
    if (auto* bitmap = dynamic_cast<TBitmap*>(&source)) {
        TCanvas& canvas = destination.Canvas();
        canvas.CopyMode = SRCCOPY;
        canvas.CopyRect(RECT{0, 0, width, height}, bitmap->Canvas(), RECT{left, top, left + width, top + height});
        destination.SetTransparentColor(bitmap->TransparentColor());
    } else {
        destination.Canvas().BrushColor = clSilver;
        destination.Canvas().FillRect(RECT{0, 0, width, height});
        destination.Canvas().Draw(-left, -top, source);
    }
    destination.SetTransparent(source.Transparent());
}

std::unique_ptr<TBitmap> ChangeBitmapColor(TBitmap& bitmap, TColor oldColor, TColor newColor)
{
    auto result = NewBitmap(pf24bit, bitmap.Width(), bitmap.Height(), newColor);
    DrawBitmapTransparent(result->Canvas(), 0, 0, bitmap, oldColor);
    return result;
}

namespace {

// Paints `color` wherever the monochrome mask is 0, and keeps the rest.
void PaintThroughMask(HDC destination, int x, int y, int width, int height, HDC mask, TColor color)
{
    GdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(color)));
    Selection selected(destination, brush.Get());
    const COLORREF text = SetTextColor(destination, RGB(0, 0, 0));
    const COLORREF back = SetBkColor(destination, RGB(255, 255, 255));
    BitBlt(destination, x, y, width, height, mask, 0, 0, 0xB8074A);
    SetTextColor(destination, text);
    SetBkColor(destination, back);
}

} // namespace

std::unique_ptr<TBitmap> CreateDisabledBitmapEx(TBitmap& bitmap, TColor outline, TColor background, TColor highlight,
                                                TColor shadow, bool drawHighlight)
{
    const int width = bitmap.Width(), height = bitmap.Height();
    // The mask: 1 where the picture has the outline colour, 0 elsewhere.
    MemoryDC mask(nullptr);
    GdiObject<HBITMAP> maskBitmap(CreateBitmap(width, height, 1, 1, nullptr));
    if (!mask.Get() || !maskBitmap.Get())
        throw EOutOfResources(kOutOfResources);
    Selection selected(mask.Get(), maskBitmap.Get());
    HDC source = bitmap.Canvas().Handle();
    const COLORREF previous = SetBkColor(source, ColorToRGB(outline));
    BitBlt(mask.Get(), 0, 0, width, height, source, 0, 0, SRCCOPY);
    SetBkColor(source, previous);

    auto result = NewBitmap(pf24bit, width, height, background);
    HDC dc = result->Canvas().Handle();
    if (drawHighlight)
        PaintThroughMask(dc, 1, 1, width - 1, height - 1, mask.Get(), highlight);
    PaintThroughMask(dc, 0, 0, width, height, mask.Get(), shadow);
    return result;
}

std::unique_ptr<TBitmap> CreateDisabledBitmap(TBitmap& bitmap, TColor outline)
{
    return CreateDisabledBitmapEx(bitmap, outline, clBtnFace, clBtnHighlight, clBtnShadow, true);
}

void ImageListDrawDisabled(HIMAGELIST images, TCanvas& canvas, int x, int y, int index, TColor highlight, TColor grey,
                           bool drawHighlight)
{
    int width = 0, height = 0;
    if (!ImageList_GetIconSize(images, &width, &height))
        return;
    auto mask = NewBitmap(pf1bit, width, height, clWhite);
    ImageList_Draw(images, index, mask->Canvas().Handle(), 0, 0, ILD_MASK);
    HDC dc = canvas.Handle();
    const COLORREF text = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF back = SetBkColor(dc, RGB(255, 255, 255));
    auto blit = [&](int left, int top, TColor color) {
        GdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(color)));
        Selection selected(dc, brush.Get());
        BitBlt(dc, left, top, width, height, mask->Canvas().Handle(), 0, 0, 0xE20746);
    };
    if (drawHighlight)
        blit(x + 1, y + 1, highlight);
    blit(x, y, grey);
    SetTextColor(dc, text);
    SetBkColor(dc, back);
}

std::unique_ptr<TBitmap> CreateTwoColorsBrushPattern(TColor color1, TColor color2)
{
    auto pattern = NewBitmap(pf24bit, 8, 8, color1);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if (x % 2 == y % 2)
                pattern->Canvas().SetPixel(x, y, color2);
    return pattern;
}

std::unique_ptr<TBitmap> CreateBitmapFromIcon(TIcon& icon, TColor background)
{
    auto bitmap = NewBitmap(pf24bit, icon.Width(), icon.Height(), background);
    bitmap->Canvas().Draw(0, 0, icon);
    bitmap->SetTransparentColor(background);
    bitmap->SetTransparent(true);
    return bitmap;
}

std::unique_ptr<TIcon> CreateIconFromBitmap(TBitmap& bitmap, TColor transparent)
{
    if (transparent == clDefault)
        transparent = bitmap.TransparentColor();
    HIMAGELIST list = ImageList_Create(bitmap.Width(), bitmap.Height(), ILC_COLOR24 | ILC_MASK, 1, 0);
    if (!list)
        throw EOutOfResources(kOutOfResources);
    auto copy = NewBitmap(pf24bit, bitmap.Width(), bitmap.Height(), clBlack);
    copy->Canvas().Draw(0, 0, bitmap);
    copy->Dormant();
    ImageList_AddMasked(list, copy->Handle(), ColorToRGB(transparent));
    auto icon = std::make_unique<TIcon>();
    icon->SetHandle(ImageList_GetIcon(list, 0, ILD_NORMAL));
    ImageList_Destroy(list);
    return icon;
}

namespace {

LONG BaseUnits() { return GetDialogBaseUnits(); }

} // namespace

int DialogUnitsToPixelsX(unsigned short units) { return units * LOWORD(BaseUnits()) / 4; }
int DialogUnitsToPixelsY(unsigned short units) { return units * HIWORD(BaseUnits()) / 8; }
int PixelsToDialogUnitsX(unsigned short pixels) { return pixels * 4 / LOWORD(BaseUnits()); }
int PixelsToDialogUnitsY(unsigned short pixels) { return pixels * 8 / HIWORD(BaseUnits()); }

bool PointInPolyRgn(POINT point, const POINT* points, int highestIndex)
{
    GdiObject<HRGN> region(CreatePolygonRgn(points, highestIndex + 1, WINDING));
    return region.Get() && PtInRegion(region.Get(), point.x, point.y);
}

void PaintInverseRect(POINT corner1, POINT corner2)
{
    WindowDC screen(nullptr);
    RECT rect{std::min(corner1.x, corner2.x), std::min(corner1.y, corner2.y), std::max(corner1.x, corner2.x),
              std::max(corner1.y, corner2.y)};
    InvertRect(screen.Get(), &rect);
}

void DrawInvertFrame(RECT rect, int width)
{
    WindowDC screen(nullptr);
    for (int i = 0; i < width; ++i) {
        DrawFocusRect(screen.Get(), &rect);
        InflateRect(&rect, -1, -1);
    }
}

void ShadeRect(HDC dc, const RECT& rect)
{
    static const WORD pattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    GdiObject<HBITMAP> bitmap(CreateBitmap(8, 8, 1, 1, pattern));
    GdiObject<HBRUSH> brush(CreatePatternBrush(bitmap.Get()));
    Selection selected(dc, brush.Get());
    const COLORREF text = SetTextColor(dc, RGB(255, 255, 255));
    const COLORREF back = SetBkColor(dc, RGB(0, 0, 0));
    PatBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, 0xA000C9); // pattern AND destination
    SetTextColor(dc, text);
    SetBkColor(dc, back);
}

HFONT CreateRotatedFont(HFONT font, int angle)
{
    LOGFONTA source{};
    GetObjectA(font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), sizeof source, &source);
    LOGFONTA rotated{};
    rotated.lfHeight = source.lfHeight;
    rotated.lfEscapement = angle * 10;
    rotated.lfOrientation = angle * 10;
    rotated.lfWeight = source.lfWeight >= FW_BOLD ? FW_BOLD : FW_NORMAL;
    rotated.lfItalic = source.lfItalic;
    rotated.lfUnderline = source.lfUnderline;
    rotated.lfStrikeOut = source.lfStrikeOut;
    rotated.lfCharSet = source.lfCharSet;
    rotated.lfPitchAndFamily = (source.lfPitchAndFamily & 3) == FIXED_PITCH ? FIXED_PITCH : VARIABLE_PITCH;
    if (std::strcmp(source.lfFaceName, "Default") == 0) {
        LOGFONTA system{};
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof system, &system);
        std::memcpy(rotated.lfFaceName, system.lfFaceName, sizeof rotated.lfFaceName);
    } else {
        std::memcpy(rotated.lfFaceName, source.lfFaceName, sizeof rotated.lfFaceName);
    }
    return CreateFontIndirectA(&rotated);
}
