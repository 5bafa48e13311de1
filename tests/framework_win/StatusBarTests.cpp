#include "Application.h"
#include "Cursors.h"
#include "Exceptions.h"
#include "Form.h"
#include "ScriptedMessageBoxes.h"
#include "StatusBar.h"
#include "Timer.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace {
// Layout needs a visible form; the controls work as well in a hidden one.
void ShowInactive(TForm& form)
{
    ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
    form.Realign();
}

class StatusForm : public TForm {
public:
    StatusForm()
    {
        CreateParams params;
        params.caption = "Status bar form";
        params.left = 60;
        params.top = 60;
        params.width = 640;
        params.height = 300;
        CreateHandle(params);
    }
};

// A child placed inside a status panel, as the progress bar is.
class Progress : public TControl {
public:
    explicit Progress(TStatusBar& bar) : TControl(&bar, &bar) { CreateHandle(PROGRESS_CLASSA, WS_VISIBLE, 0); }
};

std::string PanelText(HWND bar, int index)
{
    char buffer[256] = {};
    SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

class StatusBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application.Initialize();
        bar.SetName("StatusBar");
        bar.SetAlign(TAlign::alBottom);
        bar.AddPanel("Untitled", 400);
        bar.AddPanel("Level: 0", 80);
        bar.AddPanel("", 20, TStatusPanelBevel::pbNone);
    }

    StatusForm form;
    TStatusBar bar{&form, &form};
};
}

TEST_F(StatusBarTest, PanelsHaveTheirWidthsTextsAndBevels)
{
    const HWND handle = bar.Handle();
    ASSERT_EQ(SendMessageA(handle, SB_GETPARTS, 0, 0), 3);
    int edges[3] = {};
    SendMessageA(handle, SB_GETPARTS, 3, reinterpret_cast<LPARAM>(edges));
    EXPECT_EQ(edges[0], 400);
    EXPECT_EQ(edges[1], 480);
    EXPECT_EQ(edges[2], -1);
    EXPECT_EQ(PanelText(handle, 0), "Untitled");
    EXPECT_EQ(PanelText(handle, 1), "Level: 0");
    EXPECT_EQ(HIWORD(SendMessageA(handle, SB_GETTEXTLENGTHA, 2, 0)) & SBT_NOBORDERS, SBT_NOBORDERS);
    EXPECT_EQ(HIWORD(SendMessageA(handle, SB_GETTEXTLENGTHA, 0, 0)) & SBT_NOBORDERS, 0);
    EXPECT_FALSE(SendMessageA(handle, SB_ISSIMPLE, 0, 0));
    EXPECT_EQ(bar.PanelCount(), 3);
    EXPECT_EQ(bar.Panel(1).Width(), 80);
    EXPECT_EQ(form.FindComponent("StatusBar"), &bar);
}

TEST_F(StatusBarTest, TextWidthAndBevelChangeAtRunTime)
{
    const HWND handle = bar.Handle();
    bar.Panel(1).SetText("Level: 3");
    EXPECT_EQ(PanelText(handle, 1), "Level: 3");
    EXPECT_EQ(bar.Panel(1).Text(), "Level: 3");
    bar.Panel(0).SetWidth(300);
    int edges[3] = {};
    SendMessageA(handle, SB_GETPARTS, 3, reinterpret_cast<LPARAM>(edges));
    EXPECT_EQ(edges[0], 300);
    EXPECT_EQ(edges[1], 380);
    EXPECT_EQ(PanelText(handle, 1), "Level: 3");
    bar.Panel(2).SetBevel(TStatusPanelBevel::pbLowered);
    EXPECT_EQ(HIWORD(SendMessageA(handle, SB_GETTEXTLENGTHA, 2, 0)) & SBT_NOBORDERS, 0);
    EXPECT_THROW(bar.Panel(3), Exception);
}

TEST_F(StatusBarTest, TheBarLiesAtTheBottomAndHoldsControlsInsideAPanel)
{
    ShowInactive(form);
    const RECT client = form.ClientRect();
    EXPECT_GT(bar.Height(), 10);
    EXPECT_EQ(bar.Top() + bar.Height(), client.bottom);
    EXPECT_EQ(bar.Width(), client.right);

    const RECT panel = bar.PanelRect(1);
    EXPECT_GE(panel.left, 400);
    EXPECT_LE(panel.left, 404);
    EXPECT_GT(panel.bottom, panel.top);

    Progress progress(bar);
    const RECT inside = bar.PanelRect(0);
    progress.SetBounds(inside.left + 100, inside.top + 1, 150, inside.bottom - inside.top - 2);
    EXPECT_EQ(GetParent(progress.Handle()), bar.Handle());
    EXPECT_EQ(progress.Left(), inside.left + 100);
    EXPECT_EQ(progress.Parent(), &bar);
    EXPECT_TRUE(IsWindowVisible(progress.Handle()));
}

