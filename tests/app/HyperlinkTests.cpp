// The hyperlink dialog, the page browser and the hyperlink commands in the
// main window: inserting, editing, copying and following links.

#include "AnsiStrings.h"
#include "BrowsePageDialog.h"
#include "ClipboardText.h"
#include "FileHandle.h"
#include "FlagScope.h"
#include "HyperlinkDialog.h"
#include "MessageBoxes.h"
#include "ModalScript.h"
#include "OpenOutline.h"
#include "PageTreeTest.h"
#include "ScriptedFileDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "ShellOpen.h"

#include <richedit.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {
const char* const SamePageText = "Cannot create relative link to the same page!";
const char* const UnresolvedText = "Cannot resolve link!\nPage moved or deleted?";

class Hyperlinks : public PageTreeTest {
protected:
    void SetUp() override
    {
        PageTreeTest::SetUp();
        states_ = DialogStates;
        SetShellOpenHandler([this](const std::string& target) {
            opened.push_back(target);
            return true;
        });
        Build("A(A1,A2),B");
    }
    void TearDown() override
    {
        SetShellOpenHandler(nullptr);
        DialogStates = states_;
        PageTreeTest::TearDown();
    }

    static TTreeNode* HistoryPage() { return PageHistory.Count() ? PageHistory.Entry(PageHistory.Index()) : nullptr; }
    void FocusEditor(TTreeNode* page)
    {
        Select(page);
        Editor().SetFocus();
    }
    void FocusTree(TTreeNode* page)
    {
        Select(page);
        Tree().SetFocus();
    }
    // Runs the command with one dialog step.
    void RunWithDialog(const std::string& handler, std::function<void(THyperlink&)> step)
    {
        ModalScript script;
        script.Then<THyperlink>(std::move(step));
        Main->RunHandler(handler, nullptr);
    }
    // A link click in the page text as the editor reports it.
    // The editor shows text as a page it was given, unchanged.
    void ClickLinkInText(const std::string& text, LONG from, LONG to)
    {
        {
            const TFlagScope shown(Main->EditorLoading);
            Editor().SetText(text);
        }
        for (const UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP}) {
            ENLINK link{};
            link.nmhdr.hwndFrom = Editor().Handle();
            link.nmhdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(Editor().Handle()));
            link.nmhdr.code = EN_LINK;
            link.msg = message;
            link.chrg = CHARRANGE{from, to};
            SendMessageA(Main->Handle(), WM_NOTIFY, link.nmhdr.idFrom, reinterpret_cast<LPARAM>(&link));
        }
    }

    std::vector<std::string> opened;

private:
    TDialogStates states_;
};

void ChoosePage(ModalScript& script, int absoluteIndex)
{
    script.Then<TBrowsePage>([absoluteIndex](TBrowsePage& browser) {
        TTreeNode* node = browser.Tree.Items().Item(absoluteIndex);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->Text(), Main->Tree->Items().Item(absoluteIndex)->Text());
        browser.Tree.SetSelected(node);
        browser.OK.Click();
    });
}
}

TEST_F(Hyperlinks, ThePageTypeAndButtonAreThereOnlyForThePageText)
{
    for (const bool editor : {false, true}) {
        editor ? FocusEditor(N("A")) : FocusTree(N("A"));
        THyperlink dialog;
        EXPECT_EQ(dialog.TypeEdit.Items().Count(), editor ? 8 : 7);
        EXPECT_EQ(dialog.bPage.Enabled(), editor);
        EXPECT_EQ(dialog.TypeEdit.ItemIndex(), 0);
        EXPECT_EQ(dialog.PrefixEdit.Text(), "http://");
        EXPECT_FALSE(dialog.OK.Enabled());
    }
}

