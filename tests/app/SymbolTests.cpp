#include "PageTreeTest.h"

#include "ModelessWindows.h"
#include "Pages.h"
#include "SymbolDialog.h"

namespace {
class SymbolTest : public PageTreeTest {
protected:
    void SetUp() override
    {
        PageTreeTest::SetUp();
        states_ = DialogStates;
        Build("A,B");
    }
    void TearDown() override
    {
        Symbol.reset();
        DialogStates = states_;
        PageTreeTest::TearDown();
    }
    TSymbol& Open()
    {
        Main->RunHandler("mSymbolClick", nullptr);
        return dynamic_cast<TSymbol&>(*Symbol);
    }
    // The editor holds page A's text with "text" selected.
    void SelectWordInPageA()
    {
        Select(N("A"));
        Editor().SetFocus();
        Editor().SetSelStart(2);
        Editor().SetSelLength(4);
    }
    static void ClickCell(TSymbol& symbol, int col, int row)
    {
        const LPARAM at = MAKELPARAM(col * 20 + 5, row * 20 + 5);
        SendMessageA(symbol.Grid.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(symbol.Grid.Handle(), WM_LBUTTONUP, 0, at);
    }

private:
    TDialogStates states_;
};

TEST_F(SymbolTest, TheGridHoldsTheCodePageInRowOrder)
{
    TSymbol& symbol = Open();
    struct Row {
        int col;
        int row;
        std::string text;
    } rows[] = {{0, 0, " "}, {1, 0, "!"}, {24, 0, "8"}, {0, 1, "9"}, {23, 8, "\xff"}, {24, 8, ""}};
    for (const Row& row : rows)
        EXPECT_EQ(symbol.Grid.Cells(row.col, row.row), row.text) << row.col << "," << row.row;
    EXPECT_EQ(symbol.Pages.ActivePage(), &symbol.AllCharacters);
    EXPECT_EQ(symbol.List.Count(), 7);
    EXPECT_EQ(symbol.List.Item(2)->Caption(), std::string(11, ' ') + "\xa9");
    EXPECT_EQ(symbol.List.Item(2)->SubItems(), std::vector<std::string>{"Copyright"});
}

TEST_F(SymbolTest, InsertPutsTheChosenCharacterInPlaceOfTheSelection)
{
    TSymbol& symbol = Open();
    SelectWordInPageA();
    // A click, then an arrow key, moves the cell Insert takes.
    ClickCell(symbol, 2, 1);
    SendMessageA(symbol.Grid.Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(symbol.Grid.Col(), 3);
    symbol.Insert.Click();
    EXPECT_EQ(Editor().Text(), "A " + TSymbol::CellText(3, 1));
    EXPECT_EQ(OutlineProperties.FileChanged, 1);

    // The first special character is the em dash.
    Editor().SetFocus();
    Editor().SetSelStart(0);
    Editor().SetSelLength(1);
    symbol.Pages.SetActivePage(&symbol.SpecialCharacters);
    symbol.Insert.Click();
    EXPECT_EQ(Editor().Text(), "\x97 " + TSymbol::CellText(3, 1));
}

TEST_F(SymbolTest, EachInsertGoesAfterTheLastAndTypingFollowsIt)
{
    TSymbol& symbol = Open();
    SelectWordInPageA();
    const auto post = [](HWND window, LPARAM at) {
        PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(window, WM_LBUTTONUP, 0, at);
        Application.ProcessMessages();
    };
    const auto insertCell = [&](int col, int row) {
        post(symbol.Grid.Handle(), MAKELPARAM(col * 20 + 5, row * 20 + 5));
        post(symbol.Insert.Handle(), MAKELPARAM(5, 5));
    };
    insertCell(12, 5);
    insertCell(13, 5);
    PostMessageA(Editor().Handle(), WM_CHAR, 'Z', 1);
    Application.ProcessMessages();
    EXPECT_EQ(Editor().Text(), "A " + TSymbol::CellText(12, 5) + TSymbol::CellText(13, 5) + "Z");
}

TEST_F(SymbolTest, TheEmptyLastCellInsertsNothing)
{
    TSymbol& symbol = Open();
    SelectWordInPageA();
    ClickCell(symbol, 24, 8);
    symbol.Insert.Click();
    EXPECT_EQ(Editor().Text(), "A text");
    EXPECT_EQ(OutlineProperties.FileChanged, 0);
}

TEST_F(SymbolTest, AnInsertWhileTheTreeIsActiveIsStoredInThePage)
{
    TSymbol& symbol = Open();
    SelectWordInPageA();
    Tree().SetFocus();
    ClickCell(symbol, 1, 0);
    symbol.Insert.Click();
    EXPECT_EQ(PageDataOf(N("A"))->BodyText(), "A !");
    EXPECT_EQ(OutlineProperties.FileChanged, 1);
    // Going back to the editor keeps it.
    Editor().SetFocus();
    Select(N("B"));
    EXPECT_EQ(PageDataOf(N("A"))->BodyText(), "A !");
}

TEST_F(SymbolTest, ThePositionComesBackAfterADeactivationAndOnScreen)
{
    TSymbol& symbol = Open();
    symbol.SetBounds(70, 80, symbol.Width(), symbol.Height());
    symbol.FormDeactivate();
    EXPECT_TRUE(DialogStates.SymbolInitialized);
    EXPECT_EQ(DialogStates.SymbolLeft, 70);
    EXPECT_EQ(DialogStates.SymbolTop, 80);
    symbol.SetBounds(300, 300, symbol.Width(), symbol.Height());
    symbol.FormActivate();
    EXPECT_EQ(symbol.Left(), 70);
    EXPECT_EQ(symbol.Top(), 80);

    // Close only hides; an off-screen position is brought back.
    symbol.Close.Click();
    EXPECT_FALSE(IsWindowVisible(symbol.Handle()));
    DialogStates.SymbolLeft = 60000;
    DialogStates.SymbolTop = -60000;
    TSymbol& again = Open();
    EXPECT_EQ(&again, &symbol);
    again.FormActivate();
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    EXPECT_LT(again.Left(), screen.right);
    EXPECT_GE(again.Top(), 0);
}
} // namespace
