#include "OutlineText.h"

#include <cstddef>
#include <sstream>
#include <vector>

OutlineTextError::OutlineTextError(int line, const std::string& what)
    : std::runtime_error("line " + std::to_string(line) + ": " + what), line_(line)
{
}

namespace {

struct TitleLine {
    int level = 0;
    bool collapsed = false;
    std::int32_t state = 1;
    std::string title;
};

std::size_t Indent(const std::string& line)
{
    const std::size_t first = line.find_first_not_of(" \t");
    return first == std::string::npos ? line.size() : first;
}

bool IsBlank(const std::string& line) { return Indent(line) == line.size(); }

// "* Title", "+ Title", "* [n] Title" at any indentation.
bool ReadTitleLine(const std::string& line, int number, TitleLine& result)
{
    const std::size_t indent = Indent(line);
    if (indent + 1 >= line.size() || (line[indent] != '*' && line[indent] != '+') || line[indent + 1] != ' ')
        return false;
    if (indent % 2 != 0)
        throw OutlineTextError(number, "a page title must be indented by two blanks per level");
    result = TitleLine{};
    result.level = static_cast<int>(indent / 2);
    result.collapsed = line[indent] == '+';
    std::string rest = line.substr(indent + 2);
    if (!rest.empty() && rest[0] == '[') {
        const std::size_t close = rest.find(']');
        int state = 0;
        try {
            state = close == std::string::npos ? 0 : std::stoi(rest.substr(1, close - 1));
        } catch (const std::exception&) {
            state = 0;
        }
        if (state < 1 || state > 15)
            throw OutlineTextError(number, "a state must be a number from 1 to 15 in brackets");
        result.state = state;
        rest = rest.substr(close + 1);
        if (!rest.empty() && rest[0] == ' ')
            rest.erase(0, 1);
    }
    result.title = rest;
    return true;
}

void DropTrailingBlankLines(std::string& body)
{
    while (!body.empty() && body.back() == '\n')
        body.pop_back();
}

class Parser {
public:
    KbfOutline Parse(const std::string& text)
    {
        std::istringstream lines(text);
        std::string line;
        int number = 0;
        while (std::getline(lines, line)) {
            ++number;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            ReadLine(line, number);
        }
        if (outline_.pages.empty())
            throw OutlineTextError(number, "the text holds no root page (a title line starting with \"* \")");
        FinishPage();
        return std::move(outline_);
    }

private:
    void ReadLine(const std::string& line, int number)
    {
        if (!line.empty() && line[0] == '#')
            return;
        if (!line.empty() && line[0] == '@') {
            ReadProperty(line, number);
            return;
        }
        TitleLine title;
        if (ReadTitleLine(line, number, title)) {
            AddPage(title, number);
            return;
        }
        if (IsBlank(line)) {
            // Blank lines between paragraphs count; those before a text do not.
            if (!outline_.pages.empty() && !outline_.pages.back().body.empty())
                outline_.pages.back().body += "\n";
            return;
        }
        if (outline_.pages.empty())
            throw OutlineTextError(number, "text before the root page");
        const std::size_t bodyIndent = static_cast<std::size_t>(levels_.back() + 1) * 2;
        if (Indent(line) < bodyIndent)
            throw OutlineTextError(number, "a page's text must be indented two blanks more than its title");
        outline_.pages.back().body += line.substr(bodyIndent) + "\n";
    }

    void ReadProperty(const std::string& line, int number)
    {
        if (!outline_.pages.empty())
            throw OutlineTextError(number, "properties come before the root page");
        const std::size_t blank = line.find(' ');
        const std::string name = line.substr(1, blank == std::string::npos ? std::string::npos : blank - 1);
        const std::string value = blank == std::string::npos ? "" : line.substr(blank + 1);
        if (name == "subject")
            outline_.properties.Subject = value;
        else if (name == "description")
            outline_.properties.Description = value;
        else
            throw OutlineTextError(number, "unknown property \"@" + name + "\"");
    }

    void AddPage(const TitleLine& title, int number)
    {
        if (outline_.pages.empty()) {
            if (title.level != 0)
                throw OutlineTextError(number, "the first page is the root, with its star in column 0");
        } else {
            if (title.level == 0)
                throw OutlineTextError(number, "an outline has one root page");
            if (title.level > levels_.back() + 1)
                throw OutlineTextError(number, "a page may be at most one level deeper than the page before it");
            FinishPage();
        }
        KbfPage page;
        page.title = title.title;
        page.state = title.state;
        page.expand = title.collapsed ? KbfCollapsed : KbfExpanded;
        // The parent is the nearest page before this one on the level above.
        for (std::size_t i = levels_.size(); i-- > 0;) {
            if (levels_[i] == title.level - 1) {
                page.parent = static_cast<std::int32_t>(i);
                break;
            }
        }
        outline_.pages.push_back(std::move(page));
        levels_.push_back(title.level);
    }

    // The text of the page just read is complete once the next title comes.
    void FinishPage() { DropTrailingBlankLines(outline_.pages.back().body); }

    KbfOutline outline_;
    std::vector<int> levels_;
};

// Pages without sub pages are stored with no expand state.
void MarkLeaves(KbfOutline& outline)
{
    std::vector<bool> hasChildren(outline.pages.size(), false);
    for (std::size_t i = 1; i < outline.pages.size(); ++i)
        hasChildren[static_cast<std::size_t>(outline.pages[i].parent)] = true;
    for (std::size_t i = 1; i < outline.pages.size(); ++i) {
        if (!hasChildren[i])
            outline.pages[i].expand = KbfNoChildren;
    }
}

} // namespace

KbfOutline ParseOutlineText(const std::string& text)
{
    KbfOutline outline = Parser().Parse(text);
    MarkLeaves(outline);
    outline.rootRecordRead = true;
    return outline;
}
