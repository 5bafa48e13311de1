// The template dialogs on a templates folder of the test's own: what New and
// Insert From Template list and return, the views and tab they remember, their
// help pages, the name rule for templates, and the folder shipped beside the
// program.
#include "Application.h"
#include "FromTemplateDialog.h"
#include "HtmlHelp.h"
#include "KbfFormat.h"
#include "Main.h"
#include "PageData.h"
#include "Pages.h"
#include "ModalScript.h"
#include "NewDialog.h"
#include "OpenOutline.h"
#include "ProgramFolder.h"
#include "ScriptedMessageBoxes.h"
#include "SettingsRecords.h"
#include "SettingsRegistry.h"
#include "SharedState.h"
#include "TemplateFolder.h"
#include "TestSettingsRoot.h"
#include "TextImport.h"
#include "TreeView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
std::vector<std::string> Captions(const TListView& list)
{
    std::vector<std::string> captions;
    for (int i = 0; i < list.Count(); ++i)
        captions.push_back(list.Item(i)->Caption());
    return captions;
}

std::vector<int> ImageIndexes(const TListView& list)
{
    std::vector<int> indexes;
    for (int i = 0; i < list.Count(); ++i)
        indexes.push_back(list.Item(i)->ImageIndex());
    return indexes;
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The help viewer's entry, recording the addresses it is asked for.
std::vector<std::string> helpAddresses;
HWND WINAPI RecordingHelpEntry(HWND, LPCSTR file, UINT command, DWORD_PTR)
{
    if (command == HelpDisplayTopic && file)
        helpAddresses.push_back(file);
    return nullptr;
}

class TemplateDialogs : public TestSettingsRoot {
protected:
    void SetUp() override
    {
        TestSettingsRoot::SetUp();
        Application.Initialize();
        Application.SetHelpFile("C:\\Quillo\\Quillo.chm");
        folder_ = fs::temp_directory_path() / ("QuilloTemplates" + std::to_string(GetCurrentProcessId()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        savedOptions_ = OptionSettings;
        savedStates_ = DialogStates;
        OptionSettings.TemplatesFolder = folder_.string();
        ClearDialogStates(DialogStates);
    }
    void TearDown() override
    {
        OptionSettings = savedOptions_;
        DialogStates = savedStates_;
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
        Application.SetHelpFile("");
        TestSettingsRoot::TearDown();
    }

    void Add(const std::string& fileName, const std::string& content = "text")
    {
        std::ofstream(folder_ / fileName, std::ios::binary) << content;
    }

    // Shows a dialog of class Form modally; step runs on it once shown.
    template <class Form>
    int Run(Form& dialog, std::function<void(Form&)> step)
    {
        ModalScript script;
        script.Then<Form>(std::move(step));
        const int result = dialog.ShowModal();
        EXPECT_EQ(script.PendingSteps(), 0u);
        return result;
    }

    fs::path folder_;
    TOptionSettings savedOptions_;
    TDialogStates savedStates_;
};

TEST(TemplateNames, AreFileNamesThatStayInTheTemplatesFolder)
{
    for (const char* name : {"Meeting notes", "a", "To-do list (weekly)", "x.y", "...a", "Caf\xE9"})
        EXPECT_TRUE(IsValidTemplateName(name)) << name;
    for (const char* name : {"", ".", "..", "..\\evil", "../evil", "a\\b", "a/b", "c:x", "a*", "a?", "a\"b", "a<b",
                             "a>b", "a|b", "tab\there", "line\nfeed", "\x1F"})
        EXPECT_FALSE(IsValidTemplateName(name)) << name;
}

TEST_F(TemplateDialogs, FolderListsOrdinaryFilesOfOneKindAndResolvesPageTemplatesFirst)
{
    Add("Plan.kbf");
    Add("Plan.txt");
    Add("Notes.txt");
    Add("Hidden.txt");
    SetFileAttributesA((folder_ / "Hidden.txt").string().c_str(), FILE_ATTRIBUTE_HIDDEN);
    Add("Other.doc");
    fs::create_directories(folder_ / "Folder.kbf");

    std::vector<std::string> pages = ListTemplates(folder_.string(), TemplateKind::Page);
    std::sort(pages.begin(), pages.end());
    EXPECT_EQ(pages, (std::vector<std::string>{"Notes", "Plan"}));
    EXPECT_EQ(ListTemplates(folder_.string(), TemplateKind::Outline), (std::vector<std::string>{"Plan"}));
    EXPECT_TRUE(ListTemplates((folder_ / "missing").string(), TemplateKind::Page).empty());

    const std::string base = folder_.string() + "\\";
    EXPECT_EQ(TemplateFilePath("Plan"), base + "Plan.txt");
    EXPECT_EQ(TemplateFilePath("Folder"), base + "Folder.kbf");
    EXPECT_EQ(TemplateFilePath("Nothing"), base + "Nothing.kbf");
    EXPECT_EQ(TemplateFileOfKind(folder_.string(), "Plan", TemplateKind::Outline), base + "Plan.kbf");
}

TEST_F(TemplateDialogs, NewListsBlankOutlineFirstThenTheOutlineTemplatesSorted)
{
    {
        TNew empty;
        EXPECT_EQ(Captions(empty.ListView), (std::vector<std::string>{"Blank Outline"}));
        ASSERT_NE(empty.ListView.Selected(), nullptr);
        EXPECT_EQ(empty.ListView.Selected()->Caption(), "Blank Outline");
        EXPECT_TRUE(empty.OK.Enabled());
    }
    Add("b.kbf");
    Add("a.kbf");
    Add("page.txt");
    struct Case {
        int row;
        std::string expected;
    };
    for (const Case& c : {Case{0, ""}, Case{1, "a"}, Case{2, "b"}}) {
        TNew dialog;
        EXPECT_EQ(Captions(dialog.ListView), (std::vector<std::string>{"Blank Outline", "a", "b"}));
        EXPECT_EQ(ImageIndexes(dialog.ListView), (std::vector<int>{1, 0, 0}));
        EXPECT_EQ(dialog.Caption(), "New");
        const int result = Run<TNew>(dialog, [&](TNew& shown) {
            EXPECT_EQ(shown.ListView.Selected(), shown.ListView.Item(0));
            EXPECT_EQ(shown.ActiveControl(), &shown.ListView);
            shown.ListView.SetSelected(shown.ListView.Item(c.row));
            shown.OK.Click();
        });
        EXPECT_EQ(result, mrOk);
        EXPECT_EQ(dialog.TemplateName(), c.expected) << "row " << c.row;
    }
}

TEST_F(TemplateDialogs, NewKeepsOkForASelectedRowAndADoubleClickChooses)
{
    Add("Journal.kbf");
    TNew dialog;
    dialog.ListView.SetSelected(nullptr);
    EXPECT_FALSE(dialog.OK.Enabled());
    dialog.ListViewDblClick();
    EXPECT_EQ(dialog.ModalResult, mrNone);

    const int result = Run<TNew>(dialog, [](TNew& shown) {
        shown.ListView.SetSelected(shown.ListView.Item(1));
        EXPECT_TRUE(shown.OK.Enabled());
        shown.ListViewDblClick();
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(dialog.TemplateName(), "Journal");
}

TEST_F(TemplateDialogs, NewRemembersItsViewThroughTheRegistry)
{
    {
        TNew dialog;
        Run<TNew>(dialog, [](TNew& shown) {
            EXPECT_TRUE(shown.Large.Down());
            EXPECT_EQ(shown.ListView.ViewStyle(), TViewStyle::vsIcon);
            shown.Small.Click();
            EXPECT_FALSE(shown.Large.Down());
            EXPECT_EQ(shown.ListView.ViewStyle(), TViewStyle::vsList);
            shown.Button2.Click();
        });
    }
    EXPECT_TRUE(DialogStates.NewList);
    WriteDialogStates(DialogStates);
    ClearDialogStates(DialogStates);
    ASSERT_TRUE(ReadDialogStates(DialogStates));
    EXPECT_TRUE(DialogStates.NewList);

    TNew dialog;
    Run<TNew>(dialog, [](TNew& shown) {
        EXPECT_TRUE(shown.Small.Down());
        EXPECT_EQ(shown.ListView.ViewStyle(), TViewStyle::vsList);
        shown.Large.Click();
        shown.Button2.Click();
    });
    EXPECT_FALSE(DialogStates.NewList);
}

TEST_F(TemplateDialogs, FromTemplateOnAnEmptyFolderOffersNothing)
{
    TFromTemplate dialog;
    const int result = Run<TFromTemplate>(dialog, [](TFromTemplate& shown) {
        EXPECT_EQ(shown.Caption(), "Insert From Template");
        EXPECT_EQ(shown.ActiveControl(), &shown.ListViewP);
        EXPECT_FALSE(shown.OK.Enabled());
        shown.Pages.SetActivePage(&shown.Outline);
        EXPECT_FALSE(shown.OK.Enabled());
        shown.OK.Click();
        EXPECT_EQ(shown.ModalResult, mrNone);
        shown.Button2.Click();
    });
    EXPECT_EQ(result, mrCancel);
}

TEST_F(TemplateDialogs, FromTemplateOkFollowsTheListInView)
{
    // Only outline templates: the page list in view is empty, so OK stays
    // off until the Outline tab shows.
    Add("Plan.kbf");
    TFromTemplate dialog;
    EXPECT_EQ(Captions(dialog.ListViewO), (std::vector<std::string>{"Plan"}));
    Run<TFromTemplate>(dialog, [](TFromTemplate& shown) {
        EXPECT_EQ(shown.Pages.ActivePage(), &shown.Page);
        EXPECT_FALSE(shown.OK.Enabled());
        shown.Pages.SetActivePage(&shown.Outline);
        EXPECT_TRUE(shown.OK.Enabled());
        shown.ListViewO.SetSelected(nullptr);
        EXPECT_FALSE(shown.OK.Enabled());
        shown.Pages.SetActivePage(&shown.Page);
        EXPECT_FALSE(shown.OK.Enabled());
        shown.Button2.Click();
    });
}

TEST_F(TemplateDialogs, FromTemplateReturnsTheNameAndTheKindOfTheTabItWasChosenOn)
{
    Add("Zeta.txt");
    Add("Same.txt");
    Add("Alpha.txt");
    Add("Same.kbf");
    Add("Journal.kbf");
    struct Case {
        bool outlineTab;
        int row;
        std::string name;
        TemplateKind kind;
    };
    for (const Case& c : {Case{false, 0, "Alpha", TemplateKind::Page}, Case{false, 1, "Same", TemplateKind::Page},
                          Case{true, 1, "Same", TemplateKind::Outline}, Case{true, 0, "Journal", TemplateKind::Outline}}) {
        TFromTemplate dialog;
        EXPECT_EQ(Captions(dialog.ListViewP), (std::vector<std::string>{"Alpha", "Same", "Zeta"}));
        EXPECT_EQ(Captions(dialog.ListViewO), (std::vector<std::string>{"Journal", "Same"}));
        EXPECT_EQ(ImageIndexes(dialog.ListViewP), (std::vector<int>{1, 1, 1}));
        EXPECT_EQ(ImageIndexes(dialog.ListViewO), (std::vector<int>{0, 0}));
        const int result = Run<TFromTemplate>(dialog, [&](TFromTemplate& shown) {
            EXPECT_EQ(shown.ListViewP.Selected(), shown.ListViewP.Item(0));
            EXPECT_EQ(shown.ListViewO.Selected(), shown.ListViewO.Item(0));
            if (c.outlineTab)
                shown.Pages.SetActivePage(&shown.Outline);
            TListView& list = c.outlineTab ? shown.ListViewO : shown.ListViewP;
            list.SetSelected(list.Item(c.row));
            shown.ListViewPDblClick();
        });
        EXPECT_EQ(result, mrOk);
        EXPECT_EQ(dialog.TemplateName(), c.name);
        EXPECT_EQ(dialog.ChosenKind(), c.kind) << c.name;
    }
}

TEST_F(TemplateDialogs, FromTemplateRemembersItsViewAndTabThroughTheRegistry)
{
    Add("Plan.kbf");
    {
        TFromTemplate dialog;
        Run<TFromTemplate>(dialog, [](TFromTemplate& shown) {
            EXPECT_TRUE(shown.Large.Down());
            shown.Small.Click();
            EXPECT_EQ(shown.ListViewP.ViewStyle(), TViewStyle::vsList);
            EXPECT_EQ(shown.ListViewO.ViewStyle(), TViewStyle::vsList);
            shown.Pages.SetActivePage(&shown.Outline);
            shown.Button2.Click();
        });
    }
    EXPECT_TRUE(DialogStates.FromTemplateList);
    EXPECT_TRUE(DialogStates.FromTemplateOutline);
    WriteDialogStates(DialogStates);
    ClearDialogStates(DialogStates);
    ASSERT_TRUE(ReadDialogStates(DialogStates));
    EXPECT_TRUE(DialogStates.FromTemplateList);
    EXPECT_TRUE(DialogStates.FromTemplateOutline);

    TFromTemplate dialog;
    Run<TFromTemplate>(dialog, [](TFromTemplate& shown) {
        EXPECT_TRUE(shown.Small.Down());
        EXPECT_EQ(shown.ListViewO.ViewStyle(), TViewStyle::vsList);
        EXPECT_EQ(shown.Pages.ActivePage(), &shown.Outline);
        EXPECT_TRUE(shown.OK.Enabled());
        shown.Large.Click();
        shown.Pages.SetActivePage(&shown.Page);
        shown.Button2.Click();
    });
    EXPECT_FALSE(DialogStates.FromTemplateList);
    EXPECT_FALSE(DialogStates.FromTemplateOutline);
}

TEST_F(TemplateDialogs, HelpButtonsOpenTheDialogsOwnPages)
{
    static const HMODULE fakeModule = reinterpret_cast<HMODULE>(static_cast<INT_PTR>(0x4000));
    HtmlHelpHooks hooks;
    hooks.loadLibrary = [] { return fakeModule; };
    hooks.findEntry = [](HMODULE) { return &RecordingHelpEntry; };
    hooks.freeLibrary = [](HMODULE) {};
    SetHtmlHelpHooks(hooks);
    helpAddresses.clear();
    {
        TNew newDialog;
        newDialog.BitBtn1Click();
        TFromTemplate fromTemplate;
        fromTemplate.BitBtn1Click();
    }
    SetHtmlHelpHooks({});
    EXPECT_EQ(helpAddresses, (std::vector<std::string>{"C:\\Quillo\\Quillo.chm::/html/tnew.htm>Topic",
                                                       "C:\\Quillo\\Quillo.chm::/html/tfromtemplate.htm>Topic"}));
}
TEST_F(TemplateDialogs, ShippedTemplatesLieWhereTheDefaultOptionLooksAndRead)
{
    TOptionSettings defaults;
    SetDefaultOptions(defaults, ExeFolder());
    const std::string shipped = defaults.TemplatesFolder;
    ASSERT_TRUE(fs::is_directory(shipped)) << shipped;

    std::vector<std::string> outlines = ListTemplates(shipped, TemplateKind::Outline);
    std::sort(outlines.begin(), outlines.end());
    EXPECT_EQ(outlines, (std::vector<std::string>{"Journal", "Project Plan", "Research Notebook"}));
    for (const std::string& name : outlines) {
        KbfOutline outline;
        ASSERT_EQ(ReadKbfBytes(ReadFile(TemplateFileOfKind(shipped, name, TemplateKind::Outline)), outline),
                  KbfReadResult::Ok)
            << name;
        EXPECT_EQ(outline.pages[0].title, name);
        EXPECT_GE(outline.pages.size(), 6u) << name;
        EXPECT_FALSE(outline.properties.Subject.empty()) << name;
    }

    std::vector<std::string> pages = ListTemplates(shipped, TemplateKind::Page);
    std::sort(pages.begin(), pages.end());
    EXPECT_EQ(pages, (std::vector<std::string>{"Book Notes", "Contact", "Meeting Notes", "To-Do List", "Weekly Review"}));
    for (const std::string& name : pages) {
        const std::string text = ReadFile(TemplateFileOfKind(shipped, name, TemplateKind::Page));
        EXPECT_GT(text.size(), 100u) << name;
        for (size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 1))
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << name << ": a line feed without CR at " << i;
    }

    OptionSettings.TemplatesFolder = shipped;
    TNew dialog;
    EXPECT_EQ(Captions(dialog.ListView),
              (std::vector<std::string>{"Blank Outline", "Journal", "Project Plan", "Research Notebook"}));
}
} // namespace

// ---- Templates into the open outline ------------------------------------------

namespace {
class TemplateCommands : public TemplateDialogs {
protected:
    void SetUp() override
    {
        TemplateDialogs::SetUp();
        Application.SetTitle("Untitled - Corvane Quillo");
        Application.CreateForm<TMain>();
        OptionSettings.TemplatesFolder = folder_.string();
        RecentFiles.Clear();
        OutlineProperties.FileChanged = 0;
        Main->bNewClick(nullptr);
    }
    void TearDown() override
    {
        Application.DestroyForms();
        Application.Initialize();
        RecentFiles.Clear();
        CurrentFileName = UntitledFileName;
        ParentOutlineFile.clear();
        ResetOutlineProperties(OutlineProperties);
        TemplateDialogs::TearDown();
    }

    TTreeView& Tree() { return *Main->Tree; }
    TTreeNode* Root() { return Tree().Items().GetFirstNode(); }

    TTreeNode* SelectNewPage(TTreeNode* parent, const std::string& title)
    {
        TTreeNode* node = Tree().Items().AddChild(parent, title);
        AttachNewPageData(node);
        node->SetStateIndex(1);
        Tree().SetSelected(node);
        Main->TreeClick();
        return node;
    }
};
}

TEST_F(TemplateCommands, ATextFileBecomesASelectedSubPageNamedAfterTheFile)
{
    Add("Call notes.txt", "first\nsecond\rthird\r\nfourth");
    TTreeNode* parent = SelectNewPage(Root(), "Calls");
    ASSERT_TRUE(ImportTextFile((folder_ / "Call notes.txt").string()));

    TTreeNode* page = Tree().Selected();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->Parent(), parent);
    EXPECT_EQ(page->Text(), "Call notes");
    EXPECT_EQ(PageDataOf(page)->BodyText(), "first\r\nsecond\r\nthird\r\nfourth");
    EXPECT_EQ(OutlineProperties.FileChanged, 1);
    EXPECT_TRUE(parent->Expanded());
    EXPECT_EQ(LastShownPage, page);
}

TEST_F(TemplateCommands, ATextFileThatCannotBeReadAddsNothing)
{
    TTreeNode* selected = SelectNewPage(Root(), "Calls");
    const int pages = Tree().Items().Count();
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    EXPECT_FALSE(ImportTextFile((folder_ / "Missing.txt").string()));
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Cannot open input file!"}));
    EXPECT_EQ(Tree().Items().Count(), pages);
    EXPECT_EQ(Tree().Selected(), selected);
    EXPECT_EQ(OutlineProperties.FileChanged, 0);
}

namespace {
// A small outline file: a root and the sub pages named, written by the
// program's own writer.
std::string OutlineBytes(const std::string& rootTitle, const std::vector<std::string>& children)
{
    KbfOutline outline;
    KbfPage root;
    root.title = rootTitle;
    root.body = rootTitle + " text";
    outline.pages.push_back(root);
    for (const std::string& title : children) {
        KbfPage page;
        page.title = title;
        page.body = title + " text";
        outline.pages.push_back(page);
    }
    TStringStream stream;
    WriteKbf(stream, outline, KbfStamp{"1 December 2026 09:00", "Tests"});
    return stream.DataString();
}

std::vector<std::string> RecentList()
{
    std::vector<std::string> list;
    for (int i = 0; i < RecentFiles.Count(); ++i)
        list.push_back(RecentFiles[i]);
    return list;
}

void ChooseNewRow(ModalScript& script, int row)
{
    script.Then<TNew>([row](TNew& shown) {
        shown.ListView.SetSelected(shown.ListView.Item(row));
        shown.OK.Click();
    });
}

void ChooseTemplate(ModalScript& script, bool outlineTab, const std::string& name)
{
    script.Then<TFromTemplate>([outlineTab, name](TFromTemplate& shown) {
        if (outlineTab)
            shown.Pages.SetActivePage(&shown.Outline);
        TListView& list = outlineTab ? shown.ListViewO : shown.ListViewP;
        list.SetSelected(list.FindCaption(name));
        shown.OK.Click();
    });
}
}

TEST_F(TemplateCommands, NewFromATemplateIsAnUnnamedCopyAndTheRecentListStaysAsItWas)
{
    Add("Plan.kbf", OutlineBytes("Plan root", {"Goals", "Tasks"}));
    const std::string templatePath = folder_.string() + "\\Plan.kbf";
    fs::create_directories(folder_ / "docs");
    const std::string other = (folder_ / "docs" / "Other.kbf").string();
    std::ofstream(other, std::ios::binary) << OutlineBytes("Other", {});

    for (const std::vector<std::string>& before : std::vector<std::vector<std::string>>{
             {}, {other}, {templatePath, other}, {other, templatePath}}) {
        Main->bNewClick(nullptr);
        RecentFiles.Clear();
        for (const std::string& path : before)
            RecentFiles.Add(path);
        ParentOutlineFile = "C:\\Notes\\Origin.kbf";
        ModalScript script;
        ChooseNewRow(script, 1);
        Main->mNewClick(nullptr);

        EXPECT_EQ(script.PendingSteps(), 0u);
        EXPECT_EQ(Root()->Text(), "Plan root");
        EXPECT_EQ(Root()->Count(), 2);
        EXPECT_EQ(CurrentFileName, "Untitled");
        EXPECT_EQ(Main->Caption(), "Untitled - Corvane Quillo");
        EXPECT_EQ(ParentOutlineFile, "");
        EXPECT_EQ(OutlineProperties.FileChanged, 0);
        EXPECT_EQ(RecentList(), before);
    }
}

TEST_F(TemplateCommands, NewAsksAboutChangesAndCancelOrBlankOutlineDoNoMore)
{
    Add("Plan.kbf", OutlineBytes("Plan root", {"Goals"}));
    const std::string mine = "C:\\Notes\\Mine.kbf";
    auto changeOutline = [&] {
        Main->bNewClick(nullptr);
        Root()->SetText("Mine");
        AddChildPage("Kept");
        CurrentFileName = mine;
        OutlineProperties.FileChanged = 1;
    };

    // Cancel in the dialog, and Cancel to the question: the outline stays
    // under its name.
    changeOutline();
    {
        ModalScript script;
        script.Then<TNew>([](TNew& shown) { shown.Button2.Click(); });
        Main->mNewClick(nullptr);
    }
    {
        ModalScript script;
        ChooseNewRow(script, 1);
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDCANCEL);
        Main->mNewClick(nullptr);
        EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{SaveBeforeOpenQuestion}));
    }
    EXPECT_EQ(Root()->Text(), "Mine");
    EXPECT_EQ(CurrentFileName, mine);
    EXPECT_EQ(OutlineProperties.FileChanged, 1);

    // No: the template opens, unnamed.
    {
        ModalScript script;
        ChooseNewRow(script, 1);
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDNO);
        Main->mNewClick(nullptr);
        EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{SaveBeforeOpenQuestion}));
    }
    EXPECT_EQ(Root()->Text(), "Plan root");
    EXPECT_EQ(CurrentFileName, "Untitled");

    // "Blank Outline": a new empty outline, after its own question.
    changeOutline();
    {
        ModalScript script;
        ChooseNewRow(script, 0);
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDNO);
        Main->mNewClick(nullptr);
        EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{SaveBeforeNewQuestion}));
    }
    EXPECT_EQ(Root()->Text(), "Untitled");
    EXPECT_EQ(Root()->Count(), 0);
    EXPECT_EQ(CurrentFileName, "Untitled");
}

