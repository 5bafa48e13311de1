#include "IconClip.h"

#include "Exceptions.h"
#include "GdiHandles.h"
#include "IconEntryChoice.h"
#include "IconFileImage.h"
#include "LockedBlock.h"
#include "PictureFormats.h"
#include "Streams.h"

#include <cstring>
#include <vector>

namespace {

UINT iconFormat = 0;

// Open while it lives; another program may hold the clipboard for a moment.
class OpenedClipboard {
public:
    OpenedClipboard() : open_(OpenClipboard(nullptr) != FALSE) {}
    ~OpenedClipboard()
    {
        if (open_)
            CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    bool Open() const { return open_; }

private:
    bool open_;
};

class ScreenDC {
public:
    ScreenDC() : dc_(GetDC(nullptr)) {}
    ~ScreenDC()
    {
        if (dc_)
            ReleaseDC(nullptr, dc_);
    }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

class OwnedIcon {
public:
    explicit OwnedIcon(HICON icon) : icon_(icon) {}
    ~OwnedIcon()
    {
        if (icon_)
            DestroyIcon(icon_);
    }
    OwnedIcon(const OwnedIcon&) = delete;
    OwnedIcon& operator=(const OwnedIcon&) = delete;
    HICON Get() const { return icon_; }

private:
    HICON icon_;
};

[[noreturn]] void OutOfResources() { throw EOutOfResources(kOutOfResources); }
[[noreturn]] void IconNotValid() { throw EInvalidGraphic(kIconNotValid); }

HICON CopyOrFail(HICON icon)
{
    HICON copy = CopyIcon(icon);
    if (!copy)
        OutOfResources();
    return copy;
}

// A bitmap info block: the header and room for a full colour table.
std::vector<std::uint8_t> InfoBlock(const BitmapInfoHeader& header, std::string_view table)
{
    std::vector<std::uint8_t> info(kBitmapInfoHeaderSize + 256 * 4, 0);
    StoreInfoHeader(header, info.data());
    std::memcpy(info.data() + kBitmapInfoHeaderSize, table.data(), table.size());
    return info;
}

// The picture's two bitmaps, colour compatible with the screen and the
// monochrome mask, made into an icon of the screen's depth.
HICON BuildIcon(const IconImageParts& parts)
{
    ScreenDC screen;
    if (!screen.Get())
        OutOfResources();
    BitmapInfoHeader colorHeader = parts.header;
    colorHeader.size = kBitmapInfoHeaderSize;
    colorHeader.planes = 1; // what the system reads; files do not always say so
    colorHeader.height = parts.height;
    colorHeader.sizeImage = 0;
    colorHeader.clrUsed = static_cast<std::uint32_t>(parts.colorCount);
    const std::vector<std::uint8_t> colorInfo = InfoBlock(colorHeader, parts.colorTable);
    GdiObject<HBITMAP> color(CreateCompatibleBitmap(screen.Get(), parts.width, parts.height));
    if (!color.Get() || SetDIBits(screen.Get(), color.Get(), 0, static_cast<UINT>(parts.height),
                                  parts.colorBits.data(), reinterpret_cast<const BITMAPINFO*>(colorInfo.data()),
                                  DIB_RGB_COLORS) != parts.height)
        OutOfResources();

    const BitmapInfoHeader maskHeader = MakeBitmapInfoHeader(parts.width, parts.height, 1);
    static constexpr char blackAndWhite[8] = {0, 0, 0, 0, '\xFF', '\xFF', '\xFF', 0};
    const std::vector<std::uint8_t> maskInfo = InfoBlock(maskHeader, std::string_view(blackAndWhite, 8));
    GdiObject<HBITMAP> mask(CreateBitmap(parts.width, parts.height, 1, 1, nullptr));
    if (!mask.Get() || SetDIBits(screen.Get(), mask.Get(), 0, static_cast<UINT>(parts.height), parts.maskBits.data(),
                                 reinterpret_cast<const BITMAPINFO*>(maskInfo.data()), DIB_RGB_COLORS) != parts.height)
        OutOfResources();

    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = color.Get();
    info.hbmMask = mask.Get();
    HICON icon = CreateIconIndirect(&info);
    if (!icon)
        OutOfResources();
    return icon;
}

std::uint16_t ScreenValue()
{
    ScreenDC screen;
    if (!screen.Get())
        OutOfResources();
    return ScreenColorValue(GetDeviceCaps(screen.Get(), PLANES), GetDeviceCaps(screen.Get(), BITSPIXEL));
}

HPALETTE CopyPalette(HPALETTE palette)
{
    const int count = GetPaletteEntries(palette, 0, 0, nullptr);
    if (count <= 0)
        return nullptr;
    std::vector<std::uint8_t> block(sizeof(LOGPALETTE) + static_cast<std::size_t>(count) * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(block.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(count);
    GetPaletteEntries(palette, 0, static_cast<UINT>(count), logical->palPalEntry);
    return CreatePalette(logical);
}

// Hands a GDI object to the clipboard, which owns it once it has taken it.
void PutObject(UINT format, HGDIOBJ object)
{
    if (!object)
        OutOfResources();
    if (!SetClipboardData(format, object)) {
        DeleteObject(object);
        OutOfResources();
    }
}

} // namespace

UINT RegisterIconClipboardFormat()
{
    if (iconFormat == 0) {
        iconFormat = RegisterClipboardFormatA(kIconClipboardFormatName);
        RegisterGraphicClass("TIcon", [] { return std::make_unique<TIcon>(); });
        RegisterPictureFileFormat("ico", "Icon", "TIcon");
        RegisterPictureClipboardFormat(iconFormat, "TIcon");
    }
    return iconFormat;
}

UINT IconClipboardFormat() { return iconFormat; }

void LoadIconFromClipboardData(TIcon& icon, HANDLE data)
{
    TMemoryStream stream;
    {
        const LockedBlock block(data);
        if (!block.Bytes())
            return;
        stream.WriteBuffer(block.Bytes(), static_cast<std::int64_t>(GlobalSize(data)));
    }
    stream.SetPosition(0);
    icon.LoadFromStream(stream);
}

HICON CreateRealSizeIcon(const TIcon& icon) { return CreateRealSizeIconFromImage(icon.FileImage(), icon.Handle()); }

HICON CreateRealSizeIconFromImage(std::string_view bytes, HICON own)
{
    IconFileHeader header;
    if (!ReadIconFileHeader(bytes, header))
        IconNotValid();
    if (header.type == 0) {
        // The system's icon is shared: the caller gets a copy it may destroy.
        return CopyOrFail(LoadIconA(nullptr, MAKEINTRESOURCEA(32512)));
    }
    if (header.type != kIconImageType)
        return CopyOrFail(own);
    IconDirectory directory;
    if (ReadIconDirectory(bytes, directory) != IconImageError::None)
        IconNotValid();
    const IconDirEntry& entry = directory.entries[ChooseIconEntry(directory.entries, ScreenValue())];
    IconImageParts parts;
    switch (LocateIconImage(bytes, entry, parts)) {
    case IconImageError::None: return BuildIcon(parts);
    case IconImageError::Png: return CopyOrFail(own); // no bits to build from
    default: IconNotValid();
    }
}

SIZE GetIconSize(HICON icon)
{
    SIZE size{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info))
        return size;
    GdiObject<HBITMAP> color(info.hbmColor);
    GdiObject<HBITMAP> mask(info.hbmMask);
    BITMAP bitmap{};
    if (color.Get() && GetObjectA(color.Get(), sizeof bitmap, &bitmap))
        size = SIZE{bitmap.bmWidth, bitmap.bmHeight};
    else if (mask.Get() && GetObjectA(mask.Get(), sizeof bitmap, &bitmap))
        size = SIZE{bitmap.bmWidth, bitmap.bmHeight / 2};
    return size;
}

void DrawRealSizeIcon(TCanvas& canvas, const TIcon& icon, int x, int y)
{
    if (!icon.Handle())
        return;
    const OwnedIcon real(CreateRealSizeIcon(icon));
    const SIZE size = GetIconSize(real.Get());
    DrawIconEx(canvas.Handle(), x, y, real.Get(), size.cx, size.cy, 0, nullptr, DI_NORMAL);
}

void CopyIconToClipboard(const TIcon& icon, TColor backColor)
{
    const OwnedIcon real(CreateRealSizeIcon(icon));
    const SIZE size = GetIconSize(real.Get());
    TBitmap picture;
    picture.SetSize(size.cx, size.cy);
    TCanvas& canvas = picture.Canvas();
    canvas.BrushColor = backColor;
    canvas.FillRect(RECT{0, 0, size.cx, size.cy});
    DrawIconEx(canvas.Handle(), 0, 0, real.Get(), size.cx, size.cy, 0, nullptr, DI_NORMAL);
    picture.Dormant();
    const std::string bytes = icon.FileImage();

    const OpenedClipboard clipboard;
    if (!clipboard.Open())
        throw Exception("Cannot open clipboard");
    EmptyClipboard();
    PutObject(CF_BITMAP, CopyImage(picture.Handle(), IMAGE_BITMAP, 0, 0, 0));
    if (picture.Palette())
        PutObject(CF_PALETTE, CopyPalette(picture.Palette()));
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!block)
        return; // the bitmap alone, without the icon format
    {
        const LockedBlock locked(block);
        if (!locked.Bytes()) {
            GlobalFree(block);
            return;
        }
        std::memcpy(locked.Bytes(), bytes.data(), bytes.size());
    }
    if (!SetClipboardData(RegisterIconClipboardFormat(), block)) {
        GlobalFree(block);
        OutOfResources();
    }
}

void AssignClipboardIcon(TIcon& icon)
{
    const UINT format = IconClipboardFormat();
    if (format == 0 || !IsClipboardFormatAvailable(format))
        return;
    const OpenedClipboard clipboard;
    if (!clipboard.Open())
        return;
    if (HANDLE data = GetClipboardData(format))
        LoadIconFromClipboardData(icon, data);
}

std::unique_ptr<TIcon> CreateIconFromClipboard()
{
    const UINT format = IconClipboardFormat();
    if (format == 0 || !IsClipboardFormatAvailable(format))
        return nullptr;
    auto icon = std::make_unique<TIcon>();
    AssignClipboardIcon(*icon);
    if (!icon->Handle())
        return nullptr;
    return icon;
}
