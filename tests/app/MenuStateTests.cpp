// The menus and the toolbar show a command enabled exactly when it may act:
// the Edit menu by what has the focus, Paste by what the page clipboard holds,
// and the File, View, Insert and page popup items by the outline and the
// selected page. Menu items and their toolbar twins are read together.
#include "Form.h"
#include "MainWindowTest.h"
#include "Menus.h"
#include "ModelessWindows.h"
#include "Pages.h"
#include "ToolBar.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {
class FindStandIn : public TForm {
public:
    FindStandIn() { CreateHandle(CreateParams{"Find"}); }
};

bool Enabled(const std::string& name)
{
    TComponent* command = Main->FindComponent(name);
    if (auto* button = dynamic_cast<TToolButton*>(command))
        return button->Enabled();
    return dynamic_cast<TMenuItem&>(*command).Enabled();
}

TMenuItem& Item(const char* name) { return dynamic_cast<TMenuItem&>(*Main->FindComponent(name)); }

void OpenPopup(const char* name) { Main->PopupMenuNamed(name)->Popup(0, 0); }

enum class Focus { TreeAtRoot, TreeAtPage, LabelEditor, TypedSelection, EditorCaret, FindWindow, FindWindowBehind };

class MenuState : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        // Commands written elsewhere: stand-ins let the refresh enable them.
        for (const char* handler : {"mUndoClick", "mCutClick", "mCopyClick", "mPasteClick", "mSelectAllClick",
                                    "mDeleteClick", "mRenameClick", "mCaseClick", "ppCutClick", "ppCopyClick",
                                    "ppPasteClick", "mSymbolClick"})
            Main->SetHandler(handler, [this, handler](TComponent*) { ran += std::string(handler) + ";"; });
        SetPopupTracker([](TPopupMenu&, int, int, HWND) -> UINT { return 0; });
        a = Page(Root(), "A");
        a2 = Page(Page(a, "A1"), "A2");
        b = Page(Root(), "B");
        Root()->Expand(true);
    }
    void TearDown() override
    {
        SetPopupTracker(nullptr);
        FindR.reset();
        MainWindowTest::TearDown();
    }

    TTreeNode* Page(TTreeNode* parent, const std::string& title)
    {
        TTreeNode* node = Tree().Items().AddChild(parent, title);
        AttachNewPageData(node);
        return node;
    }
    void Select(TTreeNode* node)
    {
        Tree().SetSelected(node);
        Main->TreeClick();
    }

    void PutFocus(Focus focus)
    {
        Select(focus == Focus::TreeAtRoot || focus == Focus::FindWindowBehind ? Root() : a);
        Tree().SetFocus();
        if (focus == Focus::LabelEditor) {
            EXPECT_TRUE(a->EditText());
        } else if (focus == Focus::TypedSelection || focus == Focus::EditorCaret) {
            Editor().SetFocus();
            Editor().SetText("");
            // Typed, so Undo can take it back.
            if (focus == Focus::TypedSelection)
                SendMessageA(Editor().Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("typed"));
            Editor().SetSelection(0, focus == Focus::TypedSelection ? 3 : 0, false);
        } else if (focus == Focus::FindWindow || focus == Focus::FindWindowBehind) {
            FindR = std::make_unique<FindStandIn>();
            FindR->Show();
            SetActiveWindow(focus == Focus::FindWindow ? FindR->Handle() : Main->Handle());
        }
    }

    TTreeNode* a = nullptr;
    TTreeNode* a2 = nullptr;
    TTreeNode* b = nullptr;
    std::string ran;
};

// Each Edit command with its toolbar twin, if any, in the order of the states.
const std::vector<std::string> EditCommands[] = {
    {"mUndo"}, {"mCut", "bCut"}, {"mCopy", "bCopy"}, {"mPaste", "bPaste"},
    {"mSelectall"}, {"mDelete"}, {"mRename"}, {"mCase"},
};

// Undo, Cut, Copy, Paste, Select All, Delete, Rename, Case: '1' enabled, '0'
// disabled, '-' left as it was.
const std::tuple<const char*, Focus, const char*> EditMenuCases[] = {
    {"tree at the root", Focus::TreeAtRoot, "00000010"},
    {"tree at a page", Focus::TreeAtPage, "01100110"},
    {"label editor", Focus::LabelEditor, "11111100"},
    {"editor with a selection", Focus::TypedSelection, "111111-1"},
    {"editor without a selection", Focus::EditorCaret, "000110-0"},
    {"Find window", Focus::FindWindow, "-11111--"},
    {"Find window behind", Focus::FindWindowBehind, "00000010"},
};
}