TEST_F(Hyperlinks, APageChosenInTheBrowserBecomesAnAbsoluteOrRelativeLinkAndTogglesBetweenThem)
{
    FocusEditor(N("A1"));
    ModalScript script;
    script.Then<THyperlink>([&](THyperlink& dialog) {
        dialog.TypeEdit.UserSelect(htPage);
        EXPECT_EQ(dialog.AddressEdit.Text(), "file::Untitled\\\\A\\\\A2");
        EXPECT_EQ(dialog.PrefixEdit.Text(), "");
        EXPECT_EQ(dialog.ChosenPage, N("A2")->AbsoluteIndex());
        dialog.RelativeEdit.SetChecked(true);
        EXPECT_EQ(dialog.AddressEdit.Text(), "file:.^\\\\A2");
        dialog.RelativeEdit.SetChecked(false);
        EXPECT_EQ(dialog.AddressEdit.Text(), "file::Untitled\\\\A\\\\A2");
        dialog.RelativeEdit.SetChecked(true);
        dialog.OK.Click();
    });
    ChoosePage(script, N("A2")->AbsoluteIndex());
    Main->mHyperlinkClick(nullptr);
    EXPECT_EQ(Editor().Text(), "file:.^\\\\A2A1 text");
    EXPECT_EQ(Editor().SelStart(), 11);
    EXPECT_EQ(OutlineProperties.FileChanged, 1);
}

TEST_F(Hyperlinks, ARelativeLinkToTheSelectedPageIsRefusedOnBothPaths)
{
    FocusEditor(N("A1"));
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    boxes.Answer(IDOK);
    ModalScript script;
    script.Then<THyperlink>([&](THyperlink& dialog) {
        // Choosing the page with the box set.
        dialog.RelativeEdit.SetChecked(true);
        dialog.bPage.Click();
        EXPECT_EQ(dialog.AddressEdit.Text(), "");
        EXPECT_EQ(dialog.ChosenPage, -1);
        // Setting the box after choosing the page.
        dialog.RelativeEdit.SetChecked(false);
        dialog.bPage.Click();
        EXPECT_EQ(dialog.AddressEdit.Text(), "file::Untitled\\\\A\\\\A1");
        dialog.RelativeEdit.SetChecked(true);
        EXPECT_FALSE(dialog.RelativeEdit.Checked());
        EXPECT_EQ(dialog.AddressEdit.Text(), "file::Untitled\\\\A\\\\A1");
        dialog.Cancel.Click();
    });
    ChoosePage(script, N("A1")->AbsoluteIndex());
    ChoosePage(script, N("A1")->AbsoluteIndex());
    Main->mHyperlinkClick(nullptr);
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{SamePageText, SamePageText}));
    EXPECT_EQ(Editor().Text(), "A1 text");
}

TEST_F(Hyperlinks, ShowingTheDialogAgainRestoresPlaceTypeAndRelativeBox)
{
    DialogStates.HyperlinkInitialized = true;
    DialogStates.HyperlinkTypeEdit = htPage;
    DialogStates.HyperlinkRelativeEdit = true;
    DialogStates.HyperlinkLeft = 40;
    DialogStates.HyperlinkTop = 50;
    const struct {
        bool treeFocused;
        int stored;
        bool filledByEdit;
        int shown;
    } rows[] = {
        {false, htFtp, false, htFtp},
        {true, htFtp, false, htWebPage},
        {true, htFtp, true, htTelnet},
        // Made while the tree had the focus, shown while it has it no more:
        // the page type is not in the list.
        {false, htPage, false, htWebPage},
    };
    for (const auto& row : rows) {
        FocusTree(N("A"));
        THyperlink dialog;
        if (row.filledByEdit) {
            dialog.TypeEdit.SetItemIndex(htTelnet);
            dialog.FilledByEdit = true;
        }
        DialogStates.HyperlinkTypeEdit = row.stored;
        if (!row.treeFocused)
            Editor().SetFocus();
        dialog.FormShow();
        EXPECT_EQ(dialog.TypeEdit.ItemIndex(), row.shown) << row.stored;
        EXPECT_EQ(dialog.PrefixEdit.Text(), HyperlinkPrefix(row.shown));
        EXPECT_TRUE(dialog.RelativeEdit.Checked());
        EXPECT_EQ(dialog.Left(), 40);
        EXPECT_EQ(dialog.Top(), 50);
    }
}

