#include "PageTreeTest.h"

#include "Application.h"
#include "Cursors.h"
#include "DragManager.h"
#include "KeyboardState.h"
#include "Menus.h"
#include "ModelessWindows.h"
#include "OrganizeTemplatesDialog.h"
#include "ScriptedMessageBoxes.h"
#include "SettingsRecords.h"
#include "SharedState.h"
#include "ShellOpen.h"
#include "StatusBar.h"
#include "TemplateFolder.h"
#include "TreeMouse.h"
#include "TreeView.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {
class TreeDragDrop : public PageTreeTest {
protected:
    void SetUp() override
    {
        PageTreeTest::SetUp();
        options_ = OptionSettings;
        OptionSettings.DeleteConfirm = false;
        Build("A(A1,A2),B,C");
        N("A")->Expand(false);
    }
    void TearDown() override
    {
        ::OrganizeTemplates.reset();
        SetShellOpenHandler(nullptr);
        OptionSettings = options_;
        PageTreeTest::TearDown();
    }
    void HoldCtrl(bool ctrl)
    {
        SetKeyboardStateProvider([ctrl] { return ctrl ? ssCtrl : TShiftState{0}; });
    }
    // The cursor the tree offers at the point, or null when it refuses.
    HCURSOR Offered(TControl* source, POINT at)
    {
        bool accept = true;
        Tree().DragCursor = nullptr;
        Main->TreeDragOver(source, at.x, at.y, TDragState::dsDragMove, accept);
        return accept ? Tree().DragCursor : nullptr;
    }
    void Drop(TTreeNode* dragged, POINT at, bool ctrl = false)
    {
        Tree().SetSelected(dragged);
        HoldCtrl(ctrl);
        Main->TreeDragDrop(&Tree(), at.x, at.y);
    }

    TOptionSettings options_;
};
}

TEST_F(TreeDragDrop, DragOverOffersTheCursorOfWhereThePageWouldGo)
{
    Tree().SetSelected(N("B"));
    for (const bool ctrl : {false, true}) {
        SCOPED_TRACE(ctrl);
        HoldCtrl(ctrl);
        const int copy = ctrl ? 3 : 0;
        EXPECT_EQ(ScreenCursor(1 + copy), Offered(&Tree(), LabelOf(N("A1"))));
        EXPECT_EQ(ScreenCursor(2 + copy), Offered(&Tree(), LabelOf(N("C"))));
        EXPECT_EQ(ScreenCursor(3 + copy), Offered(&Tree(), RightOf(N("A"))));
        EXPECT_EQ(ScreenCursor(3 + copy), Offered(&Tree(), RightOf(Root())));
        EXPECT_EQ(nullptr, Offered(&Tree(), LabelOf(Root())));
        EXPECT_EQ(nullptr, Offered(&Tree(), LabelOf(N("B"))));
        EXPECT_EQ(nullptr, Offered(&Tree(), RightOf(N("B"))));
    }
    // A page's own branch refuses it.
    Tree().SetSelected(N("A"));
    EXPECT_EQ(nullptr, Offered(&Tree(), LabelOf(N("A2"))));
    EXPECT_EQ(nullptr, Offered(&Tree(), RightOf(N("A1"))));
    const RECT client = Tree().ClientRect();
    EXPECT_EQ(nullptr, Offered(&Tree(), POINT{5, client.bottom - 2}));
}

TEST_F(TreeDragDrop, DropsMoveThePageAboveBelowOrIntoTheTarget)
{
    const struct {
        const char* dragged;
        const char* target;
        bool right;
        const char* shape;
    } cases[] = {
        {"C", "A1", false, "A(C,A1,A2),B"},
        {"A1", "C", false, "A(A2),B,C,A1"},
        {"A1", "B", false, "A(A2),B,A1,C"},
        {"C", "A", true, "A(A1,A2,C),B"},
        {"A", "C", true, "B,C(A(A1,A2))"},
        {"A", "A2", false, "A(A1,A2),B,C"}, // into its own branch: nothing
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.dragged) + " on " + c.target);
        Build("A(A1,A2),B,C");
        N("A")->Expand(false);
        Drop(N(c.dragged), c.right ? RightOf(N(c.target)) : LabelOf(N(c.target)));
        EXPECT_EQ(c.shape, Shape());
        EXPECT_EQ(Shape() == "A(A1,A2),B,C" ? 0 : 1, OutlineProperties.FileChanged);
    }
}

