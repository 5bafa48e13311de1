// The notification-area icon: what the shell is asked, how mouse actions on
// the icon reach the component's window, hiding on minimise, and a shell that
// refuses the icon without ending the program.
#include "Application.h"
#include "Form.h"
#include "ImageList.h"
#include "Menus.h"
#include "TrayComp.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <utility>
#include <memory>
#include <string>
#include <vector>

namespace {
struct ShellRequest {
    DWORD message;
    NOTIFYICONDATAA record;
    std::string tip() const { return record.szTip; }
};

// Records every request to the shell and answers it as told.
class FakeShell {
public:
    FakeShell()
    {
        SetTrayShellCall([this](DWORD message, NOTIFYICONDATAA* data) {
            requests.push_back({message, *data});
            if (message == NIM_ADD)
                return addSucceeds ? TRUE : FALSE;
            if (message == NIM_DELETE)
                return deleteSucceeds ? TRUE : FALSE;
            return TRUE;
        });
    }
    ~FakeShell() { SetTrayShellCall(nullptr); }
    FakeShell(const FakeShell&) = delete;
    FakeShell& operator=(const FakeShell&) = delete;

    std::vector<DWORD> Messages() const
    {
        std::vector<DWORD> messages;
        for (const auto& request : requests)
            messages.push_back(request.message);
        return messages;
    }

    std::vector<ShellRequest> requests;
    bool addSucceeds = true;
    bool deleteSucceeds = true;
};

TForm::CreateParams MainParams()
{
    TForm::CreateParams params;
    params.caption = "Tray main window";
    params.left = 60;
    params.top = 60;
    params.clientWidth = 300;
    params.clientHeight = 200;
    return params;
}

class MainWindowForm : public TForm {
public:
    MainWindowForm() : TForm(MainParams()) {}
};

class TrayComp : public ::testing::Test {
protected:
    void SetUp() override { Application.Initialize(); }
    void TearDown() override
    {
        SetPopupTracker(nullptr);
        Application.DestroyForms();
        Application.OnMinimize = nullptr;
        Application.OnRestore = nullptr;
        Application.Initialize();
    }

    HWND ShowMainForm()
    {
        auto* form = Application.CreateForm<MainWindowForm>();
        form->Show();
        return form->Handle();
    }

    FakeShell shell;
};

LRESULT SendTray(const TTrayComp& tray, UINT mouseMessage)
{
    return SendMessageA(tray.WindowHandle(), TrayCallbackMessage, tray.IconId(), mouseMessage);
}

TEST_F(TrayComp, StartsWithItsDefaultsAndAsksTheShellNothing)
{
    TTrayComp tray;
    EXPECT_FALSE(tray.Visible());
    EXPECT_EQ(tray.Hint(), "");
    EXPECT_TRUE(tray.Hide());
    EXPECT_EQ(tray.PopupMenu, nullptr);
    EXPECT_EQ(tray.RestoreOn, arLeftDblClick);
    EXPECT_EQ(tray.PopupMenuOn, arNone);
    EXPECT_EQ(tray.Icons, nullptr);
    EXPECT_EQ(tray.IconIndex(), 0);
    EXPECT_EQ(tray.GetInterval(), 1000u);
    EXPECT_FALSE(tray.GetAnimate());
    EXPECT_NE(tray.IconHandle(), nullptr);
    EXPECT_TRUE(shell.requests.empty());
    EXPECT_EQ(static_cast<int>(arNone), 6);
    EXPECT_EQ(static_cast<int>(arLeftClickUp), 2);
}

TEST_F(TrayComp, ItsWindowIsAHiddenTopLevelWindow)
{
    TTrayComp tray;
    const HWND window = tray.WindowHandle();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(IsWindowVisible(window));
    // A message-only window's parent is not the desktop, and it would never
    // hear that Windows ends.
    EXPECT_EQ(GetAncestor(window, GA_PARENT), GetDesktopWindow());
}

TEST_F(TrayComp, EachComponentHasItsOwnIconId)
{
    TTrayComp first;
    TTrayComp second;
    EXPECT_NE(first.IconId(), second.IconId());
    EXPECT_NE(first.WindowHandle(), second.WindowHandle());
}

TEST_F(TrayComp, ShowingTheIconAddsItWithTheOriginalRecord)
{
    TTrayComp tray;
    tray.SetHide(false);
    tray.SetVisible(true);
    ASSERT_EQ(shell.Messages(), std::vector<DWORD>{NIM_ADD});
    const NOTIFYICONDATAA& sent = shell.requests[0].record;
    EXPECT_EQ(sent.cbSize, sizeof(void*) == 4 ? 88u : 104u);
    EXPECT_EQ(sent.cbSize, TrayRecordSize);
    EXPECT_EQ(sent.hWnd, tray.WindowHandle());
    EXPECT_EQ(sent.uID, tray.IconId());
    EXPECT_EQ(sent.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON));
    EXPECT_EQ(sent.uCallbackMessage, 1124u);
    EXPECT_EQ(sent.hIcon, tray.IconHandle());
    EXPECT_TRUE(tray.Visible());
    EXPECT_TRUE(tray.Hide()); // showing the icon turns hiding on
}

