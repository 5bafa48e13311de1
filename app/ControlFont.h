#pragma once
// A font made from a face name and a size in points, for a control whose font
// the options choose. The control only borrows the font, so this keeps it for
// as long as the control uses it.

#include <windows.h>

#include <string>

class TControl;

class TControlFont {
public:
    TControlFont() = default;
    ~TControlFont();
    TControlFont(const TControlFont&) = delete;
    TControlFont& operator=(const TControlFont&) = delete;

    // Gives the control a new font, then frees the one it used before.
    void Apply(TControl& control, const std::string& face, int points);
    HFONT Handle() const { return font_; }

private:
    HFONT font_ = nullptr;
};

// The height in logical units of a font of this many points on the screen.
int FontHeightForPoints(int points);
