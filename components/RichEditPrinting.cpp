// Printing the rich edit control's text: page by page through the control's
// own layout, and through the plain-text layout where the control makes no
// progress (a page that cannot hold one line, or a control that lays out
// nothing at all, as Wine's does).
#include "RichEdit.h"

#include "GdiHandles.h"
#include "PlainTextLayout.h"
#include "Printers.h"
#include "TextSlices.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <string_view>

namespace {
constexpr int TwipsPerInch = 1440;
// Columns between tab stops when tabs become blanks.
constexpr int TabColumns = 8;

RECT PixelsToTwips(const RECT& pixels, int logX, int logY)
{
    return RECT{MulDiv(pixels.left, TwipsPerInch, logX), MulDiv(pixels.top, TwipsPerInch, logY),
                MulDiv(pixels.right, TwipsPerInch, logX), MulDiv(pixels.bottom, TwipsPerInch, logY)};
}

RECT TwipsToPixels(const RECT& twips, int logX, int logY)
{
    return RECT{MulDiv(twips.left, logX, TwipsPerInch), MulDiv(twips.top, logY, TwipsPerInch),
                MulDiv(twips.right, logX, TwipsPerInch), MulDiv(twips.bottom, logY, TwipsPerInch)};
}

// Tabs draw as boxes: each becomes blanks up to the next tab stop.
std::string ExpandTabs(const std::string& text)
{
    std::string expanded;
    expanded.reserve(text.size());
    int column = 0;
    for (char c : text) {
        if (c == '\t') {
            const int blanks = TabColumns - column % TabColumns;
            expanded.append(static_cast<std::size_t>(blanks), ' ');
            column += blanks;
            continue;
        }
        expanded.push_back(c);
        column = (c == '\r' || c == '\n') ? 0 : column + 1;
    }
    return expanded;
}

// Printing without the control's layout takes the text in slices of about
// this many lines: under Wine putting text into the control costs time
// growing with the square of its tabs, which the text export is full of.
constexpr std::size_t SliceLines = 40;
constexpr std::size_t SliceBytes = 4 * 1024;

// Keeps a font selected into a device context for as long as it lives.
class TSelectedFont {
public:
    TSelectedFont(HDC dc, HFONT font) : dc_(dc), previous_(SelectObject(dc, font)) {}
    ~TSelectedFont() { SelectObject(dc_, previous_); }
    TSelectedFont(const TSelectedFont&) = delete;
    TSelectedFont& operator=(const TSelectedFont&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};
} // namespace

LRESULT TQCustomRichEdit::FormatRange(bool render, FORMATRANGE* range)
{
    return SendMessageA(Handle(), EM_FORMATRANGE, render, reinterpret_cast<LPARAM>(range));
}

void TQCustomRichEdit::Print(const std::string& title)
{
    TPrinter& printer = Printer();
    printer.Title = title;
    printer.BeginDoc();
    HDC dc = printer.Handle();
    const int logX = std::max(printer.PixelsPerInchX(), 1);
    const int logY = std::max(printer.PixelsPerInchY(), 1);
    const bool wholePage = IsRectEmpty(&PrintRect);
    const RECT pixels = wholePage ? RECT{0, 0, printer.PageWidth(), printer.PageHeight()} : PrintRect;
    const RECT twips = PixelsToTwips(pixels, logX, logY);

    FORMATRANGE range{};
    range.hdc = dc;
    range.hdcTarget = dc;
    range.rc = twips;
    range.rcPage = twips;
    int length = 0;
    if (RichEditVersion >= 2) {
        GETTEXTLENGTHEX request{GTL_DEFAULT, CP_ACP};
        length = static_cast<int>(SendMessageA(Handle(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request), 0));
    } else {
        length = GetWindowTextLengthA(Handle());
    }
    range.chrg.cpMax = -1;
    const int oldMapMode = SetMapMode(dc, MM_TEXT);
    auto restore = [&] {
        FormatRange(false, nullptr);
        SetMapMode(dc, oldMapMode);
    };
    try {
        FormatRange(false, nullptr);
        int first = 0;
        while (true) {
            range.rc = twips;
            range.chrg.cpMin = first;
            const LRESULT next = FormatRange(true, &range);
            if (next == -1 || next >= length)
                break;
            // A page that draws nothing would repeat for ever.
            if (next <= first) {
                PrintPlainText(printer, first, twips);
                break;
            }
            printer.NewPage();
            first = static_cast<int>(next);
            PrintProgress(first, length);
        }
    } catch (...) {
        restore();
        printer.Abort();
        throw;
    }
    restore();
    try {
        printer.EndDoc();
    } catch (...) {
        printer.Abort();
        throw;
    }
}

namespace {
// The plain-text layout drawn onto the printer's pages: paragraphs in the
// font and indents given, line after line, a new page when one is full. Text
// comes in one or more parts, each starting a paragraph; the pages continue
// from one part to the next.
class TPlainTextPages {
public:
    TPlainTextPages(TPrinter& printer, HFONT font, const PARAFORMAT2& paragraph, const RECT& area)
        : printer_(printer), font_(font), area_(area)
    {
        const int logX = std::max(printer.PixelsPerInchX(), 1);
        firstIndent_ = MulDiv(paragraph.dxStartIndent, logX, TwipsPerInch);
        otherIndent_ = MulDiv(paragraph.dxStartIndent + paragraph.dxOffset, logX, TwipsPerInch);
        right_ = area.right - MulDiv(paragraph.dxRightIndent, logX, TwipsPerInch);
        StartPage();
        TEXTMETRICA metrics{};
        GetTextMetricsA(printer_.Handle(), &metrics);
        lineHeight_ = std::max<int>(metrics.tmHeight + metrics.tmExternalLeading, 1);
        linesPerPage_ = std::max(static_cast<int>(area.bottom - area.top) / lineHeight_, 1);
    }
    // The font goes back out of the last page's context.
    ~TPlainTextPages() { selected_.reset(); }
    TPlainTextPages(const TPlainTextPages&) = delete;
    TPlainTextPages& operator=(const TPlainTextPages&) = delete;

