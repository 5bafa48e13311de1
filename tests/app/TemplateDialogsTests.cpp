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
        OutlineProperties.FileChanged = 0;
    }
    void TearDown() override
    {
        Application.DestroyForms();
        Application.Initialize();
        OutlineProperties.FileChanged = 0;
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
