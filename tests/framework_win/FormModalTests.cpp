#include "Application.h"
#include "Form.h"
#include "ModalScript.h"
#include "StdCtrls.h"

#include "Exceptions.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {
TForm::CreateParams DialogParams(const std::string& caption)
{
    TForm::CreateParams params;
    params.caption = caption;
    params.borderStyle = TFormBorderStyle::bsDialog;
    params.position = TPosition::poScreenCenter;
    params.clientWidth = 300;
    params.clientHeight = 120;
    return params;
}

// A name, OK (default) and Cancel (cancel), and a log of what happened.
class NameDialog : public TForm {
public:
    explicit NameDialog(const std::string& caption = "Name") : TForm(DialogParams(caption))
    {
        NameEdit.SetBounds(10, 10, 200, 22);
        Ok.SetBounds(60, 80, 75, 25);
        Cancel.SetBounds(150, 80, 75, 25);
        Ok.ModalResult = mrOk;
        Ok.SetDefault(true);
        Cancel.ModalResult = mrCancel;
        Cancel.SetCancel(true);
        Ok.OnClick = [this] { log.push_back("ok"); };
        Cancel.OnClick = [this] { log.push_back("cancel"); };
        OnCloseQuery = [this](bool&) { log.push_back("query"); };
        OnClose = [this](TCloseAction&) { log.push_back("close"); };
        OnActivate = [this] { log.push_back("activate"); };
        OnShow = [this] { log.push_back("show"); };
        OnHide = [this] { log.push_back("hide"); };
        DoCreate();
    }

    TEdit NameEdit{this, this};
    TButton Ok{this, this, "OK"};
    TButton Cancel{this, this, "Cancel"};
    std::vector<std::string> log;
};

// Opens a NameDialog from its button, as dialogs that open dialogs do.
class OuterDialog : public TForm {
public:
    OuterDialog() : TForm(DialogParams("Outer"))
    {
        Open.SetBounds(10, 10, 75, 25);
        Open.OnClick = [this] {
            NameDialog inner("Inner");
            innerResult = inner.ShowModal();
            innerName = inner.NameEdit.Text();
            outerEnabledDuringInner = innerSawOuterEnabled;
        };
        DoCreate();
    }

    TButton Open{this, this, "Open..."};
    int innerResult = mrNone;
    std::string innerName;
    bool innerSawOuterEnabled = true;
    bool outerEnabledDuringInner = true;
};

class PlainWindow : public TForm {
public:
    PlainWindow() : TForm(CreateParams{"Plain window"}) {}
};

bool Contains(const std::vector<std::string>& log, const std::string& entry)
{
    return std::find(log.begin(), log.end(), entry) != log.end();
}
}

TEST(FormModal, AStepThatClicksAButtonEndsTheDialogWithTheButtonsResult)
{
    NameDialog dialog;
    ModalScript script;
    script.Then<NameDialog>([](NameDialog& shown) {
        EXPECT_TRUE(shown.Modal());
        EXPECT_TRUE(shown.Visible());
        shown.NameEdit.SetText("Corvane");
        shown.Ok.Click();
    });
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_EQ(dialog.NameEdit.Text(), "Corvane");
    EXPECT_FALSE(dialog.Visible());
    EXPECT_FALSE(dialog.Modal());
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"show", "activate", "ok", "query", "close", "hide"}));
    EXPECT_EQ(script.Shown(), std::vector<std::string>{"Name"});
}

TEST(FormModal, AStepMaySetTheResultItself)
{
    NameDialog dialog;
    ModalScript script;
    script.Then<NameDialog>([](NameDialog& shown) { shown.ModalResult = mrYes; });
    EXPECT_EQ(dialog.ShowModal(), mrYes);
    EXPECT_FALSE(Contains(dialog.log, "ok"));
    EXPECT_TRUE(Contains(dialog.log, "close"));
}

TEST(FormModal, AButtonPressedFromAnotherThreadEndsTheDialogAtOnce)
{
    // Screen readers and automation tools press a button by sending it
    // BM_CLICK from their own thread: nothing is posted to the dialog's queue.
    // A dialog still up after the watchdog's bound is woken so the suite goes
    // on, and the test fails.
    NameDialog dialog;
    HANDLE ended = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> woken{false};
    std::thread presser;
    const auto previousHook = TForm::ModalShownHook;
    TForm::ModalShownHook = [&](TForm& shown) {
        // Pressed where it has the focus already, as a person would find it:
        // nothing else on the dialog is repainted.
        dialog.Ok.SetFocus();
        Application.ProcessMessages();
        presser = std::thread([&, ok = dialog.Ok.Handle(), window = shown.Handle()] {
            SendMessageA(ok, BM_CLICK, 0, 0);
            if (WaitForSingleObject(ended, 10000) == WAIT_TIMEOUT) {
                woken = true;
                PostMessageA(window, WM_NULL, 0, 0);
            }
        });
    };
    const int result = dialog.ShowModal();
    SetEvent(ended);
    TForm::ModalShownHook = previousHook;
    presser.join();
    CloseHandle(ended);
    EXPECT_EQ(result, mrOk);
    EXPECT_FALSE(woken) << "the dialog waited for a posted message";
    EXPECT_TRUE(Contains(dialog.log, "ok"));
}

