#include "DragManager.h"
#include "Form.h"
#include "TreeView.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {
class DragForm : public TForm {
public:
    DragForm()
    {
        CreateParams params;
        params.caption = "Drag under test";
        params.left = 30;
        params.top = 30;
        params.width = 460;
        params.height = 360;
        CreateHandle(params);
        left = std::make_unique<TTreeView>(this, this);
        left->SetBounds(0, 0, 200, 300);
        right = std::make_unique<TTreeView>(this, this);
        right->SetBounds(220, 0, 200, 300);
    }
    std::unique_ptr<TTreeView> left;
    std::unique_ptr<TTreeView> right;
};

const char* StateName(TDragState state)
{
    switch (state) {
    case TDragState::dsDragEnter: return "enter";
    case TDragState::dsDragLeave: return "leave";
    default: return "move";
    }
}

class DragTest : public ::testing::Test {
protected:
    DragTest()
    {
        // The child under a point, found without the window having to be on
        // screen (one test below uses the real search).
        DragManager().SetWindowFinder([this](POINT screen) {
            POINT local = screen;
            ScreenToClient(form.Handle(), &local);
            return ChildWindowFromPointEx(form.Handle(), local, CWP_ALL);
        });
        sourceRoot = form.left->Items().AddChild(nullptr, "source root");
        dragged = form.left->Items().AddChild(sourceRoot, "dragged");
        sourceRoot->Expand(false);
        targetRoot = form.right->Items().AddChild(nullptr, "target root");
        yes = form.right->Items().AddChild(targetRoot, "yes");
        no = form.right->Items().AddChild(targetRoot, "no");
        targetRoot->Expand(false);
        form.right->OnDragOver = [this](TControl* source, int x, int y, TDragState state, bool& accept) {
            overs.push_back(std::string("right:") + StateName(state));
            EXPECT_EQ(source, form.left.get());
            accept = form.right->GetNodeAt(x, y) == yes;
        };
        form.right->OnDragDrop = [this](TControl* source, int x, int y) {
            EXPECT_EQ(source, form.left.get());
            drops.push_back(form.right->GetNodeAt(x, y));
        };
        form.left->OnEndDrag = [this](TControl* target, int, int) { ends.push_back(target); };
    }
    ~DragTest() override
    {
        DragManager().Cancel();
        DragManager().SetWindowFinder(nullptr);
    }

    POINT ScreenPointOf(TTreeView& tree, TTreeNode* node)
    {
        const RECT label = node->DisplayRect(true);
        return tree.ClientToScreen(POINT{(label.left + label.right) / 2, (label.top + label.bottom) / 2});
    }
    void StartFromControl()
    {
        NMTREEVIEWA notice{};
        notice.hdr.hwndFrom = form.left->Handle();
        notice.hdr.code = TVN_BEGINDRAGA;
        notice.itemNew.mask = TVIF_HANDLE | TVIF_PARAM;
        notice.itemNew.hItem = dragged->ItemId();
        notice.itemNew.lParam = reinterpret_cast<LPARAM>(dragged);
        SendMessageA(form.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notice));
    }

    DragForm form;
    TTreeNode* sourceRoot = nullptr;
    TTreeNode* dragged = nullptr;
    TTreeNode* targetRoot = nullptr;
    TTreeNode* yes = nullptr;
    TTreeNode* no = nullptr;
    std::vector<std::string> overs;
    std::vector<TTreeNode*> drops;
    std::vector<TControl*> ends;
};
}

TEST_F(DragTest, TheControlsDragNoticeStartsADragOfTheSelectedNodeWhenAutomatic)
{
    int starts = 0;
    form.left->OnStartDrag = [&] { ++starts; };
    StartFromControl();
    EXPECT_FALSE(DragManager().Dragging());
    EXPECT_EQ(form.left->Selected(), dragged);

    form.left->SetSelected(sourceRoot);
    form.left->DragModeAutomatic = true;
    StartFromControl();
    EXPECT_TRUE(DragManager().Dragging());
    EXPECT_EQ(DragManager().Source(), form.left.get());
    EXPECT_EQ(form.left->Selected(), dragged);
    EXPECT_EQ(GetCapture(), form.left->Handle());
    EXPECT_EQ(starts, 1);
    DragManager().Cancel();
    EXPECT_FALSE(DragManager().Dragging());
    EXPECT_NE(GetCapture(), form.left->Handle());
    EXPECT_EQ(ends, std::vector<TControl*>{nullptr});
}

