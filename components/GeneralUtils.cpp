#include "GeneralUtils.h"

#include "Application.h"
#include "Cursors.h"
#include "Exceptions.h"
#include "GdiHandles.h"
#include "AnsiStrings.h"
#include "TextUtils.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

// ---- cursors ----

namespace {

// A temporary file deleted whatever happens.
class TemporaryFile {
public:
    TemporaryFile()
    {
        char folder[MAX_PATH] = {};
        char name[MAX_PATH] = {};
        if (GetTempPathA(MAX_PATH, folder) && GetTempFileNameA(folder, "ANI", 0, name))
            path_ = name;
    }
    ~TemporaryFile()
    {
        if (!path_.empty())
            DeleteFileA(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

bool WriteAll(const std::string& path, const void* bytes, std::size_t size)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) && written == size;
    return CloseHandle(file) && ok;
}

} // namespace

HCURSOR CursorFromAniBytes(const void* bytes, std::size_t size)
{
    TemporaryFile file;
    if (file.Path().empty() || !WriteAll(file.Path(), bytes, size))
        return nullptr;
    return static_cast<HCURSOR>(LoadImageA(nullptr, file.Path().c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE));
}

HCURSOR LoadAniCursor(HINSTANCE module, const ResourceId& resource)
{
    HRSRC found = FindResourceA(module, resource.Pointer(), MAKEINTRESOURCEA(21));
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return nullptr;
    return CursorFromAniBytes(bytes, SizeofResource(module, found));
}

int DefineCursor(HINSTANCE module, const ResourceId& resource)
{
    HCURSOR cursor = LoadCursorA(module, resource.Pointer());
    if (!cursor)
        cursor = LoadAniCursor(module, resource);
    if (!cursor)
        ResourceNotFound(resource);
    for (int slot = 100; slot < 0x7FFF; ++slot) {
        if (ScreenCursor(slot) == ScreenCursor(crArrow) && slot != crArrow) {
            SetScreenCursor(slot, cursor);
            return slot;
        }
    }
    throw EOutOfResources(kOutOfResources);
}

namespace {
int waitCount = 0;
int cursorBeforeWait = crDefault;
} // namespace

void StartWait()
{
    if (waitCount++ == 0) {
        cursorBeforeWait = ScreenCursorId();
        SetScreenCursorId(crHourGlass);
    }
}

void StopWait()
{
    if (waitCount == 0)
        return;
    if (--waitCount == 0)
        SetScreenCursorId(cursorBeforeWait);
}

// ---- text ----

namespace {

HBITMAP writeTextBitmap = nullptr;

// Frees the shared bitmap when the program ends.
struct WriteTextBitmapRelease {
    ~WriteTextBitmapRelease() { FreeWriteTextBitmap(); }
} writeTextBitmapRelease;

bool DitheredBrush(TCanvas& canvas)
{
    const COLORREF rgb = ColorToRGB(canvas.BrushColor);
    return GetNearestColor(canvas.Handle(), rgb) != rgb;
}

} // namespace

void FreeWriteTextBitmap()
{
    if (writeTextBitmap)
        DeleteObject(writeTextBitmap);
    writeTextBitmap = nullptr;
}

void WriteText(TCanvas& canvas, const RECT& rect, int dx, int dy, const std::string& text, UINT alignment,
               bool wordWrap, bool rightToLeft)
{
    UINT format = alignment | DT_NOPREFIX | (wordWrap ? DT_WORDBREAK : DT_SINGLELINE) | (rightToLeft ? DT_RTLREADING : 0);
    HDC dc = canvas.Handle();
    const bool offScreen = DitheredBrush(canvas) || wordWrap || text.find('\r') != std::string::npos;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (!offScreen || width <= 0 || height <= 0) {
        RECT inner{rect.left + dx, rect.top + dy, rect.right - dx, rect.bottom};
        canvas.FillRect(rect);
        SetBkMode(dc, TRANSPARENT);
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &inner, format);
        return;
    }
    BITMAP size{};
    if (!writeTextBitmap || !GetObjectA(writeTextBitmap, sizeof size, &size) || size.bmWidth < width ||
        size.bmHeight < height) {
        FreeWriteTextBitmap();
        writeTextBitmap = CreateCompatibleBitmap(dc, width, height);
        if (!writeTextBitmap)
            throw EOutOfResources(kOutOfResources);
    }
    MemoryDC memory(dc);
    Selection bitmap(memory.Get(), writeTextBitmap);
    Selection font(memory.Get(), GetCurrentObject(dc, OBJ_FONT));
    SetTextColor(memory.Get(), GetTextColor(dc));
    SetBkMode(memory.Get(), TRANSPARENT);
    TCanvas off(memory.Get());
    off.BrushColor = canvas.BrushColor;
    off.FillRect(RECT{0, 0, width, height});
    RECT inner{dx, dy, width - dx, height};
    DrawTextA(memory.Get(), text.c_str(), static_cast<int>(text.size()), &inner, format);
    BitBlt(dc, rect.left, rect.top, width, height, memory.Get(), 0, 0, SRCCOPY);
}

void DrawCellTextEx(TCanvas& canvas, const RECT& rect, const std::string& text, UINT alignment,
                    TVertAlignment vertical, bool wordWrap, bool rightToLeft)
{
    SIZE w{};
    GetTextExtentPoint32A(canvas.Handle(), "W", 1, &w);
    int dy = 2;
    const int height = rect.bottom - rect.top;
    if (vertical == vaCenter)
        dy = (height - w.cy) / 2;
    else if (vertical == vaBottomJustify)
        dy = height - w.cy - 2;
    WriteText(canvas, rect, 2, std::max(dy, 0), text, alignment, wordWrap, rightToLeft);
}

