// The page clipboard: cut branches move once, copied branches paste as
// independent copies as often as wanted, even into their own sub pages, and
// a deleted source leaves nothing to paste.
#include "PageTreeTest.h"

#include <gtest/gtest.h>

#include <string>

namespace {
class PageClipboardTest : public PageTreeTest {
protected:
    void Run(const std::string& handler) { Main->RunHandler(handler, nullptr); }
    void PasteOnto(TTreeNode* target)
    {
        Select(target);
        Run("ppPasteClick");
    }
};
}

TEST_F(PageClipboardTest, ACopyPastedTwiceGivesTwoIndependentCopies)
{
    Build("A(A1,A2),B");
    N("A")->SetStateIndex(9);
    PageDataOf(N("A"))->CaretStart = 3;
    Select(N("A"));
    Run("ppCopyClick");
    EXPECT_FALSE(N("A")->Cut());
    PasteOnto(N("B"));
    PasteOnto(N("B"));
    EXPECT_EQ("A(A1,A2),B(A(A1,A2),A(A1,A2))", Shape());

    TTreeNode* first = N("B")->getFirstChild();
    TTreeNode* second = N("B")->GetLastChild();
    EXPECT_EQ(second, Tree().Selected());
    EXPECT_EQ(second, PageHistory.Entry(PageHistory.Index()));
    EXPECT_EQ(1, OutlineProperties.FileChanged);
    for (TTreeNode* copy : {first, second}) {
        EXPECT_NE(PageDataOf(N("A")), PageDataOf(copy));
        EXPECT_EQ("A text", PageDataOf(copy)->BodyText());
        EXPECT_EQ(0, PageDataOf(copy)->CaretStart);
        EXPECT_EQ(9, copy->StateIndex());
    }
    EXPECT_NE(PageDataOf(first->getFirstChild()), PageDataOf(second->getFirstChild()));
}

TEST_F(PageClipboardTest, ACutBranchMovesOnceAndNeverIntoItself)
{
    Build("A(A1,A2),B");
    Select(N("A"));
    Run("ppCutClick");
    EXPECT_TRUE(N("A")->Cut());
    PasteOnto(N("A1"));
    EXPECT_EQ("A(A1,A2),B", Shape()) << "not into its own branch";
    EXPECT_EQ(0, OutlineProperties.FileChanged);

    PasteOnto(N("B"));
    EXPECT_EQ("B(A(A1,A2))", Shape());
    EXPECT_FALSE(N("A")->Cut());
    EXPECT_EQ(N("A"), Tree().Selected());
    EXPECT_EQ(nullptr, PageClipboard.Source);
    PasteOnto(Root());
    EXPECT_EQ("B(A(A1,A2))", Shape()) << "nothing left to paste";
}

TEST_F(PageClipboardTest, ABranchCopiedIntoItsOwnSubPageIsOneCompleteCopy)
{
    Build("A(A1(A11),A2),B");
    Select(N("A"));
    Run("ppCopyClick");
    PasteOnto(N("A11"));
    EXPECT_EQ("A(A1(A11(A(A1(A11),A2))),A2),B", Shape());
}

TEST_F(PageClipboardTest, ADeletedSourceLeavesNothingToPaste)
{
    struct Row {
        const char* command;
        const char* deleted;
        const char* shapeAfter;
    };
    const Row rows[] = {
        {"ppCutClick", "A1", "A,B"},
        {"ppCutClick", "A", "B"},
        {"ppCopyClick", "A1", "A,B"},
        {"ppCopyClick", "A", "B"},
    };
    OptionSettings.DeleteConfirm = false;
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.command) + " then delete " + row.deleted);
        Build("A(A1),B");
        Select(N("A1"));
        Run(row.command);
        Select(N(row.deleted));
        Run("mDeleteClick");
        EXPECT_EQ(nullptr, PageClipboard.Source);
        PasteOnto(N("B"));
        EXPECT_EQ(row.shapeAfter, Shape());
    }
}
