#pragma once
// Typed access to the character and paragraph formats of a rich edit window.
// Every property is one exchange with the control (nothing is cached), in
// points at the interface and twips in the records. Without a window nothing
// is sent and every getter reads the zero record.

#include "FontDescription.h"

#include <windows.h>
#include <richedit.h>

#include <cstdint>
#include <functional>
#include <string>

enum class TQAttributeType { atDefaultText, atSelected, atWord };
enum class TUnderlineType { utNone, utSolid, utWord, utDouble, utDotted, utWave };
enum class TSubscriptStyle { ssNone, ssSubscript, ssSuperscript };

enum TQConsistentAttribute {
    caBold, caColor, caFace, caItalic, caSize, caStrikeOut, caUnderline, caProtected,
    caOffset, caHidden, caLink, caBackColor, caDisabled, caWeight, caSubscript, caRevAuthor
};
// One bit per member, bit n for the member of ordinal n.
using TQConsistentAttributes = std::uint32_t;
constexpr TQConsistentAttributes ConsistentSetOf(TQConsistentAttribute member) { return 1u << member; }

enum class TParaAlignment { paLeftJustify, paRightJustify, paCenter, paJustify };
enum class TQNumbering {
    nsNone, nsBullet, nsArabicNumbers, nsLoCaseLetter, nsUpCaseLetter, nsLoCaseRoman, nsUpCaseRoman
};
enum class TQNumberingStyle { nsParenthesis, nsPeriod, nsEnclosed, nsSimple };
enum class TLineSpacingRule { lsSingle, lsOneAndHalf, lsDouble, lsSpecifiedOrMore, lsSpecified, lsMultiple };
enum class TParaTableStyle { tsNone, tsTableRow, tsTableCellEnd, tsTableCell };
using THeadingStyle = int;

// What the attribute objects need of the control they belong to.
class TRichEditFormatHost {
public:
    // Null while the control has no window.
    virtual HWND FormatWindow() const = 0;
    // Makes the window when there is none (paragraph writes need one).
    virtual void FormatWindowNeeded() {}
    // Left and right swap in the paragraph alignment.
    virtual bool UseRightToLeftAlignment() const { return false; }
    virtual int ScreenPixelsPerInch() const = 0;

protected:
    ~TRichEditFormatHost() = default;
};

// The character format record for the loaded library: the longer record of
// versions 2 and 3, or the first 60 bytes of it for version 1.
CHARFORMAT2A PreparedCharFormat();
PARAFORMAT2 PreparedParaFormat();

class TQTextAttributes {
public:
    TQTextAttributes(TRichEditFormatHost& owner, TQAttributeType type) : owner_(owner), type_(type) {}

    TQAttributeType Type() const { return type_; }
    void GetAttributes(CHARFORMAT2A& format) const;
    void SetAttributes(CHARFORMAT2A& format) const;

    BYTE Charset() const;
    void SetCharset(BYTE charset);
    bool Protected() const;
    void SetProtected(bool value);
    bool Link() const;
    void SetLink(bool value);
    int RevAuthorIndex() const;
    void SetRevAuthorIndex(int index);
    bool Hidden() const;
    void SetHidden(bool value);
    bool Disabled() const;
    void SetDisabled(bool value);
    TColor Color() const;
    void SetColor(TColor color);
    TColor BackColor() const;
    void SetBackColor(TColor color);
    std::string Name() const;
    void SetName(const std::string& name);
    TFontStyles Style() const;
    void SetStyle(TFontStyles style);
    TUnderlineType UnderlineType() const;
    void SetUnderlineType(TUnderlineType type);
    int Offset() const;
    void SetOffset(int points);
    int Size() const;
    void SetSize(int points);
    int Height() const;
    void SetHeight(int pixels);
    TFontPitch Pitch() const;
    void SetPitch(TFontPitch pitch);
    TSubscriptStyle SubscriptStyle() const;
    void SetSubscriptStyle(TSubscriptStyle style);
    TQConsistentAttributes ConsistentAttributes() const;

    void AssignFont(const TFontDescription& font);
    void Assign(const TFontDescription& font) { AssignFont(font); }
    void Assign(const TQTextAttributes& source);
    void AssignTo(TFontDescription& font) const;

private:
    CHARFORMAT2A Fetched() const;
    void Send(CHARFORMAT2A& format) const { SetAttributes(format); }
    void SetEffect(DWORD mask, DWORD effect, bool on, bool version2Only);

    TRichEditFormatHost& owner_;
    TQAttributeType type_;
};

class TQParaAttributes {
public:
    explicit TQParaAttributes(TRichEditFormatHost& owner) : owner_(owner) {}

    void GetAttributes(PARAFORMAT2& format) const;
    void SetAttributes(PARAFORMAT2& format) const;

    // Between BeginUpdate and the matching EndUpdate the writes gather into
    // one record that EndUpdate sends at once: setting several properties of
    // a long text costs one pass over its paragraphs instead of one each.
    // Reads in between see the gathered values.
    void BeginUpdate();
    void EndUpdate();

    TParaAlignment Alignment() const;
    void SetAlignment(TParaAlignment alignment);
    TQNumbering Numbering() const;
    void SetNumbering(TQNumbering numbering);
    TQNumberingStyle NumberingStyle() const;
    void SetNumberingStyle(TQNumberingStyle style);
    int NumberingTab() const;
    void SetNumberingTab(int points);
    int FirstIndent() const;
    void SetFirstIndent(int points);
    int LeftIndent() const;
    void SetLeftIndent(int points);
    int RightIndent() const;
    void SetRightIndent(int points);
    THeadingStyle HeadingStyle() const;
    void SetHeadingStyle(THeadingStyle style);
    int SpaceBefore() const;
    void SetSpaceBefore(int points);
    int SpaceAfter() const;
    void SetSpaceAfter(int points);
    int LineSpacing() const;
    void SetLineSpacing(int points);
    TLineSpacingRule LineSpacingRule() const;
    void SetLineSpacingRule(TLineSpacingRule rule);
    // The record holds 32 stops: an index outside 0..31 reads 0 and a write
    // to one raises EInvalidArgument.
    int Tab(int index) const;
    void SetTab(int index, int points);
    // Kept within 0..32, whatever the control holds or is given.
    int TabCount() const;
    void SetTabCount(int count);
    TParaTableStyle TableStyle() const;
    void SetTableStyle(TParaTableStyle style);

    void Assign(const TQParaAttributes& source);

private:
    // The control's format with the gathered writes laid over it.
    PARAFORMAT2 Current() const;
    // Sends the record's masked fields, or gathers them while updating.
    void Apply(PARAFORMAT2& format);

    TRichEditFormatHost& owner_;
    int updateCount_ = 0;
    PARAFORMAT2 pending_{};
};

// Copies the fields that from's mask names into into, and adds the mask.
void MergeParaFormat(PARAFORMAT2& into, const PARAFORMAT2& from);

// Runs a paragraph update for a scope.
class TParaUpdate {
public:
    explicit TParaUpdate(TQParaAttributes& attributes) : attributes_(attributes) { attributes_.BeginUpdate(); }
    ~TParaUpdate() { attributes_.EndUpdate(); }
    TParaUpdate(const TParaUpdate&) = delete;
    TParaUpdate& operator=(const TParaUpdate&) = delete;

private:
    TQParaAttributes& attributes_;
};
