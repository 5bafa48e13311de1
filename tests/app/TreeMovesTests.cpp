// Moving and copying pages with the mouse and the keys, through the window's
// own messages: the rows above a moved page stay where they were, a page that
// gets its first sub page shows its button, and the status bar shows the
// moved page's level.
#include "Cursors.h"
#include "PageTreeTest.h"
#include "StatusBar.h"
#include "TreeMouse.h"
#include "TreeView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {
// The painted box of a page's expand button, as the tree shows it now.
std::vector<COLORREF> ButtonBox(TTreeView& tree, const TTreeNode* page)
{
    UpdateWindow(tree.Handle());
    const RECT row = page->DisplayRect(false);
    const int indent = tree.Indent();
    // The root's pages have no lines before them; each level adds an indent.
    const int centreX = indent * (page->Level() - 1) + indent / 2;
    const int centreY = (row.top + row.bottom) / 2;
    const int half = std::min<int>(row.bottom - row.top, indent) / 4 + 1;
    std::vector<COLORREF> pixels;
    HDC dc = GetDC(tree.Handle());
    for (int y = centreY - half; y <= centreY + half; ++y) {
        for (int x = centreX - half; x <= centreX + half; ++x)
            pixels.push_back(GetPixel(dc, x, y));
    }
    ReleaseDC(tree.Handle(), dc);
    return pixels;
}

class TreeMoves : public PageTreeTest {
protected:
    // The outline with A open and, after its pages, as many more as fill
    // the window but one row; the tree focused and page selected as a click
    // selects it.
    void Start(const std::string& shape, const std::string& page)
    {
        Build(shape);
        const int rows = static_cast<int>(SendMessageA(Tree().Handle(), TVM_GETVISIBLECOUNT, 0, 0));
        filler_.clear();
        for (int more = 1; more + 7 < rows; ++more)
            filler_ += (more > 1 ? ",P" : "P") + std::to_string(more);
        Build(shape + "," + filler_);
        N("A")->Expand(false);
        Tree().SetFocus();
        Select(N(page));
        // Shown as a person sees it before acting.
        Application.ProcessMessages();
    }
    void Keys(WORD key, TShiftState shift) { PressKey(Tree().Handle(), key, shift); }
    std::string Level() { return Main->StatusBar->Panel(1).Text(); }
    // A shape in which "P" stands for the pages that fill the window.
    std::string Filled(std::string shape) const
    {
        shape.replace(shape.find(",P") + 1, 1, filler_);
        return shape;
    }

    std::string filler_;
};

}

