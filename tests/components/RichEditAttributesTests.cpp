// Character and paragraph attributes: what each property sends (against a
// window that records the records it is given), what it reads back from a
// real rich edit under Wine, and the paragraph update that gathers writes.
#include "Exceptions.h"
#include "Form.h"
#include "RichEdit.h"
#include "RichEditAttributes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {
// A window that keeps every format record sent to it and answers every
// request with the record the test gives.
struct FormatRecorder {
    std::vector<CHARFORMAT2A> charSets;
    std::vector<WPARAM> charTargets;
    std::vector<PARAFORMAT2> paraSets;
    CHARFORMAT2A charAnswer{};
    PARAFORMAT2 paraAnswer{};
    HWND window = nullptr;

    FormatRecorder()
    {
        static const char* const className = [] {
            WNDCLASSA windowClass{};
            windowClass.lpfnWndProc = Proc;
            windowClass.hInstance = GetModuleHandleA(nullptr);
            windowClass.lpszClassName = "QuilloFormatRecorder";
            RegisterClassA(&windowClass);
            return "QuilloFormatRecorder";
        }();
        window = CreateWindowExA(0, className, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~FormatRecorder() { DestroyWindow(window); }
    FormatRecorder(const FormatRecorder&) = delete;
    FormatRecorder& operator=(const FormatRecorder&) = delete;

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<FormatRecorder*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (!self)
            return DefWindowProcA(window, message, wParam, lParam);
        switch (message) {
        case EM_SETCHARFORMAT: {
            CHARFORMAT2A record{};
            std::memcpy(&record, reinterpret_cast<const void*>(lParam),
                        reinterpret_cast<const CHARFORMAT2A*>(lParam)->cbSize);
            self->charSets.push_back(record);
            self->charTargets.push_back(wParam);
            return 1;
        }
        case EM_GETCHARFORMAT: {
            auto* record = reinterpret_cast<CHARFORMAT2A*>(lParam);
            const UINT size = record->cbSize;
            std::memcpy(record, &self->charAnswer, size);
            record->cbSize = size;
            return 1;
        }
        case EM_SETPARAFORMAT: {
            PARAFORMAT2 record{};
            std::memcpy(&record, reinterpret_cast<const void*>(lParam),
                        reinterpret_cast<const PARAFORMAT2*>(lParam)->cbSize);
            self->paraSets.push_back(record);
            return 1;
        }
        case EM_GETPARAFORMAT: {
            auto* record = reinterpret_cast<PARAFORMAT2*>(lParam);
            const UINT size = record->cbSize;
            std::memcpy(record, &self->paraAnswer, size);
            record->cbSize = size;
            return 1;
        }
        default:
            return DefWindowProcA(window, message, wParam, lParam);
        }
    }
};

class FakeHost : public TRichEditFormatHost {
public:
    HWND window = nullptr;
    bool rightToLeft = false;
    HWND FormatWindow() const override { return window; }
    bool UseRightToLeftAlignment() const override { return rightToLeft; }
    int ScreenPixelsPerInch() const override { return 96; }
};

class VersionScope {
public:
    explicit VersionScope(int version) : saved_(RichEditVersion) { RichEditVersion = version; }
    ~VersionScope() { RichEditVersion = saved_; }

private:
    int saved_;
};

class RecordedAttributes : public ::testing::Test {
protected:
    void SetUp() override { host.window = recorder.window; }
    FormatRecorder recorder;
    FakeHost host;
    TQTextAttributes sel{host, TQAttributeType::atSelected};
    TQParaAttributes para{host};
};

struct CharCase {
    const char* name;
    std::function<void(TQTextAttributes&)> write;
    DWORD mask;
    DWORD effects;
    std::function<bool(const CHARFORMAT2A&)> fields;
    bool version2Only;
};

const CharCase charCases[] = {
    {"Charset", [](auto& a) { a.SetCharset(SYMBOL_CHARSET); }, CFM_CHARSET, 0,
     [](const auto& f) { return f.bCharSet == SYMBOL_CHARSET; }, false},
    {"Protected", [](auto& a) { a.SetProtected(true); }, CFM_PROTECTED, CFE_PROTECTED, nullptr, false},
    {"Protected off", [](auto& a) { a.SetProtected(false); }, CFM_PROTECTED, 0, nullptr, false},
    {"Link", [](auto& a) { a.SetLink(true); }, CFM_LINK, CFE_LINK, nullptr, true},
    {"RevAuthorIndex", [](auto& a) { a.SetRevAuthorIndex(5); }, CFM_REVAUTHOR, 0,
     [](const auto& f) { return f.bRevAuthor == 5; }, true},
    {"Hidden", [](auto& a) { a.SetHidden(true); }, CFM_HIDDEN, CFE_HIDDEN, nullptr, true},
    {"Disabled", [](auto& a) { a.SetDisabled(true); }, CFM_DISABLED, CFE_DISABLED, nullptr, true},
    {"Color automatic", [](auto& a) { a.SetColor(clWindowText); }, CFM_COLOR, CFE_AUTOCOLOR, nullptr, false},
    {"Color", [](auto& a) { a.SetColor(0x123456); }, CFM_COLOR, 0,
     [](const auto& f) { return f.crTextColor == 0x123456; }, false},
    {"BackColor automatic", [](auto& a) { a.SetBackColor(clDefault); }, CFM_BACKCOLOR, CFE_AUTOBACKCOLOR,
     nullptr, true},
    {"BackColor", [](auto& a) { a.SetBackColor(0x00FF00); }, CFM_BACKCOLOR, 0,
     [](const auto& f) { return f.crBackColor == 0x00FF00; }, true},
    {"Name cut to the field", [](auto& a) { a.SetName(std::string(40, 'x')); }, CFM_FACE, 0,
     [](const auto& f) { return std::string(f.szFaceName) == std::string(31, 'x'); }, false},
    {"Style", [](auto& a) { a.SetStyle(fsBold | fsStrikeOut); }, 0xF, CFE_BOLD | CFE_STRIKEOUT, nullptr, false},
    {"UnderlineType wave", [](auto& a) { a.SetUnderlineType(TUnderlineType::utWave); }, 0x800004, CFE_UNDERLINE,
     [](const auto& f) { return f.bUnderlineType == CFU_UNDERLINEWAVE; }, true},
    {"UnderlineType none", [](auto& a) { a.SetUnderlineType(TUnderlineType::utNone); }, 0x800004, 0,
     [](const auto& f) { return f.bUnderlineType == 0; }, true},
    {"Offset", [](auto& a) { a.SetOffset(3); }, CFM_OFFSET, 0, [](const auto& f) { return f.yOffset == 60; },
     false},
    {"Size", [](auto& a) { a.SetSize(12); }, CFM_SIZE, 0, [](const auto& f) { return f.yHeight == 240; }, false},
    {"Height", [](auto& a) { a.SetHeight(16); }, CFM_SIZE, 0, [](const auto& f) { return f.yHeight == 240; },
     false},
    {"SubscriptStyle", [](auto& a) { a.SetSubscriptStyle(TSubscriptStyle::ssSuperscript); }, 0x30000,
     CFE_SUPERSCRIPT, nullptr, true},
};
}

