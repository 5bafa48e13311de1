// The page tree commands: delete with its confirmation and its targets, the
// moves, expanding and collapsing, each checking its target before it acts.
#include "DeleteDialog.h"
#include "FindDialog.h"
#include "Menus.h"
#include "ModalScript.h"
#include "ModelessWindows.h"
#include "PageTreeTest.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {
class TreeCommands : public PageTreeTest {
protected:
    void Run(const std::string& handler) { Main->RunHandler(handler, nullptr); }
    TMenuItem* Item(const char* name) { return dynamic_cast<TMenuItem*>(Main->FindComponent(name)); }
};
}

TEST_F(TreeCommands, DeleteAsksInTheConfirmDialogAndOnlyYesDeletes)
{
    struct Row {
        const char* page;
        const char* question;
        std::function<void(TDelete&)> answer;
        const char* shapeAfter;
    };
    const Row rows[] = {
        {"A", "Are you sure you want to delete 'A' and all its contents?", [](TDelete& d) { d.No.Click(); },
         "A(A1),B"},
        {"B", "Are you sure you want to delete 'B'?",
         [](TDelete&) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1); }, "A(A1),B"},
        {"B", "Are you sure you want to delete 'B'?",
         [](TDelete& d) { PostMessageA(d.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }, "A(A1),B"},
        {"A", "Are you sure you want to delete 'A' and all its contents?", [](TDelete& d) { d.Yes.Click(); },
         "B"},
    };
    OptionSettings.DeleteConfirm = true;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.question);
        Build("A(A1),B");
        Select(N(row.page));
        ModalScript script;
        script.Then<TDelete>([&row](TDelete& shown) {
            EXPECT_EQ("Confirm Delete", shown.Caption());
            EXPECT_EQ(336, shown.ClientWidth());
            EXPECT_EQ(118, shown.ClientHeight());
            EXPECT_TRUE(shown.Yes.Default() && shown.No.Cancel() && shown.MessageE.WordWrap());
            EXPECT_EQ(mrYes, shown.Yes.ModalResult);
            EXPECT_EQ(mrNo, shown.No.ModalResult);
            EXPECT_EQ(row.question, shown.MessageE.Caption());
            row.answer(shown);
        });
        Run("mDeleteClick");
        EXPECT_EQ(row.shapeAfter, Shape());
        EXPECT_EQ(std::string(row.shapeAfter) != "A(A1),B", OutlineProperties.FileChanged == 1);
    }
}

TEST_F(TreeCommands, AfterADeleteTheSelectionFollowsTheRuleAndTheHistoryIsEmpty)
{
    struct Row {
        const char* shape;
        const char* deleted;
        const char* selectedAfter;
    };
    const Row rows[] = {
        {"A,B,C", "B", "C"},
        // The previous sibling's deepest last page, although it is collapsed.
        {"A(A1(A11),A2(A21)),B", "B", "A21"},
        {"A(A1)", "A1", "A"},
    };
    OptionSettings.DeleteConfirm = false;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shape);
        Build(row.shape);
        for (TTreeNode* page = Root(); page; page = page->GetNext())
            PushHistory(page);
        HistoryBack();
        Select(N(row.deleted));
        Run("mDeleteClick");
        ASSERT_NE(nullptr, Tree().Selected());
        EXPECT_EQ(row.selectedAfter, Tree().Selected()->Text());
        EXPECT_EQ(std::string(row.selectedAfter) + " text", Editor().Text());
        EXPECT_FALSE(CanGoBack());
        EXPECT_FALSE(CanGoForward());
    }
}

TEST_F(TreeCommands, DeleteActsOnTheFirstTargetThatApplies)
{
    OptionSettings.DeleteConfirm = false;
    Build("A,B");
    const auto editMenuRefreshes = std::make_shared<int>(0);
    Main->SetHandler("EditClick", [editMenuRefreshes](TComponent*) { ++*editMenuRefreshes; });

    // The Find window, when it is the active window: its text box.
    Select(N("B"));
    Main->mFindClick(nullptr);
    TFindR& find = *FindRWindow();
    find.Edit.SetText("find this");
    SendMessageA(find.Edit.Handle(), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    Run("mDeleteClick");
    EXPECT_EQ("", find.Edit.Text());
    FindR.reset();

    // A title being edited: the label editor's selection.
    Tree().SetFocus();
    ASSERT_TRUE(N("B")->EditText());
    SendMessageA(Tree().EditHandle(), EM_SETSEL, 0, -1);
    Run("mDeleteClick");
    char typed[16] = "?";
    GetWindowTextA(Tree().EditHandle(), typed, sizeof typed);
    EXPECT_STREQ("", typed);
    N("B")->EndEdit(true);

    // The root: nothing but the Edit menu's refresh.
    Select(Root());
    const int refreshes = *editMenuRefreshes;
    Run("mDeleteClick");
    EXPECT_EQ(refreshes + 1, *editMenuRefreshes);

    // The page editor: its selected text.
    Select(N("A"));
    Editor().SetFocus();
    Editor().SetSelStart(0);
    Editor().SetSelLength(2);
    OutlineProperties.FileChanged = 0;
    Run("mDeleteClick");
    EXPECT_EQ("text", Editor().Text());
    EXPECT_EQ(1, OutlineProperties.FileChanged);

    EXPECT_EQ("A,B", Shape());
    // Otherwise the selected page.
    Tree().SetFocus();
    Select(N("B"));
    Run("mDeleteClick");
    EXPECT_EQ("A", Shape());
}

TEST_F(TreeCommands, MovesPutThePageWhereTheTableSays)
{
    struct Row {
        const char* shape;
        const char* page;
        const char* command;
        const char* shapeAfter;
    };
    const Row rows[] = {
        {"A,B,C,D", "B", "mMoveUpClick", "B,A,C,D"},
        {"A,B,C,D", "C", "mMoveUpClick", "A,C,B,D"},
        {"A,B,C,D", "C", "mMoveDownClick", "A,B,D,C"},
        {"A,B,C,D", "A", "mMoveDownClick", "B,A,C,D"},
        {"A(A1,A2),B", "A1", "mMoveLeftClick", "A(A2),B,A1"},
        {"A,B(B1)", "B", "mMoveRightClick", "A(B(B1))"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.command) + " " + row.page);
        Build(row.shape);
        Select(N(row.page));
        Run(row.command);
        EXPECT_EQ(row.shapeAfter, Shape());
        EXPECT_EQ(N(row.page), Tree().Selected());
        EXPECT_EQ(1, OutlineProperties.FileChanged);
    }
}

