// The outline's pages on the main window: making, copying and showing pages,
// the limits on depth and count, and the exchange of text between the page
// tree and the page editor, with nothing typed ever lost.
#include "Application.h"
#include "Cursors.h"
#include "Main.h"
#include "MainWindowTest.h"
#include "Menus.h"
#include "PageData.h"
#include "PageHistory.h"
#include "Pages.h"
#include "PressKey.h"
#include "RichEdit.h"
#include "ScriptedMessageBoxes.h"
#include "SentMessages.h"
#include "SharedState.h"
#include "StatusBar.h"
#include "TreeView.h"
#include "UncommittedTyping.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <vector>
#include <string>

namespace {
class Pages : public MainWindowTest {
protected:
    void Select(TTreeNode* node)
    {
        Tree().SetSelected(node);
        Main->TreeClick();
    }

    // What typing does to the editor: new text, a selection, the modified flag.
    void Type(const std::string& text, int selStart, int selLength)
    {
        Editor().SetText(text);
        Editor().SetSelStart(selStart);
        Editor().SetSelLength(selLength);
        Editor().SetModified(true);
    }

    // A page made fast through the node model, as a reader would.
    TTreeNode* RawPage(TTreeNode* parent, const std::string& title)
    {
        TTreeNode* node = Tree().Items().AddChild(parent, title);
        AttachNewPageData(node);
        node->SetStateIndex(1);
        return node;
    }

    int Counter(const std::string& handler)
    {
        auto count = std::make_shared<int>(0);
        counts_.push_back(count);
        Main->SetHandler(handler, [count](TComponent*) { ++*count; });
        return static_cast<int>(counts_.size()) - 1;
    }
    int Count(int counter) const { return *counts_[static_cast<size_t>(counter)]; }

    // Handlers that do nothing, so the refresh code may enable their commands.
    static void StandIn(std::initializer_list<const char*> handlers)
    {
        for (const char* handler : handlers)
            Main->SetHandler(handler, [](TComponent*) {});
    }

    std::vector<std::shared_ptr<int>> counts_;
};

bool Enabled(const char* name) { return dynamic_cast<TMenuItem*>(Main->FindComponent(name))->Enabled(); }
}

TEST_F(Pages, EveryNodeOwnsARecordAndClosingTheWindowFreesThemAll)
{
    Application.DestroyForms();
    const long before = PageData::LiveCount();
    Application.CreateForm<TMain>();
    ASSERT_NE(nullptr, PageDataOf(Root()));
    EXPECT_EQ(before + 1, PageData::LiveCount());
    Tree().SetSelected(Root());
    AddChildPage("a");
    AddChildPage("b");
    EXPECT_EQ(before + 3, PageData::LiveCount());
    Application.DestroyForms();
    EXPECT_EQ(before, PageData::LiveCount());
    Application.CreateForm<TMain>();
}

TEST_F(Pages, ChildAndSiblingPagesAreAddedLastWithANewRecord)
{
    Tree().SetSelected(Root());
    TTreeNode* first = AddChildPage("First");
    TTreeNode* second = AddChildPage("Second");
    EXPECT_EQ(Root(), Tree().Selected()) << "the selection stays";
    EXPECT_EQ(1, first->StateIndex());
    EXPECT_EQ(4, first->SelectedIndex());
    EXPECT_EQ(0, first->ImageIndex());
    const PageData* data = PageDataOf(first);
    ASSERT_NE(nullptr, data);
    EXPECT_EQ("", data->BodyText());
    EXPECT_EQ(0, data->CaretStart);
    EXPECT_EQ(0, data->SelectionLength);

    Tree().SetSelected(first);
    TTreeNode* third = AddSiblingPage("Third");
    ASSERT_NE(nullptr, third);
    EXPECT_EQ(second, third->getPrevSibling()) << "after all later siblings";
    EXPECT_EQ(Root(), third->Parent());
}

TEST_F(Pages, AddingASiblingToTheRootDoesNothing)
{
    Tree().SetSelected(Root());
    const int nodes = Tree().Items().Count();
    const long records = PageData::LiveCount();
    EXPECT_EQ(nullptr, AddSiblingPage("Second root"));
    Main->RunHandler("mAddPageClick", nullptr);
    EXPECT_EQ(nodes, Tree().Items().Count());
    EXPECT_EQ(records, PageData::LiveCount());
    EXPECT_EQ(1, Tree().Items().TopLevelCount());
    EXPECT_EQ(0, OutlineProperties.FileChanged);
}

