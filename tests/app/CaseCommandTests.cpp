// Change Case on the page editor's selection, through the dialog.
#include "CaseDialog.h"
#include "ModalScript.h"
#include "PageTreeTest.h"

#include <functional>
#include <string>

TEST(CaseDialog, UpperAndLowerCaseFollowTheSystemsMapping)
{
    EXPECT_EQ(SystemUpperCase("\xE9t\xE9 ok"), "\xC9T\xC9 OK");
    EXPECT_EQ(SystemLowerCase("\xC9T\xC9 OK"), "\xE9t\xE9 ok");
    EXPECT_EQ(SystemUpperCase(""), "");
}

TEST_F(PageTreeTest, ChangeCaseReplacesTheSelectionAsTheDialogSays)
{
    struct Row {
        const char* name;
        std::function<void(TCase&)> choose;
        std::string text;
        int changed;
    } rows[] = {
        {"upper", [](TCase& form) { form.OK.Click(); }, "HELLO, WORLD \xC9 end", 1},
        {"lower", [](TCase& form) { form.LowerE.SetChecked(true), form.OK.Click(); }, "hello, world \xE9 end", 1},
        {"title", [](TCase& form) { form.TitleE.SetChecked(true), form.OK.Click(); }, "Hello, World \xE9 end", 1},
        {"toggle", [](TCase& form) { form.ToggleE.SetChecked(true), form.OK.Click(); }, "HELLO, World \xE9 end", 1},
        {"cancel", [](TCase& form) { form.LowerE.SetChecked(true), form.Cancel.Click(); }, "hello, wORLD \xE9 end", 0},
    };
    const std::string before = "hello, wORLD \xE9 end";
    for (const Row& row : rows) {
        Editor().SetText(before);
        Editor().ClearUndo();
        Editor().SetSelection(0, 14, false);
        OutlineProperties.FileChanged = 0;
        ModalScript script;
        script.Then<TCase>(row.choose);
        Main->mCaseClick(nullptr);
        EXPECT_EQ(script.PendingSteps(), 0u) << row.name;
        EXPECT_EQ(Editor().Text(), row.text) << row.name;
        EXPECT_EQ(OutlineProperties.FileChanged, row.changed) << row.name;
        // One step of Undo, as a paste is.
        EXPECT_EQ(Editor().CanUndo(), row.changed == 1) << row.name;
        Main->mUndoClick(nullptr);
        EXPECT_EQ(Editor().Text(), before) << row.name;
    }
}

TEST_F(PageTreeTest, RandomCaseAndAnEmptySelection)
{
    Editor().SetText("ABC");
    Editor().SetSelection(0, 1, false);
    {
        ModalScript script;
        script.Then<TCase>([](TCase& form) { form.RandomE.SetChecked(true), form.OK.Click(); });
        Main->mCaseClick(nullptr);
    }
    EXPECT_EQ(Editor().Text(), "aBC");
    Editor().SetSelection(1, 1, false);
    OutlineProperties.FileChanged = 0;
    ModalScript script;
    script.Then<TCase>([](TCase& form) { form.TitleE.SetChecked(true), form.OK.Click(); });
    Main->mCaseClick(nullptr);
    EXPECT_EQ(Editor().Text(), "aBC");
    EXPECT_EQ(OutlineProperties.FileChanged, 1);
}
