// The icon holder's stream form: the icon file image.
#include "Graphics.h"

#include "BitmapFileImage.h"
#include "Exceptions.h"
#include "IconFileImage.h"
#include "LockedBlock.h"
#include "Streams.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

[[noreturn]] void IconNotValid() { throw EInvalidGraphic(kIconNotValid); }

// The picture nearest the system's icon size, the deeper one on a tie.
std::size_t NearestEntry(std::string_view bytes, const IconDirectory& directory)
{
    const int wanted = GetSystemMetrics(SM_CXICON);
    std::size_t best = 0;
    long long bestDistance = std::numeric_limits<long long>::max();
    int bestDepth = -1;
    for (std::size_t i = 0; i < directory.entries.size(); ++i) {
        IconImageParts parts;
        const IconImageError error = LocateIconImage(bytes, directory.entries[i], parts);
        if (error != IconImageError::None && error != IconImageError::Png)
            IconNotValid();
        const IconDirEntry& entry = directory.entries[i];
        const int width = error == IconImageError::None ? parts.width : (entry.width ? entry.width : 256);
        const int depth = error == IconImageError::None ? parts.header.bitCount : 32;
        const long long distance = std::llabs(static_cast<long long>(width) - wanted);
        if (distance < bestDistance || (distance == bestDistance && depth > bestDepth)) {
            best = i;
            bestDistance = distance;
            bestDepth = depth;
        }
    }
    return best;
}

// The bitmap file image of a bitmap at a depth, split into its parts.
BitmapFileImage ReadBitmapParts(HBITMAP bitmap, int bitCount)
{
    const std::vector<std::uint8_t> file = ReadBitmapFileBytes(bitmap, nullptr, bitCount);
    BitmapFileImage image;
    if (ReadBitmapFileImage(std::string_view(reinterpret_cast<const char*>(file.data()), file.size()), image) !=
        BitmapImageError::None)
        throw EInvalidGraphic(kIconNotValid);
    return image;
}

// One picture made from the icon's bitmaps: the colour bitmap at its own
// depth (a monochrome icon keeps colour and mask in one double-height mask).
IconImage PictureOfIcon(HICON icon)
{
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        throw EOutOfResources(kOutOfResources);
    struct Bitmaps {
        ICONINFO& info;
        ~Bitmaps()
        {
            if (info.hbmColor)
                DeleteObject(info.hbmColor);
            if (info.hbmMask)
                DeleteObject(info.hbmMask);
        }
    } release{info};
    IconImage picture;
    const BitmapFileImage mask = ReadBitmapParts(info.hbmMask, 1);
    if (info.hbmColor) {
        BITMAP description{};
        GetObjectA(info.hbmColor, sizeof description, &description);
        const int depth = description.bmPlanes * description.bmBitsPixel;
        const BitmapFileImage color =
            ReadBitmapParts(info.hbmColor, depth == 1 || depth == 4 || depth == 8 || depth == 24 ? depth : 32);
        picture.width = color.header.width;
        picture.height = color.header.height;
        picture.bitCount = color.header.bitCount;
        picture.colors = color.colors;
        picture.colorBits = color.bits;
        picture.maskBits = mask.bits;
    } else {
        // Rows run bottom-up: the lower half, first in the bits, is the colour.
        picture.width = mask.header.width;
        picture.height = mask.header.height / 2;
        picture.bitCount = 1;
        picture.colors = {DibRgbQuad{0, 0, 0, 0}, DibRgbQuad{255, 255, 255, 0}};
        const auto half = static_cast<std::ptrdiff_t>(DibImageSize(picture.width, picture.height, 1));
        picture.colorBits.assign(mask.bits.begin(), mask.bits.begin() + half);
        picture.maskBits.assign(mask.bits.begin() + half, mask.bits.begin() + 2 * half);
    }
    picture.colors.resize(picture.bitCount <= 8 ? std::size_t{1} << picture.bitCount : 0);
    return picture;
}

} // namespace

void TIcon::Assign(const TGraphic& source)
{
    const auto* icon = dynamic_cast<const TIcon*>(&source);
    if (!icon) {
        TGraphic::Assign(source);
        return;
    }
    if (icon == this)
        return;
    HICON copy = nullptr;
    if (icon->icon_) {
        copy = CopyIcon(icon->icon_);
        if (!copy)
            throw EOutOfResources(kOutOfResources);
    }
    Take(copy, icon->fileImage_);
}

void TIcon::LoadFromStream(TStream& stream)
{
    std::string bytes(static_cast<std::size_t>(stream.Size() - stream.Position()), '\0');
    stream.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    IconDirectory directory;
    if (ReadIconDirectory(bytes, directory) != IconImageError::None || directory.header.type != kIconImageType)
        IconNotValid();
    const IconDirEntry& entry = directory.entries[NearestEntry(bytes, directory)];
    HICON icon = CreateIconFromResourceEx(
        reinterpret_cast<PBYTE>(bytes.data() + entry.imageOffset), entry.bytesInRes, TRUE, 0x00030000,
        GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR);
    if (!icon)
        IconNotValid();
    Take(icon, std::move(bytes));
}

std::string TIcon::FileImage() const
{
    if (!fileImage_.empty() || !icon_)
        return fileImage_;
    TMemoryStream written;
    WriteIconFileImage(written, {PictureOfIcon(icon_)});
    return std::string(static_cast<const char*>(written.Memory()), static_cast<std::size_t>(written.Size()));
}

void TIcon::SaveToStream(TStream& stream)
{
    const std::string bytes = FileImage();
    if (!bytes.empty())
        stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

void TIcon::LoadFromClipboardFormat(UINT, HANDLE data, HPALETTE)
{
    TMemoryStream stream;
    {
        const LockedBlock block(data);
        if (!block.Bytes())
            IconNotValid();
        stream.WriteBuffer(block.Bytes(), static_cast<std::int64_t>(GlobalSize(data)));
    }
    stream.SetPosition(0);
    LoadFromStream(stream);
}
