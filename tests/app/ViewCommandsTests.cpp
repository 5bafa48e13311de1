// The view, state and sort commands of the main window, driven through their
// menu items: the tree's width per view mode, the toolbar and status bar
// switches and the settings they leave, a page's state icon from every state
// item, and sorting one level of sub pages.
#include "Application.h"
#include "Main.h"
#include "MainWindowTest.h"
#include "Menus.h"
#include "OutlineFile.h"
#include "OutlineProperties.h"
#include "PageData.h"
#include "PageHistory.h"
#include "Pages.h"
#include "RichEdit.h"
#include "ScriptedMessageBoxes.h"
#include "SettingsRecords.h"
#include "SharedState.h"
#include "Splitter.h"
#include "StatusBar.h"
#include "ToolBar.h"
#include "TreeView.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {
class ViewCommands : public MainWindowTest {
protected:
    static TMenuItem& Item(const char* name) { return *dynamic_cast<TMenuItem*>(Main->FindComponent(name)); }
    static void Click(const char* name) { Item(name).Click(); }

    TTreeNode* Page(TTreeNode* parent, const std::string& title)
    {
        TTreeNode* node = Tree().Items().AddChild(parent, title);
        AttachNewPageData(node);
        node->SetStateIndex(1);
        return node;
    }

    // The state image the control shows for the node: 0 for none.
    UINT ShownStateImage(const TTreeNode* node)
    {
        const auto state = static_cast<UINT>(
            SendMessageA(Tree().Handle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(node->ItemId()), TVIS_STATEIMAGEMASK));
        return (state & TVIS_STATEIMAGEMASK) >> 12;
    }

    static std::vector<std::string> Titles(const TTreeNode* parent)
    {
        std::vector<std::string> titles;
        for (TTreeNode* node = parent->getFirstChild(); node; node = node->getNextSibling())
            titles.push_back(node->Text());
        return titles;
    }

    std::vector<std::string> ControlTitles(const TTreeNode* parent)
    {
        std::vector<std::string> titles;
        auto item = reinterpret_cast<HTREEITEM>(SendMessageA(Tree().Handle(), TVM_GETNEXTITEM, TVGN_CHILD,
                                                             reinterpret_cast<LPARAM>(parent->ItemId())));
        for (; item; item = reinterpret_cast<HTREEITEM>(SendMessageA(Tree().Handle(), TVM_GETNEXTITEM, TVGN_NEXT,
                                                                     reinterpret_cast<LPARAM>(item)))) {
            char text[64] = {};
            TVITEMA read{};
            read.mask = TVIF_TEXT;
            read.hItem = item;
            read.pszText = text;
            read.cchTextMax = sizeof text;
            SendMessageA(Tree().Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&read));
            titles.push_back(text);
        }
        return titles;
    }

    static std::vector<const char*> CheckedViews()
    {
        std::vector<const char*> checked;
        for (const char* name : {"mNormal", "mOutline", "mPageOnly"}) {
            if (Item(name).Checked())
                checked.push_back(name);
        }
        return checked;
    }
};
}

TEST_F(ViewCommands, EachViewModeIsATreeWidthAndOneCheckedItem)
{
    const int outlineWidth = Main->ClientWidth() - Main->Splitter->Width() - 1;
    ASSERT_GT(outlineWidth, 100);

    Click("mOutline");
    EXPECT_EQ(outlineWidth, Tree().Width());
    EXPECT_EQ(std::vector<const char*>{"mOutline"}, CheckedViews());
    // Outline again changes nothing, not even a width set by hand since.
    Tree().SetWidth(100);
    Click("mOutline");
    EXPECT_EQ(100, Tree().Width());

    Click("mPageOnly");
    EXPECT_EQ(1, Tree().Width());
    EXPECT_EQ(std::vector<const char*>{"mPageOnly"}, CheckedViews());
    Tree().SetWidth(30);
    Click("mPageOnly");
    EXPECT_EQ(30, Tree().Width());

    Click("mNormal");
    EXPECT_EQ(Main->Width() / 2, Tree().Width());
    EXPECT_EQ(std::vector<const char*>{"mNormal"}, CheckedViews());
    // Normal again centres the splitter once more.
    Tree().SetWidth(70);
    Click("mNormal");
    EXPECT_EQ(Main->Width() / 2, Tree().Width());
    EXPECT_EQ(Main->RichEdit->Left(), Tree().Width() + Main->Splitter->Width());
}

TEST_F(ViewCommands, ToolbarAndStatusBarSwitchesKeepTheirSettings)
{
    ASSERT_TRUE(Main->Toolbar->Visible());
    Click("mToolbar");
    EXPECT_FALSE(Main->Toolbar->Visible());
    EXPECT_FALSE(Item("mToolbar").Checked());
    EXPECT_FALSE(UserSettings.Toolbar);
    EXPECT_EQ(0, Tree().Top()) << "the tree takes the toolbar's place";
    Click("mToolbar");
    EXPECT_TRUE(Main->Toolbar->Visible());
    EXPECT_TRUE(Item("mToolbar").Checked());
    EXPECT_TRUE(UserSettings.Toolbar);

    ASSERT_TRUE(Main->StatusBar->Visible());
    Click("mStatusbar");
    EXPECT_FALSE(Main->StatusBar->Visible());
    EXPECT_FALSE(Item("mStatusbar").Checked());
    EXPECT_FALSE(OptionSettings.StatusBar);
    EXPECT_EQ(Main->ClientHeight(), Tree().Top() + Tree().Height());
    // Each of the three flips from its own value, even when they disagree.
    OptionSettings.StatusBar = true;
    Click("mStatusbar");
    EXPECT_TRUE(Main->StatusBar->Visible());
    EXPECT_TRUE(Item("mStatusbar").Checked());
    EXPECT_FALSE(OptionSettings.StatusBar);
}

