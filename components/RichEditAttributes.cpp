#include "RichEditAttributes.h"

#include "Exceptions.h"
#include "RichEdit.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {
constexpr UINT CharFormatSizeV1 = sizeof(CHARFORMATA);
constexpr UINT ParaFormatSizeV1 = sizeof(PARAFORMAT);
static_assert(sizeof(CHARFORMAT2A) == 84 && CharFormatSizeV1 == 60, "character format record sizes");
static_assert(sizeof(PARAFORMAT2) == 188 && ParaFormatSizeV1 == 156, "paragraph format record sizes");

constexpr int TwipsPerPoint = 20;
constexpr int MaxTabs = MAX_TAB_STOPS;

// The table style bits of the paragraph effects. The mask is the table bit
// alone: the bit above it makes a start indent sent in the same exchange
// relative to the current one.
constexpr WORD TableEffects = 0xC000;
constexpr DWORD TableMask = PFM_TABLE;

WPARAM CharFormatTarget(TQAttributeType type)
{
    switch (type) {
    case TQAttributeType::atDefaultText:
        return SCF_DEFAULT;
    case TQAttributeType::atSelected:
        return SCF_SELECTION;
    case TQAttributeType::atWord:
        return SCF_SELECTION | SCF_WORD;
    }
    return SCF_DEFAULT;
}

bool Version2Or3() { return RichEditVersion >= 2; }

// Underline kinds by ordinal; the wave is the platform's 8.
constexpr std::array<BYTE, 6> UnderlineKinds{CFU_UNDERLINENONE, CFU_UNDERLINE,       CFU_UNDERLINEWORD,
                                             CFU_UNDERLINEDOUBLE, CFU_UNDERLINEDOTTED, CFU_UNDERLINEWAVE};
// Numbering styles by ordinal (parenthesis, period, enclosed, simple).
constexpr std::array<WORD, 4> NumberingStyles{0x000, 0x200, 0x100, 0x300};

TColor RGBAsColor(COLORREF rgb) { return static_cast<TColor>(rgb & 0xFFFFFF); }
}

CHARFORMAT2A PreparedCharFormat()
{
    CHARFORMAT2A format{};
    format.cbSize = Version2Or3() ? sizeof(CHARFORMAT2A) : CharFormatSizeV1;
    return format;
}

PARAFORMAT2 PreparedParaFormat()
{
    PARAFORMAT2 format{};
    format.cbSize = Version2Or3() ? sizeof(PARAFORMAT2) : ParaFormatSizeV1;
    return format;
}

// --- character attributes ---

void TQTextAttributes::GetAttributes(CHARFORMAT2A& format) const
{
    format = PreparedCharFormat();
    if (HWND window = owner_.FormatWindow())
        SendMessageA(window, EM_GETCHARFORMAT, CharFormatTarget(type_), reinterpret_cast<LPARAM>(&format));
}

void TQTextAttributes::SetAttributes(CHARFORMAT2A& format) const
{
    if (HWND window = owner_.FormatWindow())
        SendMessageA(window, EM_SETCHARFORMAT, CharFormatTarget(type_), reinterpret_cast<LPARAM>(&format));
}

CHARFORMAT2A TQTextAttributes::Fetched() const
{
    CHARFORMAT2A format{};
    GetAttributes(format);
    return format;
}

void TQTextAttributes::SetEffect(DWORD mask, DWORD effect, bool on, bool version2Only)
{
    if (version2Only && !Version2Or3())
        return;
    CHARFORMAT2A format = PreparedCharFormat();
    format.dwMask = mask;
    if (on)
        format.dwEffects = effect;
    Send(format);
}

BYTE TQTextAttributes::Charset() const { return Fetched().bCharSet; }

void TQTextAttributes::SetCharset(BYTE charset)
{
    CHARFORMAT2A format = PreparedCharFormat();
    format.dwMask = CFM_CHARSET;
    format.bCharSet = charset;
    Send(format);
}

