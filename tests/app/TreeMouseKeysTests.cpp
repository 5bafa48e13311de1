// Clicks and keys on the page tree as a person makes them, handled by the
// message loop and the tree control's own procedure: a click selects, the
// title editor waits for a click on the page already selected in a tree that
// had the focus and opens on no other page, and Space opens the state popup
// for good.
#include "Menus.h"
#include "PageHistory.h"
#include "PageTreeTest.h"
#include "StatusBar.h"
#include "TreeMouse.h"
#include "TreeView.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {
// The tree control's timer that opens the title editor a moment after a
// click on the selected page (its number in Wine's tree view). Killing it
// tells whether it was running, and stops it.
constexpr UINT_PTR TitleEditorDelay = 2;

bool TitleEditorPending(TTreeView& tree) { return KillTimer(tree.Handle(), TitleEditorDelay) != FALSE; }

class TreeMouseKeys : public PageTreeTest {
protected:
    void SetUp() override
    {
        PageTreeTest::SetUp();
        Build("A(A1,A2),B,C");
        N("A")->Expand(false);
        Tree().SetFocus();
        Application.ProcessMessages();
    }
    void TearDown() override
    {
        SetPopupTracker(nullptr);
        PageTreeTest::TearDown();
    }
};
}

TEST_F(TreeMouseKeys, AClickSelectsThePageAndOnlyASecondClickOpensTheTitleEditor)
{
    const struct {
        const char* page;
        int level;
    } clicks[] = {{"B", 1}, {"A2", 2}, {"A", 1}, {"C", 1}};
    for (const auto& click : clicks) {
        SCOPED_TRACE(click.page);
        const int entries = PageHistory.Count();
        PostClick(Tree(), LabelOf(N(click.page)));
        EXPECT_EQ(N(click.page), Tree().Selected());
        EXPECT_FALSE(TitleEditorPending(Tree())) << "a first click only selects";
        EXPECT_FALSE(Tree().IsEditing());
        EXPECT_EQ(entries + 1, PageHistory.Count());
        EXPECT_EQ("Level: " + std::to_string(click.level), Main->StatusBar->Panel(1).Text());
        EXPECT_EQ(std::string(click.page) + " text", Editor().Text());
    }
    // The page already selected: its title editor opens when the delay ends.
    PostClick(Tree(), LabelOf(N("C")));
    ASSERT_TRUE(TitleEditorPending(Tree()));
    PostMessageA(Tree().Handle(), WM_TIMER, TitleEditorDelay, 0);
    Application.ProcessMessages();
    EXPECT_TRUE(Tree().IsEditing());
    N("C")->EndEdit(true);

    // A click on a page's state icon still selects the page and opens the
    // state popup for it, with no title editor to follow.
    std::vector<std::string> popups;
    SetPopupTracker([&](TPopupMenu& menu, int, int, HWND) {
        popups.push_back(menu.Name() + " for " + Tree().Selected()->Text());
        return 0u;
    });
    const RECT title = N("B")->DisplayRect(true);
    // The state icon stands left of the page icon, left of the title.
    const POINT state{title.left - Tree().Indent() - 8, (title.top + title.bottom) / 2};
    ASSERT_TRUE(Tree().GetHitTestInfoAt(state.x, state.y) & htOnStateIcon);
    PostClick(Tree(), state);
    EXPECT_EQ((std::vector<std::string>{"StatePopup for B"}), popups);
    EXPECT_FALSE(TitleEditorPending(Tree()));
}

TEST_F(TreeMouseKeys, SpaceOpensTheStatePopupWithNoCharacterLeftToCloseIt)
{
    // A real menu loop takes a queued space as "choose the highlighted item"
    // and, with none highlighted, closes at once.
    std::vector<bool> characterQueued;
    SetPopupTracker([&](TPopupMenu& menu, int, int, HWND) {
        MSG queued{};
        if (menu.Name() == "StatePopup")
            characterQueued.push_back(PeekMessageA(&queued, nullptr, WM_CHAR, WM_CHAR, PM_NOREMOVE) != FALSE);
        return 0u;
    });
    Select(N("A1"));
    PressKey(Tree().Handle(), VK_SPACE, 0);
    EXPECT_EQ(std::vector<bool>{false}, characterQueued);
    EXPECT_EQ(N("A1"), Tree().Selected());
}

TEST_F(TreeMouseKeys, ALetterTypedWhileTheTitleEditorWaitsOpensItOnNoPage)
{
    PostClick(Tree(), LabelOf(N("B")));
    PostClick(Tree(), LabelOf(N("B")));
    // The control's delay is stopped and its end posted after the letter,
    // which a person types within it.
    ASSERT_TRUE(TitleEditorPending(Tree()));
    PressKey(Tree().Handle(), 'C', 0);
    ASSERT_EQ(N("C"), Tree().Selected());
    PostMessageA(Tree().Handle(), WM_TIMER, TitleEditorDelay, 0);
    Application.ProcessMessages();
    EXPECT_FALSE(Tree().IsEditing());
}

TEST_F(TreeMouseKeys, AClickThatBringsTheFocusBackFromTheEditorOpensNoTitleEditor)
{
    PostClick(Tree(), LabelOf(N("B")));
    Editor().SetFocus();
    Application.ProcessMessages();
    PostClick(Tree(), LabelOf(N("B")));
    EXPECT_TRUE(Tree().Focused());
    // The control starts its delay all the same.
    ASSERT_TRUE(TitleEditorPending(Tree()));
    PostMessageA(Tree().Handle(), WM_TIMER, TitleEditorDelay, 0);
    Application.ProcessMessages();
    EXPECT_FALSE(Tree().IsEditing());
}

TEST_F(TreeMouseKeys, ARightClickOrAMenuWhileTheTitleEditorWaitsOpensItNot)
{
    // The control's delay ends inside the menu's loop, or after it.
    bool editingInMenu = false;
    SetPopupTracker([&](TPopupMenu&, int, int, HWND) {
        SendMessageA(Tree().Handle(), WM_TIMER, TitleEditorDelay, 0);
        editingInMenu = Tree().IsEditing();
        return 0u;
    });
    const struct {
        const char* name;
        std::function<void()> menu;
    } menus[] = {
        {"right click",
         [&] {
             const POINT at = LabelOf(N("B"));
             PostMessageA(Tree().Handle(), WM_RBUTTONDOWN, MK_RBUTTON, PointParam(at));
             PostMessageA(Tree().Handle(), WM_RBUTTONUP, 0, PointParam(at));
             Application.ProcessMessages();
         }},
        {"menu bar",
         [&] {
             SendMessageA(Main->Handle(), WM_ENTERMENULOOP, FALSE, 0);
             SendMessageA(Tree().Handle(), WM_TIMER, TitleEditorDelay, 0);
             editingInMenu = Tree().IsEditing();
             SendMessageA(Main->Handle(), WM_EXITMENULOOP, FALSE, 0);
         }},
    };
    for (const auto& c : menus) {
        SCOPED_TRACE(c.name);
        PostClick(Tree(), LabelOf(N("B")));
        PostClick(Tree(), LabelOf(N("B")));
        ASSERT_TRUE(TitleEditorPending(Tree()));
        c.menu();
        EXPECT_FALSE(editingInMenu);
        PostMessageA(Tree().Handle(), WM_TIMER, TitleEditorDelay, 0);
        Application.ProcessMessages();
        EXPECT_FALSE(Tree().IsEditing());
        EXPECT_EQ(Shape(), "A(A1,A2),B,C");
        Tree().SetFocus();
    }
}