TEST_F(TreeDragDrop, ACopyingDropLeavesThePageClipboardAsItWas)
{
    PageClipboard = TPageClipboard{N("A1"), 1};
    N("A1")->SetCut(true);
    Drop(N("B"), LabelOf(N("A2")), true);
    EXPECT_EQ("A(A1,B,A2),B,C", Shape());
    Drop(N("C"), RightOf(N("B")), true);
    EXPECT_EQ("A(A1,B,A2),B(C),C", Shape());
    EXPECT_EQ(N("A1"), PageClipboard.Source);
    EXPECT_EQ(1, PageClipboard.Cut);
    EXPECT_TRUE(N("A1")->Cut());
    // The cut page still pastes.
    Tree().SetSelected(N("C"));
    Main->ppPasteClick(nullptr);
    EXPECT_EQ("A(B,A2),B(C),C(A1)", Shape());
}

TEST_F(TreeDragDrop, TemplatesLandBeforeThePageOrAsItsLastChild)
{
    const std::string branch = SavedOutline("Branch.kbf", "Branch");
    Build("A(A1,A2),B,C");
    N("A")->Expand(false);
    OptionSettings.TemplatesFolder = folder_.Path();
    WriteFileBytes(folder_ / "Note.txt", "note text");
    Main->mOrganizeTemplatesClick(nullptr);
    TOrganizeTemplates& window = *OrganizeTemplatesWindow();
    TListView* list = &window.List;
    const auto choose = [&](const std::string& caption) {
        for (int i = 0; i < list->Count(); ++i) {
            if (list->Item(i)->Caption() == caption)
                list->SetSelected(list->Item(i));
        }
    };
    choose("Note");

    EXPECT_EQ(nullptr, Offered(list, LabelOf(Root())));
    EXPECT_EQ(ScreenCursor(8), Offered(list, LabelOf(N("B"))));
    EXPECT_EQ(ScreenCursor(9), Offered(list, RightOf(N("B"))));

    Main->TreeDragDrop(list, LabelOf(N("B")).x, LabelOf(N("B")).y);
    EXPECT_EQ("A(A1,A2),Note,B,C", Shape());
    Main->TreeDragDrop(list, RightOf(N("A")).x, RightOf(N("A")).y);
    EXPECT_EQ("A(A1,A2,Note),Note,B,C", Shape());
    choose("Branch");
    Main->TreeDragDrop(list, LabelOf(N("A1")).x, LabelOf(N("A1")).y);
    EXPECT_EQ("A(Branch(Child of Branch),A1,A2,Note),Note,B,C", Shape());
    EXPECT_EQ(1, OutlineProperties.FileChanged);
    EXPECT_FALSE(branch.empty());
}

TEST_F(TreeDragDrop, ARealDragThroughTheManagerMovesThePage)
{
    Tree().SetSelected(N("C"));
    HoldCtrl(false);
    DragManager().SetWindowFinder([this](POINT) { return Tree().Handle(); });
    ASSERT_TRUE(DragManager().BeginDrag(&Tree()));
    const POINT target = Tree().ClientToScreen(LabelOf(N("A1")));
    DragManager().DragMoveTo(target);
    EXPECT_TRUE(DragManager().Accepted());
    EXPECT_EQ(ScreenCursor(1), DragManager().Cursor());
    DragManager().DragDrop(target);
    DragManager().SetWindowFinder(nullptr);
    EXPECT_EQ("A(C,A1,A2),B", Shape());
}