TEST_F(TreeMoves, AMoveOrCopyKeepsTheTopRowShowsTheNewParentsButtonAndTheNewLevel)
{
    struct Row {
        const char* what;
        const char* selected;
        std::function<void()> act;
        const char* shape;
        const char* moved;
        int level;
        const char* newParent; // got its first sub page, or ""
    };
    const Row rows[] = {
        {"drop before a page", "C", [this] { PostDrag(Tree(), N("C"), LabelOf(N("A1"))); }, "A(C,A1,A2),B,P", "C", 2, ""},
        {"drop after a page", "A2", [this] { PostDrag(Tree(), N("A2"), LabelOf(N("C"))); }, "A(A1),B,C,A2,P", "A2", 1,
         ""},
        {"drop onto a page", "C", [this] { PostDrag(Tree(), N("C"), RightOf(N("B"))); }, "A(A1,A2),B(C),P", "C", 2, "B"},
        {"copying drop onto a page", "A1", [this] { PostDrag(Tree(), N("A1"), RightOf(N("C")), true); },
         "A(A1,A2),B,C(A1),P", "", 2, "C"},
        {"Ctrl+Alt+Down", "A1", [this] { Keys(VK_DOWN, ssCtrl | ssAlt); }, "A(A2,A1),B,C,P", "A1", 2, ""},
        {"Ctrl+Alt+Up", "C", [this] { Keys(VK_UP, ssCtrl | ssAlt); }, "A(A1,A2),C,B,P", "C", 1, ""},
        {"Ctrl+Alt+Right", "C", [this] { Keys(VK_RIGHT, ssCtrl | ssAlt); }, "A(A1,A2),B(C),P", "C", 2, "B"},
        {"Ctrl+Alt+Left", "A2", [this] { Keys(VK_LEFT, ssCtrl | ssAlt); }, "A(A1),B,C,P,A2", "A2", 1, ""},
        {"copy and paste", "A1",
         [this] {
             Keys('C', ssCtrl);
             Select(N("B"));
             Keys('V', ssCtrl);
         },
         "A(A1,A2),B(A1),C,P", "", 2, "B"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Start("A(A1,A2),B,C", row.selected);
        ASSERT_EQ(Root(), Tree().TopItem());
        row.act();
        EXPECT_EQ(Filled(row.shape), Shape());
        EXPECT_EQ(Root(), Tree().TopItem()) << "the outline fits the window: nothing scrolls";
        if (*row.moved) {
            EXPECT_EQ(N(row.moved), Tree().Selected());
        }
        EXPECT_EQ("Level: " + std::to_string(row.level), Level());
        if (*row.newParent) {
            EXPECT_EQ(ButtonBox(Tree(), N("A")), ButtonBox(Tree(), N(row.newParent))) << "its open button shows";
        }
    }
}

TEST_F(TreeMoves, AMovedPageIsShownWithTheLeastScroll)
{
    std::string shape = "A";
    for (int i = 1; i <= 60; ++i)
        shape += ",P" + std::to_string(i);
    Build(shape);
    Tree().SetFocus();
    Application.ProcessMessages();
    const int rows = static_cast<int>(SendMessageA(Tree().Handle(), TVM_GETVISIBLECOUNT, 0, 0));
    ASSERT_LT(rows, 50);
    // The last page shown whole; moved down it needs one row more.
    TTreeNode* last = N("P" + std::to_string(rows - 2));
    Select(last);
    ASSERT_EQ(Root(), Tree().TopItem());
    Keys(VK_DOWN, ssCtrl | ssAlt);
    EXPECT_EQ(N("A"), Tree().TopItem());
    // Scrolled down by the user, a page moved up stays below the same top row.
    Tree().SetTopItem(N("P30"));
    Select(N("P32"));
    Keys(VK_UP, ssCtrl | ssAlt);
    EXPECT_EQ(N("P31"), N("P32")->getNextSibling());
    EXPECT_EQ(N("P30"), Tree().TopItem());
}

TEST_F(TreeMoves, ADragRestingAtAnEdgeScrollsTheTreeARowATickAndDropsOnAPageThatWasOutOfView)
{
    std::string shape = "A";
    for (int i = 1; i <= 60; ++i)
        shape += ",P" + std::to_string(i);
    Build(shape);
    Tree().SetFocus();
    Select(N("A"));
    Application.ProcessMessages();
    // The ticks are the test's own.
    Tree().DragScrollInterval = 60000;
    DragManager().SetWindowFinder([this](POINT) { return Tree().Handle(); });
    RECT client{};
    GetClientRect(Tree().Handle(), &client);
    const int x = LabelOf(N("A")).x;
    const POINT bottom{x, client.bottom - 2};
    const POINT middle{x, client.bottom / 2};
    const POINT top{x, client.top + 2};
    auto tick = [this] { SendMessageA(Tree().Handle(), WM_TIMER, TTreeView::DragScrollTimer, 0); };
    auto topRow = [this] { return Tree().TopItem()->AbsoluteIndex(); };

    PostDragTo(Tree(), N("A"), bottom);
    ASSERT_TRUE(DragManager().Dragging());
    ASSERT_EQ(0, topRow());
    for (int row = 1; row <= 3; ++row) {
        tick();
        EXPECT_EQ(row, topRow());
        // The target and the cursor are those of the row now under the cursor.
        EXPECT_EQ(Tree().GetNodeAt(bottom.x, bottom.y), Tree().DropTarget());
        EXPECT_EQ(ScreenCursor(2), DragManager().Cursor());
    }
    PostMessageA(Tree().Handle(), WM_MOUSEMOVE, MK_LBUTTON, PointParam(middle));
    Application.ProcessMessages();
    tick();
    EXPECT_EQ(3, topRow()) << "away from the edges nothing scrolls";
    PostMessageA(Tree().Handle(), WM_MOUSEMOVE, MK_LBUTTON, PointParam(top));
    Application.ProcessMessages();
    tick();
    EXPECT_EQ(2, topRow());
    PostMessageA(Tree().Handle(), WM_MOUSEMOVE, MK_LBUTTON, PointParam(bottom));
    Application.ProcessMessages();
    tick();
    tick();
    TTreeNode* target = Tree().DropTarget();
    ASSERT_NE(nullptr, target);
    const int rows = static_cast<int>(SendMessageA(Tree().Handle(), TVM_GETVISIBLECOUNT, 0, 0));
    EXPECT_GT(target->AbsoluteIndex(), rows) << "out of view when the drag began";
    PostDrop(Tree(), bottom);
    DragManager().SetWindowFinder(nullptr);
    EXPECT_FALSE(DragManager().Dragging());
    EXPECT_EQ(target, N("A")->getPrevSibling());
    EXPECT_EQ(nullptr, Tree().DropTarget());
}
