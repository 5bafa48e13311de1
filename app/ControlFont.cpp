#include "ControlFont.h"

#include "Control.h"

TControlFont::~TControlFont()
{
    if (font_)
        DeleteObject(font_);
}

void TControlFont::Apply(TControl& control, const std::string& face, int points)
{
    LOGFONTA description{};
    description.lfHeight = FontHeightForPoints(points);
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(description.lfFaceName, face.c_str(), LF_FACESIZE);
    HFONT font = CreateFontIndirectA(&description);
    if (!font)
        return;
    control.SetFont(font);
    if (font_)
        DeleteObject(font_);
    font_ = font;
}

int FontHeightForPoints(int points)
{
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return height;
}
