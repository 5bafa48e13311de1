// Change Case on the page editor's selection, through the dialog.
#include "CaseDialog.h"
#include "Cursors.h"
#include "ModalScript.h"
#include "PageTreeTest.h"
#include "PressKey.h"
#include "SentMessages.h"

#include <functional>
#include <set>
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

TEST_F(PageTreeTest, UndoOfChangeCaseSelectsWhatItPutBackWhereThePersonLooksUnderTheHourglass)
{
    std::string text;
    for (int line = 1; line <= 3000; ++line)
        text += "line " + std::to_string(line) + " of a long page\r";
    auto topCharacter = [this] {
        POINTL corner{1, 1};
        return static_cast<int>(SendMessageA(Editor().Handle(), EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&corner)));
    };
    // The program's cursor each time the step sets the editor's selection:
    // the hourglass, from the start of the work to its end.
    auto cursorsWhile = [](const std::function<void()>& step) {
        TSentMessages selections(EM_EXSETSEL);
        step();
        std::set<int> cursors;
        for (const TSentMessages::Sent& sent : selections.Seen)
            cursors.insert(sent.cursor);
        return cursors;
    };
    auto changeCase = [&](int from, int to) {
        Editor().SetSelection(from, to, false);
        ModalScript script;
        script.Then<TCase>([](TCase& form) { form.OK.Click(); });
        return cursorsWhile([] { Main->mCaseClick(nullptr); });
    };
    struct Row {
        const char* what;
        int from;
        int to;
    } rows[] = {{"a few words", 30000, 30040}, {"the whole page", 0, static_cast<int>(text.size())}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Editor().SetFocus();
        Editor().SetText(text);
        std::string upper = text;
        for (int i = row.from; i < row.to; ++i)
            upper[i] = static_cast<char>(toupper(static_cast<unsigned char>(upper[i])));
        EXPECT_EQ(std::set<int>{crHourGlass}, changeCase(row.from, row.to));
        ASSERT_TRUE(upper == Editor().GetTextRange(0, -1));
        EXPECT_TRUE(IsWindowVisible(Editor().Handle())) << "shown";
        const CHARRANGE changed = Editor().GetSelection();
        EXPECT_EQ(row.from, changed.cpMin);
        EXPECT_EQ(row.to, changed.cpMax);
        // The person scrolls elsewhere before taking it back (in the window
        // of now: a long text goes in through a fresh one).
        const HWND editor = Editor().Handle();
        SendMessageA(editor, EM_LINESCROLL, 0, 1000 - SendMessageA(editor, EM_GETFIRSTVISIBLELINE, 0, 0));
        const int top = topCharacter();
        EXPECT_EQ(std::set<int>{crHourGlass}, cursorsWhile([editor] { PressKey(editor, 'Z', ssCtrl); }));
        EXPECT_TRUE(text == Editor().GetTextRange(0, -1)) << "undone";
        const CHARRANGE undone = Editor().GetSelection();
        EXPECT_EQ(row.from, undone.cpMin);
        EXPECT_EQ(row.to, undone.cpMax);
        EXPECT_EQ(top, topCharacter());
        EXPECT_FALSE(Editor().CanUndo()) << "one step";
        // Typed after it, a letter is what Undo takes back.
        changeCase(row.from, row.to);
        Editor().SetSelection(0, 0, false);
        PostMessageA(Editor().Handle(), WM_CHAR, 'x', 1);
        Application.ProcessMessages();
        PressKey(Editor().Handle(), 'Z', ssCtrl);
        EXPECT_TRUE(upper == Editor().GetTextRange(0, -1)) << "the letter undone";
    }
}
