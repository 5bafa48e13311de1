#include "Application.h"
#include "Form.h"
#include "ModalScript.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {
TForm::CreateParams WindowParams(const std::string& caption)
{
    TForm::CreateParams params;
    params.caption = caption;
    params.left = 40;
    params.top = 40;
    params.clientWidth = 320;
    params.clientHeight = 200;
    return params;
}

// Two edits whose OnEnter and OnExit write to a log, and the form's own events.
class TwoEdits : public TForm {
public:
    explicit TwoEdits(const std::string& caption = "Two edits") : TForm(WindowParams(caption))
    {
        A.SetBounds(10, 10, 200, 22);
        B.SetBounds(10, 40, 200, 22);
        A.OnEnter = [this] { log.push_back("enter A"); };
        A.OnExit = [this] { log.push_back("exit A"); };
        B.OnEnter = [this] { log.push_back("enter B"); };
        B.OnExit = [this] { log.push_back("exit B"); };
        OnActivate = [this] { log.push_back("activate"); };
        OnDeactivate = [this] { log.push_back("deactivate"); };
        OnShow = [this] { log.push_back("show"); };
        OnHide = [this] { log.push_back("hide"); };
        OnCreate = [this] { log.push_back("create"); };
        DoCreate();
    }

    TEdit A{this, this};
    TEdit B{this, this};
    std::vector<std::string> log;
};

class PlainWindow : public TForm {
public:
    explicit PlainWindow(const std::string& caption = "Other window") : TForm(WindowParams(caption)) {}
};

class OkDialog : public TForm {
public:
    OkDialog() : TForm(WindowParams("OK dialog"))
    {
        Ok.ModalResult = mrOk;
        Ok.SetBounds(10, 10, 75, 25);
        DoCreate();
    }
    TButton Ok{this, this, "OK"};
};

// A window of a class the framework does not know, inside a control: what
// a tree view's label editor is.
struct ForeignChild {
    explicit ForeignChild(HWND parent)
        : window(CreateWindowExA(0, "EDIT", "label", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, parent, nullptr,
                                 GetModuleHandleA(nullptr), nullptr))
    {
    }
    ~ForeignChild() { DestroyWindow(window); }
    ForeignChild(const ForeignChild&) = delete;
    ForeignChild& operator=(const ForeignChild&) = delete;
    HWND window;
};

// Shows the form, focuses B and starts the log afresh.
void ShowWithBFocused(TwoEdits& form)
{
    form.Show();
    form.B.SetFocus();
    form.log.clear();
}
}

TEST(FormFocus, EnterAndExitFireWhenTheFocusMovesBetweenControls)
{
    TwoEdits form;
    form.Show();
    form.A.SetFocus();
    form.log.clear();
    form.B.SetFocus();
    EXPECT_EQ(form.log, (std::vector<std::string>{"exit A", "enter B"}));
    EXPECT_EQ(form.ActiveControl(), &form.B);
}

TEST(FormFocus, TheFirstShowFocusesTheFirstTabStopAndEntersIt)
{
    TwoEdits form;
    form.Show();
    EXPECT_EQ(GetFocus(), form.A.Handle());
    EXPECT_EQ(form.ActiveControl(), &form.A);
    EXPECT_EQ(form.log, (std::vector<std::string>{"create", "show", "enter A", "activate"}));
}

TEST(FormFocus, AnotherWindowComingAndGoingFiresNoEnterOrExit)
{
    TwoEdits form;
    ShowWithBFocused(form);
    {
        PlainWindow other;
        other.Show();
        EXPECT_EQ(GetActiveWindow(), other.Handle());
    }
    SetActiveWindow(form.Handle());
    EXPECT_EQ(GetFocus(), form.B.Handle());
    EXPECT_EQ(form.ActiveControl(), &form.B);
    EXPECT_EQ(form.log, (std::vector<std::string>{"deactivate", "activate"}));
}

