#pragma once
// Font styles (those of the font dialog too), and a font as the controls
// describe one to each other: face, size in points, style, colour, character
// set and pitch, and the font object when there is one (its weight says more
// than the bold style can).

#include "Graphics.h"

#include <windows.h>

#include <string>

using TFontStyles = unsigned;
inline constexpr TFontStyles fsBold = 1;
inline constexpr TFontStyles fsItalic = 2;
inline constexpr TFontStyles fsUnderline = 4;
inline constexpr TFontStyles fsStrikeOut = 8;

enum class TFontPitch { fpDefault, fpVariable, fpFixed };

inline constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
inline constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;

struct TFontDescription {
    std::string Name;
    int Size = 0;
    TFontStyles Style = 0;
    TColor Color = clWindowText;
    BYTE Charset = DEFAULT_CHARSET;
    TFontPitch Pitch = TFontPitch::fpDefault;
    // Borrowed, may be null.
    HFONT Handle = nullptr;
};

// The description of a font object: its logical font read back, the height
// turned into points on the screen. A null or unreadable handle gives the
// empty description.
TFontDescription FontDescriptionOf(HFONT font, TColor color = clWindowText);

// The weight of a font object, 0 when it cannot be read.
int FontWeightOf(HFONT font);
