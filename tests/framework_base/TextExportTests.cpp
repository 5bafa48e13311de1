// The outline as lines of text, by the settings of an export profile.

#include "SamplePageTree.h"
#include "TextExport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using Node = SamplePageTree::Node;
using Lines = std::vector<std::string>;

Lines ItemsOf(const TStringList& list)
{
    Lines lines;
    for (int i = 0; i < list.Count(); ++i)
        lines.push_back(list[i]);
    return lines;
}

class TextExport : public ::testing::Test {
protected:
    Lines Export(const PageTreeView::Page selected = nullptr)
    {
        return ItemsOf(ExportOutlineText(OutlineToExport{tree, selected, properties, nullptr}, profile));
    }
    void Plain()
    {
        profile.Settings.LineAfterTitle = false;
        profile.Settings.LineAfterText = false;
    }

    SamplePageTree tree{"R"};
    ExportProfile profile{"Default"};
    std::string properties;
};

TEST_F(TextExport, FreshProfileGivesTabbedTitlesAndTextsEachFollowedByAnEmptyLine)
{
    tree.Add(nullptr, "A", 1, "x");
    tree.Add(nullptr, "B");
    EXPECT_EQ(Export(), (Lines{"R", "", "\tA", "", "\tx", "", "\tB", ""}));
    EXPECT_EQ(ExportOutlineText(OutlineToExport{tree, nullptr, "", nullptr}, profile).GetText(), "R\r\n\r\n\tA\r\n\r\n\tx\r\n\r\n\tB\r\n\r\n");
}

TEST_F(TextExport, RunningNumbersCountFromTheSelectedPageWhateverTheLevel)
{
    const Node* top = tree.Add(nullptr, "Top");
    const Node* a = tree.Add(top, "A");
    tree.Add(a, "A1");
    tree.Add(top, "B");
    tree.Add(nullptr, "After");
    Plain();
    profile.Settings.ExportSource = 1;
    profile.Settings.ExportNumbering = 1;
    EXPECT_EQ(Export(top), (Lines{"Top", "\t1. A", "\t\t2. A1", "\t3. B"}));
}

TEST_F(TextExport, OutlineNumbersFollowLevelsAndClimbSeveralAtOnce)
{
    const Node* a = tree.Add(nullptr, "A");
    tree.Add(a, "A1");
    const Node* a2 = tree.Add(a, "A2");
    tree.Add(a2, "A2a");
    tree.Add(nullptr, "B");
    Plain();
    profile.Settings.ExportIndentation = 0;
    profile.Settings.ExportNumbering = 2;
    EXPECT_EQ(Export(), (Lines{"R", "1. A", "1.1. A1", "1.2. A2", "1.2.1. A2a", "2. B"}));
}

TEST_F(TextExport, TheLastChildOfAParentWithAFollowingSiblingExportsOnlyItsOwnBranch)
{
    const Node* a = tree.Add(nullptr, "A");
    tree.Add(a, "A1");
    const Node* last = tree.Add(a, "A2");
    tree.Add(last, "A2a");
    tree.Add(nullptr, "B");
    Plain();
    profile.Settings.ExportSource = 1;
    EXPECT_EQ(Export(last), (Lines{"A2", "\tA2a"}));
}

TEST_F(TextExport, SelectedSourceWithNothingSelectedStartsAtTheRoot)
{
    tree.Add(nullptr, "A");
    Plain();
    profile.Settings.ExportSource = 1;
    EXPECT_EQ(Export(nullptr), (Lines{"R", "\tA"}));
}

TEST_F(TextExport, TextOnlyCarriesNoIndentationAndSplitsEveryKindOfLineEnd)
{
    const Node* a = tree.Add(nullptr, "A");
    tree.Add(a, "A1", 1, "one\r\ntwo\rthree\nfour\r\n\r\n");
    Plain();
    profile.Settings.ExportItems = 1;
    EXPECT_EQ(Export(), (Lines{"one", "two", "three", "four", ""}));
}

TEST_F(TextExport, BlanksIndentationRepeatsSpaceNumberPerLevelOnTitlesAndTexts)
{
    const Node* a = tree.Add(nullptr, "A");
    tree.Add(a, "A1", 1, "x\r\n\r\ny");
    Plain();
    profile.Settings.ExportIndentation = 1;
    profile.Settings.SpaceNumber = 3;
    EXPECT_EQ(Export(), (Lines{"R", "   A", "      A1", "      x", "      ", "      y"}));
}

TEST_F(TextExport, PropertiesCommentsStatesAndFormFeeds)
{
    tree.RootNode().state = 20;
    tree.Add(nullptr, "A", 2, "x");
    tree.Add(nullptr, "F", 3, "");
    properties = "Title: R\r\nAuthor: me\r\n";
    profile.Settings.ExportProperties = true;
    profile.Settings.ExportComments = 1;
    profile.Settings.SimulateStates = true;
    profile.Settings.LineAfterTitle = false;
    profile.Settings.BreakAfterTitle = true;
    profile.Settings.LineAfterText = false;
    profile.Settings.BreakAfterText = true;
    EXPECT_EQ(Export(), (Lines{properties, "", " //* [ ] R *//", "\f", "\t //* [x] A *//", "\f", "\tx", "\f",
                               "\t //* [ ] F *//", "\f"}));
}

TEST(TextExportPieces, CommentStylesMarkersAndIndents)
{
    ExportSettings settings;
    settings.OpenComment = "{";
    settings.CloseComment = "}";
    const std::pair<const char*, const char*> comments[] = {
        {"", ""}, {" //* ", " *//"}, {" // ", ""}, {" /' ", ""}, {" <!-- ", " -->"}, {" # ", ""}, {"{", "}"}, {"", ""},
    };
    for (int style = 0; style < 8; ++style) {
        settings.ExportComments = style;
        EXPECT_EQ(CommentDelimiter(settings, true), comments[style].first) << style;
        EXPECT_EQ(CommentDelimiter(settings, false), comments[style].second) << style;
    }
    const char* const markers[] = {"[ ]", "[ ]", "[x]", "[ ]", "[?]", "[!]", "[*]", "[$]", "[@]", "[ ]", "[ ]"};
    for (int state = 0; state <= 10; ++state)
        EXPECT_EQ(StateMarker(state), markers[state]) << state;
    EXPECT_EQ(StateMarker(15), "[ ]");
    EXPECT_EQ(StateMarker(20), "[ ]");
    EXPECT_EQ(StateMarker(-1), "[ ]");
    EXPECT_EQ(IndentPrefix("\t", 2, 2), "\t\t\t\t");
    EXPECT_EQ(IndentPrefix(" ", 0, 5), "");
    EXPECT_EQ(IndentPrefix(" ", 2, -1), "");
}

TEST(TextExportPieces, OutlineNumbers)
{
    EXPECT_EQ(NextOutlineNumber("1.", 1, 2, 0), "1.1.");
    EXPECT_EQ(NextOutlineNumber("1.1.", 2, 2, 1), "1.2.");
    EXPECT_EQ(NextOutlineNumber("1.2.1.", 3, 1, 1), "2.");
    EXPECT_EQ(NextOutlineNumber("9.", 1, 1, 9), "10.");
    EXPECT_EQ(NextOutlineNumber("10.11.12.", 3, 2, 4), "10.5.");
}
}