TEST_F(Pages, CheckedAddSelectsTheNewPageAndMarksTheOutlineChanged)
{
    Select(Root());
    AddPageChecked("New");
    ASSERT_EQ(2, Tree().Items().Count());
    TTreeNode* page = Root()->getFirstChild();
    EXPECT_EQ(page, Tree().Selected());
    EXPECT_TRUE(Root()->Expanded());
    EXPECT_EQ(1, OutlineProperties.FileChanged);
    EXPECT_EQ("Level: 1", Main->StatusBar->Panel(1).Text());
    EXPECT_EQ("New", Main->StatusBar->Panel(0).Text());
}

TEST_F(Pages, OnlyTheRootShowsTheNoteToAddAPage)
{
    Select(Root());
    EXPECT_EQ("Level: 0", Main->StatusBar->Panel(1).Text());
    EXPECT_EQ("To add new page, click", Main->StatusBar->Panel(0).Text());
}

TEST_F(Pages, DepthLimitRefusesAPageBelowLevel255WithItsMessage)
{
    Tree().Items().BeginUpdate();
    TTreeNode* node = Root();
    for (int level = 1; level <= 255; ++level)
        node = RawPage(node, "p");
    Tree().Items().EndUpdate();
    ASSERT_EQ(255, node->Level());

    ScriptedMessageBoxes boxes;
    Tree().SetSelected(node->Parent());
    AddPageChecked("deepest");
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(255, Tree().Selected()->Level());
    EXPECT_EQ("deepest", Tree().Selected()->Text());
    EXPECT_EQ(1, OutlineProperties.FileChanged);

    OutlineProperties.FileChanged = 0;
    const int nodes = Tree().Items().Count();
    Tree().SetSelected(node);
    boxes.Answer(IDOK);
    AddPageChecked("too deep");
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("Cannot create subpage! Subpages level maximum is 256.", boxes.Shown()[0].text);
    EXPECT_EQ("Corvane Quillo", boxes.Shown()[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), boxes.Shown()[0].flags & MB_ICONMASK);
    EXPECT_EQ(nodes, Tree().Items().Count());
    EXPECT_EQ(0, OutlineProperties.FileChanged);
}

TEST_F(Pages, CountLimitAllows65535NodesAndRefusesMoreWithItsMessage)
{
    // A collapsed branch holds the bulk, so the control makes no items for it.
    Tree().Items().BeginUpdate();
    TTreeNode* bulk = RawPage(Root(), "bulk");
    while (Tree().Items().Count() < 65534)
        RawPage(bulk, "p");
    Tree().Items().EndUpdate();

    ScriptedMessageBoxes boxes;
    Tree().SetSelected(Root());
    AddPageChecked("last");
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(65535, Tree().Items().Count());

    OutlineProperties.FileChanged = 0;
    Tree().SetSelected(Root());
    boxes.Answer(IDOK);
    AddPageChecked("one too many");
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("Cannot create page! Maximum supported pages are 65536.", boxes.Shown()[0].text);
    EXPECT_EQ("Corvane Quillo", boxes.Shown()[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), boxes.Shown()[0].flags & MB_ICONMASK);
    EXPECT_EQ(65535, Tree().Items().Count());
    EXPECT_EQ(0, OutlineProperties.FileChanged);
}

TEST_F(Pages, SwitchingPagesKeepsEachPagesTextCaretAndSelection)
{
    Tree().SetSelected(Root());
    TTreeNode* first = AddChildPage("First");
    TTreeNode* second = AddChildPage("Second");

    Select(first);
    Main->RichEditEnter();
    Type("alpha\r\nbeta", 2, 3);
    Main->RichEditExit();
    EXPECT_FALSE(Editor().Modified()) << "stored: the page's own text again";
    Select(second);
    EXPECT_EQ("", Editor().Text());
    Main->RichEditEnter();
    Type("gamma", 5, 0);
    Main->RichEditExit();

    EXPECT_EQ("alpha\r\nbeta", PageDataOf(first)->BodyText());
    EXPECT_EQ("gamma", PageDataOf(second)->BodyText());
    Select(first);
    EXPECT_EQ("alpha\r\nbeta", Editor().Text());
    EXPECT_EQ(2, Editor().SelStart());
    EXPECT_EQ(3, Editor().SelLength());
    EXPECT_FALSE(Editor().Modified());
    Select(second);
    EXPECT_EQ("gamma", Editor().Text());
    EXPECT_EQ(5, Editor().SelStart());
    EXPECT_EQ(0, Editor().SelLength());
    EXPECT_EQ(1, OutlineProperties.FileChanged);
}