bool TQTextAttributes::Protected() const { return (Fetched().dwEffects & CFE_PROTECTED) != 0; }
void TQTextAttributes::SetProtected(bool value) { SetEffect(CFM_PROTECTED, CFE_PROTECTED, value, false); }

bool TQTextAttributes::Link() const { return Version2Or3() && (Fetched().dwEffects & CFE_LINK) != 0; }
void TQTextAttributes::SetLink(bool value) { SetEffect(CFM_LINK, CFE_LINK, value, true); }

bool TQTextAttributes::Hidden() const { return Version2Or3() && (Fetched().dwEffects & CFE_HIDDEN) != 0; }
void TQTextAttributes::SetHidden(bool value) { SetEffect(CFM_HIDDEN, CFE_HIDDEN, value, true); }

bool TQTextAttributes::Disabled() const { return Version2Or3() && (Fetched().dwEffects & CFE_DISABLED) != 0; }
void TQTextAttributes::SetDisabled(bool value) { SetEffect(CFM_DISABLED, CFE_DISABLED, value, true); }

int TQTextAttributes::RevAuthorIndex() const { return Fetched().bRevAuthor; }

void TQTextAttributes::SetRevAuthorIndex(int index)
{
    if (!Version2Or3())
        return;
    CHARFORMAT2A format = PreparedCharFormat();
    format.dwMask = CFM_REVAUTHOR;
    format.bRevAuthor = static_cast<BYTE>(index);
    Send(format);
}

TColor TQTextAttributes::Color() const
{
    const CHARFORMAT2A format = Fetched();
    return (format.dwEffects & CFE_AUTOCOLOR) ? clWindowText : RGBAsColor(format.crTextColor);
}

void TQTextAttributes::SetColor(TColor color)
{
    CHARFORMAT2A format = PreparedCharFormat();
    format.dwMask = CFM_COLOR;
    if (color == clWindowText || color == clDefault)
        format.dwEffects = CFE_AUTOCOLOR;
    else
        format.crTextColor = ColorToRGB(color);
    Send(format);
}

TColor TQTextAttributes::BackColor() const
{
    if (!Version2Or3())
        return clWindow;
    const CHARFORMAT2A format = Fetched();
    return (format.dwEffects & CFE_AUTOBACKCOLOR) ? clWindow : RGBAsColor(format.crBackColor);
}

void TQTextAttributes::SetBackColor(TColor color)
{
    if (!Version2Or3())
        return;
    CHARFORMAT2A format = PreparedCharFormat();
    format.dwMask = CFM_BACKCOLOR;
    if (color == clWindow || color == clDefault)
        format.dwEffects = CFE_AUTOBACKCOLOR;
    else
        format.crBackColor = ColorToRGB(color);
    Send(format);
}

std::string TQTextAttributes::Name() const
{
    const CHARFORMAT2A format = Fetched();
    return std::string(format.szFaceName, strnlen(format.szFaceName, LF_FACESIZE));
}

void TQTextAttributes::SetName(const std::string& name)
{
    CHARFORMAT2A format = PreparedCharFormat();
    format.dwMask = CFM_FACE;
    lstrcpynA(format.szFaceName, name.c_str(), LF_FACESIZE);
    Send(format);
}

TFontStyles TQTextAttributes::Style() const
{
    const DWORD effects = Fetched().dwEffects;
    TFontStyles style = 0;
    if (effects & CFE_BOLD)
        style |= fsBold;
    if (effects & CFE_ITALIC)
        style |= fsItalic;
    if (effects & CFE_UNDERLINE)
        style |= fsUnderline;
    if (effects & CFE_STRIKEOUT)
        style |= fsStrikeOut;
    return style;
}

