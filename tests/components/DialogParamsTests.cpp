// The extended file dialog's parameters on plain windows: finding panel
// forms, copying, placing the dialog and the context menu rule.

#include "DialogParams.h"

#include "Application.h"
#include "Form.h"
#include "Menus.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>

namespace {
TForm::CreateParams Borderless(int left, int top, int width, int height)
{
    TForm::CreateParams params;
    params.borderStyle = TFormBorderStyle::bsNone;
    params.left = left;
    params.top = top;
    params.width = width;
    params.height = height;
    return params;
}

class TPanelForm : public TForm {
public:
    explicit TPanelForm(TComponent* owner = nullptr) : TForm(Borderless(0, 0, 300, 80), owner) { DoCreate(); }
};

class TOtherPanel : public TForm {
public:
    explicit TOtherPanel(TComponent* owner = nullptr) : TForm(Borderless(0, 0, 300, 80), owner) { DoCreate(); }
};

class DialogParamsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Application.Forms().empty());
        mainForm = Application.CreateForm<TForm>(Borderless(100, 100, 400, 300));
    }
    void TearDown() override { Application.DestroyForms(); }

    TForm* mainForm = nullptr;
};

struct PopupWindow {
    PopupWindow(int left, int top, int width, int height)
        : handle(CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, left, top, width, height, nullptr, nullptr,
                                 nullptr, nullptr))
    {
    }
    ~PopupWindow() { DestroyWindow(handle); }
    RECT Rect() const
    {
        RECT rect{};
        GetWindowRect(handle, &rect);
        return rect;
    }
    HWND handle;
};
}

TEST_F(DialogParamsTest, PanelFormsAreFoundAmongTheApplicationsFormsByClassNameInAnyCase)
{
    TPanelForm* panel = Application.CreateForm<TPanelForm>();
    // Owned by another form, not by the application: never docked.
    auto foreign = std::make_unique<TOtherPanel>(mainForm);

    const struct {
        const char* name;
        TForm* found;
    } cases[] = {{"PanelForm", panel}, {"panelform", panel}, {"PANELFORM", panel},
                 {"OtherPanel", nullptr}, {"Missing", nullptr}, {"", nullptr}};
    for (const auto& c : cases) {
        TForm* form = nullptr;
        CreateFormAs(form, c.name);
        EXPECT_EQ(form, c.found) << c.name;
    }
    // A form already found stays.
    TForm* kept = mainForm;
    CreateFormAs(kept, "PanelForm");
    EXPECT_EQ(kept, mainForm);
}

TEST_F(DialogParamsTest, AssignCopiesTheFormsWithoutLosingThem)
{
    TPanelForm* custom = Application.CreateForm<TPanelForm>();
    TApCustDlgParams source;
    source.SetCustForm(custom);
    source.BottomFormName = "SaveExt";
    source.Position = TApDlgPosition::dpFormCenter;
    source.PosParams.SetFormName("Main");
    source.PosParams.Form = mainForm;
    source.PosParams.ShiftX = 5;
    source.PosParams.FitToScreen = true;

    TApCustDlgParams target;
    target.SetCustFormName("Other");
    target.PosParams.SetFormName("Kept");
    target.Assign(source);
    EXPECT_EQ(target.CustForm(), custom);
    EXPECT_EQ(target.CustFormName(), "");
    EXPECT_EQ(target.BottomFormName, "SaveExt");
    EXPECT_EQ(target.Position, TApDlgPosition::dpFormCenter);
    EXPECT_EQ(target.PosParams.Form, mainForm);
    EXPECT_EQ(target.PosParams.ShiftX, 5);
    EXPECT_TRUE(target.PosParams.FitToScreen);
    EXPECT_EQ(target.PosParams.FormName(), "Kept");

    // Naming a form forgets the one found, so it is looked up again.
    target.SetCustFormName("PanelForm");
    EXPECT_EQ(target.CustForm(), nullptr);
    target.SetBottomForm(custom);
    EXPECT_EQ(target.BottomFormName, "");
}

TEST_F(DialogParamsTest, PositionsCentreOverTheRightFormThenShiftAndFit)
{
    TComponent holder;
    TComponent notAForm(&holder);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);

    struct Case {
        TApDlgPosition position;
        TComponent* dialog;
        int shiftX;
        bool fit;
        int width;
        LONG expectedLeft;
        LONG expectedTop;
    };
    const Case cases[] = {
        // Centred over the main form: the dialog's owner is no form.
        {TApDlgPosition::dpOwnerCenter, &notAForm, 0, false, 200, 200, 200},
        {TApDlgPosition::dpMainFormCenter, nullptr, 0, false, 200, 200, 200},
        // No reference form: the main form.
        {TApDlgPosition::dpFormCenter, nullptr, 0, false, 200, 200, 200},
        {TApDlgPosition::dpDefault, nullptr, -30, false, 200, 20, 40},
        // Wider than the screen and fitted: the left edge on the screen.
        {TApDlgPosition::dpDefault, nullptr, 0, true, screenWidth + 100, 0, 40},
    };
    for (const Case& c : cases) {
        PopupWindow window(50, 40, c.width, 100);
        TApCustDlgParams params(c.dialog);
        params.Position = c.position;
        params.PosParams.ShiftX = c.shiftX;
        params.PosParams.FitToScreen = c.fit;
        params.ApSetPosition(window.handle);
        const RECT placed = window.Rect();
        EXPECT_EQ(placed.left, c.expectedLeft) << static_cast<int>(c.position);
        EXPECT_EQ(placed.top, c.expectedTop) << static_cast<int>(c.position);
        EXPECT_EQ(placed.right - placed.left, c.width);
    }
}

TEST_F(DialogParamsTest, AContextMenuOverAControlWithItsOwnMenuIsKeptFromTheSystem)
{
    auto form = std::make_unique<TOtherPanel>();
    SetWindowPos(form->Handle(), nullptr, 600, 500, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    TEdit withMenu(form.get(), form.get());
    withMenu.SetBounds(10, 10, 100, 21);
    TPopupMenu menu(form.get());
    withMenu.SetPopupMenu(&menu);
    TEdit plain(form.get(), form.get());
    plain.SetBounds(10, 50, 100, 21);
    form->Show();

    TApCustDlgParams params;
    const POINT overMenu = withMenu.ClientToScreen(POINT{5, 5});
    const POINT overPlain = plain.ClientToScreen(POINT{5, 5});
    const struct {
        TControl* focused;
        POINT point;
        bool allowed;
    } cases[] = {
        {&plain, overMenu, false},
        {&plain, overPlain, true},
        // From the keyboard (-1, -1, read as signed): the focused control's.
        {&withMenu, POINT{-1, -1}, false},
        {&plain, POINT{-1, -1}, true},
    };
    for (const auto& c : cases) {
        SetFocus(c.focused->Handle());
        bool allow = true;
        params.TrackContextMenus(allow, WM_CONTEXTMENU, 0, MAKELPARAM(c.point.x, c.point.y));
        EXPECT_EQ(allow, c.allowed) << c.point.x << "," << c.point.y;
    }
    bool allow = true;
    params.TrackContextMenus(allow, WM_SETCURSOR, 0, MAKELPARAM(overMenu.x, overMenu.y));
    EXPECT_TRUE(allow);
}