TEST_F(RecordedAttributes, EachCharacterWriteSendsItsMaskAndFieldsOnly)
{
    for (int version : {1, 3}) {
        VersionScope scope(version);
        for (const CharCase& c : charCases) {
            recorder.charSets.clear();
            recorder.charTargets.clear();
            c.write(sel);
            if (version == 1 && c.version2Only) {
                EXPECT_TRUE(recorder.charSets.empty()) << c.name;
                continue;
            }
            ASSERT_EQ(recorder.charSets.size(), 1u) << c.name << " version " << version;
            const CHARFORMAT2A& sent = recorder.charSets[0];
            EXPECT_EQ(sent.cbSize, version == 1 ? 60u : 84u) << c.name;
            EXPECT_EQ(recorder.charTargets[0], static_cast<WPARAM>(SCF_SELECTION)) << c.name;
            EXPECT_EQ(sent.dwMask, c.mask) << c.name;
            EXPECT_EQ(sent.dwEffects, c.effects) << c.name;
            if (c.fields) {
                EXPECT_TRUE(c.fields(sent)) << c.name;
            }
        }
    }
}

TEST_F(RecordedAttributes, PitchGoesWithTheCurrentFaceAndFamily)
{
    VersionScope scope(3);
    std::strcpy(recorder.charAnswer.szFaceName, "Courier New");
    recorder.charAnswer.bPitchAndFamily = FF_MODERN | VARIABLE_PITCH;
    sel.SetPitch(TFontPitch::fpFixed);
    ASSERT_EQ(recorder.charSets.size(), 1u);
    EXPECT_EQ(recorder.charSets[0].dwMask, static_cast<DWORD>(CFM_FACE));
    EXPECT_STREQ(recorder.charSets[0].szFaceName, "Courier New");
    EXPECT_EQ(recorder.charSets[0].bPitchAndFamily, FF_MODERN | FIXED_PITCH);
}

