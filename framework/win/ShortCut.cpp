#include "ShortCut.h"

#include "AnsiStrings.h"

namespace {
constexpr WORD KeyMask = 0x00FF;

struct KeyName {
    WORD key;
    const char* name;
};

// The names shortcuts are shown with. Letters, digits and function keys are
// made up on the fly.
constexpr KeyName KeyNames[] = {
    {VK_BACK, "BkSp"},       {VK_TAB, "Tab"},          {VK_RETURN, "Enter"},     {VK_ESCAPE, "Esc"},
    {VK_SPACE, "Space"},     {VK_PRIOR, "PgUp"},       {VK_NEXT, "PgDn"},        {VK_END, "End"},
    {VK_HOME, "Home"},       {VK_LEFT, "Left"},        {VK_UP, "Up"},            {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},       {VK_INSERT, "Ins"},       {VK_DELETE, "Del"},       {VK_MULTIPLY, "Num *"},
    {VK_ADD, "Num +"},       {VK_SUBTRACT, "Num -"},   {VK_DECIMAL, "Num ."},    {VK_DIVIDE, "Num /"},
};

// Other spellings accepted when reading a shortcut.
constexpr KeyName KeyAliases[] = {
    {VK_BACK, "Backspace"}, {VK_RETURN, "Return"},  {VK_ESCAPE, "Escape"},     {VK_PRIOR, "PageUp"},
    {VK_NEXT, "PageDown"},  {VK_INSERT, "Insert"},  {VK_DELETE, "Delete"},
};

struct ModifierName {
    TShortCut bit;
    const char* prefix;
};

constexpr ModifierName ModifierNames[] = {
    {scShift, "Shift+"}, {scCtrl, "Ctrl+"}, {scCtrl, "Control+"}, {scAlt, "Alt+"},
};

bool StartsWithText(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && SameText(std::string(text.substr(0, prefix.size())), std::string(prefix));
}

std::string KeyToText(WORD key)
{
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        return std::string(1, static_cast<char>(key));
    if (key >= VK_F1 && key <= VK_F24)
        return std::string("F").append(IntToStr(key - VK_F1 + 1));
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)
        return std::string("Num ").append(1, static_cast<char>('0' + (key - VK_NUMPAD0)));
    for (const KeyName& entry : KeyNames) {
        if (entry.key == key)
            return entry.name;
    }
    return "";
}

WORD TextToKey(std::string_view text)
{
    if (text.empty())
        return 0;
    const std::string name(text);
    if (name.size() == 1) {
        const char c = name[0];
        if (c >= 'a' && c <= 'z')
            return static_cast<WORD>(c - 'a' + 'A');
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
            return static_cast<WORD>(c);
        return 0;
    }
    if ((name[0] == 'F' || name[0] == 'f') && name.size() <= 3) {
        int number = 0;
        if (TryStrToInt(name.substr(1), number) && number >= 1 && number <= 24 && name[1] != '+' && name[1] != '-')
            return static_cast<WORD>(VK_F1 + number - 1);
    }
    if (StartsWithText(name, "Num ") && name.size() == 5 && name[4] >= '0' && name[4] <= '9')
        return static_cast<WORD>(VK_NUMPAD0 + (name[4] - '0'));
    for (const KeyName& entry : KeyNames) {
        if (SameText(name, entry.name))
            return entry.key;
    }
    for (const KeyName& entry : KeyAliases) {
        if (SameText(name, entry.name))
            return entry.key;
    }
    return 0;
}
}

TShortCut MakeShortCut(WORD key, TShiftState shift)
{
    if (key == 0 || key > KeyMask)
        return scNone;
    TShortCut shortCut = key;
    if (shift & ssShift)
        shortCut |= scShift;
    if (shift & ssCtrl)
        shortCut |= scCtrl;
    if (shift & ssAlt)
        shortCut |= scAlt;
    return shortCut;
}

WORD ShortCutKey(TShortCut shortCut) { return static_cast<WORD>(shortCut & KeyMask); }

TShiftState ShortCutShiftState(TShortCut shortCut)
{
    TShiftState shift = 0;
    if (shortCut & scShift)
        shift |= ssShift;
    if (shortCut & scCtrl)
        shift |= ssCtrl;
    if (shortCut & scAlt)
        shift |= ssAlt;
    return shift;
}

TShortCut TextToShortCut(std::string_view text)
{
    TShortCut modifiers = 0;
    // Modifiers come first; what is left must be one key name, which may itself
    // contain '+' ("Num +").
    for (bool found = true; found;) {
        found = false;
        for (const ModifierName& modifier : ModifierNames) {
            const std::string_view prefix(modifier.prefix);
            if (text.size() > prefix.size() && StartsWithText(text, prefix)) {
                modifiers |= modifier.bit;
                text.remove_prefix(prefix.size());
                found = true;
                break;
            }
        }
    }
    const WORD key = TextToKey(text);
    return key ? static_cast<TShortCut>(key | modifiers) : scNone;
}

std::string ShortCutToText(TShortCut shortCut)
{
    const std::string key = KeyToText(ShortCutKey(shortCut));
    if (key.empty())
        return "";
    std::string text;
    if (shortCut & scShift)
        text += "Shift+";
    if (shortCut & scCtrl)
        text += "Ctrl+";
    if (shortCut & scAlt)
        text += "Alt+";
    return text + key;
}
