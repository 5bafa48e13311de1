// The Find window and its search, driven through its handlers and, where the
// window's activation matters, with the window really active.
#include "EditorSearch.h"
#include "FindDialog.h"
#include "ModelessWindows.h"
#include "PageTextMatcher.h"
#include "PageTreeTest.h"
#include "ScriptedMessageBoxes.h"

#include <string>

namespace {
class FindTest : public PageTreeTest {
protected:
    void SetUp() override
    {
        PageTreeTest::SetUp();
        states_ = DialogStates;
    }
    void TearDown() override
    {
        FindR.reset();
        DialogStates = states_;
        PageTreeTest::TearDown();
    }

    TFindR& Find(const std::string& text, TSearchScope scope, bool matchCase = false, bool whole = false)
    {
        Main->mFindClick(nullptr);
        TFindR& find = *FindRWindow();
        find.Edit.SetText(text);
        find.SearchEdit.SetItemIndex(scope);
        find.Case.SetChecked(matchCase);
        find.Whole.SetChecked(whole);
        return find;
    }
    // The page editor's selection as start and length.
    std::pair<int, int> Selection() { return {Editor().SelStart(), Editor().SelLength()}; }

    ScriptedMessageBoxes boxes_;

private:
    TDialogStates states_;
};
}

TEST_F(FindTest, FindInEditorUsesTheControlsOwnSearch)
{
    Editor().SetText("Word sword word. or");
    struct Row {
        const char* text;
        int start;
        bool matchCase;
        bool whole;
        int found;
    } rows[] = {
        {"word", 0, false, false, 0},  {"word", 0, true, false, 6},  {"word", 1, false, true, 11},
        {"Word", 1, true, false, -1},  {"or", 0, false, true, 17},    {"none", 0, false, false, -1},
        {"word", 500, false, false, -1}, {"", 0, false, false, -1},
    };
    for (const Row& row : rows)
        EXPECT_EQ(FindInEditor(row.text, row.start, row.matchCase, row.whole, Editor()), row.found) << row.text;
}

TEST_F(FindTest, AMissInTheCurrentPageSaysSoAndMovesNothing)
{
    Build("A,B");
    Select(N("A"));
    Editor().SetSelection(6, 6, false);
    boxes_.Answer(IDOK);
    Find("text", scCurrentPage).FindButtonClick();
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].text, "Search string: 'text' not found!");
    EXPECT_EQ(boxes_.Shown()[0].caption, "Corvane Quillo");
    EXPECT_EQ(boxes_.Shown()[0].flags, 0x2040u);
    EXPECT_EQ(Tree().Selected(), N("A"));
    EXPECT_EQ(Selection(), std::make_pair(6, 0));
    EXPECT_EQ(SharedResultText, "text");
}

TEST_F(FindTest, TheWholeOutlineFindsATitleBeforeItsPagesText)
{
    Build("A,B(B1),C");
    Select(N("A"));
    Find("B1", scOutlineWithTitles).FindButtonClick();
    EXPECT_EQ(Tree().Selected(), N("B1"));
    EXPECT_EQ(Main->ActiveControl(), Main->Tree.get());
    EXPECT_EQ(Selection(), std::make_pair(0, 0));
    EXPECT_EQ(Editor().Text(), "B1 text");
    EXPECT_EQ(PageHistory.Entry(PageHistory.Index()), N("B1"));
}

TEST_F(FindTest, WithoutTitlesOnlyTheTextsAreSearched)
{
    Build("A,Gamma,C");
    PageDataOf(N("Gamma"))->SetBodyText("nothing here");
    Select(N("A"));
    boxes_.Answer(IDOK);
    Find("Gamma", scOutlineWithoutTitles).FindButtonClick();
    EXPECT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(Tree().Selected(), N("A"));
}