TEST_F(Pages, ALongPageShownInAMaximisedWindowHasItsScrollBarDrawn)
{
    // The pixels of the page editor's vertical scroll bar as the window shows them.
    auto scrollBar = [this] {
        HWND editor = Editor().Handle();
        UpdateWindow(editor);
        SCROLLBARINFO info{};
        info.cbSize = sizeof info;
        GetScrollBarInfo(editor, OBJID_VSCROLL, &info);
        RECT window{};
        GetWindowRect(editor, &window);
        std::vector<COLORREF> pixels;
        HDC dc = GetWindowDC(editor);
        for (int y = info.rcScrollBar.top; y < info.rcScrollBar.bottom; y += 2) {
            for (int x = info.rcScrollBar.left; x < info.rcScrollBar.right; x += 2)
                pixels.push_back(GetPixel(dc, x - window.left, y - window.top));
        }
        ReleaseDC(editor, dc);
        return pixels;
    };
    std::string text;
    for (int line = 1; line <= 3000; ++line)
        text += "Line " + std::to_string(line) + " of a long page\r\n";
    Tree().SetSelected(Root());
    TTreeNode* shortPage = AddChildPage("Short");
    TTreeNode* longPage = AddChildPage("Long");
    PageDataOf(longPage)->SetBodyText(text);
    ShowWindow(Main->Handle(), SW_MAXIMIZE);
    // Into the window the editor started with, and after a short page into a fresh one.
    for (TTreeNode* page : {longPage, shortPage, longPage}) {
        Select(page);
        Application.ProcessMessages();
    }
    ASSERT_NE(0, GetWindowLongPtrA(Editor().Handle(), GWL_STYLE) & WS_VSCROLL);
    const std::vector<COLORREF> shown = scrollBar();
    ASSERT_FALSE(shown.empty());
    RedrawWindow(Editor().Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(scrollBar(), shown) << "the scroll bar shows as it is drawn";
}

TEST_F(Pages, ALongPageGoesIntoTheEditorUnderTheHourglassWhereverTheMouseIs)
{
    Tree().SetSelected(Root());
    TTreeNode* page = AddChildPage("Long");
    PageDataOf(page)->SetBodyText("A page that takes seconds to lay out.\r\n");
    SetScreenCursorId(crDefault);
    TSentMessages texts(EM_STREAMIN);
    Select(page);
    ASSERT_EQ("A page that takes seconds to lay out.\r\n", Editor().Text());
    // The page's text is the last one the editor was given, after emptying it.
    const HWND editor = Editor().Handle();
    const auto loaded = std::find_if(texts.Seen.rbegin(), texts.Seen.rend(),
                                     [&](const TSentMessages::Sent& sent) { return sent.window == editor; });
    ASSERT_NE(loaded, texts.Seen.rend());
    EXPECT_EQ(crHourGlass, loaded->cursor);
    EXPECT_EQ(crDefault, ScreenCursorId());
}

TEST_F(Pages, APageIsShownAsTheTextItHolds)
{
    Tree().SetSelected(Root());
    TTreeNode* other = AddChildPage("Other");
    TTreeNode* page = AddChildPage("Page");
    struct Row {
        const char* body;
        const char* shown;
    } rows[] = {
        {"{\\rtf1 not rich text}", "{\\rtf1 not rich text}"},
        {"{\\urtf1 x}", "{\\urtf1 x}"},
        {"a\r\nb\rc\nd", "a\r\nb\r\nc\r\nd"},
        {"ends with a break\r\n", "ends with a break\r\n"},
        {"", ""},
    };
    for (const Row& row : rows) {
        PageDataOf(page)->SetBodyText(row.body);
        Select(other);
        Select(page);
        EXPECT_EQ(Editor().Text(), row.shown) << row.body;
        EXPECT_FALSE(Editor().Modified()) << row.body;
        EXPECT_FALSE(Editor().CanUndo()) << row.body;
    }
    EXPECT_EQ(OutlineProperties.FileChanged, 0);
}

TEST_F(Pages, LeavingTheEditorUnchangedKeepsTheOutlineUnchangedButRemembersTheCaret)
{
    Tree().SetSelected(Root());
    TTreeNode* first = AddChildPage("First");
    PageDataOf(first)->SetBodyText("some text");
    Select(first);
    Main->RichEditEnter();
    Editor().SetSelStart(4);
    Editor().SetSelLength(2);
    Main->RichEditExit();
    EXPECT_EQ(0, OutlineProperties.FileChanged);
    EXPECT_EQ(4, PageDataOf(first)->CaretStart);
    EXPECT_EQ(2, PageDataOf(first)->SelectionLength);
}

TEST_F(Pages, SelectingTheShownPageAgainKeepsTheUnsavedTyping)
{
    Tree().SetSelected(Root());
    TTreeNode* first = AddChildPage("First");
    Select(first);
    Main->RichEditEnter();
    Type("unsaved", 3, 1);
    Select(first);
    EXPECT_EQ("unsaved", Editor().Text());
    EXPECT_EQ(3, Editor().SelStart());
    EXPECT_TRUE(Editor().Modified());
}

TEST_F(Pages, ASelectionChangeWithoutAFocusMoveKeepsTheTyping)
{
    Tree().SetSelected(Root());
    TTreeNode* first = AddChildPage("First");
    TTreeNode* second = AddChildPage("Second");
    PageDataOf(second)->SetBodyText("second's text");
    Select(first);
    Main->RichEditEnter();
    Type("typed but not committed", 5, 0);

    // As Back, Forward or a toolbar command would: no focus change.
    Select(second);
    EXPECT_EQ("typed but not committed", PageDataOf(first)->BodyText());
    EXPECT_EQ(5, PageDataOf(first)->CaretStart);
    EXPECT_EQ("second's text", Editor().Text());
    EXPECT_EQ(1, OutlineProperties.FileChanged);

    Select(first);
    EXPECT_EQ("typed but not committed", Editor().Text());
    EXPECT_EQ(5, Editor().SelStart());
    EXPECT_EQ("second's text", PageDataOf(second)->BodyText());
}

TEST_F(Pages, TypingGoesToThePageTheEditorShowsWhenTheSelectionMovedOnItsOwn)
{
    TTreeNode* first = RawPage(Root(), "First");
    TTreeNode* second = RawPage(Root(), "Second");
    PageDataOf(first)->SetBodyText("first's text");
    PageDataOf(second)->SetBodyText("second's text");
    Root()->Expand(false);
    Select(first);

    // The tree finds a title by its first letter; its page shows at once.
    Tree().SetFocus();
    PressKey(Tree().Handle(), 'S', 0);
    PostMessageA(Tree().Handle(), WM_KEYUP, 'S', 0xC0000001);
    Application.ProcessMessages();
    ASSERT_EQ(Tree().Selected(), second);
    EXPECT_EQ(Editor().Text(), "second's text");
    EXPECT_EQ(PageHistory.Entry(PageHistory.Index()), second);

    // Where the page did not follow (an import that stopped), the editor
    // shows the selected page before it takes any typing.
    Tree().SetSelected(first);
    Editor().SetFocus();
    EXPECT_EQ(Editor().Text(), "first's text");
    Editor().SetSelStart(0);
    PostMessageA(Editor().Handle(), WM_CHAR, 'x', 1);
    Application.ProcessMessages();
    Tree().SetFocus();
    EXPECT_EQ(PageDataOf(first)->BodyText(), "xfirst's text");
    EXPECT_EQ(PageDataOf(second)->BodyText(), "second's text");

    // A change made without the editor's focus belongs to the page shown.
    Tree().SetSelected(second);
    Editor().SetSelStart(0);
    Editor().SetSelText("y");
    Main->CommitTyping();
    EXPECT_EQ(PageDataOf(first)->BodyText(), "yxfirst's text");
    EXPECT_EQ(PageDataOf(second)->BodyText(), "second's text");
}

TEST_F(Pages, ACommitThatFailsKeepsThePagesTextAndTheTypingAndSaysSo)
{
    Tree().SetSelected(Root());
    TTreeNode* page = AddChildPage("Page");
    PageDataOf(page)->SetBodyText("stored text");
    Select(page);
    Editor().SetFocus();
    Type("typed text", 5, 0);
    Editor().Lines().SetConverter(std::make_unique<RefusingConversion>());
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    // Only what the commit itself marks.
    OutlineProperties.FileChanged = 0;

    Tree().SetFocus();

    Editor().Lines().SetConverter(nullptr);
    EXPECT_EQ(std::vector<std::string>{"Failed to Save Stream"}, boxes.Texts());
    EXPECT_EQ("stored text", PageDataOf(page)->BodyText());
    EXPECT_EQ("typed text", Editor().Text());
    EXPECT_TRUE(Editor().Modified());
    EXPECT_EQ(0, OutlineProperties.FileChanged);
    EXPECT_EQ(nullptr, Tree().Cursor());
}

TEST_F(Pages, DeletingABranchFreesEveryRecordAndClearsEveryReference)
{
    Tree().SetSelected(Root());
    TTreeNode* keep = AddChildPage("Keep");
    const long before = PageData::LiveCount();
    TTreeNode* branch = AddChildPage("Branch");
    TTreeNode* child = RawPage(branch, "child");
    TTreeNode* grandchild = RawPage(child, "grandchild");
    RawPage(branch, "second child");
    ASSERT_EQ(before + 4, PageData::LiveCount());

    Select(child);
    Main->RichEditEnter();
    EditorPage = grandchild;
    LastShownPage = child;
    PageClipboard.Source = grandchild;
    PageClipboard.Cut = 1;
    PushHistory(keep);
    PushHistory(child);

    Tree().SetSelected(keep);
    branch->Delete();
    EXPECT_EQ(before, PageData::LiveCount());
    EXPECT_EQ(nullptr, EditorPage);
    EXPECT_EQ(nullptr, LastShownPage);
    EXPECT_EQ(nullptr, PageClipboard.Source);
    EXPECT_EQ(0, PageClipboard.Cut);
    EXPECT_EQ(0, PageHistory.Count());

    // With no page to receive it, a commit does nothing.
    Editor().SetText("orphan");
    Editor().SetModified(true);
    EditorPage = nullptr;
    OutlineProperties.FileChanged = 0;
    Main->RichEditExit();
    EXPECT_EQ(0, OutlineProperties.FileChanged);
    EXPECT_EQ("", PageDataOf(keep)->BodyText());
}

TEST_F(Pages, RenamingFollowsTheTitleRulesOncePerEdit)
{
    Tree().SetSelected(Root());
    TTreeNode* page = AddChildPage("Plan");
    Root()->Expand(false);
    Select(page);
    const int editClick = Counter("EditClick");
    const int before = Count(editClick);

    auto rename = [&](const std::string& text) {
        ASSERT_TRUE(page->EditText());
        ASSERT_NE(nullptr, Tree().EditHandle());
        SetWindowTextA(Tree().EditHandle(), text.c_str());
        page->EndEdit(false);
        Application.ProcessMessages();
    };

    rename("");
    EXPECT_EQ("Plan", page->Text());
    EXPECT_EQ("Plan", TitleBeforeEdit);
    EXPECT_EQ(0, OutlineProperties.FileChanged);
    EXPECT_EQ(before + 1, Count(editClick));

    rename("Plan");
    EXPECT_EQ("Plan", page->Text());
    EXPECT_EQ(0, OutlineProperties.FileChanged);
    EXPECT_EQ(before + 2, Count(editClick));

    rename("Schedule");
    EXPECT_EQ("Schedule", page->Text());
    EXPECT_EQ(1, OutlineProperties.FileChanged);
    EXPECT_EQ(before + 3, Count(editClick));
}

TEST_F(Pages, EditingATitlePreparesTheEditMenuAndIsRefusedOnceAfterALinkClick)
{
    Tree().SetSelected(Root());
    TTreeNode* page = AddChildPage("Plan");
    Root()->Expand(false);
    Select(page);
    StandIn({"mUndoClick", "mCutClick", "mCopyClick", "mDeleteClick", "mPasteClick", "mSelectAllClick", "mCaseClick",
             "mRenameClick"});

    Tree().Tag = 1;
    EXPECT_FALSE(page->EditText());
    EXPECT_EQ(0, Tree().Tag);

    ASSERT_TRUE(page->EditText());
    EXPECT_EQ("Plan", TitleBeforeEdit);
    for (const char* name : {"mUndo", "mCut", "mCopy", "mDelete", "mPaste", "mSelectall"})
        EXPECT_TRUE(Enabled(name)) << name;
    EXPECT_FALSE(Enabled("mCase"));
    EXPECT_FALSE(Enabled("mRename"));
    page->EndEdit(true);
}

TEST_F(Pages, MoveCommandsFollowTheSelectedPagesPlace)
{
    Tree().SetSelected(Root());
    TTreeNode* first = AddChildPage("First");
    TTreeNode* second = AddChildPage("Second");
    TTreeNode* deep = RawPage(second, "Deep");
    StandIn({"mMoveUpClick", "mMoveDownClick", "mMoveLeftClick", "mMoveRightClick"});

    Select(Root());
    for (const char* name : {"mMoveUp", "mMoveDown", "mMoveLeft", "mMoveRight", "ppMoveUp", "ppMoveRight"})
        EXPECT_FALSE(Enabled(name)) << name;
    Select(first);
    EXPECT_FALSE(Enabled("mMoveUp"));
    EXPECT_FALSE(Enabled("mMoveRight"));
    EXPECT_TRUE(Enabled("mMoveDown"));
    EXPECT_FALSE(Enabled("mMoveLeft"));
    Select(second);
    EXPECT_TRUE(Enabled("mMoveUp"));
    EXPECT_TRUE(Enabled("ppMoveRight"));
    EXPECT_FALSE(Enabled("mMoveDown"));
    Select(deep);
    EXPECT_TRUE(Enabled("mMoveLeft"));
    EXPECT_TRUE(Enabled("ppMoveLeft"));
}

TEST_F(Pages, MenusAreRefreshedFileEditViewInsertInThisOrder)
{
    auto order = std::make_shared<std::string>();
    for (const char* name : {"FileClick", "EditClick", "ViewClick", "InsertClick"})
        Main->SetHandler(name, [order, name](TComponent*) { *order += std::string(name) + ","; });
    UpdateMenus();
    EXPECT_EQ("FileClick,EditClick,ViewClick,InsertClick,", *order);
}

TEST_F(Pages, ACopiedPageHasTheSourcesTextAndStateButNotItsCaret)
{
    Tree().SetSelected(Root());
    TTreeNode* source = AddChildPage("Source");
    source->SetStateIndex(9);
    PageDataOf(source)->SetBodyText("body\r\ntext");
    PageDataOf(source)->CaretStart = 3;
    PageDataOf(source)->SelectionLength = 2;
    TTreeNode* target = AddChildPage("Target");
    TTreeNode* deep = RawPage(target, "Deep");

    TTreeNode* child = CopyPageNode(target, source, -1);
    ASSERT_NE(nullptr, child);
    EXPECT_EQ(target, child->Parent());
    EXPECT_EQ("Source", child->Text());
    EXPECT_EQ(9, child->StateIndex());
    EXPECT_EQ(4, child->SelectedIndex());
    EXPECT_EQ("body\r\ntext", PageDataOf(child)->BodyText());
    EXPECT_EQ(0, PageDataOf(child)->CaretStart);
    EXPECT_EQ(0, PageDataOf(child)->SelectionLength);

    TTreeNode* sibling = CopyPageNode(deep, source, 0);
    EXPECT_EQ(target, sibling->Parent());
    TTreeNode* climbed = CopyPageNode(deep, source, 1);
    EXPECT_EQ(Root(), climbed->Parent());
    EXPECT_EQ(nullptr, CopyPageNode(target, source, 1)) << "never beside the root";
}

TEST_F(Pages, NewSubPageCommandAddsSelectsAndStartsEditingItsTitle)
{
    Select(Root());
    Main->RunHandler("mAddNewClick", nullptr);
    ASSERT_EQ(2, Tree().Items().Count());
    TTreeNode* page = Root()->getFirstChild();
    EXPECT_EQ("Untitled", page->Text());
    EXPECT_EQ(page, Tree().Selected());
    EXPECT_EQ(1, OutlineProperties.FileChanged);
    EXPECT_TRUE(Tree().IsEditing());
    page->EndEdit(true);

    Main->RunHandler("mAddPageClick", nullptr);
    ASSERT_EQ(3, Tree().Items().Count());
    EXPECT_EQ(Root(), Tree().Selected()->Parent());
    EXPECT_EQ(page, Tree().Selected()->getPrevSibling());
    EXPECT_TRUE(Tree().IsEditing());
    Tree().Selected()->EndEdit(true);
}

namespace {
POINT MiddleOf(const RECT& rect) { return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

// The first point left of the page's label that the tree calls its state icon.
POINT StateIconOf(TTreeView& tree, TTreeNode* node)
{
    const RECT label = node->DisplayRect(true);
    const int y = (label.top + label.bottom) / 2;
    for (int x = 0; x < label.left; ++x)
        if (tree.GetHitTestInfoAt(x, y) & htOnStateIcon)
            return POINT{x, y};
    ADD_FAILURE() << "no state icon left of the label";
    return POINT{0, y};
}
}

TEST_F(Pages, ClicksAndSelectionKeysRecordThePageAndShowIt)
{
    TTreeNode* a = RawPage(Root(), "A");
    TTreeNode* b = RawPage(Root(), "B");
    PageDataOf(a)->SetBodyText("alpha");
    PageDataOf(b)->SetBodyText("beta");
    Root()->Expand(false);
    Select(Root());
    PushHistory(Root());

    POINT point = MiddleOf(b->DisplayRect(true));
    Tree().MouseDownAt(TMouseButton::mbLeft, 0, point.x, point.y);
    EXPECT_EQ(b, Tree().Selected());
    EXPECT_EQ("beta", Editor().Text());
    EXPECT_EQ(b, PageHistory.Entry(PageHistory.Index()));
    EXPECT_EQ(Main->PopupMenuNamed("PopupPage"), Tree().PopupMenu());

    // Clicking the shown page again records nothing new.
    const int count = PageHistory.Count();
    Tree().MouseDownAt(TMouseButton::mbLeft, 0, point.x, point.y);
    EXPECT_EQ(count, PageHistory.Count());

    // Empty space below the pages offers no page popup.
    const RECT client = Tree().ClientRect();
    Tree().MouseDownAt(TMouseButton::mbRight, 0, point.x, client.bottom - 2);
    EXPECT_EQ(nullptr, Tree().PopupMenu());
    EXPECT_EQ(b, Tree().Selected());

    // A right click selects the page under the mouse.
    point = MiddleOf(a->DisplayRect(true));
    Tree().MouseDownAt(TMouseButton::mbRight, 0, point.x, point.y);
    EXPECT_EQ(a, Tree().Selected());
    EXPECT_EQ("alpha", Editor().Text());

    // A key that moved the selection records and shows the new page.
    Tree().SetSelected(b);
    WORD key = VK_DOWN;
    Main->TreeKeyUp(key, 0);
    EXPECT_EQ("beta", Editor().Text());
    EXPECT_EQ(b, PageHistory.Entry(PageHistory.Index()));
    // Other keys leave the history alone.
    key = 'X';
    Main->TreeKeyUp(key, 0);
    std::vector<TTreeNode*> entries;
    for (int i = 0; i < PageHistory.Count(); ++i)
        entries.push_back(PageHistory.Entry(i));
    EXPECT_EQ((std::vector<TTreeNode*>{Root(), b, a, b}), entries);
}

TEST_F(Pages, ClickingAStateIconOpensTheStatePopupInsteadOfThePagePopup)
{
    TTreeNode* a = RawPage(Root(), "A");
    Root()->Expand(false);
    Select(Root());
    std::vector<std::string> shown;
    SetPopupTracker([&](TPopupMenu& menu, int, int, HWND) {
        shown.push_back(menu.Name());
        return 0u;
    });
    const POINT point = StateIconOf(Tree(), a);
    Tree().MouseDownAt(TMouseButton::mbLeft, 0, point.x, point.y);
    SetPopupTracker(nullptr);

    EXPECT_EQ(a, Tree().Selected());
    EXPECT_EQ(std::vector<std::string>{"StatePopup"}, shown);
    EXPECT_EQ(nullptr, Tree().PopupMenu());
}