namespace {
// Lets the next real message box of this thread be shown (the tests
// otherwise refuse every box), answers it with OK as soon as it is activated,
// and remembers its text.
class MessageBoxAnswerer {
public:
    MessageBoxAnswerer() : previous_(Application.GetMessageBoxHandler())
    {
        Application.SetMessageBoxHandler(nullptr);
        hook_ = SetWindowsHookExA(WH_CBT, &MessageBoxAnswerer::Hook, nullptr, GetCurrentThreadId());
    }
    ~MessageBoxAnswerer()
    {
        UnhookWindowsHookEx(hook_);
        Application.SetMessageBoxHandler(previous_);
    }
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    static inline std::string text;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_ACTIVATE) {
            HWND window = reinterpret_cast<HWND>(wParam);
            char className[16] = {};
            GetClassNameA(window, className, sizeof className);
            if (std::string(className) == "#32770") {
                char buffer[256] = {};
                GetDlgItemTextA(window, 0xFFFF, buffer, sizeof buffer);
                text = buffer;
                // The box's own loop has not started yet: post, do not send.
                PostMessageA(window, WM_COMMAND, IDOK, 0);
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    MessageBoxHandler previous_;
    HHOOK hook_;
};
}

TEST(FormFocus, ARealMessageBoxFiresNoEnterOrExitAndGivesTheFocusBack)
{
    TwoEdits form;
    ShowWithBFocused(form);
    MessageBoxAnswerer answerer;
    EXPECT_EQ(Application.MessageBox("Saved?", "Corvane Quillo", MB_OK | MB_ICONINFORMATION), IDOK);
    EXPECT_EQ(MessageBoxAnswerer::text, "Saved?");
    EXPECT_EQ(GetFocus(), form.B.Handle());
    EXPECT_EQ(form.ActiveControl(), &form.B);
    EXPECT_TRUE(std::none_of(form.log.begin(), form.log.end(),
                             [](const std::string& entry) { return entry.find("enter") == 0 || entry.find("exit") == 0; }));
}

TEST(FormFocus, AHiddenWindowGivesTheFocusBackWithoutEvents)
{
    TwoEdits form;
    ShowWithBFocused(form);
    PlainWindow other;
    other.Show();
    other.Hide();
    SetActiveWindow(form.Handle());
    EXPECT_EQ(GetFocus(), form.B.Handle());
    EXPECT_EQ(form.log, (std::vector<std::string>{"deactivate", "activate"}));
}

TEST(FormFocus, AForeignChildWindowTakingTheFocusFiresNothing)
{
    TwoEdits form;
    ShowWithBFocused(form);
    ForeignChild editor(form.B.Handle());
    SetFocus(editor.window);
    EXPECT_EQ(GetFocus(), editor.window);
    EXPECT_TRUE(form.log.empty());
    EXPECT_EQ(form.ActiveControl(), &form.B);
    form.A.SetFocus();
    EXPECT_EQ(form.log, (std::vector<std::string>{"exit B", "enter A"}));
}

TEST(FormFocus, AForeignChildKeepsTheFocusAcrossDeactivation)
{
    TwoEdits form;
    ShowWithBFocused(form);
    ForeignChild editor(form.B.Handle());
    SetFocus(editor.window);
    {
        PlainWindow other;
        other.Show();
    }
    SetActiveWindow(form.Handle());
    EXPECT_EQ(GetFocus(), editor.window);
    EXPECT_EQ(form.log, (std::vector<std::string>{"deactivate", "activate"}));
}

TEST(FormFocus, TheFocusReturnsToTheActiveControlAfterAModalDialog)
{
    TwoEdits form;
    ShowWithBFocused(form);
    OkDialog dialog;
    ModalScript script;
    script.Then<OkDialog>([](OkDialog& shown) { shown.Ok.Click(); });
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_EQ(GetActiveWindow(), form.Handle());
    EXPECT_EQ(GetFocus(), form.B.Handle());
    EXPECT_EQ(form.ActiveControl(), &form.B);
    EXPECT_EQ(form.log, (std::vector<std::string>{"deactivate", "activate"}));
}

TEST(FormFocus, TheFocusReturnsToAForeignChildAfterAModalDialog)
{
    TwoEdits form;
    ShowWithBFocused(form);
    ForeignChild editor(form.B.Handle());
    SetFocus(editor.window);
    OkDialog dialog;
    ModalScript script;
    script.Then<OkDialog>([](OkDialog& shown) { shown.ModalResult = mrOk; });
    dialog.ShowModal();
    EXPECT_EQ(GetFocus(), editor.window);
    EXPECT_EQ(form.log, (std::vector<std::string>{"deactivate", "activate"}));
}

TEST(FormFocus, AnActiveControlSetWhileInactiveIsFocusedAtTheNextActivation)
{
    TwoEdits form;
    ShowWithBFocused(form);
    PlainWindow other;
    other.Show();
    form.log.clear();
    form.SetActiveControl(&form.A);
    EXPECT_TRUE(form.log.empty());
    EXPECT_EQ(form.ActiveControl(), &form.A);
    SetActiveWindow(form.Handle());
    EXPECT_EQ(GetFocus(), form.A.Handle());
    EXPECT_EQ(form.log, (std::vector<std::string>{"exit B", "enter A", "activate"}));
}

TEST(FormFocus, OnActivateRunsOnceForEveryActivation)
{
    TwoEdits form;
    form.Show();
    form.Show();
    SetActiveWindow(form.Handle());
    PlainWindow other;
    other.Show();
    SetActiveWindow(form.Handle());
    const auto activations = std::count(form.log.begin(), form.log.end(), "activate");
    EXPECT_EQ(activations, 2);
    EXPECT_TRUE(form.Active());
    EXPECT_EQ(Application.ActiveForm(), &form);
}

TEST(FormFocus, OnShowAndOnHideFireOnlyWhenTheVisibilityChanges)
{
    TwoEdits form;
    form.Show();
    form.Show();
    form.Hide();
    form.Hide();
    form.SetVisible(true);
    std::vector<std::string> visibility;
    for (const std::string& entry : form.log) {
        if (entry == "show" || entry == "hide")
            visibility.push_back(entry);
    }
    EXPECT_EQ(visibility, (std::vector<std::string>{"show", "hide", "show"}));
}

TEST(FormFocus, ADestroyedControlIsNoLongerTheActiveControl)
{
    TwoEdits form;
    form.Show();
    {
        TEdit temporary(&form, &form);
        temporary.SetFocus();
        EXPECT_EQ(form.ActiveControl(), &temporary);
    }
    EXPECT_EQ(form.ActiveControl(), nullptr);
    form.log.clear();
    form.B.SetFocus();
    EXPECT_EQ(form.log, std::vector<std::string>{"enter B"});
}

TEST(FormFocus, TabMovesBetweenTheControlsOfTheMainForm)
{
    auto* form = Application.CreateForm<TwoEdits>("Main form");
    ASSERT_EQ(Application.MainForm(), form);
    form->Show();
    form->A.SetFocus();
    PostMessageA(form->A.Handle(), WM_KEYDOWN, VK_TAB, 1);
    Application.ProcessMessages();
    EXPECT_EQ(GetFocus(), form->B.Handle());
    // Esc is no dialog key on the main form: it reaches the control.
    WORD seen = 0;
    form->B.OnKeyDown = [&](WORD& key, TShiftState) { seen = key; };
    PostMessageA(form->B.Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    Application.ProcessMessages();
    EXPECT_EQ(seen, VK_ESCAPE);
    Application.DestroyForms();
    Application.Initialize();
}

TEST(ApplicationWindows, MinimizeAndRestoreFireTheirEventsOnce)
{
    auto* form = Application.CreateForm<TwoEdits>("Main form");
    form->Show();
    std::vector<std::string> events;
    Application.OnMinimize = [&] { events.push_back("minimize"); };
    Application.OnRestore = [&] { events.push_back("restore"); };
    Application.Minimize();
    EXPECT_TRUE(IsIconic(form->Handle()));
    EXPECT_TRUE(Application.Minimized());
    Application.Restore();
    EXPECT_FALSE(IsIconic(form->Handle()));
    EXPECT_EQ(GetActiveWindow(), form->Handle());
    EXPECT_EQ(events, (std::vector<std::string>{"minimize", "restore"}));
    Application.OnMinimize = nullptr;
    Application.OnRestore = nullptr;
    Application.DestroyForms();
    Application.Initialize();
}

TEST(ApplicationWindows, BringToFrontActivatesTheMainForm)
{
    auto* form = Application.CreateForm<TwoEdits>("Main form");
    form->Show();
    PlainWindow other;
    other.Show();
    Application.BringToFront();
    EXPECT_EQ(GetActiveWindow(), other.Handle()); // the last active form
    other.Hide();
    Application.BringToFront();
    EXPECT_EQ(GetActiveWindow(), form->Handle());
    Application.DestroyForms();
    Application.Initialize();
}
