// Back and Forward through the pages visited, step by step and through the
// drop-downs of the Back and Forward buttons, opened as the buttons' arrows
// open them.
#include "MainWindowTest.h"
#include "Menus.h"
#include "Pages.h"
#include "ToolBar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
class HistoryCommands : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        // Only the test's own visits.
        ClearHistory();
        // Records the captions of each menu opened and chooses its item at
        // choice (0 for none).
        SetPopupTracker([this](TPopupMenu& menu, int, int, HWND) -> UINT {
            std::vector<std::string> captions;
            for (int position = 0; TMenuItem* item = menu.Items().VisibleItem(position); ++position)
                captions.push_back(item->Caption());
            opened.push_back(captions);
            TMenuItem* chosen = choice > 0 ? menu.Items().VisibleItem(choice - 1) : nullptr;
            return chosen ? chosen->Command() : 0;
        });
    }
    void TearDown() override
    {
        SetPopupTracker(nullptr);
        MainWindowTest::TearDown();
    }

    // Visits pages titled by number, as clicks on them would.
    void Visit(int count)
    {
        for (int i = 1; i <= count; ++i) {
            TTreeNode* page = Tree().Items().AddChild(Root(), "Page " + std::to_string(i));
            AttachNewPageData(page);
            Tree().SetSelected(page);
            PushHistory(page);
            Main->TreeClick();
        }
    }

    TToolButton& Button(const char* name) { return dynamic_cast<TToolButton&>(*Main->FindComponent(name)); }

    // Opens a button's drop-down; the captions it showed, or none when it did
    // not open.
    std::vector<std::string> DropDown(const char* button, int chooseItem = 0)
    {
        choice = chooseItem;
        opened.clear();
        Button(button).CheckMenuDropdown();
        return opened.empty() ? std::vector<std::string>{"(not opened)"} : opened.front();
    }

    std::string Selected() { return Tree().Selected()->Text(); }

    std::vector<std::vector<std::string>> opened;
    int choice = 0;
};
}

TEST_F(HistoryCommands, TheBackDropDownShowsNineTitlesAsTheyReadNowAndGoesSeveralStepsAtOnce)
{
    Visit(12);
    Root()->Item(3)->SetText("R&D");
    EXPECT_EQ(DropDown("bBack"), (std::vector<std::string>{"Page 11", "Page 10", "Page 9", "Page 8", "Page 7",
                                                            "Page 6", "Page 5", "R&&D", "Page 3"}));
    DropDown("bBack", 3);
    EXPECT_EQ(Selected(), "Page 9");
    EXPECT_EQ(PageHistory.Index(), 8);
    EXPECT_EQ(DropDown("bForward"), (std::vector<std::string>{"Page 10", "Page 11", "Page 12"}));
    EXPECT_TRUE(Button("bForward").Enabled());
    DropDown("bForward", 2);
    EXPECT_EQ(Selected(), "Page 11");
    EXPECT_EQ(DropDown("bForward"), std::vector<std::string>{"Page 12"});
}

TEST_F(HistoryCommands, AtEitherEndTheDropDownDoesNotOpenAndTheCommandDoesNothing)
{
    Visit(2);
    EXPECT_FALSE(Button("bForward").Enabled());
    EXPECT_TRUE(Button("bBack").Enabled());
    EXPECT_EQ(DropDown("bForward"), std::vector<std::string>{"(not opened)"});
    Main->RunHandler("mForwardClick", nullptr);
    EXPECT_EQ(Selected(), "Page 2");

    Main->RunHandler("mBackClick", nullptr);
    EXPECT_EQ(Selected(), "Page 1");
    EXPECT_FALSE(Button("bBack").Enabled());
    EXPECT_TRUE(Button("bForward").Enabled());
    EXPECT_EQ(DropDown("bBack"), std::vector<std::string>{"(not opened)"});
    Main->RunHandler("mBackClick", nullptr);
    EXPECT_EQ(Selected(), "Page 1");
    EXPECT_EQ(PageHistory.Index(), 0);

    Main->RunHandler("mForwardClick", nullptr);
    EXPECT_EQ(Selected(), "Page 2");
}

TEST_F(HistoryCommands, AnEntryWithoutATitleMovesThePositionButKeepsTheSelection)
{
    Visit(3);
    Root()->Item(1)->SetText("");
    Main->RunHandler("mBackClick", nullptr);
    EXPECT_EQ(PageHistory.Index(), 1);
    EXPECT_EQ(Selected(), "Page 3");
    Main->RunHandler("mBackClick", nullptr);
    EXPECT_EQ(Selected(), "Page 1");
}