TEST_F(Hyperlinks, ClosingTheDialogKeepsItsStateForTheRun)
{
    FocusEditor(N("A"));
    RunWithDialog("mHyperlinkClick", [](THyperlink& dialog) {
        dialog.TypeEdit.UserSelect(htNews);
        dialog.AddressEdit.SetText("comp.lang");
        dialog.Cancel.Click();
    });
    EXPECT_TRUE(DialogStates.HyperlinkInitialized);
    EXPECT_EQ(DialogStates.HyperlinkTypeEdit, htNews);
    EXPECT_EQ(DialogStates.HyperlinkAddressEdit, "comp.lang");
    RunWithDialog("mHyperlinkClick", [](THyperlink& dialog) {
        EXPECT_EQ(dialog.TypeEdit.ItemIndex(), htNews);
        EXPECT_EQ(dialog.PrefixEdit.Text(), "news:");
        EXPECT_EQ(dialog.AddressEdit.Text(), "");
        dialog.Cancel.Click();
    });
}

TEST_F(Hyperlinks, TheRelativeBoxMakesAFileAddressRelativeToTheOutlineAndBack)
{
    CurrentFileName = "C:\\Notes\\Work\\plan.kbf";
    FocusEditor(N("A"));
    const struct {
        const char* address;
        const char* relative;
        const char* absolute;
    } rows[] = {
        {"C:\\Notes\\Work\\a b.txt", "a b.txt", "C:\\Notes\\Work\\a b.txt"},
        {"C:\\Notes\\Home\\Old\\x.txt", "..\\Home\\Old\\x.txt", "C:\\Notes\\Home\\Old\\x.txt"},
        {"D:\\x.txt", "D:\\x.txt", "D:\\x.txt"},
        // Typed relative: read from the outline's folder, its climb folded.
        {"..\\Home\\x.txt", "..\\Home\\x.txt", "C:\\Notes\\Home\\x.txt"},
    };
    THyperlink dialog;
    dialog.TypeEdit.SetItemIndex(htFile);
    for (const auto& row : rows) {
        dialog.RelativeEdit.SetChecked(false);
        dialog.AddressEdit.SetText(row.address);
        dialog.RelativeEdit.SetChecked(true);
        EXPECT_EQ(dialog.AddressEdit.Text(), row.relative);
        dialog.RelativeEdit.SetChecked(false);
        EXPECT_EQ(dialog.AddressEdit.Text(), row.absolute);
    }
    // Other types keep the address.
    dialog.TypeEdit.SetItemIndex(htWebPage);
    dialog.AddressEdit.SetText("..\\x");
    dialog.RelativeEdit.SetChecked(true);
    EXPECT_EQ(dialog.AddressEdit.Text(), "..\\x");
}

TEST_F(Hyperlinks, BrowsingForAFileGivesItsPathOrItsPathFromTheOutline)
{
    OptionSettings.ExternalFolder = folder_ / "";
    CurrentFileName = folder_ / "plan.kbf";
    FocusEditor(N("A"));
    ScriptedFileDialogs files;
    files.Choose(folder_ / "Docs\\a.txt");
    files.Choose(folder_ / "Docs\\b.txt");
    RunWithDialog("mHyperlinkClick", [&](THyperlink& dialog) {
        dialog.BrowseClick();
        EXPECT_EQ(dialog.TypeEdit.ItemIndex(), htFile);
        EXPECT_EQ(dialog.PrefixEdit.Text(), "file:");
        EXPECT_EQ(dialog.AddressEdit.Text(), folder_ / "Docs\\a.txt");
        dialog.RelativeEdit.SetChecked(true);
        EXPECT_EQ(dialog.AddressEdit.Text(), "Docs\\a.txt");
        dialog.BrowseClick();
        EXPECT_EQ(dialog.AddressEdit.Text(), "Docs\\b.txt");
        dialog.Cancel.Click();
    });
    ASSERT_EQ(files.Requests().size(), 2u);
    EXPECT_EQ(files.Requests()[0].title, "Browse For File");
    EXPECT_EQ(files.Requests()[0].filter, "All Files(*.*)|*.*");
    EXPECT_EQ(files.Requests()[0].initialDir, folder_ / "");
}

