#include "HtmlExport.h"

#include "AnsiStrings.h"
#include "FileHandle.h"
#include "PageLinks.h"

#include <array>

using Page = PageTreeView::Page;

namespace {

const char* const BlockQuote = "<BLOCKQUOTE>";
const char* const BlockQuoteEnd = "</BLOCKQUOTE>\n";
const char* const Rule = "\n<HR>\n";

// The pictures of states 2 to 15.
constexpr std::array<const char*, 14> StateImageNames = {
    "Done.gif",  "White.gif",  "Question.gif", "Reminder.gif", "PunchPin.gif", "Dollar.gif", "Idea.gif",
    "Red.gif",   "Green.gif",  "Yellow.gif",   "Cyan.gif",     "Magenta.gif",  "Blue.gif",   "Gray.gif",
};

std::string Escape(const std::string& text, bool markup)
{
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    bool afterBlank = false;
    for (const char c : text) {
        const bool blank = c == ' ';
        switch (c) {
        case '\t': out += "&nbsp;&nbsp;&nbsp; "; break;
        case '\n': out += "<BR>\n"; break;
        case ' ': out += afterBlank ? "&nbsp;" : " "; break;
        case '"': out += markup ? "&quot;" : "\""; break;
        case '&': out += markup ? "&amp;" : "&"; break;
        case '<': out += markup ? "&lt;" : "<"; break;
        case '>': out += markup ? "&gt;" : ">"; break;
        default: out += c; break;
        }
        afterBlank = blank;
    }
    return out;
}

bool EndsWith(const std::string& text, const char* ending)
{
    const std::string_view tail(ending);
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool IsPictureLink(const std::string& title)
{
    if (title.size() <= 4)
        return false;
    for (const char* extension : {".gif", ".jpg", ".bmp", ".png"})
        if (EndsWith(title, extension))
            return true;
    return false;
}

std::string Picture(const std::string& source) { return "<img src=\"" + HtmlEscapeMarkup(source) + "\">"; }

}

std::string HtmlPageHead(const std::string& title, const std::string& extraHead)
{
    return "<HTML>\n\n<HEAD>\n<TITLE>" + HtmlEscapeMarkup(title) + "</TITLE>\n" + extraHead +
           "\n</HEAD>\n\n<BODY>\n";
}

std::string HtmlPageFoot() { return "</BODY>\n</HTML>"; }

std::string HtmlEscapeAll(const std::string& text) { return Escape(text, true); }

std::string HtmlEscapeWhitespace(const std::string& text) { return Escape(text, false); }

std::string HtmlEscapeText(const std::string& text, bool allowHtml)
{
    return allowHtml ? HtmlEscapeWhitespace(text) : HtmlEscapeAll(text);
}

std::string HtmlEscapeMarkup(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '"': out += "&quot;"; break;
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += c; break;
        }
    }
    return out;
}

std::string HtmlBodyLines(const std::string& body)
{
    std::string text;
    text.reserve(body.size() + 2);
    for (std::string_view line : BodyLines(body)) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string CopyStateImage(WebPageExport& web, int state)
{
    if (state < 2 || state > 15)
        return "";
    const std::string name = StateImageNames[static_cast<size_t>(state - 2)];
    const std::string& output = web.List.OutputFile;
    std::string folder = ExcludeTrailingBackslash(ExtractFilePath(output));
    std::string reference = name;
    // Without an extension the support folder would take the page's own name.
    const bool supportFolder = web.Options.SupportFolder && !ExtractFileExt(output).empty();
    if (supportFolder) {
        folder = ChangeFileExt(output, "");
        reference = ExtractFileName(folder) + "\\" + name;
    }
    if (!web.CopiedImages[static_cast<size_t>(state)]) {
        web.CopiedImages[static_cast<size_t>(state)] = true;
        if (supportFolder && !DirectoryExists(folder))
            CreateDir(folder);
        const std::string source = IncludeTrailingBackslash(web.ProgramFolder) + ExportImagesFolder + "\\" + name;
        if (web.CopyPicture)
            web.CopyPicture(source, IncludeTrailingBackslash(folder) + name);
    }
    return reference;
}

std::string ExportNodeHtml(WebPageExport& web, const PageTreeView& tree, Page page, Page previous, long long distance)
{
    const ExportSettings& settings = web.Settings;
    std::string line = "<H4>";
    if (settings.SimulateStates) {
        if (!web.Options.OriginalImages)
            line += StateMarker(tree.State(page)) + " ";
        else if (const std::string reference = CopyStateImage(web, tree.State(page)); !reference.empty())
            line += Picture(reference);
    }
    if (settings.ExportNumbering != 0)
    {
        AdvanceTitleNumber(web.List.NumberText, settings.ExportNumbering, tree, page, previous, distance);
        line += web.List.NumberText + ") ";
    }
    const std::string title = tree.Title(page);
    if (!IsUrl(title))
        line += HtmlEscapeText(title, web.Options.AllowHtml);
    else if (IsPictureLink(title))
        line += Picture(title);
    else
        line += "<A href=\"" + HtmlEscapeMarkup(title) + "\">" + HtmlEscapeMarkup(title) + "</A>";
    if (settings.BreakAfterTitle)
        line += Rule;
    line += "</H4>\n";
    return line;
}

std::string ExportOutlineHtml(WebPageExport& web, const OutlineToExport& outline, const std::string& outputPath)
{
    const ExportSettings& settings = web.Settings;
    const bool allowHtml = web.Options.AllowHtml;
    const PageTreeView& tree = outline.Tree;
    web.List.OutputFile = outputPath;
    web.List.NumberText.clear();
    web.CopiedImages = {};

    const ExportRange range(outline, settings);
    const std::string title = range.Start ? tree.Title(range.Start) : std::string();
    std::string out = HtmlPageHead(title, web.Options.ExtraHead);
    out += "<H1>" + HtmlEscapeText(title, allowHtml) + "</H1>" + Rule;
    if (settings.ExportProperties)
        out += "<BLOCKQUOTE><I>" + HtmlEscapeText(outline.PropertiesText, allowHtml) + "</I></BLOCKQUOTE>" + Rule;
    long long openQuotes = 0;
    if (settings.ExportItems != 0) {
        out += BlockQuote;
        if (range.Start)
            out += HtmlEscapeText(tree.Body(range.Start), allowHtml);
        openQuotes = 1;
    }

    const bool indent = settings.ExportIndentation != 0;
    long long i = 0;
    Page previous = range.Start;
    for (Page page = range.Start ? range.Next(range.Start) : nullptr; page; previous = page, page = range.Next(page), ++i) {
        const int climb = tree.Level(previous) - tree.Level(page);
        if (indent && climb > 0) {
            for (int d = 0; d < climb; ++d)
                out += BlockQuoteEnd;
            openQuotes -= climb;
        } else if (indent && climb < 0) {
            out += BlockQuote;
            out += "\n";
            ++openQuotes;
        }
        if (settings.ExportItems != 1)
            out += ExportNodeHtml(web, tree, page, previous, i + 1);
        const std::string& body = tree.Body(page);
        if (settings.ExportItems != 0 && !body.empty()) {
            if (indent)
                out += "<BLOCKQUOTE>\n";
            out += HtmlEscapeText(HtmlBodyLines(body), allowHtml) + "<BR>\n";
            if (settings.BreakAfterText)
                out += Rule;
            if (indent)
                out += BlockQuoteEnd;
        }
        if (outline.Progress)
            outline.Progress->Step(i, range.Count);
    }
    for (; openQuotes > 0; --openQuotes)
        out += BlockQuoteEnd;
    out += HtmlPageFoot();
    return out;
}
