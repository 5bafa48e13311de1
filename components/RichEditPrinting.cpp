// Printing the rich edit control's text: page by page through the control's
// own layout, and through the plain-text layout where the control makes no
// progress (a page that cannot hold one line, or a control that lays out
// nothing at all, as Wine's does).
#include "RichEdit.h"

#include "GdiHandles.h"
#include "PlainTextLayout.h"
#include "Printers.h"

#include <algorithm>
#include <climits>

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

void TQCustomRichEdit::PrintPlainText(TPrinter& printer, int first, const RECT& twips)
{
    HDC dc = printer.Handle();
    const int logX = std::max(printer.PixelsPerInchX(), 1);
    const int logY = std::max(printer.PixelsPerInchY(), 1);
    const RECT area = TwipsToPixels(twips, logX, logY);

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
    const GdiObject<HFONT> font(CreateFontIndirectA(&face));

    // The indents of the first paragraph hold for the whole text, as the
    // program sets them on all of it.
    const PARAFORMAT2 paragraph = [&] {
        const CHARRANGE selection = GetSelection();
        SetSelection(first, first, false);
        PARAFORMAT2 format{};
        format.cbSize = RichEditVersion >= 2 ? sizeof(PARAFORMAT2) : sizeof(PARAFORMAT);
        SendMessageA(Handle(), EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
        SetSelection(selection.cpMin, selection.cpMax, false);
        return format;
    }();
    const int firstIndent = MulDiv(paragraph.dxStartIndent, logX, TwipsPerInch);
    const int otherIndent = MulDiv(paragraph.dxStartIndent + paragraph.dxOffset, logX, TwipsPerInch);
    const int right = area.right - MulDiv(paragraph.dxRightIndent, logX, TwipsPerInch);

    const std::string text = ExpandTabs(GetTextRange(first, -1));
    std::vector<TextLine> lines;
    int lineHeight = 1;
    {
        TSelectedFont selected(dc, font.Get());
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        lineHeight = std::max<int>(metrics.tmHeight + metrics.tmExternalLeading, 1);
        const MeasureExtents measure = [dc](std::string_view run, std::vector<int>& extents) {
            extents.assign(run.size(), 0);
            SIZE size{};
            int fit = 0;
            if (!run.empty())
                GetTextExtentExPointA(dc, run.data(), static_cast<int>(run.size()), INT_MAX, &fit, extents.data(),
                                      &size);
        };
        lines = BreakTextLines(text, {right - area.left - firstIndent, right - area.left - otherIndent}, measure);
    }
    const std::vector<std::size_t> pages = PageStarts(lines.size(), (area.bottom - area.top) / lineHeight);
    for (std::size_t page = 0; page < pages.size(); ++page) {
        if (page > 0)
            printer.NewPage();
        // A new page may come with a fresh context: the font goes in per page.
        TSelectedFont selected(printer.Handle(), font.Get());
        SetBkMode(printer.Handle(), TRANSPARENT);
        SetTextAlign(printer.Handle(), TA_LEFT | TA_TOP | TA_NOUPDATECP);
        const std::size_t end = page + 1 < pages.size() ? pages[page + 1] : lines.size();
        int y = area.top;
        for (std::size_t index = pages[page]; index < end; ++index, y += lineHeight) {
            const TextLine& line = lines[index];
            // Blanks at the end draw nothing.
            std::size_t visible = line.length;
            while (visible > 0 && text[line.start + visible - 1] == ' ')
                --visible;
            if (visible == 0)
                continue;
            const int x = area.left + (line.firstOfParagraph ? firstIndent : otherIndent);
            ExtTextOutA(printer.Handle(), x, y, 0, nullptr, text.data() + line.start, static_cast<UINT>(visible),
                        nullptr);
        }
    }
}