TEST_F(Hyperlinks, OkShortensOnlyTheAbsolutePathOfAnExistingFileInPageText)
{
    const std::string longPath = folder_ / "A long file name.txt";
    std::ofstream(longPath) << "x";
    char shortPath[MAX_PATH] = {};
    ASSERT_NE(GetShortPathNameA(longPath.c_str(), shortPath, MAX_PATH), 0u);
    CurrentFileName = folder_ / "plan.kbf";
    const struct {
        bool editor;
        std::string address;
        std::string link;
    } rows[] = {
        {true, longPath, std::string("file:") + shortPath},
        {false, longPath, "file:" + longPath},
        {true, folder_ / "Missing file.txt", "file:" + folder_ / "Missing file.txt"},
        {true, "A long file name.txt", "file:A long file name.txt"},
        {true, "\\\\nowhere\\share\\a b.txt", "file:\\\\nowhere\\share\\a b.txt"},
    };
    for (const auto& row : rows) {
        row.editor ? FocusEditor(N("B")) : FocusTree(N("B"));
        RunWithDialog("mHyperlinkClick", [&](THyperlink& dialog) {
            dialog.TypeEdit.SetItemIndex(htFile);
            dialog.PrefixEdit.SetText("file:");
            dialog.AddressEdit.SetText(row.address);
            dialog.OK.Click();
        });
        EXPECT_EQ(SharedResultText, row.link) << row.address;
    }
}

TEST_F(Hyperlinks, EditHyperlinkReadsTheTypeFromTheTitlesPrefix)
{
    DialogStates.HyperlinkInitialized = true;
    DialogStates.HyperlinkTypeEdit = htNews;
    DialogStates.HyperlinkRelativeEdit = true;
    const struct {
        const char* title;
        int type;
        const char* prefix;
        const char* address;
    } rows[] = {
        {"http://example.com", htWebPage, "http://", "example.com"},
        {"https://bank.example", htSecureWeb, "https://", "bank.example"},
        {"file:C:\\My Files\\a b.txt", htFile, "file:", "C:\\My Files\\a b.txt"},
        {"ftp://files.example", htFtp, "ftp://", "files.example"},
        {"mailto:ann@example.com", htMail, "mailto:", "ann@example.com"},
        {"news:comp.lang", htNews, "news:", "comp.lang"},
        {"telnet:host", htTelnet, "telnet:", "host"},
    };
    for (const auto& row : rows) {
        TTreeNode* page = N("B");
        page->SetText(row.title);
        FocusTree(page);
        OutlineProperties.FileChanged = 0;
        RunWithDialog("ppEditHyperlinkClick", [&](THyperlink& dialog) {
            EXPECT_EQ(dialog.Caption(), "Edit Hyperlink");
            EXPECT_EQ(dialog.TypeEdit.ItemIndex(), row.type);
            EXPECT_EQ(dialog.PrefixEdit.Text(), row.prefix);
            EXPECT_EQ(dialog.AddressEdit.Text(), row.address);
            dialog.OK.Click();
        });
        EXPECT_EQ(page->Text(), row.title);
        EXPECT_EQ(OutlineProperties.FileChanged, 1);
    }
    // No known prefix: the dialog's own start, and OK replaces the title.
    DialogStates.HyperlinkRelativeEdit = false;
    N("B")->SetText("Plain words");
    RunWithDialog("ppEditHyperlinkClick", [](THyperlink& dialog) {
        EXPECT_EQ(dialog.TypeEdit.ItemIndex(), htWebPage);
        EXPECT_EQ(dialog.AddressEdit.Text(), "");
        dialog.AddressEdit.SetText("example.org");
        dialog.OK.Click();
    });
    EXPECT_EQ(N("B")->Text(), "http://example.org");
}

