// Which outline the main window starts with: the command line's, the last
// one or the chosen one of the user settings, or none; and the steps of the
// start that follow it.
#include "ExportProfiles.h"
#include "HtmlHelp.h"
#include "KbfFormat.h"
#include "PageData.h"
#include "Pages.h"
#include "ProgramFolder.h"
#include "ScriptedMessageBoxes.h"
#include "Splash.h"
#include "StartedMain.h"
#include "Streams.h"
#include "TreeView.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <sstream>

namespace {

// A small outline: a root page and the given pages below it.
void WriteOutline(const std::string& path, const std::string& rootTitle, const std::vector<std::string>& titles)
{
    KbfOutline outline;
    KbfPage root;
    root.title = rootTitle;
    outline.pages.push_back(root);
    for (const std::string& title : titles) {
        KbfPage page;
        page.title = title;
        page.body = "Text of " + title;
        outline.pages.push_back(page);
    }
    TFileStream file(path, fmCreate | fmShareExclusive);
    WriteKbf(file, outline, KbfStamp{"1 January 2026 12:00", "Test"});
}

std::vector<std::string> SplitAtBlanks(const std::string& text)
{
    std::vector<std::string> parts;
    std::istringstream words(text);
    for (std::string word; words >> word;)
        parts.push_back(word);
    return parts;
}

class StartUp : public StartedMain {
protected:
    std::string RootTitle() const { return Main->Tree->Items().GetFirstNode()->Text(); }
    int PageCount() const { return Main->Tree->Items().Count(); }

    // The outline the start left open: untitled, or the file's.
    void ExpectUntitled()
    {
        EXPECT_EQ(CurrentFileName, "Untitled");
        EXPECT_EQ(RootTitle(), "Untitled");
        EXPECT_EQ(PageCount(), 1);
        EXPECT_EQ(Main->Caption(), "Untitled - Corvane Quillo");
    }
    void ExpectOpened(const std::string& path, const std::string& title)
    {
        EXPECT_EQ(CurrentFileName, path);
        EXPECT_EQ(RootTitle(), "Top");
        EXPECT_EQ(PageCount(), 3);
        const std::string caption = title + " - Corvane Quillo";
        EXPECT_EQ(Main->Caption(), caption);
        EXPECT_EQ(Application.Title(), caption);
        EXPECT_EQ(Main->Tray.Hint(), caption);
    }
};

} // namespace

TEST_F(StartUp, SlashMOpensNothingEvenWhenTheSettingsNameALastOutline)
{
    WriteOutline(PathOf("Last.kbf"), "Top", {"One", "Two"});
    user.Startup = true;
    user.UseLast = true;
    user.LastDb = PathOf("Last.kbf");
    Start({"/m", PathOf("Last.kbf")});
    ExpectUntitled();
    // Nothing was opened, so nothing went into the history either.
    EXPECT_EQ(PageHistory.Count(), 0);
}

TEST_F(StartUp, TheJoiningStopsAtTheFirstTextThatNamesAFile)
{
    const std::string path = PathOf("my outline.kbf");
    WriteOutline(path, "Top", {"One", "Two"});
    std::vector<std::string> arguments = SplitAtBlanks(path);
    arguments.push_back("left-over");
    Start(arguments);
    ExpectOpened(path, "my outline");
}

TEST_F(StartUp, APathGivenInPiecesOpensThatOutlineAndJoinsTheRecentList)
{
    const std::string path = PathOf("my outline.kbf");
    WriteOutline(path, "Top", {"One", "Two"});
    Start(SplitAtBlanks(path));
    ExpectOpened(path, "my outline");
    ASSERT_EQ(RecentFiles.Count(), 1);
    EXPECT_EQ(RecentFiles[0], path);
    // The start shows the selected page and begins the history with it.
    ASSERT_EQ(PageHistory.Count(), 1);
    EXPECT_EQ(PageHistory.Entry(0), Main->Tree->Selected());
}

