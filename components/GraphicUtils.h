#pragma once
// Bitmap, icon, rectangle, font and screen-drawing routines of the component
// library.

#include "Graphics.h"

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

// A resource named by text, or by number below 65536.
struct ResourceId {
    ResourceId(const char* name) : name(name) {}
    ResourceId(const std::string& name) : name(name) {}
    ResourceId(unsigned id) : id(id) {}
    std::string name;
    unsigned id = 0;
    LPCSTR Pointer() const { return name.empty() ? MAKEINTRESOURCEA(id) : name.c_str(); }
    std::string Text() const { return name.empty() ? std::to_string(id) : name; }
};

[[noreturn]] void ResourceNotFound(const ResourceId& resource);

// Module 0 loads one of the system's predefined bitmaps. Null when nothing
// could be loaded from a module.
std::unique_ptr<TBitmap> MakeModuleBitmap(HINSTANCE module, const ResourceId& resource);
std::unique_ptr<TBitmap> MakeBitmap(const std::string& name);
std::unique_ptr<TBitmap> MakeBitmapID(unsigned id);
std::unique_ptr<TIcon> MakeModuleIcon(HINSTANCE module, const ResourceId& resource);
std::unique_ptr<TIcon> MakeIcon(const std::string& name);
std::unique_ptr<TIcon> MakeIconID(unsigned id);

// Cell `index` of a graphic laid out as a grid, into the bitmap.
void AssignBitmapCell(TGraphic& source, TBitmap& destination, int columns, int rows, int index);
std::unique_ptr<TBitmap> ChangeBitmapColor(TBitmap& bitmap, TColor oldColor, TColor newColor);
std::unique_ptr<TBitmap> CreateDisabledBitmapEx(TBitmap& bitmap, TColor outline, TColor background, TColor highlight,
                                                TColor shadow, bool drawHighlight);
std::unique_ptr<TBitmap> CreateDisabledBitmap(TBitmap& bitmap, TColor outline);
void ImageListDrawDisabled(HIMAGELIST images, TCanvas& canvas, int x, int y, int index, TColor highlight, TColor grey,
                           bool drawHighlight);
std::unique_ptr<TBitmap> CreateTwoColorsBrushPattern(TColor color1, TColor color2);
std::unique_ptr<TBitmap> CreateBitmapFromIcon(TIcon& icon, TColor background);
// clDefault takes the bitmap's own transparent colour.
std::unique_ptr<TIcon> CreateIconFromBitmap(TBitmap& bitmap, TColor transparent);

int DialogUnitsToPixelsX(unsigned short units);
int DialogUnitsToPixelsY(unsigned short units);
int PixelsToDialogUnitsX(unsigned short pixels);
int PixelsToDialogUnitsY(unsigned short pixels);

inline int WidthOf(const RECT& rect) { return rect.right - rect.left; }
inline int HeightOf(const RECT& rect) { return rect.bottom - rect.top; }
// Points on every edge count as inside.
inline bool PointInRect(POINT point, const RECT& rect)
{
    return point.x >= rect.left && point.x <= rect.right && point.y >= rect.top && point.y <= rect.bottom;
}
bool PointInPolyRgn(POINT point, const POINT* points, int highestIndex);

void PaintInverseRect(POINT corner1, POINT corner2);
void DrawInvertFrame(RECT rect, int width);
void ShadeRect(HDC dc, const RECT& rect);
// A new font the caller owns.
HFONT CreateRotatedFont(HFONT font, int angle);