TEST_F(Hyperlinks, ALinkMadeWithTheTreeFocusedIsANewSubPage)
{
    const struct {
        const char* handler;
        bool history;
    } rows[] = {{"mHyperlinkClick", true}, {"ppInsertHyperlinkClick", false}};
    for (const auto& row : rows) {
        Build("A(A1,A2),B");
        FocusTree(N("A2"));
        ClearHistory();
        PushHistory(N("A2"));
        RunWithDialog(row.handler, [](THyperlink& dialog) {
            dialog.AddressEdit.SetText("example.com");
            dialog.OK.Click();
        });
        TTreeNode* link = Tree().Selected();
        ASSERT_NE(link, N("A2"));
        EXPECT_EQ(link->Text(), "http://example.com");
        EXPECT_EQ(link->Parent(), N("A2"));
        EXPECT_TRUE(N("A2")->Expanded());
        EXPECT_EQ(HistoryPage(), row.history ? link : N("A2")) << row.handler;
        EXPECT_EQ(OutlineProperties.FileChanged, 1);
        EXPECT_EQ(Editor().Text(), "");
    }
}

TEST_F(Hyperlinks, ALinkPageBeyondALimitIsRefused)
{
    TTreeNode* deepest = N("B");
    for (int level = 1; level < 255; ++level)
        deepest = Tree().Items().AddChild(deepest, "Deeper");
    // The level limit first, then (once the tree is full) the count limit.
    for (const bool countLimit : {false, true}) {
        Tree().Items().BeginUpdate();
        while (countLimit && Tree().Items().Count() < 65535)
            Tree().Items().AddChild(N("A1"), "x");
        Tree().Items().EndUpdate();
        for (const char* handler : {"mHyperlinkClick", "ppInsertHyperlinkClick"}) {
            FocusTree(countLimit ? N("A") : deepest);
            OutlineProperties.FileChanged = 0;
            const int pages = Tree().Items().Count();
            ScriptedMessageBoxes boxes;
            boxes.Answer(IDOK);
            RunWithDialog(handler, [](THyperlink& dialog) {
                dialog.AddressEdit.SetText("example.com");
                dialog.OK.Click();
            });
            EXPECT_EQ(boxes.Texts(), std::vector<std::string>{countLimit ? PageCountLimitText : PageLevelLimitText});
            EXPECT_EQ(Tree().Items().Count(), pages);
            EXPECT_EQ(OutlineProperties.FileChanged, 0);
        }
    }
}

TEST_F(Hyperlinks, ALinkTitleOpensInTheShellAndCopiesAsText)
{
    N("B")->SetText("http://example.com/a b");
    FocusTree(N("B"));
    Main->RunHandler("ppOpenClick", nullptr);
    EXPECT_EQ(opened, std::vector<std::string>{"http://example.com/a b"});
    SetClipboardText("before");
    Main->RunHandler("ppCopyHyperlinkClick", nullptr);
    EXPECT_EQ(ClipboardText(), "http://example.com/a b");
}