namespace {
DWORD EffectsOfStyle(TFontStyles style)
{
    DWORD effects = 0;
    if (style & fsBold)
        effects |= CFE_BOLD;
    if (style & fsItalic)
        effects |= CFE_ITALIC;
    if (style & fsUnderline)
        effects |= CFE_UNDERLINE;
    if (style & fsStrikeOut)
        effects |= CFE_STRIKEOUT;
    return effects;
}

BYTE PitchBits(TFontPitch pitch)
{
    switch (pitch) {
    case TFontPitch::fpVariable:
        return VARIABLE_PITCH;
    case TFontPitch::fpFixed:
        return FIXED_PITCH;
    default:
        return DEFAULT_PITCH;
    }
}
}

void TQTextAttributes::SetStyle(TFontStyles style)
{
    CHARFORMAT2A format = PreparedCharFormat();
    format.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    format.dwEffects = EffectsOfStyle(style);
    Send(format);
}

TUnderlineType TQTextAttributes::UnderlineType() const
{
    if (!Version2Or3())
        return TUnderlineType::utNone;
    const CHARFORMAT2A format = Fetched();
    if (!(format.dwEffects & CFE_UNDERLINE) || !(format.dwMask & CFM_UNDERLINETYPE))
        return TUnderlineType::utNone;
    const auto kind = std::find(UnderlineKinds.begin(), UnderlineKinds.end(), format.bUnderlineType);
    // Kinds of the platform without a name here are still underlines.
    if (kind == UnderlineKinds.end())
        return TUnderlineType::utSolid;
    return static_cast<TUnderlineType>(kind - UnderlineKinds.begin());
}

void TQTextAttributes::SetUnderlineType(TUnderlineType type)
{
    if (!Version2Or3())
        return;
    CHARFORMAT2A format = PreparedCharFormat();
    format.dwMask = CFM_UNDERLINETYPE | CFM_UNDERLINE;
    if (type != TUnderlineType::utNone)
        format.dwEffects = CFE_UNDERLINE;
    format.bUnderlineType = UnderlineKinds[static_cast<std::size_t>(type)];
    Send(format);
}

int TQTextAttributes::Offset() const { return Fetched().yOffset / TwipsPerPoint; }

void TQTextAttributes::SetOffset(int points)
{
    CHARFORMAT2A format = PreparedCharFormat();
    format.dwMask = CFM_OFFSET;
    format.yOffset = points * TwipsPerPoint;
    Send(format);
}

int TQTextAttributes::Size() const { return Fetched().yHeight / TwipsPerPoint; }

void TQTextAttributes::SetSize(int points)
{
    CHARFORMAT2A format = PreparedCharFormat();
    format.dwMask = CFM_SIZE;
    format.yHeight = points * TwipsPerPoint;
    Send(format);
}

int TQTextAttributes::Height() const { return MulDiv(Size(), owner_.ScreenPixelsPerInch(), 72); }

void TQTextAttributes::SetHeight(int pixels) { SetSize(MulDiv(pixels, 72, owner_.ScreenPixelsPerInch())); }

TFontPitch TQTextAttributes::Pitch() const
{
    switch (Fetched().bPitchAndFamily & 3) {
    case FIXED_PITCH:
        return TFontPitch::fpFixed;
    case VARIABLE_PITCH:
        return TFontPitch::fpVariable;
    default:
        return TFontPitch::fpDefault;
    }
}

void TQTextAttributes::SetPitch(TFontPitch pitch)
{
    // The control takes a pitch only together with a face: the current one,
    // with its family kept.
    CHARFORMAT2A current = Fetched();
    CHARFORMAT2A format = PreparedCharFormat();
    format.dwMask = CFM_FACE;
    std::memcpy(format.szFaceName, current.szFaceName, sizeof format.szFaceName);
    format.bPitchAndFamily = static_cast<BYTE>((current.bPitchAndFamily & ~3) | PitchBits(pitch));
    Send(format);
}

TSubscriptStyle TQTextAttributes::SubscriptStyle() const
{
    if (!Version2Or3())
        return TSubscriptStyle::ssNone;
    const DWORD effects = Fetched().dwEffects;
    if (effects & CFE_SUBSCRIPT)
        return TSubscriptStyle::ssSubscript;
    if (effects & CFE_SUPERSCRIPT)
        return TSubscriptStyle::ssSuperscript;
    return TSubscriptStyle::ssNone;
}