TEST_F(TrayComp, SettingVisibleToItsValueAsksNothing)
{
    TTrayComp tray;
    tray.SetVisible(false);
    EXPECT_TRUE(shell.requests.empty());
    tray.SetVisible(true);
    tray.SetVisible(true);
    EXPECT_EQ(shell.Messages(), std::vector<DWORD>{NIM_ADD});
    tray.SetVisible(false);
    tray.SetVisible(false);
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD, NIM_DELETE}));
    EXPECT_FALSE(tray.Visible());
    EXPECT_FALSE(tray.Hide()); // hiding the icon turns hiding off
}

TEST_F(TrayComp, ARefusedAddLeavesTheIconHiddenAndTheProgramRunning)
{
    shell.addSucceeds = false;
    std::vector<std::string> failures;
    TTrayComp tray;
    tray.OnShellFailure = [&](TTrayComp* sender, const std::string& text) {
        EXPECT_EQ(sender, &tray);
        failures.push_back(text);
    };
    tray.SetVisible(true);
    EXPECT_FALSE(tray.Visible());
    EXPECT_FALSE(Application.Terminated());
    EXPECT_EQ(failures, std::vector<std::string>{"Cannot Create System Shell Notification Icon"});
    // No icon holds it, so modifying and removing are not asked either.
    tray.SetHint("Outline - Corvane Quillo");
    tray.SetVisible(false);
    EXPECT_EQ(shell.Messages(), std::vector<DWORD>{NIM_ADD});
    // A later try can succeed.
    shell.addSucceeds = true;
    tray.SetVisible(true);
    EXPECT_TRUE(tray.Visible());
}

TEST_F(TrayComp, ARefusedAddNeverHidesTheMinimisedWindow)
{
    const HWND window = ShowMainForm();
    shell.addSucceeds = false;
    TTrayComp tray;
    tray.SetVisible(true);
    tray.SetHide(true);
    Application.Minimize();
    EXPECT_TRUE(IsIconic(window));
    EXPECT_TRUE(IsWindowVisible(window)); // its taskbar button is the way back
    Application.Restore();
    EXPECT_FALSE(IsIconic(window));
    EXPECT_FALSE(Application.Terminated());
}

TEST_F(TrayComp, ARefusedRemovalCountsTheIconAsGone)
{
    TTrayComp tray;
    std::vector<std::string> failures;
    tray.OnShellFailure = [&](TTrayComp*, const std::string& text) { failures.push_back(text); };
    tray.SetVisible(true);
    shell.deleteSucceeds = false;
    tray.SetVisible(false);
    EXPECT_FALSE(tray.Visible());
    EXPECT_FALSE(Application.Terminated());
    EXPECT_EQ(failures, std::vector<std::string>{"Cannot Remove System Shell Notification Icon"});
    tray.SetVisible(true);
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD, NIM_DELETE, NIM_ADD}));
}

TEST_F(TrayComp, TheHintBecomesTheTip)
{
    TTrayComp tray;
    tray.SetVisible(true);
    tray.SetHint("Outline - Corvane Quillo");
    ASSERT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD, NIM_MODIFY}));
    EXPECT_EQ(shell.requests[1].record.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(shell.requests[1].tip(), "Outline - Corvane Quillo");
    EXPECT_EQ(tray.Hint(), "Outline - Corvane Quillo");
    // The same text again asks nothing.
    tray.SetHint("Outline - Corvane Quillo");
    EXPECT_EQ(shell.requests.size(), 2u);
}