    // Draws the part, as the control holds it; each new page is told with
    // the position in the part's text where it begins.
    void Draw(const std::string& part, const std::function<void(std::size_t position)>& pageBegun)
    {
        const std::string text = ExpandTabs(part);
        HDC measuring = printer_.Handle();
        const MeasureExtents measure = [measuring](std::string_view run, std::vector<int>& extents) {
            extents.assign(run.size(), 0);
            SIZE size{};
            int fit = 0;
            if (!run.empty())
                GetTextExtentExPointA(measuring, run.data(), static_cast<int>(run.size()), INT_MAX, &fit,
                                      extents.data(), &size);
        };
        const std::vector<TextLine> lines = BreakTextLines(
            text, {right_ - area_.left - firstIndent_, right_ - area_.left - otherIndent_}, measure);
        for (const TextLine& line : lines) {
            if (linesOnPage_ == linesPerPage_) {
                selected_.reset();
                printer_.NewPage();
                StartPage();
                if (pageBegun)
                    pageBegun(line.start * part.size() / std::max<std::size_t>(text.size(), 1));
            }
            DrawLine(text, line, static_cast<int>(area_.top) + linesOnPage_ * lineHeight_);
            ++linesOnPage_;
        }
    }

private:
    // A new page may come with a fresh context: the font goes in per page.
    void StartPage()
    {
        HDC dc = printer_.Handle();
        selected_.emplace(dc, font_);
        SetBkMode(dc, TRANSPARENT);
        SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
        linesOnPage_ = 0;
    }

    void DrawLine(const std::string& text, const TextLine& line, int y)
    {
        // Blanks at the end draw nothing.
        std::size_t visible = line.length;
        while (visible > 0 && text[line.start + visible - 1] == ' ')
            --visible;
        if (visible == 0)
            return;
        const int x = area_.left + (line.firstOfParagraph ? firstIndent_ : otherIndent_);
        ExtTextOutA(printer_.Handle(), x, y, 0, nullptr, text.data() + line.start, static_cast<UINT>(visible), nullptr);
    }

    TPrinter& printer_;
    HFONT font_;
    RECT area_;
    int firstIndent_ = 0;
    int otherIndent_ = 0;
    int right_ = 0;
    int lineHeight_ = 1;
    int linesPerPage_ = 1;
    int linesOnPage_ = 0;
    std::optional<TSelectedFont> selected_;
};
} // namespace

HFONT TQCustomRichEdit::CreatePrintFont(int logY) const
{
    CHARFORMAT2A character{};
    character.cbSize = RichEditVersion >= 2 ? sizeof(CHARFORMAT2A) : sizeof(CHARFORMATA);
    SendMessageA(Handle(), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&character));
    LOGFONTA face{};
    face.lfHeight = -MulDiv(character.yHeight > 0 ? character.yHeight : 200, logY, TwipsPerInch);
    face.lfWeight = (character.dwEffects & CFE_BOLD) ? FW_BOLD : FW_NORMAL;
    face.lfItalic = (character.dwEffects & CFE_ITALIC) ? TRUE : FALSE;
    face.lfCharSet = character.bCharSet;
    face.lfPitchAndFamily = character.bPitchAndFamily;
    lstrcpynA(face.lfFaceName, character.szFaceName, LF_FACESIZE);
    return CreateFontIndirectA(&face);
}