void TQTextAttributes::SetSubscriptStyle(TSubscriptStyle style)
{
    if (!Version2Or3())
        return;
    CHARFORMAT2A format = PreparedCharFormat();
    format.dwMask = CFM_SUBSCRIPT | CFM_SUPERSCRIPT;
    if (style == TSubscriptStyle::ssSubscript)
        format.dwEffects = CFE_SUBSCRIPT;
    else if (style == TSubscriptStyle::ssSuperscript)
        format.dwEffects = CFE_SUPERSCRIPT;
    Send(format);
}

TQConsistentAttributes TQTextAttributes::ConsistentAttributes() const
{
    if (!owner_.FormatWindow() || type_ == TQAttributeType::atDefaultText)
        return 0;
    struct Member {
        DWORD mask;
        TQConsistentAttribute member;
        bool version2Only;
    };
    static constexpr Member members[] = {
        {CFM_BOLD, caBold, false},         {CFM_COLOR, caColor, false},
        {CFM_FACE, caFace, false},         {CFM_ITALIC, caItalic, false},
        {CFM_SIZE, caSize, false},         {CFM_STRIKEOUT, caStrikeOut, false},
        {CFM_UNDERLINE, caUnderline, false}, {CFM_PROTECTED, caProtected, false},
        {CFM_OFFSET, caOffset, false},     {CFM_HIDDEN, caHidden, false},
        {CFM_LINK, caLink, true},          {CFM_BACKCOLOR, caBackColor, true},
        {CFM_DISABLED, caDisabled, true},  {CFM_WEIGHT, caWeight, true},
        {CFM_SUBSCRIPT | CFM_SUPERSCRIPT, caSubscript, true}, {CFM_REVAUTHOR, caRevAuthor, true},
    };
    const DWORD mask = Fetched().dwMask;
    TQConsistentAttributes result = 0;
    for (const Member& m : members)
        if ((mask & m.mask) && (!m.version2Only || Version2Or3()))
            result |= ConsistentSetOf(m.member);
    return result;
}

void TQTextAttributes::AssignFont(const TFontDescription& font)
{
    CHARFORMAT2A format = PreparedCharFormat();
    format.bPitchAndFamily = PitchBits(font.Pitch);
    format.dwMask = CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_FACE | CFM_COLOR;
    format.yHeight = font.Size * TwipsPerPoint;
    format.dwEffects = EffectsOfStyle(font.Style);
    lstrcpynA(format.szFaceName, font.Name.c_str(), LF_FACESIZE);
    if (font.Color == clWindowText || font.Color == clDefault)
        format.dwEffects |= CFE_AUTOCOLOR;
    else
        format.crTextColor = ColorToRGB(font.Color);
    format.dwMask |= CFM_CHARSET;
    format.bCharSet = font.Charset;
    // The weight lies beyond the first record's end.
    if (Version2Or3())
        if (const int weight = FontWeightOf(font.Handle)) {
            format.dwMask |= CFM_WEIGHT;
            format.wWeight = static_cast<WORD>(weight);
        }
    Send(format);
}

void TQTextAttributes::Assign(const TQTextAttributes& source)
{
    if (&source == this)
        return;
    CHARFORMAT2A format{};
    source.GetAttributes(format);
    Send(format);
}

void TQTextAttributes::AssignTo(TFontDescription& font) const
{
    font.Color = Color();
    font.Name = Name();
    font.Charset = Charset();
    font.Style = Style();
    font.Size = Size();
    font.Pitch = Pitch();
    // The description no longer matches any font object.
    font.Handle = nullptr;
}

// --- paragraph attributes ---

