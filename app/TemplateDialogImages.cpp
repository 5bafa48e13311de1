#include "TemplateDialogImages.h"

#include "ImageList.h"
#include "SpeedButton.h"
#include "resource.h"

namespace {
HINSTANCE ProgramModule() { return GetModuleHandleA(nullptr); }
}

void LoadTemplateImages(TImageList& large, TImageList& small)
{
    large.AddStripResource(ProgramModule(), BMP_TEMPLATE_IMAGES_LARGE, QUILLO_IMAGE_MASK_COLOUR);
    small.AddStripResource(ProgramModule(), BMP_TEMPLATE_IMAGES_SMALL, QUILLO_IMAGE_MASK_COLOUR);
}

void SetUpViewButtons(TImageList& glyphs, TSpeedButton& large, TSpeedButton& small)
{
    glyphs.AddStripResource(ProgramModule(), BMP_VIEW_IMAGES, QUILLO_IMAGE_MASK_COLOUR);
    large.SetName("Large");
    large.Hint = "Large Icons";
    large.SetGlyph(glyphs.Handle(), VIEW_IMAGE_LARGE_ICONS);
    large.SetGroupIndex(1);
    small.SetName("Small");
    small.Hint = "List";
    small.SetGlyph(glyphs.Handle(), VIEW_IMAGE_LIST);
    small.SetGroupIndex(1);
}