TEST_F(RecordedAttributes, KindsPickTheirTarget)
{
    VersionScope scope(3);
    TQTextAttributes def(host, TQAttributeType::atDefaultText);
    TQTextAttributes word(host, TQAttributeType::atWord);
    def.SetSize(10);
    word.SetSize(10);
    ASSERT_EQ(recorder.charTargets.size(), 2u);
    EXPECT_EQ(recorder.charTargets[0], static_cast<WPARAM>(SCF_DEFAULT));
    EXPECT_EQ(recorder.charTargets[1], static_cast<WPARAM>(SCF_SELECTION | SCF_WORD));
    // The default format is never a mixed one.
    recorder.charAnswer.dwMask = CFM_ALL2;
    EXPECT_EQ(def.ConsistentAttributes(), 0u);
    EXPECT_NE(word.ConsistentAttributes(), 0u);
}

TEST_F(RecordedAttributes, ReadsMapTheRecord)
{
    VersionScope scope(3);
    CHARFORMAT2A& c = recorder.charAnswer;
    c.dwMask = CFM_UNDERLINETYPE;
    c.dwEffects = CFE_UNDERLINE | CFE_SUBSCRIPT | CFE_AUTOBACKCOLOR;
    struct {
        BYTE raw;
        TUnderlineType read;
    } underlines[] = {{CFU_UNDERLINEDOUBLE, TUnderlineType::utDouble},
                      {CFU_UNDERLINEWAVE, TUnderlineType::utWave},
                      {5, TUnderlineType::utSolid},
                      {CFU_UNDERLINEDOTTED, TUnderlineType::utDotted}};
    for (const auto& u : underlines) {
        c.bUnderlineType = u.raw;
        EXPECT_EQ(sel.UnderlineType(), u.read) << int(u.raw);
    }
    EXPECT_EQ(sel.SubscriptStyle(), TSubscriptStyle::ssSubscript);
    EXPECT_EQ(sel.BackColor(), clWindow);
    c.yHeight = 250;
    EXPECT_EQ(sel.Size(), 12);
    EXPECT_EQ(sel.Height(), 16);

    PARAFORMAT2& p = recorder.paraAnswer;
    struct {
        WORD raw;
        bool rightToLeft;
        TParaAlignment read;
    } alignments[] = {{0, false, TParaAlignment::paLeftJustify},  {7, false, TParaAlignment::paLeftJustify},
                      {PFA_CENTER, false, TParaAlignment::paCenter}, {PFA_RIGHT, true, TParaAlignment::paLeftJustify},
                      {PFA_LEFT, true, TParaAlignment::paRightJustify}, {PFA_JUSTIFY, true, TParaAlignment::paJustify}};
    for (const auto& a : alignments) {
        p.wAlignment = a.raw;
        host.rightToLeft = a.rightToLeft;
        EXPECT_EQ(para.Alignment(), a.read) << a.raw << " " << a.rightToLeft;
    }
    host.rightToLeft = false;
    struct {
        WORD raw;
        TQNumbering read;
    } numberings[] = {{0, TQNumbering::nsNone}, {3, TQNumbering::nsLoCaseLetter}, {6, TQNumbering::nsUpCaseRoman},
                      {9, TQNumbering::nsBullet}};
    for (const auto& n : numberings) {
        p.wNumbering = n.raw;
        EXPECT_EQ(para.Numbering(), n.read) << n.raw;
    }
    struct {
        WORD raw;
        TQNumberingStyle read;
    } styles[] = {{0x000, TQNumberingStyle::nsParenthesis}, {0x100, TQNumberingStyle::nsEnclosed},
                  {0x200, TQNumberingStyle::nsPeriod}, {0x301, TQNumberingStyle::nsSimple}};
    for (const auto& s : styles) {
        p.wNumberingStyle = s.raw;
        EXPECT_EQ(para.NumberingStyle(), s.read) << s.raw;
    }
    p.cTabCount = 40;
    p.rgxTabs[31] = 400;
    EXPECT_EQ(para.TabCount(), 32);
    EXPECT_EQ(para.Tab(31), 20);
    EXPECT_EQ(para.Tab(32), 0);
    EXPECT_EQ(para.Tab(-1), 0);
    p.dxStartIndent = 30;
    EXPECT_EQ(para.FirstIndent(), 1);
    p.wEffects = 0x8000;
    EXPECT_EQ(para.TableStyle(), TParaTableStyle::tsTableCellEnd);

    VersionScope older(1);
    p.wNumbering = 3;
    EXPECT_EQ(para.Numbering(), TQNumbering::nsBullet);
    EXPECT_EQ(para.NumberingStyle(), TQNumberingStyle::nsSimple);
    EXPECT_EQ(sel.UnderlineType(), TUnderlineType::utNone);
    EXPECT_EQ(sel.BackColor(), clWindow);
}