TEST_F(TrayComp, AHintSetBeforeTheIconIsShownGoesInWithTheAdd)
{
    TTrayComp tray;
    tray.SetHint("Untitled - Corvane Quillo");
    EXPECT_TRUE(shell.requests.empty());
    tray.SetVisible(true);
    ASSERT_EQ(shell.Messages(), std::vector<DWORD>{NIM_ADD});
    EXPECT_EQ(shell.requests[0].record.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(shell.requests[0].tip(), "Untitled - Corvane Quillo");
}

TEST_F(TrayComp, LongHintsAreCutToTheTipsSixtyThreeCharacters)
{
    struct Case {
        std::size_t length;
        std::size_t tipLength;
    };
    const Case cases[] = {{1, 1}, {62, 62}, {63, 63}, {64, 63}, {65, 63}, {200, 63}};
    TTrayComp tray;
    tray.SetVisible(true);
    for (const Case& test : cases) {
        SCOPED_TRACE(test.length);
        std::string hint;
        for (std::size_t index = 0; index < test.length; ++index)
            hint += static_cast<char>('A' + index % 26);
        shell.requests.clear();
        tray.SetHint(hint);
        ASSERT_EQ(shell.Messages(), std::vector<DWORD>{NIM_MODIFY});
        EXPECT_EQ(shell.requests[0].tip(), hint.substr(0, test.tipLength));
        EXPECT_EQ(tray.Hint(), hint);
    }
    // A long title after a short one never leaves the short one in the tip.
    tray.SetHint("Short - Corvane Quillo");
    const std::string longTitle = std::string(60, 'x') + " - Corvane Quillo";
    tray.SetHint(longTitle);
    EXPECT_EQ(std::string(tray.Record().szTip), longTitle.substr(0, 63));
}

TEST_F(TrayComp, AnEmptyHintRemovesOnlyTheTip)
{
    TTrayComp tray;
    tray.SetVisible(true);
    tray.SetHint("Outline - Corvane Quillo");
    shell.requests.clear();
    tray.SetHint("");
    ASSERT_EQ(shell.Messages(), std::vector<DWORD>{NIM_MODIFY});
    EXPECT_EQ(shell.requests[0].record.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON));
    EXPECT_EQ(shell.requests[0].record.uCallbackMessage, TrayCallbackMessage);
    EXPECT_NE(shell.requests[0].record.hIcon, nullptr);
    EXPECT_TRUE(tray.Visible());
    // Mouse messages still arrive.
    int ups = 0;
    tray.OnLButtonUp = [&](TComponent*) { ++ups; };
    SendTray(tray, WM_LBUTTONUP);
    EXPECT_EQ(ups, 1);
}

TEST_F(TrayComp, EachMouseMessageReachesItsEvent)
{
    TTrayComp tray;
    tray.RestoreOn = arNone;
    std::vector<std::string> log;
    tray.OnLButtonDown = [&](TComponent* sender) { log.push_back(sender == &tray ? "ldown" : "?"); };
    tray.OnLButtonUp = [&](TComponent*) { log.push_back("lup"); };
    tray.OnLButtonDblClick = [&](TComponent*) { log.push_back("ldbl"); };
    tray.OnRButtonDown = [&](TComponent*) { log.push_back("rdown"); };
    tray.OnRButtonUp = [&](TComponent*) { log.push_back("rup"); };
    tray.OnRButtonDblClick = [&](TComponent*) { log.push_back("rdbl"); };
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONUP,
             WM_RBUTTONDBLCLK, WM_MOUSEMOVE})
        SendTray(tray, message);
    EXPECT_EQ(log, (std::vector<std::string>{"ldown", "lup", "ldbl", "rdown", "rup", "rdbl"}));
}

TEST_F(TrayComp, AComponentBeingFreedAnswersNothingAndLeavesTheApplicationsEvents)
{
    TTrayComp tray;
    int clicks = 0;
    tray.OnLButtonUp = [&](TComponent*) { ++clicks; };
    tray.Destroying();
    SendTray(tray, WM_LBUTTONUP);
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(Application.OnMinimize);
    EXPECT_FALSE(Application.OnRestore);
}

TEST_F(TrayComp, PostedMouseMessagesArriveThroughTheMessageLoop)
{
    TTrayComp tray;
    int downs = 0;
    tray.OnRButtonDown = [&](TComponent*) { ++downs; };
    PostMessageA(tray.WindowHandle(), TrayCallbackMessage, tray.IconId(), WM_RBUTTONDOWN);
    Application.ProcessMessages();
    EXPECT_EQ(downs, 1);
}

