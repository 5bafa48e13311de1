// Web pages (and text) of trees whose titles and page texts are any bytes,
// under varied settings: no crash, only the export's own tags, every block
// quote closed, and nothing of a title unescaped in TITLE, H1 or a link.

#include "HtmlExport.h"
#include "TextExport.h"
#include "../tests/framework_base/SamplePageTree.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {
// Folders that do not exist: the state pictures are neither found nor copied.
const char* const Nowhere = "/nonexistent-quillo-fuzz";

unsigned char Take(std::string_view& input)
{
    if (input.empty())
        return 0;
    const auto byte = static_cast<unsigned char>(input.front());
    input.remove_prefix(1);
    return byte;
}

std::string TakeText(std::string_view& input)
{
    const size_t length = std::min<size_t>(Take(input), input.size());
    std::string text(input.substr(0, length));
    input.remove_prefix(length);
    return text;
}

ExportSettings SettingsFrom(std::string_view& input)
{
    const unsigned char a = Take(input);
    const unsigned char b = Take(input);
    ExportSettings settings;
    settings.ExportItems = a % 3;
    settings.ExportSource = (a / 3) % 2;
    settings.ExportProperties = (a / 6) % 2;
    settings.ExportIndentation = (a / 12) % 3;
    settings.ExportNumbering = (a / 36) % 3;
    settings.SpaceNumber = b % 4;
    settings.TabNumber = (b / 4) % 4;
    settings.LineAfterTitle = b & 0x10;
    settings.BreakAfterTitle = b & 0x20;
    settings.BreakAfterText = b & 0x40;
    settings.SimulateStates = b & 0x80;
    settings.ExportComments = a % 8;
    return settings;
}

// Each page: the earlier page it goes below, its state, title and text.
SamplePageTree TreeFrom(std::string_view& input, PageTreeView::Page& selected)
{
    SamplePageTree tree(TakeText(input));
    const size_t pages = Take(input) % 32;
    const size_t chosen = Take(input);
    for (size_t i = 0; i < pages && !input.empty(); ++i) {
        const auto& nodes = tree.Nodes();
        const auto* parent = &nodes[Take(input) % nodes.size()];
        const int state = Take(input) % 22;
        std::string title = TakeText(input);
        tree.Add(parent, std::move(title), state, TakeText(input));
    }
    tree.RootNode().body = TakeText(input);
    selected = &tree.Nodes()[chosen % tree.Nodes().size()];
    return tree;
}

[[noreturn]] void Fail(const char* what, const std::string& page)
{
    fprintf(stderr, "%s\n--- page ---\n", what);
    fwrite(page.data(), 1, page.size(), stderr);
    abort();
}

bool StartsWith(std::string_view text, size_t at, std::string_view start) { return text.substr(at, start.size()) == start; }

// An ampersand starts one of the entities the export writes.
bool EscapedAt(std::string_view text, size_t at)
{
    for (const char* entity : {"&amp;", "&lt;", "&gt;", "&quot;", "&nbsp;"})
        if (StartsWith(text, at, entity))
            return true;
    return false;
}

// Between open and the next close, no raw markup character; with lineBreaks,
// the line breaks the export writes for line feeds are let through.
void CheckEscaped(const std::string& page, std::string_view open, std::string_view close, const char* what,
                  bool lineBreaks = false)
{
    for (size_t at = page.find(open); at != std::string::npos; at = page.find(open, at + 1)) {
        const size_t from = at + open.size();
        const size_t to = page.find(close, from);
        if (to == std::string::npos)
            Fail(what, page);
        for (size_t i = from; i < to; ++i) {
            if (lineBreaks && StartsWith(page, i, "<BR>")) {
                i += 3;
                continue;
            }
            if (page[i] == '<' || page[i] == '>' || page[i] == '"' || (page[i] == '&' && !EscapedAt(page, i)))
                Fail(what, page);
        }
    }
}

// Every tag is one the export writes, and block quotes open and close in pairs.
void CheckTags(const std::string& page)
{
    static const char* const tags[] = {"<HTML>", "</HTML>", "<HEAD>", "</HEAD>", "<TITLE>", "</TITLE>", "<BODY>",
                                       "</BODY>", "<H1>", "</H1>", "<HR>", "<BLOCKQUOTE>", "</BLOCKQUOTE>", "<I>",
                                       "</I>", "<H4>", "</H4>", "<BR>", "<A href=\"", "</A>", "<img src=\""};
    long depth = 0;
    for (size_t at = page.find('<'); at != std::string::npos; at = page.find('<', at + 1)) {
        bool known = false;
        for (const char* tag : tags)
            known = known || StartsWith(page, at, tag);
        if (!known)
            Fail("a tag the export does not write", page);
        if (StartsWith(page, at, "<BLOCKQUOTE>"))
            ++depth;
        if (StartsWith(page, at, "</BLOCKQUOTE>") && --depth < 0)
            Fail("a block quote closed that was not open", page);
    }
    if (depth != 0)
        Fail("a block quote left open", page);
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    ExportProfile profile("Default");
    profile.Settings = SettingsFrom(input);
    const unsigned char web = Take(input);
    PageTreeView::Page selected = nullptr;
    const SamplePageTree tree = TreeFrom(input, selected);
    const OutlineToExport outline{tree, selected, TakeText(input), nullptr};

    (void)ExportOutlineText(outline, profile);

    TOptionSettings options;
    options.SupportFolder = web & 1;
    options.OriginalImages = web & 2;
    ExportProfileList list;
    for (const bool allowHtml : {false, true}) {
        options.AllowHtml = allowHtml;
        WebPageExport exporter{list, profile.Settings, options, Nowhere};
        const std::string page = ExportOutlineHtml(exporter, outline, std::string(Nowhere) + "/page.htm");
        // Markup allowed in the texts may hold its own TITLE; the head is the export's.
        CheckEscaped(page.substr(0, page.find("</HEAD>")), "<TITLE>", "</TITLE>", "raw markup in TITLE");
        if (allowHtml)
            continue;
        CheckTags(page);
        CheckEscaped(page, "<H1>", "</H1>", "raw markup in H1", true);
        CheckEscaped(page, "href=\"", "\">", "raw markup in a link");
        CheckEscaped(page, "src=\"", "\">", "raw markup in a picture");
    }
    return 0;
}