TEST_F(TreeDragDrop, LinkTitlesAreFollowedOnceTheClickIsHandled)
{
    std::vector<std::string> opened;
    SetShellOpenHandler([&](const std::string& target) {
        opened.push_back(target);
        return true;
    });
    N("B")->SetText("http://example.com/");
    OptionSettings.DblClickHyperlink = false;
    const POINT b = LabelOf(N("B"));
    Tree().MouseDownAt(TMouseButton::mbLeft, ssCtrl, b.x, b.y);
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(1, Tree().Tag);
    Application.ProcessMessages();
    EXPECT_EQ((std::vector<std::string>{"http://example.com/"}), opened);
    // The refusal is for the click's own edit, not for a Rename after it.
    Main->mRenameClick(nullptr);
    EXPECT_TRUE(Tree().IsEditing());
    Tree().Selected()->EndEdit(true);
    EXPECT_EQ(0, Tree().Tag);
    Main->TreeDblClick();
    Application.ProcessMessages();
    EXPECT_EQ(1u, opened.size());

    // With the option on, a double click follows it and a Ctrl+click only selects.
    OptionSettings.DblClickHyperlink = true;
    Tree().MouseDownAt(TMouseButton::mbLeft, ssCtrl, b.x, b.y);
    EXPECT_EQ(0, Tree().Tag);
    Main->TreeDblClick();
    Application.ProcessMessages();
    EXPECT_EQ(2u, opened.size());
}

TEST_F(TreeDragDrop, AnOutlineLinkAfterWordsOpensThatOutlineAndAMissingOneChangesNothing)
{
    const std::string other = SavedOutline("Other.kbf", "Other");
    Build("A,B");
    OptionSettings.InPlace = true;
    {
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDOK);
        Main->FollowTitleLink("see file:" + (folder_ / "Missing.kbf"));
        EXPECT_EQ((std::vector<std::string>{"Cannot open input file!"}), boxes.Texts());
        EXPECT_EQ("A,B", Shape());
    }
    Main->FollowTitleLink("see file:" + other);
    EXPECT_EQ(other, CurrentFileName);
    EXPECT_EQ("Other", Root()->Text());
}

TEST_F(TreeDragDrop, KeysAndMouseMovesOfTheTree)
{
    std::vector<POINT> popups;
    SetPopupTracker([&](TPopupMenu& menu, int x, int y, HWND) {
        if (menu.Name() == "StatePopup")
            popups.push_back(POINT{x, y});
        return 0u;
    });
    Select(N("B"));
    WORD key = VK_SPACE;
    Main->TreeKeyDown(key, 0);
    Main->TreeKeyDown(key, ssAlt);
    SetPopupTracker(nullptr);
    ASSERT_EQ(1u, popups.size());
    RECT window{};
    GetWindowRect(Main->Handle(), &window);
    const RECT label = N("B")->DisplayRect(true);
    EXPECT_EQ(window.left + label.left - 26, popups[0].x);
    EXPECT_EQ(window.top + (Main->Height() - Main->ClientHeight()) + Tree().Top() + label.bottom, popups[0].y);

    Tree().SetFocus();
    key = VK_DELETE;
    Main->TreeKeyDown(key, 0);
    EXPECT_EQ("A(A1,A2),C", Shape());
    Select(Root());
    Main->TreeKeyDown(key, 0);
    EXPECT_EQ("A(A1,A2),C", Shape());

    N("C")->SetText("mailto:someone@example.com");
    Main->TreeMouseMove(0, LabelOf(N("C")).x, LabelOf(N("C")).y);
    EXPECT_EQ(ScreenCursor(crHandPoint), Tree().Cursor());
    Main->TreeMouseMove(0, LabelOf(N("A")).x, LabelOf(N("A")).y);
    EXPECT_EQ(nullptr, Tree().Cursor());
    Build("");
    Main->TreeMouseMove(0, 1, 1);
    EXPECT_EQ("To add new page, click", Main->StatusBar->Panel(0).Text());
}