void MergeParaFormat(PARAFORMAT2& into, const PARAFORMAT2& from)
{
    const DWORD mask = from.dwMask;
    if (mask & PFM_STARTINDENT)
        into.dxStartIndent = from.dxStartIndent;
    if (mask & PFM_RIGHTINDENT)
        into.dxRightIndent = from.dxRightIndent;
    if (mask & PFM_OFFSET)
        into.dxOffset = from.dxOffset;
    if (mask & PFM_ALIGNMENT)
        into.wAlignment = from.wAlignment;
    if (mask & PFM_TABSTOPS) {
        into.cTabCount = from.cTabCount;
        std::copy(std::begin(from.rgxTabs), std::end(from.rgxTabs), std::begin(into.rgxTabs));
    }
    if (mask & PFM_NUMBERING)
        into.wNumbering = from.wNumbering;
    if (mask & PFM_NUMBERINGSTYLE)
        into.wNumberingStyle = from.wNumberingStyle;
    if (mask & PFM_NUMBERINGTAB)
        into.wNumberingTab = from.wNumberingTab;
    if (mask & PFM_STYLE)
        into.sStyle = from.sStyle;
    if (mask & PFM_SPACEBEFORE)
        into.dySpaceBefore = from.dySpaceBefore;
    if (mask & PFM_SPACEAFTER)
        into.dySpaceAfter = from.dySpaceAfter;
    if (mask & PFM_LINESPACING) {
        into.dyLineSpacing = from.dyLineSpacing;
        into.bLineSpacingRule = from.bLineSpacingRule;
    }
    if (mask & TableMask)
        into.wEffects = static_cast<WORD>((into.wEffects & ~TableEffects) | (from.wEffects & TableEffects));
    into.dwMask |= mask;
}