TEST_F(TrayComp, HidesTheMinimisedWindowAndBringsItBackOnItsAction)
{
    const HWND window = ShowMainForm();
    TTrayComp tray;
    tray.RestoreOn = arLeftClickUp;
    tray.PopupMenuOn = arRightClickUp;
    tray.SetVisible(true);
    std::vector<std::string> log;
    tray.OnMinimize = [&](TComponent*) { log.push_back("minimize"); };
    tray.OnRestore = [&](TComponent*) { log.push_back("restore"); };
    tray.OnLButtonUp = [&](TComponent*) {
        log.push_back(IsWindowVisible(window) && !IsIconic(window) ? "up after restore" : "up before restore");
    };

    Application.Minimize();
    EXPECT_TRUE(Application.Minimized());
    EXPECT_FALSE(IsWindowVisible(window)); // no taskbar button
    // A press does nothing; the release restores and then fires its event.
    SendTray(tray, WM_LBUTTONDOWN);
    EXPECT_FALSE(IsWindowVisible(window));
    SendTray(tray, WM_LBUTTONUP);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(IsIconic(window));
    EXPECT_FALSE(Application.Minimized());
    EXPECT_EQ(GetForegroundWindow(), window);
    EXPECT_EQ(log, (std::vector<std::string>{"minimize", "restore", "up after restore"}));
}

TEST_F(TrayComp, MinimisingByTheWindowItselfAlsoHides)
{
    const HWND window = ShowMainForm();
    TTrayComp tray;
    tray.SetVisible(true);
    int minimized = 0;
    tray.OnMinimize = [&](TComponent*) { ++minimized; };
    ShowWindow(window, SW_MINIMIZE); // as the caption's button does
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(minimized, 1);
    tray.Restore();
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(IsIconic(window));
}

TEST_F(TrayComp, AMaximisedWindowComesBackMaximised)
{
    const HWND window = ShowMainForm();
    TTrayComp tray;
    tray.RestoreOn = arLeftClickUp;
    tray.SetVisible(true);
    const std::pair<const char*, std::function<void()>> minimisers[] = {
        {"the program", [] { Application.Minimize(); }},
        {"the caption's button", [window] { ShowWindow(window, SW_MINIMIZE); }},
    };
    for (const auto& [name, minimise] : minimisers) {
        SCOPED_TRACE(name);
        ShowWindow(window, SW_MAXIMIZE);
        minimise();
        ASSERT_FALSE(IsWindowVisible(window));
        SendTray(tray, WM_LBUTTONUP);
        EXPECT_TRUE(IsWindowVisible(window));
        EXPECT_TRUE(IsZoomed(window));
    }
}

TEST_F(TrayComp, WithoutHideTheMinimisedWindowKeepsItsButton)
{
    const HWND window = ShowMainForm();
    TTrayComp tray;
    tray.SetVisible(true);
    tray.SetHide(false);
    tray.Minimize();
    EXPECT_TRUE(IsIconic(window));
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(TrayComp, RemovingTheIconGivesAHiddenWindowItsButtonBack)
{
    const HWND window = ShowMainForm();
    TTrayComp tray;
    tray.SetVisible(true);
    Application.Minimize();
    ASSERT_FALSE(IsWindowVisible(window));
    tray.SetVisible(false);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(IsIconic(window));
}

TEST_F(TrayComp, ReleasingTheRightButtonOpensThePopupMenuAtTheCursor)
{
    TPopupMenu menu;
    auto item = std::make_unique<TMenuItem>();
    item->SetCaption("&Open");
    int clicks = 0;
    item->OnClick = [&](TComponent*) { ++clicks; };
    TMenuItem* open = menu.Items().Add(std::move(item));
    struct Opened {
        TPopupMenu* menu;
        POINT at;
    };
    std::vector<Opened> opened;
    SetPopupTracker([&](TPopupMenu& shown, int x, int y, HWND) {
        opened.push_back({&shown, {x, y}});
        return open->Command();
    });
    TTrayComp tray;
    tray.PopupMenu = &menu;
    tray.RestoreOn = arLeftClickUp;
    tray.PopupMenuOn = arRightClickUp;
    SendTray(tray, WM_RBUTTONDOWN);
    EXPECT_TRUE(opened.empty());
    POINT cursor{};
    GetCursorPos(&cursor);
    SendTray(tray, WM_RBUTTONUP);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].menu, &menu);
    EXPECT_EQ(opened[0].at.x, cursor.x);
    EXPECT_EQ(opened[0].at.y, cursor.y);
    EXPECT_EQ(clicks, 1);
    // Without a menu nothing opens.
    tray.PopupMenu = nullptr;
    SendTray(tray, WM_RBUTTONUP);
    EXPECT_EQ(opened.size(), 1u);
}