TEST_F(ViewCommands, EveryStateItemMarksTheSelectedPageAndTheOutline)
{
    const std::pair<const char*, int> items[] = {
        {"psNone", 1},     {"psDone", 2},      {"mWhite", 3},  {"psQuestion", 4}, {"psReminder", 5},
        {"psPunchPin", 6}, {"psDollar", 7},    {"psIdea", 8},  {"mRed", 9},       {"mGreen", 10},
        {"mYellow", 11},   {"mCyan", 12},      {"mMagenta", 13}, {"mBlue", 14},   {"mGray", 15},
    };
    Tree().SetSelected(Root());
    for (const auto& [name, state] : items) {
        SCOPED_TRACE(name);
        Root()->SetStateIndex(0);
        OutlineProperties.FileChanged = 0;
        Click(name);
        EXPECT_EQ(state, Root()->StateIndex());
        EXPECT_EQ(static_cast<UINT>(state), ShownStateImage(Root()));
        EXPECT_EQ(1, OutlineProperties.FileChanged);
        EXPECT_EQ(state, Item(name).ImageIndex) << "the item shows the state's own image";
    }
}

TEST_F(ViewCommands, StatesOutsideTheImagesSurviveASaveAndShowNoImage)
{
    TTreeNode* zero = Page(Root(), "zero");
    TTreeNode* twenty = Page(Root(), "twenty");
    zero->SetStateIndex(0);
    twenty->SetStateIndex(20);
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + "quillo-states-" + std::to_string(GetCurrentProcessId()) + ".kbf";
    ScriptedMessageBoxes boxes;
    ASSERT_TRUE(SaveOutline(path));
    Root()->DeleteChildren();
    ASSERT_TRUE(LoadOutline(path));
    DeleteFileA(path.c_str());
    EXPECT_TRUE(boxes.Shown().empty());

    Root()->Expand(false);
    ASSERT_EQ(2, Root()->Count());
    EXPECT_EQ(0, Root()->Item(0)->StateIndex());
    EXPECT_EQ(20, Root()->Item(1)->StateIndex());
    for (const TTreeNode* node : {Root()->Item(0), Root()->Item(1)}) {
        ASSERT_NE(nullptr, node->ItemId());
        EXPECT_EQ(0u, ShownStateImage(node)) << node->Text();
    }
}

TEST_F(ViewCommands, SortOrdersOnlyTheSelectedPagesChildrenByTitle)
{
    TTreeNode* b = Page(Root(), "b");
    Page(Root(), "B");
    Page(Root(), "a");
    Page(b, "z");
    Page(b, "y");
    Root()->Expand(true);
    Tree().SetSelected(Root());

    Click("mSort");
    EXPECT_EQ((std::vector<std::string>{"a", "b", "B"}), Titles(Root()));
    EXPECT_EQ(Titles(Root()), ControlTitles(Root()));
    EXPECT_EQ((std::vector<std::string>{"z", "y"}), Titles(b)) << "grandchildren keep their order";
    EXPECT_EQ(1, OutlineProperties.FileChanged);

    // A page without sub pages stays as it is, yet the outline counts as changed.
    Tree().SetSelected(Root()->Item(0));
    OutlineProperties.FileChanged = 0;
    Click("psAlphabetically");
    EXPECT_EQ(1, OutlineProperties.FileChanged);
    EXPECT_EQ((std::vector<std::string>{"a", "b", "B"}), Titles(Root()));
}

TEST_F(ViewCommands, SortKeysAreStoredButTheSortStaysAlphabetical)
{
    auto* sortButton = dynamic_cast<TToolButton*>(Main->FindComponent("bSort"));
    ASSERT_NE(nullptr, sortButton);
    Page(Root(), "b");
    Page(Root(), "a");
    Tree().SetSelected(Root());

    // The items are disabled for good; their handlers still do their part.
    Main->RunHandler("psByDoneClick", nullptr);
    EXPECT_TRUE(Item("psByDone").Checked());
    EXPECT_FALSE(Item("psAlphabetically").Checked());
    EXPECT_EQ(35, sortButton->ImageIndex());
    EXPECT_EQ(1, OptionSettings.SortType);
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), Titles(Root()));
    Main->RunHandler("psByGrayClick", nullptr);
    EXPECT_EQ(48, sortButton->ImageIndex());
    EXPECT_EQ(14, OptionSettings.SortType);

    Main->RunHandler("psSortWholeOutlineClick", nullptr);
    EXPECT_TRUE(Item("psSortWholeOutline").Checked());
    EXPECT_TRUE(OptionSettings.SortWholeOutline);
    Main->RunHandler("psSortWholeOutlineClick", nullptr);
    EXPECT_FALSE(OptionSettings.SortWholeOutline);
}