TEST_F(Hyperlinks, AClickedLinkGoesWhereItsKindAndTheOptionsSay)
{
    const std::string outline = SavedOutline("Other.kbf", "Other");
    const std::string capitals = ChangeFileExt(outline, ".KBF");
    ASSERT_TRUE(MoveFileA(outline.c_str(), capitals.c_str()));
    NewOutline();
    const struct {
        std::string link;
        TMouseButton button;
        bool doubleClick;
        bool ctrl;
        bool inPlace;
        std::string opened;
        std::string selected;
    } rows[] = {
        {"http://example.com", TMouseButton::mbLeft, true, false, true, "http://example.com", ""},
        {"http://example.com", TMouseButton::mbLeft, false, false, true, "", ""},
        {"http://example.com", TMouseButton::mbLeft, false, true, true, "http://example.com", ""},
        {"http://example.com", TMouseButton::mbRight, true, true, true, "", ""},
        {"mailto:ann@example.com", TMouseButton::mbLeft, true, false, true, "mailto:ann@example.com", ""},
        {"file::Untitled\\\\B", TMouseButton::mbLeft, true, false, false, "file::Untitled\\\\B", ""},
        {"file::Untitled\\\\B", TMouseButton::mbLeft, true, false, true, "", "B"},
        {"file:.^\\\\A2", TMouseButton::mbLeft, true, false, true, "", "A2"},
        {"file:C:\\notes.txt", TMouseButton::mbLeft, true, false, true, "file:C:\\notes.txt", ""},
        {"FILE:" + capitals, TMouseButton::mbLeft, true, false, true, "FILE:" + capitals, ""},
        {"file:" + capitals + ".txt", TMouseButton::mbLeft, true, false, true, "file:" + capitals + ".txt", ""},
    };
    for (const auto& row : rows) {
        Build("A(A1,A2),B");
        FocusEditor(N("A1"));
        ClearHistory();
        opened.clear();
        OptionSettings.DblClickHyperlink = row.doubleClick;
        OptionSettings.InPlace = row.inPlace;
        SetKeyboardStateProvider([&] { return row.ctrl ? ssCtrl : TShiftState{0}; });
        Main->RichEditURLClick(row.link, row.button);
        EXPECT_EQ(opened, row.opened.empty() ? std::vector<std::string>{} : std::vector<std::string>{row.opened})
            << row.link;
        EXPECT_EQ(Tree().Selected()->Text(), row.selected.empty() ? "A1" : row.selected) << row.link;
        if (!row.selected.empty()) {
            EXPECT_EQ(HistoryPage(), Tree().Selected());
        }
    }
    SetKeyboardStateProvider(nullptr);
    // An outline in capitals, opened here; Up One Level at its root returns.
    OptionSettings.InPlace = true;
    Main->RichEditURLClick("file:" + capitals, TMouseButton::mbLeft);
    EXPECT_EQ(CurrentFileName, capitals);
    EXPECT_EQ(ParentOutlineFile, "Untitled");
}

TEST_F(Hyperlinks, ALinkThatNamesNoPageOrNoOutlineChangesNothing)
{
    OptionSettings.InPlace = true;
    const struct {
        std::string link;
        const char* message;
    } rows[] = {
        {"file::Untitled\\\\Gone", UnresolvedText},
        {"file:.^\\\\^\\\\^", UnresolvedText},
        {"file:", UnresolvedText},
        {"file:" + folder_ / "Missing.kbf", "Cannot open input file!"},
        {"file:///" + folder_ / "Missing.kbf", "Cannot open input file!"},
    };
    for (const auto& row : rows) {
        FocusEditor(N("A1"));
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDOK);
        if (row.link == "file:")
            Main->FollowPageLink(row.link);
        else
            Main->RichEditURLClick(row.link, TMouseButton::mbLeft);
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{row.message}) << row.link;
        EXPECT_EQ(Tree().Selected(), N("A1"));
        EXPECT_EQ(Shape(), "A(A1,A2),B");
        EXPECT_EQ(CurrentFileName, UntitledFileName);
    }
}

