// The exports from the main window, and the state pictures they copy.

#include "Application.h"
#include "ExtCtrls.h"
#include "ModelessWindows.h"
#include "PageTreeTest.h"
#include "ProgramFolder.h"
#include "StatusBar.h"
#include "TestFolder.h"
#include "WindowExports.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A modeless window that, when it gets WM_APP in the middle of an export,
// notes what the program looks like and tries what the tray menu offers.
class ExportWitness : public TForm {
public:
    ExportWitness() { CreateHandle(CreateParams{"Find"}); }

    bool asked = false;
    bool selfEnabled = true;
    bool mainEnabled = true;
    std::string status;
    int barPosition = -1;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_APP)
            return TForm::WndProc(message, wParam, lParam);
        asked = true;
        selfEnabled = IsWindowEnabled(Handle());
        mainEnabled = IsWindowEnabled(Main->Handle());
        status = Main->StatusBar->Panel(0).Text();
        barPosition = Main->FProgressBar ? Main->FProgressBar->Position() : -1;
        Main->mOptionsClick(nullptr);
        Main->mExitClick(nullptr);
        return 0;
    }
};

class WindowExport : public PageTreeTest {
protected:
    void TearDown() override
    {
        FindR.reset();
        PageTreeTest::TearDown();
    }
};

TEST_F(WindowExport, ALargeExportShowsItsProgressAndHoldsOffTheOtherWindowsUntilItEnds)
{
    Build("A(A1,A2),B");
    for (int i = 0; i < 3000; ++i)
        AttachNewPageData(Tree().Items().AddChild(N("B"), "page " + std::to_string(i)), "text");
    auto witness = std::make_unique<ExportWitness>();
    witness->Show();
    ExportWitness& seen = *witness;
    FindR = std::move(witness);
    PostMessageA(seen.Handle(), WM_APP, 0, 0);

    ExportProfile profile("Default");
    const std::string page = ExportWindowOutlineHtml(profile, folder_ / "page.htm");

    ASSERT_TRUE(seen.asked);
    EXPECT_FALSE(seen.selfEnabled);
    EXPECT_FALSE(seen.mainEnabled);
    EXPECT_EQ(seen.status, "Quillo is exporting: ");
    EXPECT_GE(seen.barPosition, 0);
    // Neither Options nor Exit acted: no dialog, and the window lives on.
    EXPECT_EQ(Application.ModalForm(), nullptr);
    EXPECT_FALSE(Application.Terminated());
    EXPECT_TRUE(IsWindowVisible(Main->Handle()));
    EXPECT_TRUE(IsWindowEnabled(Main->Handle()));
    EXPECT_TRUE(IsWindowEnabled(seen.Handle()));
    EXPECT_EQ(Main->StatusBar->Panel(0).Text(), "Ready");
    EXPECT_FALSE(WindowWorkRunning());
    EXPECT_NE(page.find("<H4>page 2999</H4>"), std::string::npos);
}

TEST_F(WindowExport, TextOfTheSelectedBranchWithTheProgressEndedAfterwards)
{
    Build("A(A1,A2),B");
    Select(N("A"));
    ExportProfile profile("Default");
    profile.Settings.ExportSource = 1;
    profile.Settings.LineAfterTitle = false;
    profile.Settings.LineAfterText = false;
    EXPECT_EQ(ExportWindowOutlineText(profile).GetText(),
              "A\r\nA text\r\n\tA1\r\n\tA1 text\r\n\tA2\r\n\tA2 text\r\n");
    EXPECT_TRUE(IsWindowEnabled(Main->Handle()));
    EXPECT_EQ(Main->StatusBar->Panel(0).Text(), "Ready");
}

TEST_F(WindowExport, ACloseWhileNoExportRunsIsNotRefusedByIt)
{
    EXPECT_FALSE(WindowWorkRunning());
    {
        TWindowExportProgress progress;
        EXPECT_TRUE(WindowWorkRunning());
        bool canClose = true;
        Main->FormCloseQuery(canClose);
        EXPECT_FALSE(canClose);
    }
    EXPECT_FALSE(WindowWorkRunning());
}

class StateImages : public ::testing::Test {
protected:
    std::string Copy(int state, bool supportFolder, const std::string& programFolder = ExeFolder())
    {
        options.SupportFolder = supportFolder;
        list.OutputFile = folder / "page.htm";
        WebPageExport web{list, settings, options, programFolder};
        web.CopyPicture = CopyStatePicture;
        return CopyStateImage(web, state);
    }

    TestFolder folder;
    ExportProfileList list;
    ExportSettings settings;
    TOptionSettings options;
};

TEST_F(StateImages, TheShippedPicturesAreTheFourteenGifsBesideTheProgram)
{
    const std::string images = ExeFolder() + ExportImagesFolder;
    EXPECT_EQ(FilesIn(images).size(), 14u);
    for (const char* name : {"Done", "White", "Question", "Reminder", "PunchPin", "Dollar", "Idea", "Red", "Green",
                             "Yellow", "Cyan", "Magenta", "Blue", "Gray"}) {
        const std::string bytes = ReadFileBytes(images + "\\" + name + ".gif");
        EXPECT_EQ(bytes.substr(0, 6), "GIF89a") << name;
        EXPECT_EQ(bytes.back(), ';') << name;
    }
}

TEST_F(StateImages, WithASupportFolderThePictureGoesIntoTheFolderNamedAfterThePage)
{
    EXPECT_EQ(Copy(2, true), "page\\Done.gif");
    EXPECT_EQ(ReadFileBytes(folder / "page\\Done.gif"), ReadFileBytes(ExeFolder() + "Export images\\Done.gif"));
    EXPECT_EQ(Copy(15, true), "page\\Gray.gif");
    EXPECT_EQ(FilesIn(folder / "page").size(), 2u);
}

TEST_F(StateImages, WithoutOneThePictureLiesBesideThePage)
{
    EXPECT_EQ(Copy(3, false), "White.gif");
    EXPECT_EQ(ReadFileBytes(folder / "White.gif"), ReadFileBytes(ExeFolder() + "Export images\\White.gif"));
}

TEST_F(StateImages, NoneAndNumbersWithoutAPictureGiveNothing)
{
    for (const int state : {1, 0, 16, 20, -1})
        EXPECT_EQ(Copy(state, true), "") << state;
    EXPECT_TRUE(FilesIn(folder.Path()).empty());
}

TEST_F(StateImages, AMissingPictureKeepsItsReferenceAndIsNotReported)
{
    EXPECT_EQ(Copy(4, false, folder.Path()), "Question.gif");
    EXPECT_TRUE(FilesIn(folder.Path()).empty());
}
}
