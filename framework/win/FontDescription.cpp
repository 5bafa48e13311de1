#include "FontDescription.h"

#include <cstdlib>
#include <cstring>

namespace {
bool ReadLogFont(HFONT font, LOGFONTA& description)
{
    return font && GetObjectA(font, sizeof description, &description) == sizeof description;
}

int ScreenPixelsPerInch()
{
    HDC screen = GetDC(nullptr);
    const int pixels = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return pixels > 0 ? pixels : 96;
}
}

TFontDescription FontDescriptionOf(HFONT font, TColor color)
{
    TFontDescription result;
    LOGFONTA description{};
    if (!ReadLogFont(font, description))
        return result;
    result.Name.assign(description.lfFaceName, strnlen(description.lfFaceName, LF_FACESIZE));
    // A negative height is the character height, a positive one the cell
    // height; either way the nearest whole point.
    result.Size = MulDiv(std::abs(static_cast<int>(description.lfHeight)), 72, ScreenPixelsPerInch());
    if (description.lfWeight >= FW_BOLD)
        result.Style |= fsBold;
    if (description.lfItalic)
        result.Style |= fsItalic;
    if (description.lfUnderline)
        result.Style |= fsUnderline;
    if (description.lfStrikeOut)
        result.Style |= fsStrikeOut;
    result.Color = color;
    result.Charset = description.lfCharSet;
    switch (description.lfPitchAndFamily & 3) {
    case FIXED_PITCH:
        result.Pitch = TFontPitch::fpFixed;
        break;
    case VARIABLE_PITCH:
        result.Pitch = TFontPitch::fpVariable;
        break;
    default:
        break;
    }
    result.Handle = font;
    return result;
}

int FontWeightOf(HFONT font)
{
    LOGFONTA description{};
    return ReadLogFont(font, description) ? static_cast<int>(description.lfWeight) : 0;
}