TEST_F(DragTest, AnAcceptingTargetShowsItsCursorAndHighlightARefusingOneShowsNoDrop)
{
    const HCURSOR hand = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND));
    form.right->DragCursor = hand;
    ASSERT_TRUE(DragManager().BeginDrag(form.left.get()));
    DragManager().DragMoveTo(ScreenPointOf(*form.right, yes));
    EXPECT_TRUE(DragManager().Accepted());
    EXPECT_EQ(DragManager().Target(), form.right.get());
    EXPECT_EQ(DragManager().Cursor(), hand);
    EXPECT_EQ(form.right->DropTarget(), yes);
    EXPECT_EQ(SendMessageA(form.right->Handle(), TVM_GETNEXTITEM, TVGN_DROPHILITE, 0),
              reinterpret_cast<LRESULT>(yes->ItemId()));

    DragManager().DragMoveTo(ScreenPointOf(*form.right, no));
    EXPECT_FALSE(DragManager().Accepted());
    EXPECT_EQ(DragManager().Cursor(), TDragManager::NoDropCursor());
    EXPECT_EQ(form.right->DropTarget(), nullptr);
    EXPECT_EQ(overs, (std::vector<std::string>{"right:enter", "right:move"}));

    // Without a cursor of its own the target shows the default drag cursor.
    form.right->DragCursor = nullptr;
    DragManager().DragMoveTo(ScreenPointOf(*form.right, yes));
    EXPECT_EQ(DragManager().Cursor(), TDragManager::DefaultDragCursor());
}

TEST_F(DragTest, ADropHappensOnlyWhereTheLastAnswerAtThatPointWasYes)
{
    ASSERT_TRUE(DragManager().BeginDrag(form.left.get()));
    DragManager().DragMoveTo(ScreenPointOf(*form.right, no));
    DragManager().DragDrop(ScreenPointOf(*form.right, no));
    EXPECT_TRUE(drops.empty());
    EXPECT_EQ(ends, std::vector<TControl*>{nullptr});
    EXPECT_FALSE(DragManager().Dragging());

    // Accepted over "yes", released over "no" without a move in between: the
    // point of release is asked first, and says no.
    ASSERT_TRUE(DragManager().BeginDrag(form.left.get()));
    DragManager().DragMoveTo(ScreenPointOf(*form.right, yes));
    EXPECT_TRUE(DragManager().Accepted());
    DragManager().DragDrop(ScreenPointOf(*form.right, no));
    EXPECT_TRUE(drops.empty());
    EXPECT_EQ(form.right->DropTarget(), nullptr);

    ASSERT_TRUE(DragManager().BeginDrag(form.left.get()));
    DragManager().DragMoveTo(ScreenPointOf(*form.right, yes));
    DragManager().DragDrop(ScreenPointOf(*form.right, yes));
    EXPECT_EQ(drops, std::vector<TTreeNode*>{yes});
    EXPECT_EQ(ends, (std::vector<TControl*>{nullptr, nullptr, form.right.get()}));
    EXPECT_EQ(form.right->DropTarget(), nullptr);
    EXPECT_FALSE(DragManager().Dragging());
}