void TQParaAttributes::GetAttributes(PARAFORMAT2& format) const
{
    format = PreparedParaFormat();
    if (HWND window = owner_.FormatWindow())
        SendMessageA(window, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
}

void TQParaAttributes::SetAttributes(PARAFORMAT2& format) const
{
    owner_.FormatWindowNeeded();
    HWND window = owner_.FormatWindow();
    if (!window)
        return;
    if (owner_.UseRightToLeftAlignment() && (format.dwMask & PFM_ALIGNMENT)) {
        if (format.wAlignment == PFA_LEFT)
            format.wAlignment = PFA_RIGHT;
        else if (format.wAlignment == PFA_RIGHT)
            format.wAlignment = PFA_LEFT;
    }
    SendMessageA(window, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
}

void TQParaAttributes::BeginUpdate()
{
    if (updateCount_++ == 0)
        pending_ = PreparedParaFormat();
}

void TQParaAttributes::EndUpdate()
{
    if (updateCount_ == 0 || --updateCount_ > 0)
        return;
    if (pending_.dwMask)
        SetAttributes(pending_);
    pending_ = {};
}

PARAFORMAT2 TQParaAttributes::Current() const
{
    PARAFORMAT2 format{};
    GetAttributes(format);
    if (updateCount_ > 0) {
        const DWORD answered = format.dwMask;
        MergeParaFormat(format, pending_);
        format.dwMask = answered | pending_.dwMask;
    }
    return format;
}

void TQParaAttributes::Apply(PARAFORMAT2& format)
{
    if (updateCount_ > 0)
        MergeParaFormat(pending_, format);
    else
        SetAttributes(format);
}

TParaAlignment TQParaAttributes::Alignment() const
{
    WORD alignment = Current().wAlignment;
    // A record that names no alignment (the zero record, or a kind the
    // control added later) reads as left.
    if (alignment < PFA_LEFT || alignment > PFA_JUSTIFY)
        alignment = PFA_LEFT;
    // Writing swapped left and right for right-to-left text; reading swaps them back.
    if (owner_.UseRightToLeftAlignment() && owner_.FormatWindow()) {
        if (alignment == PFA_LEFT)
            alignment = PFA_RIGHT;
        else if (alignment == PFA_RIGHT)
            alignment = PFA_LEFT;
    }
    return static_cast<TParaAlignment>(alignment - 1);
}

void TQParaAttributes::SetAlignment(TParaAlignment alignment)
{
    PARAFORMAT2 format = PreparedParaFormat();
    format.dwMask = PFM_ALIGNMENT;
    format.wAlignment = static_cast<WORD>(static_cast<int>(alignment) + 1);
    Apply(format);
}

TQNumbering TQParaAttributes::Numbering() const
{
    const WORD numbering = Current().wNumbering;
    if (numbering == 0)
        return TQNumbering::nsNone;
    if (!Version2Or3() || numbering > static_cast<WORD>(TQNumbering::nsUpCaseRoman))
        return TQNumbering::nsBullet;
    return static_cast<TQNumbering>(numbering);
}

void TQParaAttributes::SetNumbering(TQNumbering numbering)
{
    if (!Version2Or3() && numbering != TQNumbering::nsNone)
        numbering = TQNumbering::nsBullet;
    if (numbering == TQNumbering::nsNone)
        SetLeftIndent(0);
    else if (LeftIndent() < 10)
        SetLeftIndent(10);
    PARAFORMAT2 format = PreparedParaFormat();
    format.dwMask = PFM_NUMBERING;
    format.wNumbering = static_cast<WORD>(numbering);
    Apply(format);
}

TQNumberingStyle TQParaAttributes::NumberingStyle() const
{
    if (!Version2Or3())
        return TQNumberingStyle::nsSimple;
    const WORD style = static_cast<WORD>(Current().wNumberingStyle & 0xFF00);
    const auto found = std::find(NumberingStyles.begin(), NumberingStyles.end(), style);
    if (found == NumberingStyles.end())
        return TQNumberingStyle::nsParenthesis;
    return static_cast<TQNumberingStyle>(found - NumberingStyles.begin());
}

void TQParaAttributes::SetNumberingStyle(TQNumberingStyle style)
{
    if (!Version2Or3())
        return;
    PARAFORMAT2 format = PreparedParaFormat();
    format.dwMask = PFM_NUMBERINGSTYLE;
    format.wNumberingStyle = NumberingStyles[static_cast<std::size_t>(style)];
    Apply(format);
}

int TQParaAttributes::NumberingTab() const { return Current().wNumberingTab / TwipsPerPoint; }

void TQParaAttributes::SetNumberingTab(int points)
{
    if (!Version2Or3())
        return;
    PARAFORMAT2 format = PreparedParaFormat();
    format.dwMask = PFM_NUMBERINGTAB;
    format.wNumberingTab = static_cast<WORD>(points * TwipsPerPoint);
    Apply(format);
}

int TQParaAttributes::FirstIndent() const { return Current().dxStartIndent / TwipsPerPoint; }

void TQParaAttributes::SetFirstIndent(int points)
{
    PARAFORMAT2 format = PreparedParaFormat();
    format.dwMask = PFM_STARTINDENT;
    format.dxStartIndent = points * TwipsPerPoint;
    Apply(format);
}

int TQParaAttributes::LeftIndent() const { return Current().dxOffset / TwipsPerPoint; }

void TQParaAttributes::SetLeftIndent(int points)
{
    PARAFORMAT2 format = PreparedParaFormat();
    format.dwMask = PFM_OFFSET;
    format.dxOffset = points * TwipsPerPoint;
    Apply(format);
}

int TQParaAttributes::RightIndent() const { return Current().dxRightIndent / TwipsPerPoint; }

void TQParaAttributes::SetRightIndent(int points)
{
    PARAFORMAT2 format = PreparedParaFormat();
    format.dwMask = PFM_RIGHTINDENT;
    format.dxRightIndent = points * TwipsPerPoint;
    Apply(format);
}

THeadingStyle TQParaAttributes::HeadingStyle() const { return RichEditVersion >= 3 ? Current().sStyle : 0; }

void TQParaAttributes::SetHeadingStyle(THeadingStyle style)
{
    if (RichEditVersion < 3)
        return;
    PARAFORMAT2 format = PreparedParaFormat();
    format.dwMask = PFM_STYLE;
    format.sStyle = static_cast<SHORT>(style);
    Apply(format);
}

int TQParaAttributes::SpaceBefore() const { return Current().dySpaceBefore / TwipsPerPoint; }

void TQParaAttributes::SetSpaceBefore(int points)
{
    if (!Version2Or3())
        return;
    PARAFORMAT2 format = PreparedParaFormat();
    format.dwMask = PFM_SPACEBEFORE;
    format.dySpaceBefore = points * TwipsPerPoint;
    Apply(format);
}

int TQParaAttributes::SpaceAfter() const { return Current().dySpaceAfter / TwipsPerPoint; }

void TQParaAttributes::SetSpaceAfter(int points)
{
    if (!Version2Or3())
        return;
    PARAFORMAT2 format = PreparedParaFormat();
    format.dwMask = PFM_SPACEAFTER;
    format.dySpaceAfter = points * TwipsPerPoint;
    Apply(format);
}

int TQParaAttributes::LineSpacing() const { return Current().dyLineSpacing / TwipsPerPoint; }

void TQParaAttributes::SetLineSpacing(int points)
{
    if (!Version2Or3())
        return;
    PARAFORMAT2 format = Current();
    format.dwMask = PFM_LINESPACING;
    format.dyLineSpacing = points * TwipsPerPoint;
    Apply(format);
}

TLineSpacingRule TQParaAttributes::LineSpacingRule() const
{
    return static_cast<TLineSpacingRule>(Current().bLineSpacingRule);
}

void TQParaAttributes::SetLineSpacingRule(TLineSpacingRule rule)
{
    if (!Version2Or3())
        return;
    PARAFORMAT2 format = Current();
    format.dwMask = PFM_LINESPACING;
    format.bLineSpacingRule = static_cast<BYTE>(rule);
    Apply(format);
}

int TQParaAttributes::Tab(int index) const
{
    if (index < 0 || index >= MaxTabs)
        return 0;
    return Current().rgxTabs[index] / TwipsPerPoint;
}

void TQParaAttributes::SetTab(int index, int points)
{
    if (index < 0 || index >= MaxTabs)
        throw EInvalidArgument("Tab index out of range (" + std::to_string(index) + ")");
    PARAFORMAT2 format = Current();
    format.dwMask = PFM_TABSTOPS;
    format.cTabCount = static_cast<SHORT>(std::clamp<int>(format.cTabCount, 0, MaxTabs));
    format.rgxTabs[index] = points * TwipsPerPoint;
    // The stop just written lies within the count.
    if (format.cTabCount <= index)
        format.cTabCount = static_cast<SHORT>(index + 1);
    Apply(format);
}

int TQParaAttributes::TabCount() const { return std::clamp<int>(Current().cTabCount, 0, MaxTabs); }

void TQParaAttributes::SetTabCount(int count)
{
    PARAFORMAT2 format = Current();
    format.dwMask = PFM_TABSTOPS;
    format.cTabCount = static_cast<SHORT>(std::clamp(count, 0, MaxTabs));
    Apply(format);
}

TParaTableStyle TQParaAttributes::TableStyle() const
{
    if (!Version2Or3())
        return TParaTableStyle::tsNone;
    switch (Current().wEffects & TableEffects) {
    case 0xC000:
        return TParaTableStyle::tsTableRow;
    case 0x8000:
        return TParaTableStyle::tsTableCellEnd;
    case 0x4000:
        return TParaTableStyle::tsTableCell;
    default:
        return TParaTableStyle::tsNone;
    }
}

void TQParaAttributes::SetTableStyle(TParaTableStyle style)
{
    if (!Version2Or3())
        return;
    static constexpr WORD effects[] = {0, 0xC000, 0x8000, 0x4000};
    PARAFORMAT2 format = PreparedParaFormat();
    format.dwMask = TableMask;
    format.wEffects = effects[static_cast<std::size_t>(style)];
    Apply(format);
}

void TQParaAttributes::Assign(const TQParaAttributes& source)
{
    if (&source == this)
        return;
    PARAFORMAT2 format = source.Current();
    Apply(format);
}
