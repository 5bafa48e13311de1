// The outline as one web page, byte for byte.

#include "HtmlExport.h"
#include "SamplePageTree.h"

#include <gtest/gtest.h>

#include <string>

namespace {
using Node = SamplePageTree::Node;

const std::string Head = "<HTML>\n\n<HEAD>\n<TITLE>R</TITLE>\n\n</HEAD>\n\n<BODY>\n<H1>R</H1>\n<HR>\n";
const std::string Foot = "</BODY>\n</HTML>";

class HtmlExport : public ::testing::Test {
protected:
    std::string Export(const PageTreeView::Page selected = nullptr)
    {
        WebPageExport web{list, profile.Settings, options, "C:\\Program"};
        return ExportOutlineHtml(web, OutlineToExport{tree, selected, "", nullptr}, "C:\\out\\page.htm");
    }

    SamplePageTree tree{"R"};
    ExportProfileList list;
    ExportProfile profile{"Default"};
    TOptionSettings options;
};

// R (r1, r2) with A (x) and its child A1, then B.
class HtmlExportSample : public HtmlExport {
protected:
    HtmlExportSample()
    {
        tree.RootNode().body = "r1\r\nr2";
        a = tree.Add(nullptr, "A", 1, "x");
        a1 = tree.Add(a, "A1");
        tree.Add(nullptr, "B");
    }
    const Node* a = nullptr;
    const Node* a1 = nullptr;
};

TEST_F(HtmlExportSample, DefaultProfileNestsEachLevelAndEachTextInBlockQuotes)
{
    EXPECT_EQ(Export(), Head + "<BLOCKQUOTE>r1\r<BR>\nr2<BLOCKQUOTE>\n<H4>A</H4>\n<BLOCKQUOTE>\nx\r<BR>\n<BR>\n"
                               "</BLOCKQUOTE>\n<BLOCKQUOTE>\n<H4>A1</H4>\n</BLOCKQUOTE>\n<H4>B</H4>\n</BLOCKQUOTE>\n"
                               "</BLOCKQUOTE>\n" +
                          Foot);
}

TEST_F(HtmlExportSample, TitlesOnlyNestAndCloseEveryQuoteBeforeTheFoot)
{
    tree.Add(tree.Add(a1, "A1a"), "A1a1");
    profile.Settings.ExportItems = 0;
    EXPECT_EQ(Export(), Head + "<BLOCKQUOTE>\n<H4>A</H4>\n<BLOCKQUOTE>\n<H4>A1</H4>\n<BLOCKQUOTE>\n<H4>A1a</H4>\n"
                               "<BLOCKQUOTE>\n<H4>A1a1</H4>\n</BLOCKQUOTE>\n</BLOCKQUOTE>\n</BLOCKQUOTE>\n<H4>B</H4>\n"
                               "</BLOCKQUOTE>\n" +
                          Foot);
}

TEST_F(HtmlExportSample, TextOnlyPutsEachTextInItsOwnQuoteWithoutHeadings)
{
    profile.Settings.ExportItems = 1;
    EXPECT_EQ(Export(), Head + "<BLOCKQUOTE>r1\r<BR>\nr2<BLOCKQUOTE>\n<BLOCKQUOTE>\nx\r<BR>\n<BR>\n</BLOCKQUOTE>\n"
                               "<BLOCKQUOTE>\n</BLOCKQUOTE>\n</BLOCKQUOTE>\n</BLOCKQUOTE>\n" +
                          Foot);
}

TEST_F(HtmlExportSample, NoIndentationKeepsOnlyTheOuterQuote)
{
    profile.Settings.ExportIndentation = 0;
    profile.Settings.BreakAfterText = true;
    EXPECT_EQ(Export(), Head + "<BLOCKQUOTE>r1\r<BR>\nr2<H4>A</H4>\nx\r<BR>\n<BR>\n\n<HR>\n<H4>A1</H4>\n<H4>B</H4>\n"
                               "</BLOCKQUOTE>\n" +
                          Foot);
}

TEST_F(HtmlExportSample, NumbersStatesPropertiesAndRules)
{
    tree.RootNode().children[0]->state = 2;
    profile.Settings.ExportItems = 0;
    profile.Settings.ExportIndentation = 0;
    profile.Settings.ExportNumbering = 2;
    profile.Settings.SimulateStates = true;
    profile.Settings.BreakAfterTitle = true;
    options.OriginalImages = false;
    EXPECT_EQ(Export(), Head + "<H4>[x] 1.) A\n<HR>\n</H4>\n<H4>[ ] 1.1.) A1\n<HR>\n</H4>\n<H4>[ ] 2.) B\n<HR>\n</H4>\n" +
                          Foot);
    profile.Settings.ExportNumbering = 1;
    profile.Settings.SimulateStates = false;
    profile.Settings.BreakAfterTitle = false;
    profile.Settings.ExportSource = 1;
    EXPECT_EQ(Export(a), "<HTML>\n\n<HEAD>\n<TITLE>A</TITLE>\n\n</HEAD>\n\n<BODY>\n<H1>A</H1>\n<HR>\n<H4>1.) A1</H4>\n" +
                             Foot);
}

TEST_F(HtmlExport, PropertiesStandInAnItalicQuote)
{
    profile.Settings.ExportProperties = true;
    profile.Settings.ExportItems = 0;
    WebPageExport web{list, profile.Settings, options, ""};
    EXPECT_EQ(ExportOutlineHtml(web, OutlineToExport{tree, nullptr, "Title: R\r\n", nullptr}, "p.htm"),
              Head + "<BLOCKQUOTE><I>Title: R\r<BR>\n</I></BLOCKQUOTE>\n<HR>\n" + Foot);
}

TEST(HtmlEscaping, BlanksTabsLineFeedsAndMarkup)
{
    const std::tuple<const char*, const char*, const char*> rows[] = {
        // text, markup escaped, markup allowed
        {"a  b", "a &nbsp;b", "a &nbsp;b"},
        {"a   b", "a &nbsp;&nbsp;b", "a &nbsp;&nbsp;b"},
        {"a\tb", "a&nbsp;&nbsp;&nbsp; b", "a&nbsp;&nbsp;&nbsp; b"},
        {" \t ", " &nbsp;&nbsp;&nbsp;  ", " &nbsp;&nbsp;&nbsp;  "},
        {"x\r\ny", "x\r<BR>\ny", "x\r<BR>\ny"},
        {"a <", "a &lt;", "a <"},
        {"<b>\"Q&A\"</b>", "&lt;b&gt;&quot;Q&amp;A&quot;&lt;/b&gt;", "<b>\"Q&A\"</b>"},
    };
    for (const auto& [text, all, whitespace] : rows) {
        EXPECT_EQ(HtmlEscapeText(text, false), all) << text;
        EXPECT_EQ(HtmlEscapeText(text, true), whitespace) << text;
    }
    EXPECT_EQ(HtmlEscapeMarkup("a  \"b\" & <c>"), "a  &quot;b&quot; &amp; &lt;c&gt;");
}

TEST(HtmlEscaping, PageHeadAndFoot)
{
    EXPECT_EQ(HtmlPageHead("T", "<META x>"), "<HTML>\n\n<HEAD>\n<TITLE>T</TITLE>\n<META x>\n</HEAD>\n\n<BODY>\n");
    EXPECT_EQ(HtmlPageFoot(), "</BODY>\n</HTML>");
}

TEST_F(HtmlExport, TitlesNeverBreakTheDocumentWhereverTheyStand)
{
    tree.RootNode().title = "Q&A \"x\"</TITLE><script>";
    tree.Add(nullptr, "http://a.org/?q=1&r=\"2\"><script>");
    profile.Settings.ExportItems = 0;
    options.AllowHtml = false;
    EXPECT_EQ(Export(), "<HTML>\n\n<HEAD>\n<TITLE>Q&amp;A &quot;x&quot;&lt;/TITLE&gt;&lt;script&gt;</TITLE>\n\n</HEAD>\n\n"
                        "<BODY>\n<H1>Q&amp;A &quot;x&quot;&lt;/TITLE&gt;&lt;script&gt;</H1>\n<HR>\n<BLOCKQUOTE>\n"
                        "<H4><A href=\"http://a.org/?q=1&amp;r=&quot;2&quot;&gt;&lt;script&gt;\">"
                        "http://a.org/?q=1&amp;r=&quot;2&quot;&gt;&lt;script&gt;</A></H4>\n</BLOCKQUOTE>\n" +
                            Foot);
}

TEST_F(HtmlExport, LinkTitlesBecomeImagesOnlyForLowerCasePictureExtensions)
{
    const std::pair<const char*, const char*> rows[] = {
        {"http://x.org/a.gif", "<img src=\"http://x.org/a.gif\">"},
        {"file:b.png", "<img src=\"file:b.png\">"},
        {"http://x.org/a.GIF", "<A href=\"http://x.org/a.GIF\">http://x.org/a.GIF</A>"},
        {"http://x.org/", "<A href=\"http://x.org/\">http://x.org/</A>"},
        {"plain.gif", "plain.gif"},
    };
    for (const auto& [title, heading] : rows) {
        SamplePageTree pages{"R"};
        const Node* page = pages.Add(nullptr, title);
        WebPageExport web{list, profile.Settings, options, ""};
        EXPECT_EQ(ExportNodeHtml(web, pages, page, pages.Root(), 1), std::string("<H4>") + heading + "</H4>\n");
    }
}

TEST_F(HtmlExport, ALongParagraphGetsOneLineBreakAtItsEnd)
{
    tree.Add(nullptr, "A", 1, std::string(300, 'w') + " " + std::string(300, 'v'));
    profile.Settings.ExportIndentation = 0;
    profile.Settings.ExportItems = 1;
    EXPECT_EQ(Export(), Head + "<BLOCKQUOTE>" + std::string(300, 'w') + " " + std::string(300, 'v') + "\r<BR>\n<BR>\n" +
                          "</BLOCKQUOTE>\n" + Foot);
}

TEST(HtmlBodyLines, EveryLineEndsInCarriageReturnLineFeed)
{
    EXPECT_EQ(HtmlBodyLines("a\rb\nc\r\n\r\nd"), "a\r\nb\r\nc\r\n\r\nd\r\n");
    EXPECT_EQ(HtmlBodyLines(std::string("a\0b", 3)), std::string("a\0b\r\n", 5));
}
}