TEST_F(Hyperlinks, APageLinkInsertedIntoTheTextIsFollowedAfterASaveAndReopen)
{
    OptionSettings.DblClickHyperlink = false;
    FocusEditor(N("A1"));
    Editor().SetText("");
    ModalScript script;
    script.Then<THyperlink>([](THyperlink& dialog) {
        dialog.TypeEdit.UserSelect(htPage);
        dialog.OK.Click();
    });
    ChoosePage(script, N("B")->AbsoluteIndex());
    Main->mHyperlinkClick(nullptr);
    const std::string link = "file::Untitled\\\\B";
    ASSERT_EQ(Editor().Text(), link);

    const std::string path = folder_ / "Links.kbf";
    Tree().SetFocus();
    ASSERT_TRUE(SaveOutline(path));
    NewOutline();
    OpenOutline(path);
    TTreeNode* a1 = Root()->getFirstChild()->getFirstChild();
    FocusEditor(a1);
    ASSERT_EQ(Editor().Text(), link);
    ClearHistory();
    SetKeyboardStateProvider([] { return ssCtrl; });
    ClickLinkInText(link + " more", 0, static_cast<LONG>(link.size()));
    SetKeyboardStateProvider(nullptr);
    ASSERT_NE(Tree().Selected(), nullptr);
    EXPECT_EQ(Tree().Selected()->Text(), "B");
    EXPECT_EQ(HistoryPage(), Tree().Selected());
}

TEST_F(Hyperlinks, AnOutlineLinkOpensHereAndUpOneLevelComesBack)
{
    const std::string other = SavedOutline("Other.kbf", "Other");
    const std::string first = SavedOutline("First.kbf", "First");
    FocusEditor(Root());
    SetKeyboardStateProvider([] { return ssCtrl; });
    const std::string link = "file:" + other;
    ClickLinkInText(link, 0, static_cast<LONG>(link.size()));
    SetKeyboardStateProvider(nullptr);
    EXPECT_EQ(CurrentFileName, other);
    EXPECT_EQ(ParentOutlineFile, first);
    Select(Root());
    Main->RunHandler("mUpOneLevelClick", nullptr);
    EXPECT_EQ(CurrentFileName, first);
    EXPECT_EQ(ParentOutlineFile, "");

    // Cancelled at the question about changes: nothing to come back to.
    Change();
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDCANCEL);
    Main->RichEditURLClick(link, TMouseButton::mbLeft);
    EXPECT_EQ(CurrentFileName, first);
    EXPECT_EQ(ParentOutlineFile, "");

    // A file that is there but no outline: a new outline, and the way back.
    const std::string damaged = folder_ / "Damaged.kbf";
    std::ofstream(damaged) << "no outline";
    OutlineProperties.FileChanged = 0;
    boxes.Answer(IDOK);
    Main->RichEditURLClick("file:" + damaged, TMouseButton::mbLeft);
    EXPECT_EQ(CurrentFileName, UntitledFileName);
    EXPECT_EQ(ParentOutlineFile, first);
}

TEST_F(Hyperlinks, TheBrowserCopiesThePagesAndADoubleClickChoosesAllButAnOpenBranch)
{
    N("A2")->SetStateIndex(5);
    TBrowsePage browser;
    ASSERT_EQ(browser.Tree.Items().Count(), Tree().Items().Count());
    for (int i = 0; i < Tree().Items().Count(); ++i) {
        EXPECT_EQ(browser.Tree.Items().Item(i)->Text(), Tree().Items().Item(i)->Text());
        EXPECT_EQ(browser.Tree.Items().Item(i)->StateIndex(), Tree().Items().Item(i)->StateIndex());
    }
    browser.FormShow();
    TTreeNode* root = browser.Tree.Items().GetFirstNode();
    EXPECT_EQ(browser.Tree.Selected(), root);
    EXPECT_TRUE(root->Expanded());
    TTreeNode* a = root->getFirstChild();
    a->Expand(false);
    const struct {
        TTreeNode* page;
        bool chosen;
        bool expandedAfter;
    } rows[] = {
        {a, false, false},
        {a, true, true},
        {a->getNextSibling(), true, false},
    };
    for (const auto& row : rows) {
        browser.ModalResult = mrNone;
        browser.Tree.SetSelected(row.page);
        const RECT box = row.page->DisplayRect(true);
        SendMessageA(browser.Tree.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON,
                     MAKELPARAM((box.left + box.right) / 2, (box.top + box.bottom) / 2));
        EXPECT_EQ(browser.ModalResult, row.chosen ? mrOk : mrNone) << row.page->Text();
        EXPECT_EQ(row.page->Expanded(), row.expandedAfter) << row.page->Text();
    }
}