TEST_F(MenuState, TheEditMenuAndItsButtonsFollowWhatHasTheFocus)
{
    for (const auto& [name, focus, states] : EditMenuCases) {
        SCOPED_TRACE(name);
        PutFocus(focus);
        // Every command starts the other way round, so each one read was set.
        for (int i = 0; i < 8; ++i) {
            for (const std::string& command : EditCommands[i])
                Main->EnableCommand(command, states[i] == '0');
        }
        Item("Edit").Click();
        for (int i = 0; i < 8; ++i) {
            for (const std::string& command : EditCommands[i])
                EXPECT_EQ(Enabled(command), states[i] == '1') << command;
        }
        if (focus == Focus::LabelEditor)
            a->EndEdit(true);
        FindR.reset();
    }
}

TEST_F(MenuState, ACutBranchCannotBePastedInsideItselfACopiedOneAnywhere)
{
    const std::tuple<bool, TTreeNode*, bool> rows[] = {
        {true, a2, false}, {true, a, true}, {true, b, true}, {false, a2, true}, {false, a, true}};
    for (const auto& [cut, selected, enabled] : rows) {
        SCOPED_TRACE(selected->Text() + (cut ? " after a cut" : " after a copy"));
        PageClipboard = TPageClipboard{a, cut};
        Select(selected);
        Tree().SetFocus();
        Item("Edit").Click();
        OpenPopup("PopupPage");
        for (const char* command : {"mPaste", "bPaste", "ppPaste"})
            EXPECT_EQ(Enabled(command), enabled) << command;
    }
}

TEST_F(MenuState, RevertNeedsAFileAndAChangeUpOneLevelAPageOrAnOutlineToReturnTo)
{
    const std::tuple<const char*, int, bool> files[] = {
        {"Untitled", 1, false}, {"C:\\notes.kbf", 1, true}, {"C:\\notes.kbf", 0, false}};
    for (const auto& [file, changed, enabled] : files) {
        CurrentFileName = file;
        OutlineProperties.FileChanged = static_cast<std::uint8_t>(changed);
        Item("File").Click();
        EXPECT_EQ(Enabled("mRevert"), enabled) << file << " changed " << changed;
    }
    const std::tuple<TTreeNode*, const char*, bool> places[] = {
        {Root(), "", false}, {Root(), "C:\\parent.kbf", true}, {b, "", true}};
    for (const auto& [page, parentOutline, enabled] : places) {
        ParentOutlineFile = parentOutline;
        Select(page);
        Item("View").Click();
        EXPECT_EQ(Enabled("mUponelevel"), enabled) << page->Text() << " " << parentOutline;
        EXPECT_EQ(Enabled("bUp"), enabled) << page->Text() << " " << parentOutline;
    }
}

TEST_F(MenuState, ThePagePopupOffersTheHyperlinkMenuForALinkTitleAndNoPageCommandsAtTheRoot)
{
    const std::tuple<TTreeNode*, const char*, bool> rows[] = {
        {b, "http://example.com", true}, {b, "Plans", false}, {Root(), "Root", false}};
    for (const auto& [page, title, link] : rows) {
        SCOPED_TRACE(title);
        page->SetText(title);
        Select(page);
        OpenPopup("PopupPage");
        EXPECT_EQ(Item("ppHyperlinkSub").Visible(), link);
        EXPECT_EQ(Item("ppInsertHyperlink").Visible(), !link);
        for (const char* command : {"ppAddPage", "ppCut", "ppCopy", "ppDelete", "mAddPage", "bAddPage"})
            EXPECT_EQ(Enabled(command), page != Root()) << command;
    }
}

TEST_F(MenuState, SymbolAndTheEditorsPopupsBelongToTheEditor)
{
    Editor().SetFocus();
    Item("Insert").Click();
    EXPECT_TRUE(Enabled("mSymbol"));
    for (const char* popup : {"PopupSel", "PopupEdit"}) {
        Tree().SetFocus();
        Item("Insert").Click();
        EXPECT_FALSE(Enabled("mSymbol"));
        OpenPopup(popup);
        EXPECT_TRUE(Editor().Focused()) << popup;
    }
}

TEST_F(MenuState, WithTheInsOptionTheMenuShowsInsAndTheInsKeyPastes)
{
    Editor().SetFocus();
    OptionSettings.InsInsert = true;
    Item("Edit").Click();
    EXPECT_EQ(Item("mPaste").ShortCutText(), "Ins");
    EXPECT_TRUE(Main->Menu.IsShortCut(VK_INSERT, 0));
    EXPECT_EQ(ran, "mPasteClick;");

    OptionSettings.InsInsert = false;
    Item("Edit").Click();
    EXPECT_EQ(Item("mPaste").ShortCutText(), "Ctrl+V");
    EXPECT_FALSE(Main->Menu.IsShortCut(VK_INSERT, 0));
}