TEST_F(TreeCommands, AMoveKeepsTheExpandStateAndARunningTitleEdit)
{
    Build("A,B(B1(B11),B2)");
    N("B")->Expand(false);
    Select(N("B"));
    ASSERT_TRUE(N("B")->EditText());
    SetWindowTextA(Tree().EditHandle(), "Renamed");
    Run("mMoveUpClick");
    EXPECT_EQ("Renamed(B1(B11),B2),A", Shape());
    EXPECT_TRUE(N("B")->Expanded());
    EXPECT_FALSE(N("B1")->Expanded());
    EXPECT_NE(nullptr, N("B2")->ItemId()) << "shown, as before the move";
    EXPECT_TRUE(Tree().IsEditing());
    N("B")->EndEdit(true);
}

TEST_F(TreeCommands, AStaleMoveCommandChangesNothingAndTheOutlineReopensAsItWas)
{
    struct Row {
        const char* refreshedFor; // the page the commands were last enabled for
        const char* typedTo;      // the page the tree's type-ahead selected since
        const char* item;
    };
    const Row rows[] = {
        {"B", "", "mMoveUp"},
        {"B", "", "mMoveRight"},
        {"A", "", "mMoveDown"},
        {"A1", "A", "mMoveLeft"},
    };
    Build("A(A1),B");
    const std::string path = folder_ / "moves.kbf";
    ASSERT_TRUE(SaveOutline(path));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.item);
        Select(N(row.refreshedFor));
        ASSERT_TRUE(Item(row.item)->Enabled());
        Tree().SetSelected(*row.typedTo ? N(row.typedTo) : Root());
        Item(row.item)->Click();
        EXPECT_EQ("A(A1),B", Shape());
        EXPECT_EQ(1, Tree().Items().TopLevelCount());
    }
    ASSERT_TRUE(SaveOutline(path));
    ASSERT_TRUE(LoadOutline(path));
    EXPECT_EQ("A(A1),B", Shape());
}

TEST_F(TreeCommands, CollapseAllShowsTheLevelOneAncestorOfAHiddenPage)
{
    Build("A(A1(A11)),B(B1)");
    Select(N("A11"));
    Run("mCollapseAllClick");
    EXPECT_EQ(N("A"), Tree().Selected());
    EXPECT_EQ("A text", Editor().Text());
    EXPECT_TRUE(Root()->Expanded());
    for (const char* page : {"A", "A1", "B"})
        EXPECT_FALSE(N(page)->Expanded()) << page;

    Select(N("B1"));
    Run("mExpandAllClick");
    for (TTreeNode* page = Root(); page; page = page->GetNext())
        EXPECT_EQ(page->HasChildren(), page->Expanded()) << page->Text();
    Select(N("B"));
    Run("mCollapseAllClick");
    EXPECT_EQ(N("B"), Tree().Selected());
}

TEST_F(TreeCommands, KeysAndMenusReachTheCommandsThroughTheMessageLoop)
{
    Build("A");
    Select(N("A"));
    Tree().SetFocus();
    PressKey(Tree().Handle(), VK_INSERT, ssAlt);
    EXPECT_EQ("A(Untitled)", Shape());
    EXPECT_EQ("Untitled", Tree().Selected()->Text());
    EXPECT_TRUE(Tree().IsEditing());
    Tree().Selected()->EndEdit(true);

    OptionSettings.DeleteConfirm = true;
    Select(N("A"));
    ModalScript script;
    script.Then<TDelete>([](TDelete& shown) { shown.Yes.Click(); });
    PostMessageA(Main->Handle(), WM_COMMAND, MAKEWPARAM(Item("mDelete")->Command(), 0), 0);
    Application.ProcessMessages();
    EXPECT_EQ("", Shape());
    EXPECT_EQ(Root(), Tree().Selected());
}