TEST_F(Hyperlinks, CtrlKOpensTheDialogAndAKeyInTheTypeBoxKeepsTheFocusThere)
{
    FocusEditor(N("B"));
    ModalScript script;
    script.Then<THyperlink>([](THyperlink& dialog) {
        dialog.TypeEdit.UserSelect(htFtp);
        EXPECT_TRUE(dialog.AddressEdit.Focused());
        dialog.TypeEdit.SetFocus();
        PressKey(dialog.TypeEdit.Handle(), VK_DOWN, 0);
        EXPECT_EQ(dialog.TypeEdit.ItemIndex(), htNews);
        EXPECT_EQ(dialog.PrefixEdit.Text(), "news:");
        EXPECT_TRUE(dialog.TypeEdit.Focused());
        dialog.Cancel.Click();
    });
    PressKey(Editor().Handle(), 'K', ssCtrl);
    EXPECT_EQ(script.PendingSteps(), 0u);
}

TEST_F(Hyperlinks, ADoubleClickThatFollowsAPageLinkSelectsNothingInThePageItShows)
{
    // With links opened by double-click, the first click follows the link;
    // the second lands in the page now shown.
    OptionSettings.DblClickHyperlink = true;
    OptionSettings.InPlace = true;
    PageDataOf(N("B"))->SetBodyText("one two three four five six seven eight nine ten");
    FocusEditor(N("A"));
    Editor().SetText("file::Untitled\\\\B");
    POINTL corner{};
    SendMessageA(Editor().Handle(), EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&corner), 3);
    const LPARAM point = MAKELPARAM(corner.x + 2, corner.y + 4);
    for (const UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        PostMessageA(Editor().Handle(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, point);
    Application.ProcessMessages();
    ASSERT_EQ(Tree().Selected(), N("B"));
    EXPECT_EQ(Editor().Text(), "one two three four five six seven eight nine ten");
    EXPECT_EQ(Editor().SelLength(), 0);
}

TEST_F(Hyperlinks, WhatIsTypedFirstIsTheAddressEveryTimeTheDialogOpens)
{
    for (const bool initialized : {false, true}) {
        for (const bool inTree : {false, true}) {
            SCOPED_TRACE(std::string(initialized ? "shown before" : "first time") + (inTree ? ", tree" : ", page text"));
            DialogStates.HyperlinkInitialized = initialized;
            DialogStates.HyperlinkTypeEdit = htWebPage;
            if (inTree)
                FocusTree(N("B"));
            else
                FocusEditor(N("B"));
            ModalScript script;
            script.Then<THyperlink>([](THyperlink& dialog) {
                TypeText(GetFocus(), "www.example.org/notes");
                EXPECT_EQ(dialog.AddressEdit.Text(), "www.example.org/notes");
                EXPECT_EQ(dialog.TypeEdit.ItemIndex(), htWebPage);
                EXPECT_TRUE(dialog.OK.Enabled());
                dialog.Cancel.Click();
            });
            PressKey(inTree ? Tree().Handle() : Editor().Handle(), 'K', ssCtrl);
            EXPECT_EQ(script.PendingSteps(), 0u);
        }
    }
}