TEST_F(DragTest, EscapeCancelsWithoutADropAndTheTargetHearsTheLeave)
{
    ASSERT_TRUE(DragManager().BeginDrag(form.left.get()));
    DragManager().DragMoveTo(ScreenPointOf(*form.right, yes));
    ASSERT_TRUE(DragManager().Accepted());
    SendMessageA(form.left->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(DragManager().Dragging());
    EXPECT_TRUE(drops.empty());
    EXPECT_EQ(ends, std::vector<TControl*>{nullptr});
    EXPECT_EQ(overs, (std::vector<std::string>{"right:enter", "right:leave"}));
    EXPECT_EQ(form.right->DropTarget(), nullptr);
    EXPECT_NE(GetCapture(), form.left->Handle());
    // A button-up after the cancel is an ordinary one.
    SendMessageA(form.left->Handle(), WM_LBUTTONUP, 0, 0);
    EXPECT_TRUE(drops.empty());
}

TEST_F(DragTest, MovingBetweenTargetsGivesEnterMoveAndLeaveInOrder)
{
    form.left->OnDragOver = [this](TControl*, int, int, TDragState state, bool& accept) {
        overs.push_back(std::string("left:") + StateName(state));
        accept = true;
    };
    ASSERT_TRUE(DragManager().BeginDrag(form.left.get()));
    DragManager().DragMoveTo(ScreenPointOf(*form.left, sourceRoot));
    DragManager().DragMoveTo(ScreenPointOf(*form.left, dragged));
    DragManager().DragMoveTo(ScreenPointOf(*form.right, yes));
    // Over the form itself nobody takes drops.
    POINT between = form.ClientToScreen(POINT{210, 100});
    DragManager().DragMoveTo(between);
    EXPECT_EQ(DragManager().Target(), nullptr);
    EXPECT_FALSE(DragManager().Accepted());
    EXPECT_EQ(DragManager().Cursor(), TDragManager::NoDropCursor());
    EXPECT_EQ(overs, (std::vector<std::string>{"left:enter", "left:move", "left:leave", "right:enter",
                                               "right:leave"}));
}

TEST_F(DragTest, ATreeWithoutADragOverHandlerIsNoTarget)
{
    form.right->OnDragOver = nullptr;
    ASSERT_TRUE(DragManager().BeginDrag(form.left.get()));
    DragManager().DragMoveTo(ScreenPointOf(*form.right, yes));
    EXPECT_EQ(DragManager().Target(), nullptr);
    DragManager().DragDrop(ScreenPointOf(*form.right, yes));
    EXPECT_TRUE(drops.empty());
}

TEST_F(DragTest, TheSourcesMouseMessagesDriveTheDrag)
{
    ASSERT_TRUE(DragManager().BeginDrag(form.left.get()));
    // With the capture, the points come in the source's own coordinates.
    const POINT over = form.left->ScreenToClient(ScreenPointOf(*form.right, yes));
    const LPARAM at = MAKELPARAM(over.x, over.y);
    SendMessageA(form.left->Handle(), WM_MOUSEMOVE, MK_LBUTTON, at);
    EXPECT_TRUE(DragManager().Accepted());
    // Ctrl pressed or released: the target is asked again at the same point.
    SendMessageA(form.left->Handle(), WM_KEYDOWN, VK_CONTROL, 0);
    EXPECT_EQ(overs, (std::vector<std::string>{"right:enter", "right:move"}));
    SendMessageA(form.left->Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(drops, std::vector<TTreeNode*>{yes});
    EXPECT_FALSE(DragManager().Dragging());
}

TEST_F(DragTest, LosingTheCaptureCancels)
{
    ASSERT_TRUE(DragManager().BeginDrag(form.left.get()));
    DragManager().DragMoveTo(ScreenPointOf(*form.right, yes));
    SetCapture(form.right->Handle());
    EXPECT_FALSE(DragManager().Dragging());
    EXPECT_EQ(ends, std::vector<TControl*>{nullptr});
    ReleaseCapture();
}

TEST_F(DragTest, ATargetThatGoesAwayDuringTheDragIsForgotten)
{
    ASSERT_TRUE(DragManager().BeginDrag(form.left.get()));
    DragManager().DragMoveTo(ScreenPointOf(*form.right, yes));
    const POINT point = ScreenPointOf(*form.right, yes);
    form.right.reset();
    EXPECT_EQ(DragManager().Target(), nullptr);
    DragManager().DragDrop(point);
    EXPECT_TRUE(drops.empty());
    EXPECT_EQ(ends, std::vector<TControl*>{nullptr});
}

TEST_F(DragTest, TheRealWindowUnderTheCursorIsFound)
{
    DragManager().SetWindowFinder(nullptr);
    ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
    SetWindowPos(form.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    UpdateWindow(form.Handle());
    ASSERT_TRUE(DragManager().BeginDrag(form.left.get()));
    DragManager().DragMoveTo(ScreenPointOf(*form.right, yes));
    EXPECT_EQ(DragManager().Target(), form.right.get());
    EXPECT_TRUE(DragManager().Accepted());
    DragManager().DragDrop(ScreenPointOf(*form.right, yes));
    EXPECT_EQ(drops, std::vector<TTreeNode*>{yes});
}

TEST_F(DragTest, ARealPressAndMoveStartsTheDragAndTheReleaseDrops)
{
    form.left->DragModeAutomatic = true;
    int starts = 0;
    form.left->OnStartDrag = [&] { ++starts; };
    const HWND source = form.left->Handle();
    const RECT label = dragged->DisplayRect(true);
    const POINT down{(label.left + label.right) / 2, (label.top + label.bottom) / 2};
    const POINT over = form.left->ScreenToClient(ScreenPointOf(*form.right, yes));
    // The control's drag-detect loop reads the queue: the first move leaves
    // the drag rectangle, the rest reach the drag through the source.
    PostMessageA(source, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(down.x + 30, down.y + 30));
    PostMessageA(source, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(over.x, over.y));
    PostMessageA(source, WM_LBUTTONUP, 0, MAKELPARAM(over.x, over.y));
    SendMessageA(source, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(form.left->Selected(), dragged);
    EXPECT_EQ(drops, std::vector<TTreeNode*>{yes});
    EXPECT_EQ(ends, std::vector<TControl*>{form.right.get()});
    EXPECT_FALSE(DragManager().Dragging());
    EXPECT_NE(GetCapture(), source);
}