TEST(FormModal, TheOtherWindowsAreDisabledWhileTheDialogRuns)
{
    PlainWindow owner;
    owner.Show();
    NameDialog dialog;
    ModalScript script;
    bool ownerEnabled = true;
    script.Then<NameDialog>([&](NameDialog& shown) {
        ownerEnabled = IsWindowEnabled(owner.Handle()) != 0;
        EXPECT_EQ(GetActiveWindow(), shown.Handle());
        EXPECT_EQ(Application.ModalForm(), &shown);
        shown.ModalResult = mrCancel;
    });
    dialog.ShowModal();
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
    EXPECT_EQ(GetActiveWindow(), owner.Handle());
    EXPECT_EQ(Application.ModalForm(), nullptr);
}

TEST(FormModal, NestedDialogsTakeTheNextStep)
{
    OuterDialog outer;
    ModalScript script;
    script
        .Then<OuterDialog>([](OuterDialog& shown) {
            shown.Open.Click();
            shown.ModalResult = mrOk;
        })
        .Then<NameDialog>([&outer](NameDialog& inner) {
            outer.innerSawOuterEnabled = IsWindowEnabled(outer.Handle()) != 0;
            inner.NameEdit.SetText("nested");
            inner.ModalResult = mrNo;
        });
    EXPECT_EQ(outer.ShowModal(), mrOk);
    EXPECT_EQ(outer.innerResult, mrNo);
    EXPECT_EQ(outer.innerName, "nested");
    EXPECT_FALSE(outer.outerEnabledDuringInner);
    EXPECT_EQ(script.Shown(), (std::vector<std::string>{"Outer", "Inner"}));
    EXPECT_EQ(script.PendingSteps(), 0u);
}

TEST(FormModal, AnUnscriptedDialogFailsTheTestAndIsCancelled)
{
    NameDialog dialog;
    int result = mrNone;
    EXPECT_NONFATAL_FAILURE(
        {
            ModalScript script;
            result = dialog.ShowModal();
        },
        "Unexpected modal form");
    EXPECT_EQ(result, mrCancel);
    EXPECT_FALSE(dialog.Visible());
}

TEST(FormModal, ADialogOfTheWrongClassFailsTheTestAndIsCancelled)
{
    NameDialog dialog("Wrong one");
    int result = mrNone;
    bool stepRan = false;
    EXPECT_NONFATAL_FAILURE(
        {
            ModalScript script;
            script.Then<OuterDialog>([&](OuterDialog&) { stepRan = true; });
            result = dialog.ShowModal();
        },
        "Wrong one");
    EXPECT_EQ(result, mrCancel);
    EXPECT_FALSE(stepRan);
}

TEST(FormModal, StepsLeftOverFailTheTest)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ModalScript script;
            script.Then<NameDialog>([](NameDialog&) {});
        },
        "never shown");
}

