// Speed buttons: a group is one choice, code sets it silently, a click fires
// and never takes the focus from the control that has it.
#include "Application.h"
#include "Form.h"
#include "SpeedButton.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

namespace {
TForm::CreateParams HostParams()
{
    TForm::CreateParams params;
    params.caption = "Speed buttons";
    params.left = 20;
    params.top = 20;
    params.clientWidth = 200;
    params.clientHeight = 100;
    return params;
}

class Host : public TForm {
public:
    Host() : TForm(HostParams())
    {
        Edit.SetBounds(8, 40, 100, 21);
        Large.SetBounds(8, 8, 23, 22);
        Small.SetBounds(32, 8, 23, 22);
        Plain.SetBounds(56, 8, 23, 22);
        Large.SetGroupIndex(1);
        Small.SetGroupIndex(1);
        Large.OnClick = [this] { ++largeClicks; };
        Small.OnClick = [this] { ++smallClicks; };
        Plain.OnClick = [this] { ++plainClicks; };
    }
    TEdit Edit{this, this};
    TSpeedButton Large{this, this};
    TSpeedButton Small{this, this};
    TSpeedButton Plain{this, this, "P"};
    int largeClicks = 0;
    int smallClicks = 0;
    int plainClicks = 0;
};

void MouseClick(const TSpeedButton& button)
{
    SendMessageA(button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(button.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}
}

TEST(SpeedButton, AGroupHoldsOneButtonDownAndCodeFiresNothing)
{
    Application.Initialize();
    Host host;
    host.Large.SetDown(true);
    EXPECT_TRUE(host.Large.Down());
    host.Small.SetDown(true);
    EXPECT_FALSE(host.Large.Down());
    EXPECT_TRUE(host.Small.Down());
    EXPECT_EQ(host.largeClicks + host.smallClicks, 0);

    host.Large.Click();
    EXPECT_TRUE(host.Large.Down());
    EXPECT_FALSE(host.Small.Down());
    host.Large.Click(); // a down button of a group stays down
    EXPECT_TRUE(host.Large.Down());
    EXPECT_EQ(host.largeClicks, 2);

    host.Plain.SetDown(true); // group 0: never down
    EXPECT_FALSE(host.Plain.Down());
    host.Small.SetEnabled(false);
    host.Small.Click();
    EXPECT_EQ(host.smallClicks, 0);
    EXPECT_TRUE(host.Large.Down());
}

TEST(SpeedButton, AMouseClickFiresButLeavesTheFocusWhereItWas)
{
    Application.Initialize();
    Host host;
    host.Show();
    host.Edit.SetFocus();
    ASSERT_EQ(GetFocus(), host.Edit.Handle());

    MouseClick(host.Small);
    EXPECT_TRUE(host.Small.Down());
    EXPECT_EQ(host.smallClicks, 1);
    MouseClick(host.Plain);
    EXPECT_EQ(host.plainClicks, 1);
    EXPECT_FALSE(host.Plain.Down());
    // Released outside the button: no click.
    SendMessageA(host.Plain.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(host.Plain.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(500, 5));
    EXPECT_EQ(host.plainClicks, 1);
    EXPECT_EQ(GetFocus(), host.Edit.Handle());
    EXPECT_EQ(host.ActiveControl(), &host.Edit);
}