TEST_F(FindTest, FindNextGoesThroughAPageBeforeMovingOnAndNeverWraps)
{
    Build("A,B,C");
    PageDataOf(N("B"))->SetBodyText("x foo y\r\nfoo");
    PageDataOf(N("C"))->SetBodyText("Foo");
    Select(N("A"));
    Find("foo", scOutlineWithTitles).FindButtonClick();
    EXPECT_EQ(Tree().Selected(), N("B"));
    EXPECT_EQ(Selection(), std::make_pair(2, 3));
    EXPECT_EQ(Main->ActiveControl(), Main->RichEdit.get());
    Main->mFindNextClick(nullptr);
    EXPECT_EQ(Tree().Selected(), N("B"));
    EXPECT_EQ(Selection(), std::make_pair(8, 3));
    Main->mFindNextClick(nullptr);
    EXPECT_EQ(Tree().Selected(), N("C"));
    EXPECT_EQ(Selection(), std::make_pair(0, 3));
    // From the last page the miss comes at once; the match stays selected.
    boxes_.Answer(IDOK);
    Main->mFindNextClick(nullptr);
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{"Search string: 'foo' not found!"});
    EXPECT_EQ(Tree().Selected(), N("C"));
    EXPECT_EQ(Selection(), std::make_pair(0, 3));
}

TEST_F(FindTest, CaseAndWholeWordsNarrowTheOutlineSearch)
{
    Build("A,B,C");
    PageDataOf(N("B"))->SetBodyText("word");
    PageDataOf(N("C"))->SetBodyText("Word or");
    Select(N("A"));
    Find("Word", scOutlineWithoutTitles, true).FindButtonClick();
    EXPECT_EQ(Tree().Selected(), N("C"));
    Select(N("A"));
    Find("or", scOutlineWithoutTitles, false, true).FindButtonClick();
    EXPECT_EQ(Tree().Selected(), N("C"));
    EXPECT_EQ(Selection(), std::make_pair(5, 2));
}

TEST_F(FindTest, TheHistoryKeepsOneEntryForARepeatedText)
{
    Build("A");
    Select(N("A"));
    for (int answer = 0; answer < 4; ++answer)
        boxes_.Answer(IDOK);
    TFindR& find = Find("zz", scCurrentPage);
    find.FindButtonClick();
    find.FindButtonClick();
    EXPECT_EQ(find.Edit.Items().Count(), 1);
    find.Edit.SetText("yy");
    find.FindButtonClick();
    find.Edit.SetText("zz");
    find.FindButtonClick();
    EXPECT_EQ(find.Edit.Items().Count(), 3);
    EXPECT_EQ(find.Edit.Items().Get(0), "zz");
}

TEST_F(FindTest, AnEmptySearchBoxDisablesFindNextAndF3OnlyShowsTheWindow)
{
    Main->mFindNextClick(nullptr);
    TFindR& find = *FindRWindow();
    EXPECT_FALSE(find.FindButton.Enabled());
    find.Hide();
    Main->mFindNextClick(nullptr);
    EXPECT_TRUE(IsWindowVisible(find.Handle()));
    SendMessageA(GetWindow(find.Edit.Handle(), GW_CHILD), WM_CHAR, 'x', 1);
    EXPECT_TRUE(find.FindButton.Enabled());
    SendMessageA(GetWindow(find.Edit.Handle(), GW_CHILD), WM_CHAR, VK_BACK, 1);
    EXPECT_FALSE(find.FindButton.Enabled());
}

