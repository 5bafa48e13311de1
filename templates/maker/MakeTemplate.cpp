// Makes one shipped template from its text source:
//
//     quillo_make_template page SOURCE TARGET.txt     (line ends become CR LF)
//     quillo_make_template outline SOURCE TARGET.kbf  (an outline file)
//
// An outline source is plain text. Lines "Subject: ...", "Description: ..."
// and "Created: ..." at the top fill the outline's properties. A line
// "= Title" starts the root page; a line of one or more "*" and a blank
// ("* Title", "** Title", ...) starts a page at that level below the root,
// at most one level deeper than the page before it. Every other line belongs
// to the text of the page above it; blank lines at the start and the end of
// a text are dropped.
#include "KbfFormat.h"
#include "Streams.h"

#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {
struct SourceError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct SourcePage {
    int level = 0;
    std::string title;
    std::vector<std::string> lines;
};

struct OutlineSource {
    std::string subject;
    std::string description;
    std::string created;
    std::vector<SourcePage> pages; // pre-order; pages[0] is the root
};

std::string ReadWhole(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw SourceError("cannot read " + path);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::string withoutCr;
    for (const char c : text) {
        if (c != '\r')
            withoutCr += c;
    }
    return withoutCr;
}

void WriteWhole(const std::string& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file.flush())
        throw SourceError("cannot write " + path);
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

// The level of a heading line ("=" root: 0, "*" * n: n), or -1 for text.
int HeadingLevel(const std::string& line)
{
    if (line.rfind("= ", 0) == 0)
        return 0;
    size_t stars = 0;
    while (stars < line.size() && line[stars] == '*')
        ++stars;
    if (stars > 0 && stars < line.size() && line[stars] == ' ')
        return static_cast<int>(stars);
    return -1;
}

std::string HeadingTitle(const std::string& line) { return line.substr(line.find(' ') + 1); }

bool ReadProperty(const std::string& line, OutlineSource& source)
{
    const struct {
        const char* prefix;
        std::string OutlineSource::*field;
    } properties[] = {{"Subject: ", &OutlineSource::subject},
                      {"Description: ", &OutlineSource::description},
                      {"Created: ", &OutlineSource::created}};
    for (const auto& property : properties) {
        if (line.rfind(property.prefix, 0) == 0) {
            source.*property.field = line.substr(std::string(property.prefix).size());
            return true;
        }
    }
    return false;
}

OutlineSource ParseOutline(const std::string& text, const std::string& name)
{
    OutlineSource source;
    int number = 0;
    for (const std::string& line : SplitLines(text)) {
        ++number;
        const std::string where = name + ":" + std::to_string(number) + ": ";
        const int level = HeadingLevel(line);
        if (source.pages.empty()) {
            if (level == 0)
                source.pages.push_back({0, HeadingTitle(line), {}});
            else if (!line.empty() && !ReadProperty(line, source))
                throw SourceError(where + "expected a property or the root line \"= Title\"");
            continue;
        }
        if (level == 0)
            throw SourceError(where + "a second root line");
        if (level > source.pages.back().level + 1)
            throw SourceError(where + "a page more than one level below the page before it");
        if (level > 0)
            source.pages.push_back({level, HeadingTitle(line), {}});
        else
            source.pages.back().lines.push_back(line);
    }
    if (source.pages.empty())
        throw SourceError(name + ": no root line \"= Title\"");
    return source;
}

std::string BodyOf(const std::vector<std::string>& lines)
{
    size_t first = 0;
    size_t end = lines.size();
    while (first < end && lines[first].empty())
        ++first;
    while (end > first && lines[end - 1].empty())
        --end;
    std::string body;
    for (size_t i = first; i < end; ++i)
        body += lines[i] + (i + 1 < end ? "\n" : "");
    return body;
}

KbfOutline ToKbf(const OutlineSource& source)
{
    KbfOutline outline;
    outline.properties.Subject = source.subject;
    outline.properties.Description = source.description;
    outline.properties.Created = source.created;
    // The latest page of each level so far: the parent of the next deeper one.
    std::vector<std::int32_t> lastAtLevel;
    for (size_t i = 0; i < source.pages.size(); ++i) {
        const SourcePage& page = source.pages[i];
        KbfPage record;
        record.title = page.title;
        record.body = BodyOf(page.lines);
        lastAtLevel.resize(static_cast<size_t>(page.level) + 1);
        if (page.level > 0)
            record.parent = lastAtLevel[static_cast<size_t>(page.level) - 1];
        lastAtLevel[static_cast<size_t>(page.level)] = static_cast<std::int32_t>(i);
        const bool hasChildren = i + 1 < source.pages.size() && source.pages[i + 1].level > page.level;
        record.expand = hasChildren ? KbfExpanded : KbfNoChildren;
        outline.pages.push_back(record);
    }
    return outline;
}

std::string PageTemplate(const std::string& text)
{
    std::string crlf;
    for (const char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return crlf;
}

std::string OutlineTemplate(const std::string& text, const std::string& name)
{
    KbfOutline outline = ToKbf(ParseOutline(text, name));
    // The date of the source, not of the build, so every build writes the
    // same bytes.
    const KbfStamp stamp{outline.properties.Created, "Corvane"};
    TStringStream stream;
    WriteKbf(stream, outline, stamp);
    const std::string bytes = stream.DataString();
    KbfOutline check;
    if (ReadKbfBytes(bytes, check) != KbfReadResult::Ok || check.pages.size() != outline.pages.size())
        throw SourceError(name + ": the outline written does not read back");
    return bytes;
}
}

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() != 3 || (args[0] != "page" && args[0] != "outline")) {
        std::cerr << "usage: quillo_make_template page|outline SOURCE TARGET\n";
        return 2;
    }
    try {
        const std::string text = ReadWhole(args[1]);
        WriteWhole(args[2], args[0] == "page" ? PageTemplate(text) : OutlineTemplate(text, args[1]));
    } catch (const std::exception& error) {
        std::cerr << error.what() << "\n";
        return 1;
    }
    return 0;
}