namespace {
struct ParaCase {
    const char* name;
    std::function<void(TQParaAttributes&)> write;
    DWORD mask;
    std::function<bool(const PARAFORMAT2&)> fields;
};

const ParaCase paraCases[] = {
    {"FirstIndent", [](auto& a) { a.SetFirstIndent(40); }, PFM_STARTINDENT,
     [](const auto& f) { return f.dxStartIndent == 800; }},
    {"RightIndent", [](auto& a) { a.SetRightIndent(30); }, PFM_RIGHTINDENT,
     [](const auto& f) { return f.dxRightIndent == 600; }},
    {"LeftIndent", [](auto& a) { a.SetLeftIndent(4); }, PFM_OFFSET, [](const auto& f) { return f.dxOffset == 80; }},
    {"Alignment", [](auto& a) { a.SetAlignment(TParaAlignment::paJustify); }, PFM_ALIGNMENT,
     [](const auto& f) { return f.wAlignment == PFA_JUSTIFY; }},
    {"NumberingStyle", [](auto& a) { a.SetNumberingStyle(TQNumberingStyle::nsEnclosed); }, PFM_NUMBERINGSTYLE,
     [](const auto& f) { return f.wNumberingStyle == 0x100; }},
    {"NumberingTab", [](auto& a) { a.SetNumberingTab(10); }, PFM_NUMBERINGTAB,
     [](const auto& f) { return f.wNumberingTab == 200; }},
    {"HeadingStyle", [](auto& a) { a.SetHeadingStyle(2); }, PFM_STYLE, [](const auto& f) { return f.sStyle == 2; }},
    {"SpaceBefore", [](auto& a) { a.SetSpaceBefore(6); }, PFM_SPACEBEFORE,
     [](const auto& f) { return f.dySpaceBefore == 120; }},
    {"SpaceAfter", [](auto& a) { a.SetSpaceAfter(7); }, PFM_SPACEAFTER,
     [](const auto& f) { return f.dySpaceAfter == 140; }},
    // The rule comes from the control's format (lsDouble in the answer).
    {"LineSpacing", [](auto& a) { a.SetLineSpacing(12); }, PFM_LINESPACING,
     [](const auto& f) { return f.dyLineSpacing == 240 && f.bLineSpacingRule == 2; }},
    {"LineSpacingRule", [](auto& a) { a.SetLineSpacingRule(TLineSpacingRule::lsMultiple); }, PFM_LINESPACING,
     [](const auto& f) { return f.bLineSpacingRule == 5; }},
    // The stop written lies within the count (the answer has none).
    {"Tab", [](auto& a) { a.SetTab(0, 36); }, PFM_TABSTOPS,
     [](const auto& f) { return f.cTabCount == 1 && f.rgxTabs[0] == 720; }},
    {"Tab far", [](auto& a) { a.SetTab(31, 1); }, PFM_TABSTOPS,
     [](const auto& f) { return f.cTabCount == 32 && f.rgxTabs[31] == 20; }},
    {"TabCount kept within the record", [](auto& a) { a.SetTabCount(40); }, PFM_TABSTOPS,
     [](const auto& f) { return f.cTabCount == 32; }},
    {"TabCount not below zero", [](auto& a) { a.SetTabCount(-3); }, PFM_TABSTOPS,
     [](const auto& f) { return f.cTabCount == 0; }},
    {"TableStyle", [](auto& a) { a.SetTableStyle(TParaTableStyle::tsTableRow); }, PFM_TABLE,
     [](const auto& f) { return f.wEffects == 0xC000; }},
};
}

