#include "Application.h"
#include "Form.h"

#include <gtest/gtest.h>

namespace {
class PlainForm : public TForm {
public:
    PlainForm() { CreateHandle(CreateParams{"Form under test"}); }
};
}

TEST(FormClose, TheCloseQueryCanRefuseAndNothingElseRuns)
{
    PlainForm form;
    int closeEvents = 0;
    form.OnCloseQuery = [](bool& canClose) { canClose = false; };
    form.OnClose = [&](TCloseAction&) { ++closeEvents; };
    form.Show();
    form.Close();
    EXPECT_EQ(closeEvents, 0);
    EXPECT_TRUE(form.Visible());
}

TEST(FormClose, CloseDuringTheCloseQueryDoesNothing)
{
    PlainForm form;
    int queries = 0;
    form.OnCloseQuery = [&](bool&) {
        ++queries;
        form.Close();
    };
    form.Show();
    form.Close();
    EXPECT_EQ(queries, 1);
    EXPECT_FALSE(form.Visible());
}

TEST(FormClose, ACloseActionOfNoneKeepsTheFormOpen)
{
    PlainForm form;
    form.OnClose = [](TCloseAction& action) { action = TCloseAction::caNone; };
    form.Show();
    SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(form.Visible());
}

TEST(FormCaption, TheCaptionIsTheWindowTitle)
{
    PlainForm form;
    EXPECT_EQ(form.Caption(), "Form under test");
    form.SetCaption("Closing Quillo...");
    EXPECT_EQ(FindWindowA(nullptr, "Closing Quillo..."), form.Handle());
}