TEST_F(StatusBarTest, ADoubleClickRunsOnDblClickOnce)
{
    int doubleClicks = 0;
    bar.OnDblClick = [&] { ++doubleClicks; };
    SendMessageA(bar.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 5));
    EXPECT_EQ(doubleClicks, 1);
    // The control's own report of a double click, when that is all that comes.
    NMMOUSE notice{};
    notice.hdr.hwndFrom = bar.Handle();
    notice.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(bar.Handle()));
    notice.hdr.code = static_cast<UINT>(NM_DBLCLK);
    SendMessageA(form.Handle(), WM_NOTIFY, notice.hdr.idFrom, reinterpret_cast<LPARAM>(&notice));
    EXPECT_EQ(doubleClicks, 2);
}

// --- Timer ---------------------------------------------------------------------

namespace {
// Pumps the application's messages until done() or the time is up.
template <class Done>
bool PumpUntil(Done done, DWORD milliseconds)
{
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    while (!done()) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
        Application.ProcessMessages();
    }
    return true;
}
}

TEST(Timer, TicksRunOnTimerUntilTheTimerIsDisabled)
{
    Application.Initialize();
    TComponent owner;
    TTimer timer(&owner);
    timer.SetName("Timer");
    EXPECT_EQ(owner.FindComponent("Timer"), &timer);
    int ticks = 0;
    TComponent* sender = nullptr;
    timer.OnTimer = [&](TComponent* from) {
        ++ticks;
        sender = from;
    };
    timer.SetInterval(10);
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 2; }, 3000));
    EXPECT_EQ(sender, &timer);

    timer.SetEnabled(false);
    Application.ProcessMessages();
    ticks = 0;
    EXPECT_FALSE(PumpUntil([&] { return ticks > 0; }, 100));
    timer.SetEnabled(true);
    EXPECT_TRUE(PumpUntil([&] { return ticks > 0; }, 3000));
}

TEST(Timer, AnIntervalOfZeroStopsTheTimer)
{
    Application.Initialize();
    TTimer timer;
    int ticks = 0;
    timer.OnTimer = [&](TComponent*) { ++ticks; };
    timer.SetInterval(0);
    EXPECT_FALSE(PumpUntil([&] { return ticks > 0; }, 100));
    EXPECT_TRUE(timer.Enabled());
}

TEST(Timer, AnErrorInOnTimerIsShownAndTheTimerGoesOn)
{
    Application.Initialize();
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    TTimer timer;
    int ticks = 0;
    timer.OnTimer = [&](TComponent*) {
        if (++ticks == 1)
            throw Exception("Autosave failed");
    };
    timer.SetInterval(10);
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 2; }, 3000));
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Autosave failed"}));
}

TEST(Timer, ATimerDestroyedWithTicksWaitingRunsNothing)
{
    Application.Initialize();
    int ticks = 0;
    {
        TTimer timer;
        timer.OnTimer = [&](TComponent*) { ++ticks; };
        timer.SetInterval(1);
        Sleep(30);
    }
    Application.ProcessMessages();
    EXPECT_EQ(ticks, 0);
}

// --- Screen cursors ------------------------------------------------------------

TEST(ScreenCursorTable, StandardCursorsAndTheProgramsOwn)
{
    EXPECT_EQ(ScreenCursor(crHourGlass), LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    EXPECT_EQ(ScreenCursor(crHandPoint), LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
    EXPECT_EQ(ScreenCursor(crNoDrop), LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_NO)));
    EXPECT_EQ(ScreenCursor(crDefault), LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    // A number nobody set shows the arrow.
    EXPECT_EQ(ScreenCursor(5), LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    const HCURSOR own = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS));
    SetScreenCursor(5, own);
    SetScreenCursor(14000, own);
    EXPECT_EQ(ScreenCursor(5), own);
    EXPECT_EQ(ScreenCursor(14000), own);
    SetScreenCursor(5, nullptr);
    SetScreenCursor(14000, nullptr);
    EXPECT_EQ(ScreenCursor(5), LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
}

TEST(ScreenCursorTable, TheBusyCursorCoversTheProgramUntilItIsTakenAway)
{
    EXPECT_EQ(ScreenCursorOverride(), nullptr);
    SetBusyCursor(true);
    EXPECT_EQ(ScreenCursorId(), crHourGlass);
    EXPECT_EQ(ScreenCursorOverride(), ScreenCursor(crHourGlass));
    SetBusyCursor(false);
    EXPECT_EQ(ScreenCursorOverride(), nullptr);
    {
        TBusyCursorScope busy;
        EXPECT_EQ(ScreenCursorId(), crHourGlass);
        {
            TBusyCursorScope nested;
        }
        EXPECT_EQ(ScreenCursorId(), crHourGlass);
    }
    EXPECT_EQ(ScreenCursorId(), crDefault);
}