TEST_F(RecordedAttributes, EachParagraphWriteSendsItsMaskAndFields)
{
    VersionScope scope(3);
    recorder.paraAnswer.bLineSpacingRule = 2;
    for (const ParaCase& c : paraCases) {
        recorder.paraSets.clear();
        c.write(para);
        ASSERT_EQ(recorder.paraSets.size(), 1u) << c.name;
        EXPECT_EQ(recorder.paraSets[0].cbSize, 188u) << c.name;
        EXPECT_EQ(recorder.paraSets[0].dwMask, c.mask) << c.name;
        EXPECT_TRUE(c.fields(recorder.paraSets[0])) << c.name;
    }
}

TEST_F(RecordedAttributes, ParagraphRulesAndRefusals)
{
    VersionScope scope(3);
    // An index beyond the 32 stops is refused before anything is sent.
    EXPECT_THROW(para.SetTab(32, 10), EInvalidArgument);
    EXPECT_THROW(para.SetTab(-1, 10), EInvalidArgument);
    EXPECT_TRUE(recorder.paraSets.empty());

    // Right-to-left mirrors left and right when writing, not centre.
    host.rightToLeft = true;
    para.SetAlignment(TParaAlignment::paLeftJustify);
    para.SetAlignment(TParaAlignment::paCenter);
    ASSERT_EQ(recorder.paraSets.size(), 2u);
    EXPECT_EQ(recorder.paraSets[0].wAlignment, PFA_RIGHT);
    EXPECT_EQ(recorder.paraSets[1].wAlignment, PFA_CENTER);
    host.rightToLeft = false;

    // Numbering raises a small left indent to 10 points first; none drops it.
    struct {
        TQNumbering numbering;
        LONG offset;
        int version;
        std::vector<DWORD> masks;
        WORD sent;
    } cases[] = {{TQNumbering::nsBullet, 80, 3, {PFM_OFFSET, PFM_NUMBERING}, 1},
                 {TQNumbering::nsArabicNumbers, 400, 3, {PFM_NUMBERING}, 2},
                 {TQNumbering::nsNone, 400, 3, {PFM_OFFSET, PFM_NUMBERING}, 0},
                 {TQNumbering::nsUpCaseRoman, 400, 1, {PFM_NUMBERING}, 1}};
    for (const auto& c : cases) {
        VersionScope version(c.version);
        recorder.paraSets.clear();
        recorder.paraAnswer.dxOffset = c.offset;
        para.SetNumbering(c.numbering);
        ASSERT_EQ(recorder.paraSets.size(), c.masks.size()) << static_cast<int>(c.numbering);
        for (std::size_t i = 0; i < c.masks.size(); ++i)
            EXPECT_EQ(recorder.paraSets[i].dwMask, c.masks[i]);
        if (c.masks.size() == 2) {
            EXPECT_EQ(recorder.paraSets[0].dxOffset, c.numbering == TQNumbering::nsNone ? 0 : 200);
        }
        EXPECT_EQ(recorder.paraSets.back().wNumbering, c.sent);
    }
}