TEST_F(TemplateCommands, InsertingAPageTemplateAddsASubPageAndStartsEditingItsTitle)
{
    Add("Meeting.txt", "Agenda\n1.\n");
    TTreeNode* calls = SelectNewPage(Root(), "Calls");
    ModalScript script;
    ChooseTemplate(script, false, "Meeting");
    Main->mFromTemplateClick(nullptr);

    TTreeNode* page = Tree().Selected();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->Parent(), calls);
    EXPECT_EQ(page->Text(), "Meeting");
    EXPECT_EQ(PageDataOf(page)->BodyText(), "Agenda\r\n1.\r\n");
    EXPECT_EQ(OutlineProperties.FileChanged, 1);
    EXPECT_TRUE(Tree().IsEditing());
    page->EndEdit(true);
}

TEST_F(TemplateCommands, InsertingAnOutlineTemplateAddsItsBranchEvenBesideAPageTemplateOfItsName)
{
    Add("Same.txt", "page template");
    Add("Same.kbf", OutlineBytes("Same root", {"One", "Two"}));
    Add("Leaf.kbf", OutlineBytes("Leaf root", {}));
    struct Case {
        std::string name;
        std::string title;
        int children;
    };
    for (const Case& c : {Case{"Same", "Same root", 2}, Case{"Leaf", "Leaf root", 0}}) {
        TTreeNode* target = SelectNewPage(Root(), "Target");
        OutlineProperties.FileChanged = 0;
        ModalScript script;
        ChooseTemplate(script, true, c.name);
        Main->mFromTemplateClick(nullptr);

        TTreeNode* top = Tree().Selected();
        ASSERT_NE(top, nullptr);
        EXPECT_EQ(top->Parent(), target);
        EXPECT_EQ(top->Text(), c.title);
        EXPECT_EQ(top->Count(), c.children);
        EXPECT_EQ(OutlineProperties.FileChanged, 1);
        // Only a page without sub pages gets its title edited at once.
        EXPECT_EQ(Tree().IsEditing(), c.children == 0) << c.name;
        if (Tree().IsEditing())
            top->EndEdit(true);
    }

    TTreeNode* target = SelectNewPage(Root(), "Untouched");
    const int pages = Tree().Items().Count();
    OutlineProperties.FileChanged = 0;
    ModalScript script;
    script.Then<TFromTemplate>([](TFromTemplate& shown) { shown.Button2.Click(); });
    Main->mFromTemplateClick(nullptr);
    EXPECT_EQ(Tree().Items().Count(), pages);
    EXPECT_EQ(Tree().Selected(), target);
    EXPECT_EQ(OutlineProperties.FileChanged, 0);
    EXPECT_FALSE(Tree().IsEditing());
}
