#include "TreePadFormat.h"

#include <string>
#include <vector>

namespace {

constexpr std::string_view Header09 = "<hj-Treepad version 0.9>";
constexpr std::string_view Header27 = "<Treepad version 2.7>";
constexpr std::string_view TextType = "dt=Text";
constexpr std::string_view NodeMarker = "<node>";
constexpr std::string_view EndNode = "<end node> 5P9i0s8y19Z";
// The marker is read as at most this many characters, a line feed ending it early.
constexpr std::size_t MarkerLength = 6;

bool IsWhite(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A cursor over the file's bytes that never sees a CR.
class TreePadText {
public:
    explicit TreePadText(std::string_view bytes) : bytes_(bytes) { SkipCr(); }

    bool AtEnd() const { return at_ == bytes_.size(); }

    void SkipWhite()
    {
        while (!AtEnd() && IsWhite(bytes_[at_]))
            Step();
    }

    // The line up to its line feed, which is consumed and not returned.
    // hadLineFeed tells a last line without one from the others.
    std::string Line(bool* hadLineFeed = nullptr)
    {
        std::size_t end = bytes_.find('\n', at_);
        if (end == std::string_view::npos)
            end = bytes_.size();
        // Whole runs at a time: a large file is tens of megabytes of lines.
        std::string line;
        while (at_ < end) {
            std::size_t stop = bytes_.find('\r', at_);
            if (stop == std::string_view::npos || stop > end)
                stop = end;
            line.append(bytes_.substr(at_, stop - at_));
            at_ = stop;
            SkipCr();
        }
        const bool lineFeed = !AtEnd();
        if (lineFeed)
            Step();
        if (hadLineFeed)
            *hadLineFeed = lineFeed;
        return line;
    }

    // Up to count characters, stopping after a line feed (kept).
    std::string Characters(std::size_t count)
    {
        std::string text;
        while (!AtEnd() && text.size() < count) {
            text += bytes_[at_];
            Step();
            if (text.back() == '\n')
                break;
        }
        return text;
    }

    // A decimal integer with an optional sign, white space skipped before
    // and after; false, with nothing consumed but the white space before,
    // when no digit follows. Values beyond int range saturate.
    bool Integer(long long& value)
    {
        SkipWhite();
        std::size_t probe = at_;
        bool negative = false;
        if (probe < bytes_.size() && (bytes_[probe] == '-' || bytes_[probe] == '+')) {
            negative = bytes_[probe] == '-';
            probe = NextAfter(probe);
        }
        if (probe >= bytes_.size() || bytes_[probe] < '0' || bytes_[probe] > '9')
            return false;
        value = 0;
        while (probe < bytes_.size() && bytes_[probe] >= '0' && bytes_[probe] <= '9') {
            if (value < 1'000'000'000'000LL)
                value = value * 10 + (bytes_[probe] - '0');
            probe = NextAfter(probe);
        }
        if (negative)
            value = -value;
        at_ = probe;
        SkipWhite();
        return true;
    }

private:
    void Step()
    {
        ++at_;
        SkipCr();
    }
    void SkipCr()
    {
        while (at_ < bytes_.size() && bytes_[at_] == '\r')
            ++at_;
    }
    std::size_t NextAfter(std::size_t position) const
    {
        ++position;
        while (position < bytes_.size() && bytes_[position] == '\r')
            ++position;
        return position;
    }

    std::string_view bytes_;
    std::size_t at_ = 0;
};

// Where the next page goes: the path from the root to the page read last,
// whose length - 1 is that page's level in the tree.
class TreePadPlacement {
public:
    explicit TreePadPlacement(KbfOutline& outline) : outline_(outline) { path_.push_back(0); }

    void Place(long long level, std::string title, std::string body)
    {
        if (level == 0) {
            KbfPage& root = outline_.pages[0];
            root.title = std::move(title);
            root.body = std::move(body);
            root.state = 1;
            outline_.rootRecordRead = true;
            path_.assign(1, 0);
            return;
        }
        const auto selectedLevel = static_cast<long long>(path_.size()) - 1;
        if (level == selectedLevel) {
            path_.pop_back();
        } else if (level < selectedLevel) {
            // Level is at least 1 here, so the root always stops the climb.
            while (static_cast<long long>(path_.size()) - 1 >= level)
                path_.pop_back();
        }
        KbfPage page;
        page.title = std::move(title);
        page.body = std::move(body);
        page.parent = path_.back();
        outline_.pages.push_back(std::move(page));
        path_.push_back(static_cast<std::int32_t>(outline_.pages.size() - 1));
    }

private:
    KbfOutline& outline_;
    std::vector<std::int32_t> path_;
};

bool OnlyLineFeeds(const std::string& text)
{
    return !text.empty() && text.find_first_not_of('\n') == std::string::npos;
}

// The body lines up to the end-of-node line (with or without its line feed)
// or the end of the file, each ending with CR LF.
std::string ReadBody(TreePadText& text)
{
    std::string body;
    while (!text.AtEnd()) {
        const std::string line = text.Line();
        text.SkipWhite();
        if (line == EndNode)
            break;
        body += line;
        body += "\r\n";
    }
    return body;
}

} // namespace

const char* TreePadReadMessage(TreePadReadResult result)
{
    switch (result) {
    case TreePadReadResult::Ok:
        return "";
    case TreePadReadResult::NotTreePad:
        return "Input file is not valid TreePad file!";
    case TreePadReadResult::Newer:
        return "Treepad file is newer, than Treepad files supported by Quillo.\n"
               "Check for newer version of Quillo on Corvane web site!";
    case TreePadReadResult::Corrupted:
        return "Treepad file is corrupted!";
    case TreePadReadResult::MissingLevel:
        return "Input file is corrupted!";
    }
    return "Input file is corrupted!";
}

TreePadReadResult ReadTreePad(std::string_view bytes, KbfOutline& outline)
{
    if (outline.pages.empty())
        outline.pages.emplace_back();
    TreePadText text(bytes);
    const std::string header = text.Line();
    const bool version27 = header == Header27;
    if (!version27 && header != Header09)
        return TreePadReadResult::NotTreePad;
    TreePadPlacement placement(outline);
    while (true) {
        if (version27) {
            const std::string type = text.Line();
            if (type != TextType)
                return type.find("dt=") != std::string::npos ? TreePadReadResult::Newer : TreePadReadResult::Ok;
        }
        const std::string marker = text.Characters(MarkerLength);
        if (!version27 && marker != NodeMarker) {
            bool lineFeed = false;
            std::string joined = marker;
            if (joined.empty() || joined.back() != '\n') {
                joined += text.Line(&lineFeed);
                if (lineFeed)
                    joined += '\n';
            }
            return OnlyLineFeeds(joined) ? TreePadReadResult::Corrupted : TreePadReadResult::Ok;
        }
        text.SkipWhite();
        std::string title = text.Line();
        long long level = -1;
        if (!text.Integer(level) || level < 0)
            return TreePadReadResult::MissingLevel;
        std::string body = ReadBody(text);
        placement.Place(level, std::move(title), std::move(body));
        if (text.AtEnd())
            return TreePadReadResult::Ok;
    }
}