PARAFORMAT2 TQCustomRichEdit::ParagraphFormatAt(int position)
{
    const CHARRANGE selection = GetSelection();
    SetSelection(position, position, false);
    PARAFORMAT2 format{};
    format.cbSize = RichEditVersion >= 2 ? sizeof(PARAFORMAT2) : sizeof(PARAFORMAT);
    SendMessageA(Handle(), EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    SetSelection(selection.cpMin, selection.cpMax, false);
    return format;
}

void TQCustomRichEdit::PrintPlainText(TPrinter& printer, int first, const RECT& twips)
{
    const int logX = std::max(printer.PixelsPerInchX(), 1);
    const int logY = std::max(printer.PixelsPerInchY(), 1);
    const GdiObject<HFONT> font(CreatePrintFont(logY));
    // The indents of the first paragraph hold for the whole text, as the
    // program sets them on all of it.
    TPlainTextPages pages(printer, font.Get(), ParagraphFormatAt(first), TwipsToPixels(twips, logX, logY));
    const int length = TextLength();
    pages.Draw(GetTextRange(first, -1), [&](std::size_t position) {
        PrintProgress(first + static_cast<long long>(position), length);
    });
}

void TQCustomRichEdit::PrintProgress(long long done, long long total)
{
    if (OnPrintProgress)
        OnPrintProgress(done, total);
}

bool TQCustomRichEdit::LaysOutPages()
{
    const WindowDC screen(nullptr);
    FORMATRANGE range{};
    range.hdc = range.hdcTarget = screen.Get();
    range.rc = range.rcPage = RECT{0, 0, 8 * TwipsPerInch, 10 * TwipsPerInch};
    range.chrg = CHARRANGE{0, -1};
    const LRESULT next = FormatRange(false, &range);
    FormatRange(false, nullptr);
    return next > 0;
}

void TQCustomRichEdit::PrintText(const std::string& text, const std::string& title, const std::function<void()>& prepare)
{
    // The control takes the text up to its first NUL.
    const std::string_view whole(text.c_str());
    const std::vector<std::string_view> slices = TextSlices(whole, SliceLines, SliceBytes);
    auto putIn = [&](std::string_view slice) {
        SetText(std::string(slice));
        SelectAll();
        if (prepare)
            prepare();
    };
    putIn(slices.front());
    if (LaysOutPages()) {
        if (slices.size() > 1)
            putIn(whole);
        Print(title);
        return;
    }

    // The control lays out no page: the plain-text layout prints what it
    // would hold, slice after slice, in its default font and the first
    // paragraph's indents, onto pages that run on from one slice to the next.
    // Nothing here lays the text out on the screen: wrapping it there would
    // only cost time.
    const bool wrapping = WordWrap();
    SetWordWrap(false);
    struct WrapBack {
        TQCustomRichEdit& control;
        bool wrapping;
        ~WrapBack() { control.SetWordWrap(wrapping); }
    } wrapBack{*this, wrapping};
    TPrinter& printer = Printer();
    printer.Title = title;
    printer.BeginDoc();
    try {
        const int logX = std::max(printer.PixelsPerInchX(), 1);
        const int logY = std::max(printer.PixelsPerInchY(), 1);
        const RECT pixels = IsRectEmpty(&PrintRect) ? RECT{0, 0, printer.PageWidth(), printer.PageHeight()} : PrintRect;
        const GdiObject<HFONT> font(CreatePrintFont(logY));
        // Through twips and back, as the control's own layout is given it.
        const RECT area = TwipsToPixels(PixelsToTwips(pixels, logX, logY), logX, logY);
        TPlainTextPages pages(printer, font.Get(), ParagraphFormatAt(0), area);
        const auto total = static_cast<long long>(whole.size());
        long long sliceStart = 0;
        for (std::size_t index = 0; index < slices.size(); ++index) {
            if (index > 0)
                SetText(std::string(slices[index]));
            const auto sliceLength = static_cast<long long>(slices[index].size());
            pages.Draw(GetTextRange(0, -1), [&](std::size_t position) {
                PrintProgress(sliceStart + std::min<long long>(static_cast<long long>(position), sliceLength), total);
            });
            sliceStart += sliceLength;
        }
    } catch (...) {
        printer.Abort();
        throw;
    }
    try {
        printer.EndDoc();
    } catch (...) {
        printer.Abort();
        throw;
    }
    PrintProgress(static_cast<long long>(whole.size()), static_cast<long long>(whole.size()));
}