TEST_F(RecordedAttributes, AnUpdateSendsEveryWriteInOneExchange)
{
    VersionScope scope(3);
    recorder.paraAnswer.dxStartIndent = 100;
    para.BeginUpdate();
    para.SetFirstIndent(40);
    {
        TParaUpdate nested(para);
        para.SetRightIndent(30);
        para.SetTab(1, 10);
    }
    EXPECT_TRUE(recorder.paraSets.empty());
    // Reads in between see what was gathered.
    EXPECT_EQ(para.FirstIndent(), 40);
    EXPECT_EQ(para.TabCount(), 2);
    para.EndUpdate();
    ASSERT_EQ(recorder.paraSets.size(), 1u);
    const PARAFORMAT2& sent = recorder.paraSets[0];
    EXPECT_EQ(sent.dwMask, static_cast<DWORD>(PFM_STARTINDENT | PFM_RIGHTINDENT | PFM_TABSTOPS));
    EXPECT_EQ(sent.dxStartIndent, 800);
    EXPECT_EQ(sent.dxRightIndent, 600);
    EXPECT_EQ(sent.cTabCount, 2);
    EXPECT_EQ(sent.rgxTabs[1], 200);
    // An update without writes sends nothing; an unmatched end does nothing.
    {
        TParaUpdate empty(para);
    }
    para.EndUpdate();
    EXPECT_EQ(recorder.paraSets.size(), 1u);
}

TEST(RichEditAttributesWithoutWindow, GettersReadZerosAndSettersSendNothing)
{
    VersionScope scope(3);
    FakeHost host;
    TQTextAttributes sel(host, TQAttributeType::atSelected);
    TQParaAttributes para(host);
    for (const CharCase& c : charCases)
        c.write(sel);
    for (const ParaCase& c : paraCases)
        c.write(para);
    EXPECT_EQ(sel.Color(), clBlack);
    EXPECT_EQ(sel.Name(), "");
    EXPECT_EQ(sel.Size(), 0);
    EXPECT_EQ(sel.Style(), 0u);
    EXPECT_EQ(sel.ConsistentAttributes(), 0u);
    EXPECT_EQ(para.FirstIndent(), 0);
    EXPECT_EQ(para.Alignment(), TParaAlignment::paLeftJustify);
    EXPECT_EQ(para.TabCount(), 0);
}

// --- against the real control ---

