#include "PageTreeTest.h"

#include "DatePickDialog.h"
#include "DateTime.h"
#include "ModalScript.h"
#include "Pages.h"
#include "ScriptedMessageBoxes.h"

#include <functional>

namespace {
class DateAndTime : public PageTreeTest {
protected:
    void SetUp() override
    {
        PageTreeTest::SetUp();
        states_ = DialogStates;
        format_ = FormatSettings();
        FormatSettings() = EnglishFormatSettings();
        SetNowProvider([this] { return now; });
        Build("A(A1),B");
    }
    void TearDown() override
    {
        SetNowProvider(nullptr);
        FormatSettings() = format_;
        DialogStates = states_;
        PageTreeTest::TearDown();
    }
    void RunDialog(std::function<void(TDatePick&)> step)
    {
        ModalScript script;
        script.Then<TDatePick>(std::move(step));
        Main->RunHandler("mDateClick", nullptr);
        EXPECT_EQ(script.PendingSteps(), 0u);
    }
    static std::vector<std::string> Entries(const TDatePick& dialog)
    {
        std::vector<std::string> entries;
        for (int i = 0; i < dialog.List.Items().Count(); ++i)
            entries.push_back(dialog.List.Items()[i]);
        return entries;
    }
    static void Choose(TDatePick& dialog, int index)
    {
        dialog.List.SetItemIndex(index);
        dialog.OK.Click();
    }

    TDateTime now = EncodeDate(2026, 3, 5) + EncodeTime(14, 7, 9, 0);

private:
    TDialogStates states_;
    TFormatSettings format_;
};

TEST_F(DateAndTime, ListsTheMomentInSeventeenFormats)
{
    std::vector<std::string> shown;
    RunDialog([&shown](TDatePick& dialog) {
        shown = Entries(dialog);
        EXPECT_EQ(dialog.List.ItemIndex(), 0);
        dialog.Cancel.Click();
    });
    const std::vector<std::string> expected = {"3/5/2026",
                                               "Thursday, March 5, 2026",
                                               "March 5, 2026",
                                               "3/5/2026",
                                               "2026-03-05",
                                               "5-Mar-26",
                                               "3.5.26",
                                               "Mar.  5, 26",
                                               "5 March 2026",
                                               "March 26",
                                               "Mar-26",
                                               "3/5/2026 2:07 PM",
                                               "3/5/2026 2:07:09 PM",
                                               "2:07 PM",
                                               "2:07:09 PM",
                                               "14:07",
                                               "14:07:09"};
    EXPECT_EQ(shown, expected);

    // At midnight "c" is the date alone.
    now = EncodeDate(2026, 3, 5);
    RunDialog([&shown](TDatePick& dialog) {
        shown = Entries(dialog);
        dialog.Cancel.Click();
    });
    EXPECT_EQ(shown.at(12), "3/5/2026");
}

TEST_F(DateAndTime, DefaultAsksAndStoresTheFormatOnlyOnYes)
{
    for (const int answer : {IDNO, IDYES}) {
        OptionSettings.DateTimeFormat = "c";
        ScriptedMessageBoxes boxes;
        boxes.Answer(answer);
        RunDialog([](TDatePick& dialog) {
            dialog.List.SetItemIndex(4);
            dialog.Button1.Click();
            dialog.Cancel.Click();
        });
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].text, "Do you want to change the default date/time format to match: \"2026-03-05\"?");
        EXPECT_EQ(boxes.Shown()[0].caption, "Corvane Quillo");
        EXPECT_EQ(boxes.Shown()[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONINFORMATION));
        EXPECT_EQ(OptionSettings.DateTimeFormat, answer == IDYES ? "yyyy-mm-dd" : "c");
    }
}

TEST_F(DateAndTime, GoesIntoTheEditorWithTheCaretAfterIt)
{
    Select(N("A"));
    Editor().SetFocus();
    Editor().SetSelStart(2);
    Editor().SetSelLength(2);
    RunDialog([](TDatePick& dialog) { Choose(dialog, 4); });
    EXPECT_EQ(Editor().Text(), "A 2026-03-05xt");
    EXPECT_EQ(Editor().SelStart(), 12);
    EXPECT_EQ(Editor().SelLength(), 0);
    EXPECT_EQ(OutlineProperties.FileChanged, 1);
    EXPECT_EQ(Shape(), "A(A1),B");
}

TEST_F(DateAndTime, WithTheTreeFocusedBecomesASubPageAndAHistoryEntry)
{
    Select(N("B"));
    Tree().SetFocus();
    // A double click chooses as OK does.
    RunDialog([](TDatePick& dialog) {
        dialog.List.SetItemIndex(15);
        dialog.List.OnDblClick();
    });
    EXPECT_EQ(Shape(), "A(A1),B(14:07)");
    TTreeNode* added = N("B")->getFirstChild();
    EXPECT_EQ(Tree().Selected(), added);
    EXPECT_EQ(PageHistory.Entry(PageHistory.Index()), added);
    EXPECT_EQ(Tree().PopupMenu(), Main->PopupMenuNamed("PopupPage"));
    EXPECT_EQ(OutlineProperties.FileChanged, 1);
}

TEST_F(DateAndTime, AtTheDeepestLevelNothingIsAddedAndThePositionIsKept)
{
    TTreeNode* deepest = N("B");
    for (int level = 1; level < 255; ++level)
        deepest = Tree().Items().AddChild(deepest, "Deeper");
    Select(deepest);
    Tree().SetFocus();
    const int pages = Tree().Items().Count();
    DialogStates.DatePickInitialized = false;
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    int left = 0;
    int top = 0;
    RunDialog([&](TDatePick& dialog) {
        dialog.SetBounds(123, 87, dialog.Width(), dialog.Height());
        left = dialog.Left();
        top = dialog.Top();
        Choose(dialog, 0);
    });
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{PageLevelLimitText});
    EXPECT_EQ(Tree().Items().Count(), pages);
    EXPECT_EQ(OutlineProperties.FileChanged, 0);
    EXPECT_TRUE(DialogStates.DatePickInitialized);
    EXPECT_EQ(DialogStates.DatePickLeft, left);
    EXPECT_EQ(DialogStates.DatePickTop, top);

    // The next use opens where this one was left.
    RunDialog([&](TDatePick& dialog) {
        EXPECT_EQ(dialog.Left(), left);
        EXPECT_EQ(dialog.Top(), top);
        dialog.Cancel.Click();
    });
}
} // namespace
