#include "TextExport.h"

using Page = PageTreeView::Page;

namespace {

const char* const FormFeed = "\f";

// The running number text of the titles, page after page.
class TitleNumbers {
public:
    TitleNumbers(const PageTreeView& tree, const ExportSettings& settings, Page start)
        : tree_(tree), numbering_(settings.ExportNumbering), start_(start)
    {
    }

    // The number of the page at position i of the range, after previous.
    const std::string& Of(Page page, Page previous, long long i)
    {
        if (numbering_ == 0 || page == start_)
            number_.clear();
        else
            AdvanceTitleNumber(number_, numbering_, tree_, page, previous, i);
        return number_;
    }

private:
    const PageTreeView& tree_;
    const int numbering_;
    const Page start_;
    std::string number_;
};

void AddSeparators(TStringList& lines, bool emptyLine, bool pageBreak)
{
    if (emptyLine)
        lines.Add("");
    if (pageBreak)
        lines.Add(FormFeed);
}

}

TStringList ExportOutlineText(const OutlineToExport& outline, const ExportProfile& profile)
{
    const ExportSettings& settings = profile.Settings;
    const PageTreeView& tree = outline.Tree;
    TStringList lines;
    if (settings.ExportProperties) {
        lines.Add(outline.PropertiesText);
        lines.Add("");
    }

    std::string unit;
    int count = 0;
    if (settings.ExportIndentation == 1) {
        unit = " ";
        count = settings.SpaceNumber;
    } else if (settings.ExportIndentation == 2) {
        unit = "\t";
        count = settings.TabNumber;
    }

    const ExportRange range(outline, settings);
    if (!range.Start)
        return lines;
    const int baseLevel = tree.Level(range.Start);
    TitleNumbers numbers(tree, settings, range.Start);
    const bool titles = settings.ExportItems == 0 || settings.ExportItems == 2;
    const std::string opening = CommentDelimiter(settings, true);
    const std::string closing = CommentDelimiter(settings, false);

    long long i = 0;
    Page previous = nullptr;
    for (Page page = range.Start; page; previous = page, page = range.Next(page), ++i) {
        std::string indent;
        if (settings.ExportItems != 1)
            indent = IndentPrefix(unit, tree.Level(page) - baseLevel, count);
        if (titles) {
            std::string line = indent;
            if (settings.ExportComments != 0)
                line += opening;
            if (settings.SimulateStates)
                line += StateMarker(tree.State(page)) + " ";
            if (const std::string& number = numbers.Of(page, previous, i); !number.empty())
                line += number + " ";
            line += tree.Title(page);
            if (settings.ExportComments != 0)
                line += closing;
            lines.Add(line);
            AddSeparators(lines, settings.LineAfterTitle, settings.BreakAfterTitle);
        }
        const std::string& body = tree.Body(page);
        if (settings.ExportItems != 0 && !body.empty()) {
            std::string line;
            for (std::string_view text : BodyLines(body))
                lines.Add(line.assign(indent).append(text));
            AddSeparators(lines, settings.LineAfterText, settings.BreakAfterText);
        }
        if (outline.Progress)
            outline.Progress->Step(i, range.Count);
    }
    return lines;
}
