#include "PageTreeTest.h"

#include "ActionOutlineBytes.h"
#include "ForeignImports.h"
#include "Progress.h"
#include "RichEdit.h"
#include "ScriptedFileDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "SharedState.h"
#include "TextImport.h"
#include "TreeView.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {
std::string TreePadNode(const std::string& title, int level, const std::string& body)
{
    return "<node>\r\n" + title + "\r\n" + std::to_string(level) + "\r\n" + body + "<end node> 5P9i0s8y19Z\r\n";
}

const std::string AoMagic = AoFile("");

const std::string TreePadSample = "<hj-Treepad version 0.9>\r\n" + TreePadNode("Top", 0, "root\r\n") +
                                  TreePadNode("A", 1, "  alpha\r\n\r\nbeta\r\n") + TreePadNode("Deep", 3, "") +
                                  TreePadNode("B", 1, "");
const std::string AoSample = AoMagic + AoRecord("Top", "root", 2) +
                             AoRecord(std::string("\x01\x01\x03" "A", 4), "alpha", 1) + AoRecord("Deep", "", 0) +
                             AoRecord(std::string("\x01\x01\x80" "B", 4), "", 0);

class ForeignImports : public PageTreeTest {
protected:
    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = folder_ / name;
        WriteFileBytes(path, bytes);
        return path;
    }
    // What every end of an import leaves: the cover hidden, the progress
    // ended, the file closed (it can be deleted).
    void ExpectCleanEnd(const std::string& path)
    {
        EXPECT_FALSE(Main->Tree2->Visible());
        EXPECT_EQ(0, ProgressDepth());
        EXPECT_TRUE(DeleteFileA(path.c_str()));
    }
};
}

TEST_F(ForeignImports, OpenBringsInBothFormatsAsNewUnnamedOutlines)
{
    const struct {
        const char* name;
        const std::string& bytes;
    } files[] = {{"Notes.hjt", TreePadSample}, {"Notes.ao", AoSample}};
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        SavedOutline("Open.kbf", "Open");
        const std::string path = Write(file.name, file.bytes);
        ScriptedFileDialogs dialogs;
        dialogs.Choose(path);
        Main->mOpenClick(nullptr);
        EXPECT_EQ("A(Deep),B", Shape());
        EXPECT_EQ("Top", Root()->Text());
        EXPECT_EQ(UntitledFileName, CurrentFileName);
        EXPECT_EQ(0, OutlineProperties.FileChanged);
        EXPECT_EQ(Root(), Tree().Selected());
        EXPECT_TRUE(Root()->Expanded());
        EXPECT_FALSE(Root()->getFirstChild()->Expanded());
        EXPECT_EQ(5, Root()->SelectedIndex());
        EXPECT_EQ(4, Root()->getFirstChild()->SelectedIndex());
        ExpectCleanEnd(path);
    }
}

TEST_F(ForeignImports, PagesKeepTheirTextsAndStateIcons)
{
    ASSERT_TRUE(ImportTreePad(Write("Notes.hjt", TreePadSample)));
    TTreeNode* a = Root()->getFirstChild();
    EXPECT_EQ("alpha\r\nbeta\r\n", PageDataOf(a)->BodyText());
    EXPECT_EQ("root\r\n", PageDataOf(Root())->BodyText());
    EXPECT_EQ(1, a->StateIndex());

    ASSERT_TRUE(ImportActionOutline(Write("Notes.ao", AoSample)));
    a = Root()->getFirstChild();
    EXPECT_EQ("alpha", PageDataOf(a)->BodyText());
    EXPECT_EQ(9, a->StateIndex());
    EXPECT_EQ(-128, a->getNextSibling()->StateIndex());
}

TEST_F(ForeignImports, DamagedFilesAreRefusedWithTheirMessageAndACleanEnd)
{
    const std::string pad = "<hj-Treepad version 0.9>\r\n" + TreePadNode("A", 1, "");
    const struct {
        const char* name;
        std::string bytes;
        const char* message;
        int pagesKept;
    } cases[] = {
        {"Bad.hjt", "<Treepad version 3.0>\r\n", "Input file is not valid TreePad file!", 1},
        {"Newer.hjt", "<Treepad version 2.7>\r\ndt=Text\r\n" + TreePadNode("A", 1, "") + "dt=RTF\r\n",
         "Treepad file is newer, than Treepad files supported by Quillo.\n"
         "Check for newer version of Quillo on Corvane web site!",
         2},
        {"NoLevel.hjt", pad + "<node>\r\nB\r\n\r\n", "Input file is corrupted!", 2},
        {"Minus.hjt", pad + "<node>\r\nB\r\n-5\r\n", "Input file is corrupted!", 2},
        {"Bad.ao", "[GP][AO][1.0][01]", "Input file is not valid ActionOutline file!", 1},
        {"Cut.ao", AoSample.substr(0, AoSample.size() - 3), "Input file is corrupted!", 4},
        {"Huge.ao", AoMagic + Int32Bytes(0x7FFFFFFF) + "x", "Input file is corrupted!", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Write(c.name, c.bytes);
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDOK);
        const bool ao = std::string(c.name).ends_with(".ao");
        EXPECT_FALSE(ao ? ImportActionOutline(path) : ImportTreePad(path));
        EXPECT_EQ((std::vector<std::string>{c.message}), boxes.Texts());
        EXPECT_EQ(c.pagesKept, Tree().Items().Count());
        ExpectCleanEnd(path);
    }
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    EXPECT_FALSE(ImportActionOutline(folder_ / "Missing.ao"));
    EXPECT_EQ((std::vector<std::string>{"Cannot open input file!"}), boxes.Texts());
    EXPECT_EQ(0, ProgressDepth());
}

TEST_F(ForeignImports, TextAndRichTextFilesBecomePagesAndTheConverterIsRestored)
{
    Write("Plain.txt", "one\r\ntwo");
    Write("Rich.rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 bold {\\b word}\\par next line\\par}");
    TQRichEdit& rich = *Main->Rich;
    const auto expectRestored = [&] {
        EXPECT_TRUE(rich.PlainText());
        EXPECT_TRUE(rich.WordWrap());
        EXPECT_EQ("", rich.Text());
        EXPECT_EQ(nullptr, Editor().Cursor());
    };
    Select(Root());
    ASSERT_TRUE(ImportTextFile(folder_ / "Plain.txt"));
    EXPECT_EQ("one\r\ntwo", PageDataOf(Tree().Selected())->BodyText());
    expectRestored();
    Select(Root());
    ASSERT_TRUE(ImportTextFile(folder_ / "Rich.rtf"));
    EXPECT_EQ("Rich", Tree().Selected()->Text());
    EXPECT_EQ(0u, PageDataOf(Tree().Selected())->BodyText().find("bold word\r\nnext line"));
    expectRestored();

    // Both limits, and a file that cannot be read.
    Tree().Items().BeginUpdate();
    TTreeNode* deep = Root();
    for (int level = 0; level < 255; ++level) {
        deep = Tree().Items().AddChild(deep, "p");
        AttachNewPageData(deep);
    }
    Tree().Items().EndUpdate();
    for (const std::string name : {"Plain.txt", "Rich.rtf", "Missing.rtf"}) {
        SCOPED_TRACE(name);
        Tree().SetSelected(deep);
        const int pages = Tree().Items().Count();
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDOK);
        EXPECT_FALSE(ImportTextFile(folder_ / name));
        EXPECT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ(pages, Tree().Items().Count());
        expectRestored();
    }
}
