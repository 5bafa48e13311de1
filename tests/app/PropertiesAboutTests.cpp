// File > Properties, Help > About and the web page, and the tray's way back
// to the window, in the real main window.
#include "AboutDialog.h"
#include "MainWindowTest.h"
#include "ModalScript.h"
#include "PageData.h"
#include "ShellOpen.h"
#include "StatusBar.h"
#include "SummaryDialog.h"

#include <string>
#include <vector>

class PropertiesAbout : public MainWindowTest {
protected:
    // Runs a command whose modal dialog of class Form is driven by step.
    template <class Form>
    void Run(const char* handler, std::function<void(Form&)> step)
    {
        ModalScript script;
        script.Then<Form>(std::move(step));
        Main->RunHandler(handler, nullptr);
        EXPECT_EQ(script.PendingSteps(), 0u);
        EXPECT_EQ(script.Shown().size(), 1u);
    }
};

TEST_F(PropertiesAbout, AnUnsavedOutlineShowsUntitledUnsavedAndCountsEveryPage)
{
    TTreeNode* child = Tree().Items().AddChild(Root(), "Child");
    child->SetData(new PageData);
    // Folded: the count comes from the pages, not from what the tree shows.
    Root()->Collapse(false);
    UserSettings.Name = "Ann";
    Run<TSummery>("mSummeryClick", [](TSummery& d) {
        EXPECT_EQ(d.Db.Caption(), "Untitled");
        EXPECT_EQ(d.Author.Caption(), "Ann");
        EXPECT_EQ(d.Path.Caption(), "Unsaved");
        EXPECT_EQ(d.Total.Caption(), "2");
        EXPECT_EQ(d.Revisions.Caption(), "0");
        EXPECT_EQ(d.SubjectEdit.Text(), "None");
        EXPECT_EQ(d.ActiveControl(), &d.SubjectEdit);
        d.SubjectEdit.SetSelStart(2);
        d.SubjectEditClick();
        EXPECT_EQ(d.SubjectEdit.SelLength(), 4);
        d.DescriptionEdit.SetSelStart(1);
        d.DescriptionEditMouseDown();
        EXPECT_EQ(d.DescriptionEdit.SelLength(), 4);
        d.Cancel.Click();
    });
    EXPECT_EQ(OutlineProperties.Subject, "None");
    EXPECT_EQ(OutlineProperties.FileChanged, 0);
}

TEST_F(PropertiesAbout, OkStoresTheMemoAsItStandsAndMarksTheOutlineChanged)
{
    OutlineProperties.Description = "first\nsecond";
    Run<TSummery>("mSummeryClick", [](TSummery& d) {
        EXPECT_EQ(d.DescriptionEdit.Text(), "first\r\nsecond");
        d.OK.Click();
    });
    EXPECT_EQ(OutlineProperties.Description, "first\r\nsecond");
    EXPECT_EQ(OutlineProperties.FileChanged, 1);

    OutlineProperties.FileChanged = 0;
    Run<TSummery>("mSummeryClick", [](TSummery& d) {
        d.SubjectEdit.SetText("Plans");
        d.DescriptionEdit.SetText("one\r\ntwo");
        d.OK.Click();
    });
    EXPECT_EQ(OutlineProperties.Subject, "Plans");
    EXPECT_EQ(OutlineProperties.Description, "one\r\ntwo");
    EXPECT_EQ(OutlineProperties.FileChanged, 1);
}

TEST_F(PropertiesAbout, CancelChangesNothingAndALongPathIsShortenedOnScreenOnly)
{
    const std::string path = "C:\\a very long folder name\\another very long folder name\\yet another folder\\"
                             "and one more folder name\\Plans.kbf";
    CurrentFileName = path;
    Run<TSummery>("mSummeryClick", [&](TSummery& d) {
        EXPECT_EQ(d.Db.Caption(), "Plans");
        EXPECT_EQ(d.Path.Caption(), path);
        EXPECT_TRUE(GetWindowLongA(d.Path.Handle(), GWL_STYLE) & SS_PATHELLIPSIS);
        d.SubjectEdit.SetText("changed");
        d.Cancel.Click();
    });
    EXPECT_EQ(OutlineProperties.Path, path);
    EXPECT_EQ(OutlineProperties.Subject, "None");
    EXPECT_EQ(OutlineProperties.FileChanged, 0);
}

TEST_F(PropertiesAbout, AboutOpensOnceAndTheWebCommandReachesTheShell)
{
    Run<TAboutDlg>("mAboutClick", [](TAboutDlg& d) {
        EXPECT_EQ(d.Caption(), "About Corvane Quillo");
        EXPECT_EQ(d.Label2.Caption(), "Corvane Quillo");
        Main->RunHandler("mAboutClick", nullptr);
        d.OK.Click();
    });
    std::vector<std::string> opened;
    SetShellOpenHandler([&](const std::string& target) {
        opened.push_back(target);
        return true;
    });
    Main->RunHandler("mWebClick", nullptr);
    SetShellOpenHandler(nullptr);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].rfind("https://", 0), 0u);
}

TEST_F(PropertiesAbout, TheTrayBringsBackAHiddenOrMinimisedWindow)
{
    ShowWindow(Main->Handle(), SW_HIDE);
    Main->RunHandler("ptOpenClick", nullptr);
    EXPECT_TRUE(IsWindowVisible(Main->Handle()));
    Application.Minimize();
    Main->RunHandler("TrayLButtonUp", nullptr);
    EXPECT_FALSE(IsIconic(Main->Handle()));
    EXPECT_FALSE(Application.Minimized());

    ASSERT_TRUE(Main->StatusBar->OnDblClick);
    Main->StatusBar->OnDblClick();
    EXPECT_TRUE(Main->HasHandler("StatusBarDblClick"));
}