TEST(FormModal, EscapePressesTheCancelButtonThroughTheDialogManager)
{
    NameDialog dialog;
    ModalScript script;
    script.Then<NameDialog>([](NameDialog& shown) {
        shown.NameEdit.SetFocus();
        PostMessageA(shown.NameEdit.Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    });
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    EXPECT_TRUE(Contains(dialog.log, "cancel"));
    EXPECT_FALSE(Contains(dialog.log, "ok"));
}

TEST(FormModal, EnterPressesTheDefaultButtonThroughTheDialogManager)
{
    NameDialog dialog;
    ModalScript script;
    script.Then<NameDialog>([](NameDialog& shown) {
        shown.NameEdit.SetFocus();
        PostMessageA(shown.NameEdit.Handle(), WM_KEYDOWN, VK_RETURN, 1);
    });
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_TRUE(Contains(dialog.log, "ok"));
}

TEST(FormModal, EnterOnAFocusedButtonPressesThatButton)
{
    NameDialog dialog;
    ModalScript script;
    script.Then<NameDialog>([](NameDialog& shown) {
        shown.Cancel.SetFocus();
        PostMessageA(shown.Cancel.Handle(), WM_KEYDOWN, VK_RETURN, 1);
    });
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    EXPECT_TRUE(Contains(dialog.log, "cancel"));
    EXPECT_FALSE(Contains(dialog.log, "ok"));
}

TEST(FormModal, TheFirstTabStopHasTheFocusWhenTheDialogShows)
{
    NameDialog dialog;
    ModalScript script;
    HWND focused = nullptr;
    script.Then<NameDialog>([&](NameDialog& shown) {
        focused = GetFocus();
        shown.ModalResult = mrCancel;
    });
    dialog.ShowModal();
    EXPECT_EQ(focused, dialog.NameEdit.Handle());
}

TEST(FormModal, TheActiveControlHasTheFocusWhenTheDialogShows)
{
    NameDialog dialog;
    dialog.SetActiveControl(&dialog.Cancel);
    ModalScript script;
    HWND focused = nullptr;
    script.Then<NameDialog>([&](NameDialog& shown) {
        focused = GetFocus();
        shown.ModalResult = mrCancel;
    });
    dialog.ShowModal();
    EXPECT_EQ(focused, dialog.Cancel.Handle());
}

TEST(FormModal, TheCloseQueryCanRefuseAndTheDialogGoesOn)
{
    NameDialog dialog;
    int queries = 0;
    dialog.OnCloseQuery = [&](bool& canClose) {
        ++queries;
        if (queries == 1) {
            canClose = false;
            // The dialog is still running: this close comes through its loop.
            PostMessageA(dialog.Handle(), WM_CLOSE, 0, 0);
        }
    };
    ModalScript script;
    script.Then<NameDialog>([](NameDialog& shown) { shown.Ok.Click(); });
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    EXPECT_EQ(queries, 2);
}

TEST(FormModal, CloseDuringTheCloseQueryDoesNothing)
{
    NameDialog dialog;
    int queries = 0;
    dialog.OnCloseQuery = [&](bool&) {
        ++queries;
        dialog.Close();
    };
    ModalScript script;
    script.Then<NameDialog>([](NameDialog& shown) { shown.ModalResult = mrOk; });
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_EQ(queries, 1);
}

TEST(FormModal, CloseOnAModalFormEndsItWithCancel)
{
    NameDialog dialog;
    ModalScript script;
    script.Then<NameDialog>([](NameDialog& shown) { shown.Close(); });
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    EXPECT_TRUE(Contains(dialog.log, "query"));
}

TEST(FormModal, AButtonHandlerCanKeepTheDialogOpen)
{
    NameDialog dialog;
    int clicks = 0;
    dialog.Ok.OnClick = [&] {
        // Refuses the first OK, as a dialog that checks its fields does.
        if (++clicks == 1)
            dialog.ModalResult = mrNone;
    };
    ModalScript script;
    script.Then<NameDialog>([](NameDialog& shown) {
        shown.Ok.Click();
        EXPECT_EQ(shown.ModalResult, mrNone);
        shown.Ok.Click();
    });
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_EQ(clicks, 2);
}

TEST(FormModal, ATerminatingApplicationEndsTheDialogWithCancel)
{
    NameDialog dialog;
    ModalScript script;
    script.Then<NameDialog>([](NameDialog&) { Application.Terminate(); });
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    EXPECT_TRUE(Application.Terminated());
    EXPECT_FALSE(Contains(dialog.log, "query"));
    Application.Initialize();
}

TEST(FormModal, AVisibleFormCannotBeShownModally)
{
    NameDialog dialog;
    dialog.Show();
    EXPECT_THROW(dialog.ShowModal(), Exception);
}

TEST(FormModeless, EscapeInAModelessFormPressesItsCancelButton)
{
    NameDialog window("Modeless");
    window.Show();
    window.NameEdit.SetFocus();
    PostMessageA(window.NameEdit.Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    Application.ProcessMessages();
    EXPECT_TRUE(Contains(window.log, "cancel"));
    EXPECT_EQ(window.ModalResult, mrCancel);
}

TEST(FormModeless, TabMovesToTheNextTabStop)
{
    NameDialog window("Modeless");
    window.Show();
    window.NameEdit.SetFocus();
    PostMessageA(window.NameEdit.Handle(), WM_KEYDOWN, VK_TAB, 1);
    Application.ProcessMessages();
    EXPECT_EQ(GetFocus(), window.Ok.Handle());
}

TEST(FormModeless, TheArrowsMoveBetweenRadioButtonsAndCheckThem)
{
    NameDialog window("Modeless");
    TRadioButton first(&window, &window, "First");
    TRadioButton second(&window, &window, "Second");
    first.SetBounds(10, 40, 100, 17);
    second.SetBounds(120, 40, 100, 17);
    first.SetChecked(true);
    int clicks = 0;
    second.OnClick = [&] { ++clicks; };
    window.Show();
    first.SetFocus();
    PostMessageA(first.Handle(), WM_KEYDOWN, VK_DOWN, 1);
    Application.ProcessMessages();
    EXPECT_EQ(GetFocus(), second.Handle());
    EXPECT_TRUE(second.Checked());
    EXPECT_FALSE(first.Checked());
    EXPECT_EQ(clicks, 1);
}
