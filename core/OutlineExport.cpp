#include "OutlineExport.h"

using Page = PageTreeView::Page;

ExportRange::ExportRange(const OutlineToExport& outline, const ExportSettings& settings) : tree_(outline.Tree)
{
    Start = tree_.Root();
    if (settings.ExportSource == 1 && outline.Selected) {
        Start = outline.Selected;
        within_ = Start;
    }
    for (Page page = Start; page; page = Next(page))
        ++Count;
}

Page ExportRange::Next(Page page) const { return tree_.Next(page, within_); }

std::string IndentPrefix(const std::string& unit, int levels, int count)
{
    const long long times = static_cast<long long>(levels) * count;
    std::string prefix;
    if (times <= 0)
        return prefix;
    prefix.reserve(static_cast<size_t>(times) * unit.size());
    for (long long i = 0; i < times; ++i)
        prefix += unit;
    return prefix;
}

std::string CommentDelimiter(const ExportSettings& settings, bool opening)
{
    switch (settings.ExportComments) {
    case 1: return opening ? " //* " : " *//";
    case 2: return opening ? " // " : "";
    case 3: return opening ? " /' " : "";
    case 4: return opening ? " <!-- " : " -->";
    case 5: return opening ? " # " : "";
    case 6: return opening ? settings.OpenComment : settings.CloseComment;
    default: return "";
    }
}

std::string StateMarker(int state)
{
    switch (state) {
    case 2: return "[x]";
    case 4: return "[?]";
    case 5: return "[!]";
    case 6: return "[*]";
    case 7: return "[$]";
    case 8: return "[@]";
    default: return "[ ]";
    }
}

namespace {

// N less its last count components ("1.2.3." less 2 is "1.").
std::string DropComponents(std::string number, int count)
{
    for (int i = 0; i < count && !number.empty(); ++i) {
        const size_t end = number.size() >= 2 ? number.rfind('.', number.size() - 2) : std::string::npos;
        number.erase(end == std::string::npos ? 0 : end + 1);
    }
    return number;
}

}

std::string NextOutlineNumber(const std::string& previous, int previousLevel, int level, int position)
{
    const int climb = previousLevel - level;
    std::string number = climb < 0 ? previous : DropComponents(previous, climb + 1);
    if (climb < 0)
        return number + "1.";
    return number + std::to_string(position + 1) + ".";
}

void AdvanceTitleNumber(std::string& number, int numbering, const PageTreeView& tree, Page page, Page previous,
                        long long distance)
{
    if (number.empty())
        number = "1.";
    else if (numbering == 1)
        number = std::to_string(distance) + ".";
    else if (numbering == 2)
        number = NextOutlineNumber(number, tree.Level(previous), tree.Level(page), tree.Index(page));
}

std::vector<std::string_view> BodyLines(std::string_view body)
{
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < body.size()) {
        size_t end = body.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(body.substr(start));
            break;
        }
        lines.push_back(body.substr(start, end - start));
        start = end + (body[end] == '\r' && end + 1 < body.size() && body[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}