TEST_F(TrayComp, WindowsEndingRemovesTheIcon)
{
    TTrayComp tray;
    tray.SetVisible(true);
    EXPECT_EQ(SendMessageA(tray.WindowHandle(), WM_QUERYENDSESSION, 0, 0), 1);
    SendMessageA(tray.WindowHandle(), WM_ENDSESSION, FALSE, 0); // the end was cancelled
    EXPECT_TRUE(tray.Visible());
    SendMessageA(tray.WindowHandle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(tray.Visible());
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD, NIM_DELETE}));
}

TEST_F(TrayComp, ARestartedShellGetsTheIconAgain)
{
    TTrayComp tray;
    tray.SetVisible(true);
    SendMessageA(tray.WindowHandle(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD, NIM_ADD}));
    EXPECT_TRUE(tray.Visible());
    shell.addSucceeds = false;
    SendMessageA(tray.WindowHandle(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_FALSE(tray.Visible());
}

TEST_F(TrayComp, DestroyingTheComponentRemovesItsIconAndUnhooksTheApplication)
{
    {
        TTrayComp tray;
        tray.SetVisible(true);
    }
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD, NIM_DELETE}));
    EXPECT_FALSE(static_cast<bool>(Application.OnMinimize));
    EXPECT_FALSE(static_cast<bool>(Application.OnRestore));
}

TEST_F(TrayComp, AnimationCyclesThroughTheIcons)
{
    TTrayComp tray;
    tray.SetAnimate(true); // no icons: nothing changes
    EXPECT_FALSE(tray.GetAnimate());
    TImageList icons;
    icons.AddIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)));
    icons.AddIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_WARNING)));
    tray.Icons = &icons;
    tray.SetInterval(250);
    EXPECT_EQ(tray.GetInterval(), 250u);
    tray.SetAnimate(true);
    EXPECT_TRUE(tray.GetAnimate());
    tray.SetAnimate(false);
    tray.Loaded();
    tray.SetVisible(true);
    shell.requests.clear();
    std::vector<int> indexes;
    for (int tick = 0; tick < 3; ++tick) {
        tray.OnAnimation();
        indexes.push_back(tray.IconIndex());
    }
    EXPECT_EQ(indexes, (std::vector<int>{1, 0, 1}));
    ASSERT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_MODIFY, NIM_MODIFY, NIM_MODIFY}));
    EXPECT_EQ(shell.requests[2].record.hIcon, tray.IconHandle());
    tray.SetDefaultIcon();
    EXPECT_NE(tray.IconHandle(), nullptr);
}

// The real notification area, which exists with Wine's x11 driver.
TEST(TrayCompShell, TheRealShellTakesShowsAndRemovesTheIcon)
{
    if (!FindWindowA("Shell_TrayWnd", nullptr))
        GTEST_SKIP() << "no notification area in this session";
    TTrayComp tray;
    std::vector<std::string> failures;
    tray.OnShellFailure = [&](TTrayComp*, const std::string& text) { failures.push_back(text); };
    tray.SetHint("Tray test - Corvane Quillo");
    tray.SetVisible(true);
    EXPECT_TRUE(tray.Visible());
    tray.SetHint(std::string(80, 'q'));
    tray.SetHint("");
    tray.SetVisible(false);
    EXPECT_FALSE(tray.Visible());
    tray.SetVisible(true);
    EXPECT_TRUE(tray.Visible());
    EXPECT_TRUE(failures.empty());
    // The shell's own refusal: an icon it does not hold cannot be removed.
    NOTIFYICONDATAA absent{};
    absent.cbSize = TrayRecordSize;
    absent.hWnd = tray.WindowHandle();
    absent.uID = tray.IconId() + 1000;
    EXPECT_FALSE(Shell_NotifyIconA(NIM_DELETE, &absent));
}
} // namespace
