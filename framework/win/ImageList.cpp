#include "ImageList.h"

#include "Exceptions.h"

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner), width_(width), height_(height)
{
    handle_ = ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 0, 8);
    if (!handle_)
        throw EOutOfResources("Cannot create an image list");
}

TImageList::~TImageList() { ImageList_Destroy(handle_); }

int TImageList::Count() const { return ImageList_GetImageCount(handle_); }

int TImageList::Add(HBITMAP image, HBITMAP mask)
{
    const int first = Count();
    if (ImageList_Add(handle_, image, mask) < 0)
        throw EInvalidGraphicOperation("Cannot add the image to the image list");
    return first;
}

int TImageList::AddMasked(HBITMAP image, COLORREF maskColor)
{
    const int first = Count();
    if (ImageList_AddMasked(handle_, image, maskColor) < 0)
        throw EInvalidGraphicOperation("Cannot add the image to the image list");
    return first;
}

int TImageList::AddIcon(HICON icon)
{
    const int index = ImageList_AddIcon(handle_, icon);
    if (index < 0)
        throw EInvalidGraphicOperation("Cannot add the icon to the image list");
    return index;
}

int TImageList::AddStripResource(HINSTANCE module, const std::string& name, COLORREF maskColor)
{
    auto* bitmap = static_cast<HBITMAP>(LoadImageA(module, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap)
        throw EInvalidGraphic("Bitmap resource " + name + " not found");
    // The list copies the pixels; the bitmap is ours to free either way.
    struct BitmapDeleter {
        HBITMAP bitmap;
        ~BitmapDeleter() { DeleteObject(bitmap); }
    } deleter{bitmap};
    const int before = Count();
    AddMasked(bitmap, maskColor);
    return Count() - before;
}

void TImageList::Clear() { ImageList_RemoveAll(handle_); }

void TImageList::Draw(HDC dc, int x, int y, int index, bool enabled) const
{
    if (index < 0 || index >= Count())
        return;
    // Disabled images are drawn half blended with the system highlight, which
    // every version of the control library can do.
    ImageList_Draw(handle_, index, dc, x, y, enabled ? ILD_TRANSPARENT : ILD_TRANSPARENT | ILD_BLEND50);
}
