#include "Application.h"
#include "ExtCtrls.h"
#include "Form.h"
#include "Splitter.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <string>

namespace {
TForm::CreateParams SizedParams(int clientWidth, int clientHeight)
{
    TForm::CreateParams params;
    params.caption = "Layout";
    params.left = 30;
    params.top = 30;
    params.clientWidth = clientWidth;
    params.clientHeight = clientHeight;
    return params;
}

class Host : public TForm {
public:
    explicit Host(int clientWidth = 565, int clientHeight = 389) : TForm(SizedParams(clientWidth, clientHeight)) {}
};

// The main window's arrangement: a bar on top, one at the bottom, a tree on
// the left with a splitter, and the editor filling the rest.
struct MainLayout {
    explicit MainLayout(Host& form)
        : toolbar(&form, &form), status(&form, &form), tree(&form, &form), splitter(&form, &form),
          editor(&form, &form)
    {
        toolbar.SetHeight(26);
        toolbar.SetAlign(TAlign::alTop);
        status.SetHeight(19);
        status.SetAlign(TAlign::alBottom);
        tree.SetWidth(200);
        tree.SetAlign(TAlign::alLeft);
        splitter.SetWidth(4);
        splitter.MinSize = 1;
        editor.SetAlign(TAlign::alClient);
    }
    TPanel toolbar;
    TPanel status;
    TPanel tree;
    TSplitter splitter;
    TPanel editor;
};

struct Bounds {
    int left, top, width, height;
    bool operator==(const Bounds&) const = default;
};

Bounds BoundsOf(const TControl& control)
{
    return Bounds{control.Left(), control.Top(), control.Width(), control.Height()};
}

void PrintTo(const Bounds& bounds, std::ostream* out)
{
    *out << "{" << bounds.left << ", " << bounds.top << ", " << bounds.width << ", " << bounds.height << "}";
}

// The splitter's mouse messages, at points of its parent's client area.
void Mouse(TSplitter& splitter, UINT message, int parentX, int parentY)
{
    SendMessageA(splitter.Handle(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                 MAKELPARAM(parentX - splitter.Left(), parentY - splitter.Top()));
}
}

TEST(AlignLayout, TopBottomLeftAndClientShareTheClientAreaInCreationOrder)
{
    Host form;
    MainLayout layout(form);
    EXPECT_EQ(BoundsOf(layout.toolbar), (Bounds{0, 0, 565, 26}));
    EXPECT_EQ(BoundsOf(layout.status), (Bounds{0, 370, 565, 19}));
    EXPECT_EQ(BoundsOf(layout.tree), (Bounds{0, 26, 200, 344}));
    EXPECT_EQ(BoundsOf(layout.splitter), (Bounds{200, 26, 4, 344}));
    EXPECT_EQ(BoundsOf(layout.editor), (Bounds{204, 26, 361, 344}));
}

TEST(AlignLayout, TheLayoutIsMadeWhileTheFormIsStillHidden)
{
    Host form;
    MainLayout layout(form);
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(layout.editor.Width(), 361);
    form.Show();
    EXPECT_EQ(layout.editor.Width(), 361);
}

TEST(AlignLayout, HidingAndShowingAControlLaysTheOthersOutAgain)
{
    Host form;
    MainLayout layout(form);
    layout.toolbar.SetVisible(false);
    EXPECT_EQ(BoundsOf(layout.tree), (Bounds{0, 0, 200, 370}));
    EXPECT_EQ(BoundsOf(layout.editor), (Bounds{204, 0, 361, 370}));
    layout.status.SetVisible(false);
    EXPECT_EQ(layout.editor.Height(), 389);
    layout.toolbar.SetVisible(true);
    layout.status.SetVisible(true);
    EXPECT_EQ(BoundsOf(layout.editor), (Bounds{204, 26, 361, 344}));
}

TEST(AlignLayout, ResizingTheFormAndWidthChangesLayTheControlsOutAgain)
{
    Host form;
    MainLayout layout(form);
    form.SetClientSize(600, 400);
    EXPECT_EQ(BoundsOf(layout.status), (Bounds{0, 381, 600, 19}));
    EXPECT_EQ(BoundsOf(layout.editor), (Bounds{204, 26, 396, 355}));
    layout.tree.SetWidth(100);
    EXPECT_EQ(layout.splitter.Left(), 100);
    EXPECT_EQ(BoundsOf(layout.editor), (Bounds{104, 26, 496, 355}));
}

TEST(AlignLayout, RightAlignedControlsStackFromTheRight)
{
    Host form(300, 100);
    TPanel first(&form, &form);
    first.SetWidth(50);
    first.SetAlign(TAlign::alRight);
    TPanel second(&form, &form);
    second.SetWidth(30);
    second.SetAlign(TAlign::alRight);
    TPanel rest(&form, &form);
    rest.SetAlign(TAlign::alClient);
    EXPECT_EQ(BoundsOf(first), (Bounds{250, 0, 50, 100}));
    EXPECT_EQ(BoundsOf(second), (Bounds{220, 0, 30, 100}));
    EXPECT_EQ(BoundsOf(rest), (Bounds{0, 0, 220, 100}));
}

TEST(AlignLayout, AControlsChildrenAreLaidOutInsideItsBevels)
{
    Host form(300, 100);
    TPanel outer(&form, &form);
    outer.SetBevelOuter(TBevelCut::bvRaised);
    outer.SetBevelInner(TBevelCut::bvLowered);
    outer.SetAlign(TAlign::alClient);
    TPanel inner(&outer, &outer);
    inner.SetAlign(TAlign::alClient);
    EXPECT_EQ(BoundsOf(inner), (Bounds{0, 0, 296, 96}));
    EXPECT_EQ(inner.ClientToScreen(POINT{0, 0}).x, form.ClientToScreen(POINT{2, 0}).x);
}

// --- Splitter ---------------------------------------------------------------

TEST(Splitter, DraggingResizesTheNeighbourLiveAndReportsTheEndOnce)
{
    Host form;
    MainLayout layout(form);
    form.Show();
    int moves = 0;
    layout.splitter.OnMoved = [&] { ++moves; };
    EXPECT_EQ(layout.splitter.Neighbour(), &layout.tree);

    Mouse(layout.splitter, WM_LBUTTONDOWN, 202, 100);
    EXPECT_TRUE(layout.splitter.Dragging());
    Mouse(layout.splitter, WM_MOUSEMOVE, 252, 100);
    EXPECT_EQ(layout.tree.Width(), 250);
    EXPECT_EQ(layout.splitter.Left(), 250);
    EXPECT_EQ(layout.editor.Left(), 254);
    EXPECT_EQ(moves, 0);
    Mouse(layout.splitter, WM_MOUSEMOVE, 302, 100);
    EXPECT_EQ(layout.tree.Width(), 300);
    Mouse(layout.splitter, WM_LBUTTONUP, 282, 100);
    EXPECT_EQ(layout.tree.Width(), 280);
    EXPECT_FALSE(layout.splitter.Dragging());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(BoundsOf(layout.editor), (Bounds{284, 26, 281, 344}));
}

TEST(Splitter, TheNeighbourAndTheRestKeepTheirMinimumSize)
{
    Host form;
    MainLayout layout(form);
    layout.splitter.MinSize = 30;
    form.Show();
    Mouse(layout.splitter, WM_LBUTTONDOWN, 202, 100);
    Mouse(layout.splitter, WM_MOUSEMOVE, -500, 100);
    EXPECT_EQ(layout.tree.Width(), 30);
    Mouse(layout.splitter, WM_MOUSEMOVE, 5000, 100);
    // 565 wide, less the splitter's 4 and 30 for the editor.
    EXPECT_EQ(layout.tree.Width(), 531);
    EXPECT_EQ(layout.editor.Width(), 30);
    Mouse(layout.splitter, WM_LBUTTONUP, 5000, 100);
}

TEST(Splitter, AClickWithoutMovingReportsNothing)
{
    Host form;
    MainLayout layout(form);
    form.Show();
    int moves = 0;
    layout.splitter.OnMoved = [&] { ++moves; };
    Mouse(layout.splitter, WM_LBUTTONDOWN, 202, 100);
    Mouse(layout.splitter, WM_LBUTTONUP, 202, 100);
    EXPECT_EQ(moves, 0);
    EXPECT_EQ(layout.tree.Width(), 200);
}

TEST(Splitter, ABottomSplitterResizesTheControlBelowIt)
{
    Host form(300, 300);
    TPanel bottom(&form, &form);
    bottom.SetHeight(100);
    bottom.SetAlign(TAlign::alBottom);
    TSplitter splitter(&form, &form, TAlign::alBottom);
    TPanel rest(&form, &form);
    rest.SetAlign(TAlign::alClient);
    form.Show();
    EXPECT_EQ(splitter.Top(), 197);
    EXPECT_EQ(splitter.Neighbour(), &bottom);
    Mouse(splitter, WM_LBUTTONDOWN, 150, 198);
    Mouse(splitter, WM_MOUSEMOVE, 150, 148);
    Mouse(splitter, WM_LBUTTONUP, 150, 148);
    EXPECT_EQ(bottom.Height(), 150);
    EXPECT_EQ(rest.Height(), 147);
}

// --- Form size, place and look ----------------------------------------------

TEST(FormPlacement, TheClientSizeIsWhatWasAskedFor)
{
    Host form(565, 389);
    EXPECT_EQ(form.ClientWidth(), 565);
    EXPECT_EQ(form.ClientHeight(), 389);
    form.SetClientWidth(391);
    form.SetClientHeight(410);
    EXPECT_EQ(form.ClientWidth(), 391);
    EXPECT_EQ(form.ClientHeight(), 410);
}

TEST(FormPlacement, AScreenCentredFormIsCentredWhenFirstShown)
{
    TForm::CreateParams params = SizedParams(300, 200);
    params.position = TPosition::poScreenCenter;
    params.borderStyle = TFormBorderStyle::bsDialog;
    TForm form(params);
    form.SetClientSize(336, 118);
    form.Show();
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR(form.Left() + form.Width() / 2, screenWidth / 2, 1);
    EXPECT_NEAR(form.Top() + form.Height() / 2, screenHeight / 2, 1);
    EXPECT_EQ(form.Position(), TPosition::poScreenCenter);
}

TEST(FormPlacement, BorderStylesAndStayOnTop)
{
    TForm::CreateParams params = SizedParams(100, 100);
    params.borderStyle = TFormBorderStyle::bsDialog;
    params.formStyle = TFormStyle::fsStayOnTop;
    TForm dialog(params);
    const auto style = GetWindowLongPtrA(dialog.Handle(), GWL_STYLE);
    const auto exStyle = GetWindowLongPtrA(dialog.Handle(), GWL_EXSTYLE);
    EXPECT_EQ(dialog.BorderStyle(), TFormBorderStyle::bsDialog);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_EQ(dialog.FormStyle(), TFormStyle::fsStayOnTop);
    dialog.SetFormStyle(TFormStyle::fsNormal);
    EXPECT_FALSE(GetWindowLongPtrA(dialog.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    params.borderStyle = TFormBorderStyle::bsNone;
    params.formStyle = TFormStyle::fsNormal;
    TForm splash(params);
    EXPECT_TRUE(GetWindowLongPtrA(splash.Handle(), GWL_STYLE) & WS_POPUP);
    EXPECT_FALSE(GetWindowLongPtrA(splash.Handle(), GWL_STYLE) & WS_CAPTION);
    EXPECT_EQ(splash.ClientWidth(), 100);

    params.borderStyle = TFormBorderStyle::bsToolWindow;
    TForm tool(params);
    EXPECT_TRUE(GetWindowLongPtrA(tool.Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(tool.BorderStyle(), TFormBorderStyle::bsToolWindow);

    Host sizeable;
    EXPECT_EQ(sizeable.BorderStyle(), TFormBorderStyle::bsSizeable);
}

TEST(FormPlacement, FormsAndTheirControlsUseTheDefaultFont)
{
    Host form;
    TPanel panel(&form, &form);
    TLabel label(&form, &panel, "Label");
    const HFONT font = TForm::DefaultFont();
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(TForm::DefaultFont(), font);
    EXPECT_EQ(form.Font(), font);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(form.Handle(), WM_GETFONT, 0, 0)), font);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(label.Handle(), WM_GETFONT, 0, 0)), font);
    LOGFONTA description{};
    GetObjectA(font, sizeof description, &description);
    EXPECT_EQ(description.lfHeight, -11);
    EXPECT_STREQ(description.lfFaceName, "MS Sans Serif");
}

TEST(FormPlacement, TheNormalBoundsSurviveMaximizing)
{
    Host form;
    form.SetNormalBounds(RECT{100, 120, 500, 420});
    EXPECT_EQ(form.Left(), 100);
    EXPECT_EQ(form.Width(), 400);
    form.SetWindowState(TWindowState::wsMaximized);
    EXPECT_EQ(form.WindowState(), TWindowState::wsMaximized);
    form.Show();
    EXPECT_EQ(form.WindowState(), TWindowState::wsMaximized);
    EXPECT_TRUE(IsZoomed(form.Handle()));
    const RECT normal = form.NormalBounds();
    EXPECT_EQ(normal.left, 100);
    EXPECT_EQ(normal.top, 120);
    EXPECT_EQ(normal.right, 500);
    EXPECT_EQ(normal.bottom, 420);
    form.SetNormalBounds(RECT{50, 60, 350, 260});
    EXPECT_TRUE(IsZoomed(form.Handle()));
    form.SetWindowState(TWindowState::wsNormal);
    EXPECT_EQ(form.WindowState(), TWindowState::wsNormal);
    EXPECT_EQ(BoundsOf(form), (Bounds{50, 60, 300, 200}));
}