TEST_F(FindTest, TheStoredStateComesBackInANewWindowOnScreen)
{
    Main->mFindClick(nullptr);
    TFindR& first = *FindRWindow();
    first.Case.SetChecked(true);
    first.SearchEdit.SetItemIndex(scOutlineWithoutTitles);
    first.FormDeactivate();
    EXPECT_TRUE(DialogStates.FindRInitialized);
    EXPECT_EQ(DialogStates.FindRSearchEdit, 2);
    FindR.reset();

    struct Row {
        int scope;
        int left;
        int top;
        int expectedScope;
    } rows[] = {{0, 40, 50, 0}, {7, 40, 50, 1}, {-3, 40, 50, 1}, {2, 60000, -60000, 2}};
    for (const Row& row : rows) {
        DialogStates.FindRSearchEdit = row.scope;
        DialogStates.FindRLeft = row.left;
        DialogStates.FindRTop = row.top;
        Main->mFindClick(nullptr);
        TFindR& find = *FindRWindow();
        EXPECT_TRUE(find.Case.Checked());
        EXPECT_FALSE(find.Whole.Checked());
        EXPECT_EQ(find.Scope(), row.expectedScope) << row.scope;
        EXPECT_EQ(find.SearchEdit.ItemIndex(), row.expectedScope) << row.scope;
        RECT window{};
        GetWindowRect(find.Handle(), &window);
        RECT work{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_GE(window.left, work.left);
        EXPECT_GE(window.top, work.top);
        EXPECT_LE(window.left, work.right - 100);
        EXPECT_LE(window.top, work.bottom - 30);
        if (row.left == 40) {
            EXPECT_EQ(window.left, work.left + 40);
            EXPECT_EQ(window.top, work.top + 50);
        }
        FindR.reset();
    }
}

TEST_F(FindTest, TypingNotYetStoredSurvivesAMatchInAnotherPage)
{
    Build("A,B");
    Select(N("A"));
    Editor().SetFocus();
    Editor().SetSelection(0, 0, false);
    Editor().SetSelText("typed ");
    Editor().SetModified(true);
    // The user goes to the Find window: the editor loses the focus, but no
    // other control of the main window takes it.
    TFindR& find = Find("B text", scOutlineWithTitles);
    ASSERT_TRUE(FindWindowIsActive());
    find.FindButtonClick();
    EXPECT_EQ(Tree().Selected(), N("B"));
    EXPECT_EQ(PageDataOf(N("A"))->BodyText(), "typed A text");
    EXPECT_EQ(OutlineProperties.FileChanged, 1);
    Select(N("A"));
    EXPECT_EQ(Editor().Text(), "typed A text");
    const std::string path = folder_ / "typed.kbf";
    ASSERT_TRUE(SaveOutline(path));
    ASSERT_TRUE(LoadOutline(path));
    EXPECT_EQ(PageDataOf(Root()->getFirstChild())->BodyText(), "typed A text");
}

TEST_F(FindTest, ThePageMatcherNeverRulesOutWhatTheControlFinds)
{
    const char* const pages[] = {"Word sword word. or", "order ore", "x_or_y z", "WORDS, words\r\nand more",
                                 "caf\xE9 CAF\xC9", "a-b ab-c", "or", "two  spaces"};
    const char* const texts[] = {"word", "Word", "or", "ORE", "caf\xC9", "-b", "b-", "_or_", "o", " spaces", "zz"};
    for (const char* page : pages) {
        Main->Rich->SetText(page);
        for (const char* text : texts) {
            for (int options = 0; options < 4; ++options) {
                const bool matchCase = options & 1;
                const bool whole = options & 2;
                const bool found = FindInEditor(text, 0, matchCase, whole, *Main->Rich) >= 0;
                const bool mayHold = TPageTextMatcher(text, matchCase, whole, SystemCaseFold()).MayHold(page);
                if (found) {
                    EXPECT_TRUE(mayHold) << page << " / " << text << " / " << options;
                }
                // Between letters and digits and around blanks the two agree.
                const bool plain = std::string(text).find_first_of("_-") == std::string::npos &&
                                   std::string(page).find('_') == std::string::npos;
                if (plain) {
                    EXPECT_EQ(mayHold, found) << page << " / " << text << " / " << options;
                }
            }
        }
    }
}

namespace {
// How many pixels of the highlight colour the editor shows on the first
// line of characters [from, to).
int HighlightedPixels(TQRichEdit& editor, int from, int to)
{
    RedrawWindow(editor.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const POINT start = editor.GetCharPos(from);
    const POINT end = editor.GetCharPos(to);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    HDC dc = GetDC(editor.Handle());
    int count = 0;
    for (int y = start.y; y < start.y + 6; ++y)
        for (int x = start.x; x < end.x; ++x)
            count += GetPixel(dc, x, y + 2) == highlight ? 1 : 0;
    ReleaseDC(editor.Handle(), dc);
    return count;
}
} // namespace

TEST_F(FindTest, TheFoundTextIsHighlightedWhileFindIsOpenAndAfterItCloses)
{
    Build("A");
    Select(N("A"));
    Editor().SetFocus();
    Editor().SetSelection(2, 6, false);
    ASSERT_GT(HighlightedPixels(Editor(), 2, 6), 0) << "the editor focused";
    Editor().SetSelection(0, 0, false);
    TFindR& find = Find("text", scCurrentPage);
    // Beside the main window, not over the text.
    find.SetBounds(Main->Left() + Main->Width() + 10, Main->Top(), find.Width(), find.Height());
    ASSERT_TRUE(FindWindowIsActive());
    find.FindButtonClick();
    ASSERT_EQ(Selection(), std::make_pair(2, 4));
    EXPECT_GT(HighlightedPixels(Editor(), 2, 6), 0) << "Find open";
    find.CancelClick();
    Application.ProcessMessages();
    EXPECT_EQ(Selection(), std::make_pair(2, 4));
    EXPECT_GT(HighlightedPixels(Editor(), 2, 6), 0) << "Find closed";
    Tree().SetFocus();
    EXPECT_GT(HighlightedPixels(Editor(), 2, 6), 0) << "Find closed, the tree focused";
}

TEST_F(FindTest, WhatIsTypedInTheSearchBoxReplacesTheTextItShowsOrThatCtrlASelects)
{
    Build("A");
    Tree().SetFocus();
    PressKey(Tree().Handle(), 'F', ssCtrl);
    TFindR& find = *FindRWindow();
    TypeText(GetFocus(), "Page 2");
    find.Cancel.Click();
    Application.ProcessMessages();
    PressKey(Tree().Handle(), 'F', ssCtrl);
    ASSERT_TRUE(find.Visible());
    TypeText(GetFocus(), "Page 30");
    EXPECT_EQ(find.Edit.Text(), "Page 30");
    const HWND box = GetFocus();
    SendMessageA(box, EM_SETSEL, 0, 0);
    PressKey(box, 'A', ssCtrl);
    TypeText(box, "Page 4");
    EXPECT_EQ(find.Edit.Text(), "Page 4");
}

namespace {
std::string LongPageText()
{
    std::string text;
    for (int line = 0; line < 3000; ++line)
        text += "A line of a long page\r\n";
    return text;
}
} // namespace

TEST_F(FindTest, EscClosesTheFindWindowAfterFindNextMovedToAnotherPage)
{
    const struct {
        const char* name;
        TSearchScope scope;
        std::string text;
    } finds[] = {
        {"in a page's text", scOutlineWithoutTitles, "needle"},
        {"in a title", scOutlineWithTitles, "needle"},
        // Shown in a fresh editor window.
        {"in a long page", scOutlineWithoutTitles, LongPageText() + " needle"},
    };
    for (const auto& c : finds) {
        SCOPED_TRACE(c.name);
        Build("A,B,needle");
        PageDataOf(N("needle"))->SetBodyText(c.text);
        Select(N("A"));
        Tree().SetFocus();
        PressKey(Tree().Handle(), 'F', ssCtrl);
        TFindR& find = *FindRWindow();
        TypeText(GetFocus(), "needle");
        find.SearchEdit.SetItemIndex(c.scope);
        PressKey(GetFocus(), VK_RETURN, 0);
        ASSERT_EQ(Tree().Selected(), N("needle"));
        ASSERT_TRUE(find.Visible());
        EXPECT_TRUE(FindWindowIsActive());
        PressKey(GetFocus(), VK_ESCAPE, 0);
        EXPECT_FALSE(find.Visible());
    }
}