namespace {
class RealAttributes : public ::testing::Test {
protected:
    void SetUp() override
    {
        TForm::CreateParams params;
        params.caption = "Attributes test";
        params.width = 400;
        params.height = 300;
        form = std::make_unique<TForm>(params);
        edit = std::make_unique<TQRichEdit>(form.get(), form.get());
        edit->SetBounds(0, 0, 380, 250);
    }
    void TearDown() override
    {
        edit.reset();
        form.reset();
    }
    CHARFORMAT2A SelectionFormat()
    {
        CHARFORMAT2A format{};
        format.cbSize = sizeof format;
        SendMessageA(edit->Handle(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        return format;
    }

    std::unique_ptr<TForm> form;
    std::unique_ptr<TQRichEdit> edit;
};

struct ReadBack {
    const char* name;
    std::function<void(TQTextAttributes&)> write;
    std::function<bool(TQTextAttributes&)> read;
};
}

TEST_F(RealAttributes, SelectionPropertiesReadBackWhatWasWritten)
{
    // The control refuses selection formats in plain-text mode.
    ASSERT_FALSE(edit->PlainText());
    edit->SetText("hello world");
    const ReadBack cases[] = {
        {"Size", [](auto& a) { a.SetSize(14); }, [](auto& a) { return a.Size() == 14; }},
        {"Name", [](auto& a) { a.SetName("Arial"); }, [](auto& a) { return a.Name() == "Arial"; }},
        {"Style", [](auto& a) { a.SetStyle(fsBold | fsItalic); },
         [](auto& a) { return a.Style() == (fsBold | fsItalic); }},
        {"Color", [](auto& a) { a.SetColor(0x0000FF); }, [](auto& a) { return a.Color() == 0x0000FFu; }},
        {"Color automatic", [](auto& a) { a.SetColor(clWindowText); },
         [](auto& a) { return a.Color() == clWindowText; }},
        {"BackColor", [](auto& a) { a.SetBackColor(0x00FFFF); }, [](auto& a) { return a.BackColor() == 0x00FFFFu; }},
        {"Protected", [](auto& a) { a.SetProtected(true); }, [](auto& a) { return a.Protected(); }},
        {"Link", [](auto& a) { a.SetLink(true); }, [](auto& a) { return a.Link(); }},
        {"Hidden", [](auto& a) { a.SetHidden(true); }, [](auto& a) { return a.Hidden(); }},
        {"Hidden off", [](auto& a) { a.SetHidden(false); }, [](auto& a) { return !a.Hidden(); }},
        {"Disabled", [](auto& a) { a.SetDisabled(true); }, [](auto& a) { return a.Disabled(); }},
        {"Offset", [](auto& a) { a.SetOffset(2); }, [](auto& a) { return a.Offset() == 2; }},
        {"Subscript", [](auto& a) { a.SetSubscriptStyle(TSubscriptStyle::ssSubscript); },
         [](auto& a) { return a.SubscriptStyle() == TSubscriptStyle::ssSubscript; }},
        {"Underline double", [](auto& a) { a.SetUnderlineType(TUnderlineType::utDouble); },
         [](auto& a) { return a.UnderlineType() == TUnderlineType::utDouble; }},
        {"Underline wave", [](auto& a) { a.SetUnderlineType(TUnderlineType::utWave); },
         [](auto& a) { return a.UnderlineType() == TUnderlineType::utWave; }},
        {"Pitch", [](auto& a) { a.SetPitch(TFontPitch::fpFixed); },
         [](auto& a) { return a.Pitch() == TFontPitch::fpFixed; }},
        {"Charset", [](auto& a) { a.SetCharset(ANSI_CHARSET); }, [](auto& a) { return a.Charset() == ANSI_CHARSET; }},
    };
    for (const ReadBack& c : cases) {
        edit->SetSelection(0, 5, false);
        c.write(edit->SelAttributes());
        EXPECT_TRUE(c.read(edit->SelAttributes())) << c.name;
    }
    // The size write left the face alone, and the rest of the text kept its size.
    edit->SetSelection(6, 11, false);
    EXPECT_NE(edit->SelAttributes().Size(), 14);
}

TEST_F(RealAttributes, RawValuesWrittenByMessageReadThroughTheProperties)
{
    edit->SetText("hello world");
    edit->SelectAll();
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_UNDERLINE | CFM_UNDERLINETYPE;
    format.dwEffects = CFE_UNDERLINE;
    struct {
        BYTE raw;
        TUnderlineType read;
    } underlines[] = {{CFU_UNDERLINEWAVE, TUnderlineType::utWave}, {5, TUnderlineType::utSolid}};
    for (const auto& u : underlines) {
        format.bUnderlineType = u.raw;
        SendMessageA(edit->Handle(), EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        EXPECT_EQ(edit->SelAttributes().UnderlineType(), u.read) << int(u.raw);
    }
    PARAFORMAT2 para{};
    para.cbSize = sizeof para;
    para.dwMask = PFM_NUMBERINGSTYLE;
    for (WORD raw : {WORD(0x100), WORD(0x200), WORD(0x300)}) {
        para.wNumberingStyle = raw;
        SendMessageA(edit->Handle(), EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&para));
        edit->ParaAttributes().SetNumberingStyle(edit->ParaAttributes().NumberingStyle());
        PARAFORMAT2 back{};
        back.cbSize = sizeof back;
        SendMessageA(edit->Handle(), EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&back));
        EXPECT_EQ(back.wNumberingStyle, raw);
    }
}

TEST_F(RealAttributes, ConsistentAttributesLeaveOutWhatVaries)
{
    edit->SetText("hello world");
    edit->SetSelection(0, 5, false);
    edit->SelAttributes().SetStyle(fsBold);
    edit->SelectAll();
    const TQConsistentAttributes mixed = edit->SelAttributes().ConsistentAttributes();
    EXPECT_FALSE(mixed & ConsistentSetOf(caBold));
    EXPECT_TRUE(mixed & ConsistentSetOf(caSize));
    EXPECT_TRUE(mixed & ConsistentSetOf(caFace));
    edit->SetSelection(0, 5, false);
    EXPECT_TRUE(edit->SelAttributes().ConsistentAttributes() & ConsistentSetOf(caBold));
}

TEST_F(RealAttributes, AssigningABoldWindowTextFontGivesABoldAutomaticDefault)
{
    edit->SetPlainText(true);
    LOGFONTA description{};
    description.lfHeight = -16;
    description.lfWeight = FW_BOLD;
    lstrcpyA(description.lfFaceName, "Tahoma");
    HFONT font = CreateFontIndirectA(&description);
    TFontDescription bold = FontDescriptionOf(font);
    EXPECT_EQ(bold.Style, fsBold);
    EXPECT_EQ(bold.Size, 12);
    edit->DefAttributes().Assign(bold);
    TQTextAttributes& def = edit->DefAttributes();
    EXPECT_EQ(def.Style(), fsBold);
    EXPECT_EQ(def.Color(), clWindowText);
    EXPECT_EQ(def.Name(), "Tahoma");
    EXPECT_EQ(def.Size(), 12);
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    SendMessageA(edit->Handle(), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    EXPECT_EQ(format.wWeight, FW_BOLD);

    TFontDescription back;
    def.AssignTo(back);
    EXPECT_EQ(back.Name, "Tahoma");
    EXPECT_EQ(back.Style, fsBold);
    EXPECT_EQ(back.Size, 12);
    EXPECT_EQ(back.Color, clWindowText);
    DeleteObject(font);
}

TEST_F(RealAttributes, BothIndentsReachEveryParagraphInOneExchange)
{
    edit->SetPlainText(true);
    edit->SetText("first\r\nsecond\r\nthird");
    // Counts the paragraph formats the control receives.
    static int sent;
    static WNDPROC previous;
    sent = 0;
    previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        edit->Handle(), GWLP_WNDPROC,
        reinterpret_cast<LONG_PTR>(+[](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (message == EM_SETPARAFORMAT)
                ++sent;
            return CallWindowProcA(previous, window, message, wParam, lParam);
        })));
    edit->SelectAll();
    {
        TParaUpdate update(edit->ParaAttributes());
        edit->ParaAttributes().SetFirstIndent(40);
        edit->ParaAttributes().SetRightIndent(30);
    }
    SetWindowLongPtrA(edit->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    EXPECT_EQ(sent, 1);
    for (int line = 0; line < 3; ++line) {
        const int start = edit->GetLineIndex(line);
        edit->SetSelection(start, start, false);
        PARAFORMAT2 format{};
        format.cbSize = sizeof format;
        SendMessageA(edit->Handle(), EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
        EXPECT_EQ(format.dxStartIndent, 800) << line;
        EXPECT_EQ(format.dxRightIndent, 600) << line;
    }
}

TEST_F(RealAttributes, RightToLeftMirrorsTheAlignmentBothWays)
{
    edit->SetText("text");
    edit->SetRightToLeft(true);
    PARAFORMAT2 format{};
    format.cbSize = sizeof format;
    SendMessageA(edit->Handle(), EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    EXPECT_EQ(format.wAlignment, PFA_RIGHT);
    EXPECT_EQ(edit->ParaAttributes().Alignment(), TParaAlignment::paLeftJustify);
    edit->ParaAttributes().SetAlignment(TParaAlignment::paRightJustify);
    EXPECT_EQ(edit->ParaAttributes().Alignment(), TParaAlignment::paRightJustify);
    edit->SetRightToLeft(false);
    EXPECT_EQ(edit->ParaAttributes().Alignment(), TParaAlignment::paLeftJustify);
}