TEST_F(StartUp, WithoutArgumentsTheUserSettingsChoose)
{
    struct Case {
        const char* name;
        bool startup;
        bool useLast;
        const char* lastDb;     // in the test folder, or "Untitled"
        const char* customFile; // in the test folder
        const char* opened;     // null: the untitled outline stays
    };
    const Case cases[] = {
        {"the last outline", true, true, "Last.kbf", "Custom.kbf", "Last.kbf"},
        {"the chosen outline", true, false, "Last.kbf", "Custom.kbf", "Custom.kbf"},
        {"no start-up outline", false, true, "Last.kbf", "Custom.kbf", nullptr},
        {"a last outline that has gone", true, true, "Gone.kbf", "Custom.kbf", nullptr},
        {"a chosen outline that has gone", true, false, "Last.kbf", "Gone.kbf", nullptr},
        {"an untitled last outline", true, true, "Untitled", "Custom.kbf", nullptr},
    };
    WriteOutline(PathOf("Last.kbf"), "Top", {"One", "Two"});
    WriteOutline(PathOf("Custom.kbf"), "Top", {"Three", "Four"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        user.Startup = c.startup;
        user.UseLast = c.useLast;
        user.LastDb = std::string(c.lastDb) == "Untitled" ? "Untitled" : PathOf(c.lastDb);
        user.CustomFile = PathOf(c.customFile);
        Start({});
        if (c.opened) {
            const std::string path = PathOf(c.opened);
            ExpectOpened(path, std::string(c.opened).substr(0, std::string(c.opened).size() - 4));
        } else {
            ExpectUntitled();
        }
        // Only the command line adds to the recent list.
        EXPECT_EQ(RecentFiles.Count(), 0);
        Application.DestroyForms();
        Application.Initialize();
        Application.SetTitle("Untitled - Corvane Quillo");
        CurrentFileName = UntitledFileName;
        ClearHistory();
    }
}

TEST_F(StartUp, ADamagedStartUpOutlineIsReportedAndANewOutlineTakesItsPlace)
{
    {
        std::ofstream file(PathOf("Damaged.kbf"), std::ios::binary);
        file << "this is no outline";
    }
    user.Startup = true;
    user.UseLast = true;
    user.LastDb = PathOf("Damaged.kbf");
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    Start({});
    EXPECT_EQ(boxes.Shown().size(), 1u);
    ExpectUntitled();
    EXPECT_EQ(OutlineProperties.FileChanged, 0);
}

TEST_F(StartUp, UpperCaseSlashMIsAFileName)
{
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    Start({"/M"});
    // The reader could not open "/M" and said so; a new outline is open.
    EXPECT_EQ(boxes.Shown().size(), 1u);
    ExpectUntitled();
}

namespace {
struct HelpCalls {
    static inline std::vector<std::pair<std::string, UINT>> calls;
    static HWND WINAPI Viewer(HWND, LPCSTR file, UINT command, DWORD_PTR)
    {
        calls.emplace_back(file ? file : "", command);
        return nullptr;
    }
    HelpCalls()
    {
        calls.clear();
        HtmlHelpHooks hooks;
        hooks.loadLibrary = [] { return GetModuleHandleA(nullptr); };
        hooks.findEntry = [](HMODULE) { return &HelpCalls::Viewer; };
        hooks.freeLibrary = [](HMODULE) {};
        SetHtmlHelpHooks(hooks);
    }
    ~HelpCalls() { SetHtmlHelpHooks({}); }
};
} // namespace

TEST_F(StartUp, TheFirstUseShowsTheHelpContentsOnce)
{
    HelpCalls help;
    options.FirstUse = true;
    Start({"/m"});
    ASSERT_EQ(HelpCalls::calls.size(), 1u);
    EXPECT_EQ(HelpCalls::calls[0].first, ExeFolder() + "Quillo.chm");
    EXPECT_EQ(HelpCalls::calls[0].second, HelpDisplayContents);
    EXPECT_FALSE(OptionSettings.FirstUse);
    // Kept in memory; the next settings save stores it.
    EXPECT_EQ(StoredNumber("Options", "FirstUse"), 1);
}

TEST_F(StartUp, TheStartMakesTheExportProfilesAndClosesTheSplash)
{
    HelpCalls help;
    ShowSplash();
    ASSERT_NE(Splash, nullptr);
    Start({"/m"});
    EXPECT_EQ(Splash, nullptr);
    EXPECT_TRUE(HelpCalls::calls.empty());
    ASSERT_NE(Main->FExportProfiles, nullptr);
    EXPECT_EQ(Main->FExportProfiles->Current()->Name, "Default");
    EXPECT_TRUE(RawKeyExists(base_ + "\\ExportProfiles"));
    EXPECT_EQ(Application.HelpFile(), ExeFolder() + "Quillo.chm");
}

namespace {
// The page a "file::" link names, walking the titles from the root with
// their blanks written as "_"; null when there is none.
TTreeNode* PageOfAbsoluteLink(TTreeNode* root, const std::string& link)
{
    const auto linkName = [](std::string title) {
        for (char& c : title)
            if (c == ' ')
                c = '_';
        return title;
    };
    std::vector<std::string> names;
    std::string rest = link.substr(std::string("file::").size());
    for (std::size_t at; (at = rest.find("\\\\")) != std::string::npos; rest.erase(0, at + 2))
        names.push_back(rest.substr(0, at));
    names.push_back(rest);
    if (names.front() != linkName(root->Text()))
        return nullptr;
    TTreeNode* page = root;
    for (std::size_t i = 1; i < names.size() && page; ++i) {
        TTreeNode* child = page->getFirstChild();
        while (child && linkName(child->Text()) != names[i])
            child = child->getNextSibling();
        page = child;
    }
    return page;
}
} // namespace

TEST_F(StartUp, ANewUserStartsWithTheTutorialBesideTheProgram)
{
    // The settings of a first run: the defaults, the tutorial as last outline.
    for (const char* key : {"User", "Options", "Reopen"})
        ASSERT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, (base_ + "\\" + key).c_str()), ERROR_SUCCESS);
    SetDefaultOptions(OptionSettings, ExeFolder());
    OptionSettings.FirstUse = false;
    SetDefaultUserSettings(UserSettings, ExeFolder());
    SetCommandLineArguments(std::vector<std::string>{});
    Application.CreateForm<TMain>();

    const std::string tutorial = ExeFolder() + "Quillo Tutorial.kbf";
    EXPECT_EQ(CurrentFileName, tutorial);
    EXPECT_EQ(Main->Caption(), "Quillo Tutorial - Corvane Quillo");
    TTreeNode* root = Main->Tree->Items().GetFirstNode();
    EXPECT_EQ(root->Text(), "Quillo Tutorial");
    EXPECT_GE(Main->Tree->Items().Count(), 20);
    // Every page has something to say, and every page link leads somewhere.
    int links = 0;
    for (TTreeNode* page = root; page; page = page->GetNext()) {
        SCOPED_TRACE(page->Text());
        const std::string body = PageDataOf(page)->BodyText();
        if (page->Level() > 0 && !page->HasChildren()) {
            EXPECT_FALSE(body.empty());
        }
        for (std::size_t at = body.find("file::"); at != std::string::npos; at = body.find("file::", at + 1)) {
            // The text may also name the prefix alone, as in ("file::").
            if (at + 6 >= body.size() || !std::isalnum(static_cast<unsigned char>(body[at + 6])))
                continue;
            const std::size_t end = body.find_first_of(" \r\n", at);
            const std::string link = body.substr(at, end == std::string::npos ? std::string::npos : end - at);
            EXPECT_NE(PageOfAbsoluteLink(root, link), nullptr) << link;
            ++links;
        }
    }
    EXPECT_GE(links, 1);
}
