#pragma once
// General window, text, cursor and drawing routines of the component library.

#include "GraphicUtils.h"
#include "Graphics.h"

#include <windows.h>
#include <oaidl.h>

#include <span>
#include <string>

// Loads an animated cursor from a resource of type 21; null when missing.
HCURSOR LoadAniCursor(HINSTANCE module, const ResourceId& resource);
// The cursor in the bytes of an animated cursor file, loaded through a
// temporary file ("ANI" prefix) that is deleted on every path; null when the
// system cannot load it.
HCURSOR CursorFromAniBytes(const void* bytes, std::size_t size);
// Stores a cursor resource (plain, else animated) in the first free slot of
// the screen's cursor table from 100 upward, and returns the slot.
int DefineCursor(HINSTANCE module, const ResourceId& resource);

// Nested hourglass: the first start shows it, the matching last stop restores
// the cursor before it; a stop without a start does nothing.
void StartWait();
void StopWait();

// Text in a rectangle with alignment (DT_LEFT, DT_CENTER, DT_RIGHT), optional
// word break and right-to-left reading.
void WriteText(TCanvas& canvas, const RECT& rect, int dx, int dy, const std::string& text, UINT alignment,
               bool wordWrap, bool rightToLeft = false);
enum TVertAlignment { vaTopJustify, vaCenter, vaBottomJustify };
void DrawCellTextEx(TCanvas& canvas, const RECT& rect, const std::string& text, UINT alignment,
                    TVertAlignment vertical, bool wordWrap, bool rightToLeft = false);
void DrawCellText(TCanvas& canvas, const RECT& rect, const std::string& text, UINT alignment,
                  TVertAlignment vertical = vaCenter, bool rightToLeft = false);
void DrawCellBitmap(TCanvas& canvas, const RECT& rect, TGraphic& graphic);
// Frees the shared off-screen bitmap WriteText may have made.
void FreeWriteTextBitmap();

// A canvas on the screen's device context, taken on first use.
class TScreenCanvas : public TCanvas {
public:
    TScreenCanvas() = default;
    ~TScreenCanvas();
    TScreenCanvas(const TScreenCanvas&) = delete;
    TScreenCanvas& operator=(const TScreenCanvas&) = delete;
    HDC Acquire();
    void SetOrigin(int x, int y);
};

// Shortens a text with "..." until it fits the width on the canvas.
std::string MinimizeText(const std::string& text, TCanvas& canvas, int maxWidth);
SIZE GetAveCharSize(TCanvas& canvas);
// The whole value of an environment variable, "" when it is not set.
std::string GetEnvVar(const std::string& name);
std::string GetWindowsVersion();

int MsgBox(const std::string& caption, const std::string& text, UINT flags);
enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8, mbAbort = 16, mbRetry = 32, mbIgnore = 64 };
int MsgDlg(const std::string& text, TMsgDlgType type, unsigned buttons, int helpContext);

char* StrPAlloc(const std::string& text); // free with delete[]
const char* StringToPChar(const std::string& text);

// One variant from many: the single value, or an array of them. The caller
// clears the result.
VARIANT MakeVariant(std::span<const VARIANT> values);
// The largest or smallest of variants compared as numbers.
VARIANT MaxOf(std::span<const VARIANT> values);
VARIANT MinOf(std::span<const VARIANT> values);