void DrawCellText(TCanvas& canvas, const RECT& rect, const std::string& text, UINT alignment, TVertAlignment vertical,
                  bool rightToLeft)
{
    DrawCellTextEx(canvas, rect, text, alignment, vertical, false, rightToLeft);
}

void DrawCellBitmap(TCanvas& canvas, const RECT& rect, TGraphic& graphic)
{
    const int left = (rect.left + rect.right - graphic.Width()) / 2;
    const int top = (rect.top + rect.bottom - graphic.Height()) / 2;
    canvas.Draw(left, top, graphic);
}

TScreenCanvas::~TScreenCanvas()
{
    if (Handle())
        ReleaseDC(nullptr, Handle());
}

HDC TScreenCanvas::Acquire()
{
    if (!Handle())
        SetHandle(GetDC(nullptr));
    return Handle();
}

void TScreenCanvas::SetOrigin(int x, int y) { SetWindowOrgEx(Acquire(), -x, -y, nullptr); }

std::string MinimizeText(const std::string& text, TCanvas& canvas, int maxWidth)
{
    return MinimizeText(text, [&](const std::string& candidate) {
        SIZE size{};
        GetTextExtentPoint32A(canvas.Handle(), candidate.c_str(), static_cast<int>(candidate.size()), &size);
        return size.cx <= maxWidth;
    });
}

SIZE GetAveCharSize(TCanvas& canvas)
{
    char letters[52];
    for (int i = 0; i < 26; ++i) {
        letters[i] = static_cast<char>('A' + i);
        letters[26 + i] = static_cast<char>('a' + i);
    }
    SIZE size{};
    GetTextExtentPoint32A(canvas.Handle(), letters, 52, &size);
    size.cx /= 52;
    return size;
}

std::string GetEnvVar(const std::string& name)
{
    const DWORD needed = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
    if (needed == 0)
        return std::string();
    std::string value(needed, '\0');
    const DWORD length = GetEnvironmentVariableA(name.c_str(), value.data(), needed);
    value.resize(length < needed ? length : 0);
    return value;
}

std::string GetWindowsVersion()
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    GetVersionExA(&info);
    const char* platform = info.dwPlatformId == VER_PLATFORM_WIN32_NT ? "NT" : "95";
    char text[256];
    std::snprintf(text, sizeof text, "Windows %s %lu.%.2lu.%.3lu %s", platform, info.dwMajorVersion,
                  info.dwMinorVersion, info.dwBuildNumber & 0xFFFF, info.szCSDVersion);
    return Trim(text);
}

int MsgBox(const std::string& caption, const std::string& text, UINT flags)
{
    return Application.MessageBox(text, caption, flags);
}

int MsgDlg(const std::string& text, TMsgDlgType type, unsigned buttons, int)
{
    static const UINT icons[] = {MB_ICONWARNING, MB_ICONERROR, MB_ICONINFORMATION, MB_ICONQUESTION, 0};
    static const char* captions[] = {"Warning", "Error", "Information", "Confirm", ""};
    UINT flags = MB_OK;
    if ((buttons & (mbYes | mbNo | mbCancel)) == (mbYes | mbNo | mbCancel))
        flags = MB_YESNOCANCEL;
    else if ((buttons & (mbYes | mbNo)) == (mbYes | mbNo))
        flags = MB_YESNO;
    else if ((buttons & (mbAbort | mbRetry | mbIgnore)) == (mbAbort | mbRetry | mbIgnore))
        flags = MB_ABORTRETRYIGNORE;
    else if ((buttons & (mbRetry | mbCancel)) == (mbRetry | mbCancel))
        flags = MB_RETRYCANCEL;
    else if ((buttons & (mbOK | mbCancel)) == (mbOK | mbCancel))
        flags = MB_OKCANCEL;
    return Application.MessageBox(text, type == mtCustom ? Application.Title() : captions[type], flags | icons[type]);
}

char* StrPAlloc(const std::string& text)
{
    char* copy = new char[text.size() + 1];
    std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

const char* StringToPChar(const std::string& text) { return text.c_str(); }

VARIANT MakeVariant(std::span<const VARIANT> values)
{
    VARIANT result;
    VariantInit(&result);
    if (values.size() == 1) {
        VariantCopy(&result, const_cast<VARIANT*>(&values[0]));
        return result;
    }
    SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(values.size()));
    if (!array)
        throw EOutOfResources(kOutOfResources);
    for (LONG i = 0; i < static_cast<LONG>(values.size()); ++i)
        SafeArrayPutElement(array, &i, const_cast<VARIANT*>(&values[static_cast<std::size_t>(i)]));
    result.vt = VT_ARRAY | VT_VARIANT;
    result.parray = array;
    return result;
}

namespace {

double AsNumber(const VARIANT& value)
{
    VARIANT number;
    VariantInit(&number);
    if (FAILED(VariantChangeType(&number, const_cast<VARIANT*>(&value), 0, VT_R8)))
        throw EConvertError("Could not convert variant");
    return number.dblVal;
}

VARIANT Extreme(std::span<const VARIANT> values, bool largest)
{
    if (values.empty())
        throw EInvalidArgument("Array is empty");
    std::size_t best = 0;
    for (std::size_t i = 1; i < values.size(); ++i) {
        const double a = AsNumber(values[i]), b = AsNumber(values[best]);
        if (largest ? a > b : a < b)
            best = i;
    }
    VARIANT result;
    VariantInit(&result);
    VariantCopy(&result, const_cast<VARIANT*>(&values[best]));
    return result;
}

} // namespace

VARIANT MaxOf(std::span<const VARIANT> values) { return Extreme(values, true); }
VARIANT MinOf(std::span<const VARIANT> values) { return Extreme(values, false); }
