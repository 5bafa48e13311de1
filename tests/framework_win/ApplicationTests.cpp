#include "Application.h"
#include "Exceptions.h"
#include "Form.h"
#include "ScriptedMessageBoxes.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {
class PlainForm : public TForm {
public:
    PlainForm() { CreateHandle(CreateParams{"Plain form"}); }
};

// Throws from inside its window procedure, the way a handler may fail.
class ThrowingForm : public TForm {
public:
    ThrowingForm() { CreateHandle(CreateParams{"Throwing form"}); }
    static constexpr UINT FailMessage = WM_APP + 1;
    static constexpr UINT AbortMessage = WM_APP + 2;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == FailMessage)
            throw EReadError("Stream read error");
        if (message == AbortMessage)
            Abort();
        return TForm::WndProc(message, wParam, lParam);
    }
};
}

TEST(ApplicationMessageBox, TheFunnelAnswersFromTheScriptAndRecordsEveryBox)
{
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDNO);
    boxes.Answer(IDYES);
    EXPECT_EQ(Application.MessageBox("First?", "Corvane Quillo", MB_YESNO), IDNO);
    EXPECT_EQ(Application.MessageBox("Second?", "Corvane Quillo", MB_YESNOCANCEL), IDYES);
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[1].caption, "Corvane Quillo");
    EXPECT_EQ(boxes.Shown()[1].flags, static_cast<UINT>(MB_YESNOCANCEL));
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"First?", "Second?"}));
}

TEST(ApplicationExceptions, AnErrorInAWindowProcedureIsShownAndTheProgramGoesOn)
{
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    Application.SetTitle("Untitled - Corvane Quillo");
    ThrowingForm form;
    SendMessageA(form.Handle(), ThrowingForm::FailMessage, 0, 0);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "Stream read error");
    EXPECT_EQ(boxes.Shown()[0].caption, "Untitled - Corvane Quillo");
    EXPECT_TRUE(IsWindow(form.Handle()));
}

TEST(ApplicationExceptions, TheSilentAbortShowsNothing)
{
    ScriptedMessageBoxes boxes;
    ThrowingForm form;
    SendMessageA(form.Handle(), ThrowingForm::AbortMessage, 0, 0);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST(ApplicationExceptions, ExceptionsOfAnyKindStopAtTheGuard)
{
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    boxes.Answer(IDOK);
    EXPECT_EQ(GuardedCall([]() -> int { throw std::runtime_error("plain failure"); }, -1), -1);
    EXPECT_EQ(GuardedCall([]() -> int { throw 42; }, -2), -2);
    EXPECT_EQ(GuardedCall([] { return 7; }, -3), 7);
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[0].text, "plain failure");
}

TEST(ApplicationLoop, ClosingTheMainFormEndsTheLoopButKeepsItsWindow)
{
    ASSERT_EQ(Application.MainForm(), nullptr);
    auto* form = Application.CreateForm<PlainForm>();
    ASSERT_EQ(Application.MainForm(), form);
    Application.Initialize();
    PostMessageA(form->Handle(), WM_CLOSE, 0, 0);
    Application.Run();
    EXPECT_TRUE(Application.Terminated());
    EXPECT_TRUE(form->Closed());
    EXPECT_TRUE(IsWindow(form->Handle()));
    const HWND window = form->Handle();
    Application.DestroyForms();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(Application.MainForm(), nullptr);
    Application.Initialize();
}
