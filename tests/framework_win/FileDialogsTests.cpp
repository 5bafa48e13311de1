#include "AnsiStrings.h"
#include "Application.h"
#include "FileDialogs.h"
#include "ScriptedFileDialogs.h"
#include "Timer.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

TEST(FileDialogFilter, BarsBecomeNulsAndEndWithAnExtraNul)
{
    EXPECT_EQ(ConvertFileFilter("Quillo Outline(*.kbf)|*.kbf|Any File(*.*)|*.*"),
              "Quillo Outline(*.kbf)\0*.kbf\0Any File(*.*)\0*.*\0\0"s);
    EXPECT_EQ(ConvertFileFilter("All Supported Outline Files(*.kbf; *.ao; *.hjt)|*.kbf;*.ao;*.hjt|"
                                "Quillo Outline File(*.kbf)|*.kbf|Backup File(*.bak)|*.bak"),
              "All Supported Outline Files(*.kbf; *.ao; *.hjt)\0*.kbf;*.ao;*.hjt\0"
              "Quillo Outline File(*.kbf)\0*.kbf\0Backup File(*.bak)\0*.bak\0\0"s);
}

TEST(FileDialogFilter, BlanksAndATrailingSemicolonLeaveThePatternsButNotTheDescriptions)
{
    EXPECT_EQ(ConvertFileFilter("Any Supported File Types(*.txt; *.rtf;*.kbf)|*.txt; *.rtf; *.kbf;|"
                                "Text File(*.txt)|*.txt|Rich Text Format File(*.rtf)|*.rtf|"
                                "Quillo Knowledge Base Format(*.kbf)|*.kbf|Any File(*.*)|*.*"),
              "Any Supported File Types(*.txt; *.rtf;*.kbf)\0*.txt;*.rtf;*.kbf\0"
              "Text File(*.txt)\0*.txt\0Rich Text Format File(*.rtf)\0*.rtf\0"
              "Quillo Knowledge Base Format(*.kbf)\0*.kbf\0Any File(*.*)\0*.*\0\0"s);
    EXPECT_EQ(ConvertFileFilter(" Text ( *.txt )| *.txt ; ; *.log "), " Text ( *.txt )\0*.txt;*.log\0\0"s);
}

TEST(FileDialogFilter, ADescriptionWithoutPatternsGetsEmptyOnes)
{
    EXPECT_EQ(ConvertFileFilter("Text File(*.txt)"), "Text File(*.txt)\0\0\0"s);
}

TEST(FileDialogOptions, OptionsMapToTheSystemFlags)
{
    TOpenDialog open;
    open.Options = ofHideReadOnly | ofNoChangeDir | ofFileMustExist | ofEnableSizing;
    EXPECT_EQ(open.SystemFlags(),
              static_cast<DWORD>(OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_FILEMUSTEXIST |
                                 OFN_ENABLESIZING));
    TSaveDialog save;
    save.Options = ofOverwritePrompt | ofHideReadOnly | ofPathMustExist;
    EXPECT_EQ(save.SystemFlags(),
              static_cast<DWORD>(OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST));
    EXPECT_EQ(save.Kind(), TFileDialogKind::fdSave);
    EXPECT_EQ(open.Kind(), TFileDialogKind::fdOpen);

    TFontDialog font;
    font.Options = fdAnsiOnly | fdLimitSize;
    EXPECT_EQ(font.SystemFlags() & (CF_ANSIONLY | CF_LIMITSIZE | CF_EFFECTS),
              static_cast<DWORD>(CF_ANSIONLY | CF_LIMITSIZE));
}

TEST(FileDialogScript, AnswersComeFromTheScriptAndRequestsAreRecorded)
{
    ScriptedFileDialogs dialogs;
    dialogs.Choose("C:\\outlines\\Plans.kbf", 2);
    dialogs.Cancel();
    dialogs.Choose("C:\\outlines\\Copy.kbf");

    TOpenDialog open;
    open.Title = "Open File";
    open.Filter = "All Supported Outline Files(*.kbf; *.ao; *.hjt)|*.kbf;*.ao;*.hjt|Quillo Outline File(*.kbf)|*.kbf";
    open.InitialDir = "C:\\outlines";
    open.Options = ofHideReadOnly | ofNoChangeDir | ofFileMustExist | ofEnableSizing;
    ASSERT_TRUE(open.Execute());
    EXPECT_EQ(open.FileName, "C:\\outlines\\Plans.kbf");
    EXPECT_EQ(open.FilterIndex, 2);

    EXPECT_FALSE(open.Execute());
    EXPECT_EQ(open.FileName, "C:\\outlines\\Plans.kbf");

    TSaveDialog save;
    save.Title = "Save File As";
    save.DefaultExt = "kbf";
    save.FileName = "Untitled";
    ASSERT_TRUE(save.Execute());
    EXPECT_EQ(save.FileName, "C:\\outlines\\Copy.kbf");
    EXPECT_EQ(save.FilterIndex, 1);

    const auto& requests = dialogs.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].kind, ScriptedFileDialogs::Request::Kind::Open);
    EXPECT_EQ(requests[0].title, "Open File");
    EXPECT_EQ(requests[0].initialDir, "C:\\outlines");
    EXPECT_EQ(requests[0].filter, open.Filter);
    EXPECT_EQ(requests[0].options, ofHideReadOnly | ofNoChangeDir | ofFileMustExist | ofEnableSizing);
    EXPECT_EQ(requests[1].fileName, "C:\\outlines\\Plans.kbf");
    EXPECT_EQ(requests[2].kind, ScriptedFileDialogs::Request::Kind::Save);
    EXPECT_EQ(requests[2].defaultExt, "kbf");
    EXPECT_EQ(requests[2].fileName, "Untitled");
}

TEST(FileDialogScript, TheFontDialogAnswersWithAFont)
{
    ScriptedFileDialogs dialogs;
    dialogs.ChooseFont("Arial", 12, fsBold | fsItalic);
    TFontDialog font;
    font.FontName = "MS Sans Serif";
    font.FontSize = 8;
    font.Options = fdAnsiOnly | fdLimitSize;
    font.MinFontSize = 4;
    font.MaxFontSize = 30;
    ASSERT_TRUE(font.Execute());
    EXPECT_EQ(font.FontName, "Arial");
    EXPECT_EQ(font.FontSize, 12);
    EXPECT_EQ(font.FontStyle, fsBold | fsItalic);
    ASSERT_EQ(dialogs.Requests().size(), 1u);
    EXPECT_EQ(dialogs.Requests()[0].kind, ScriptedFileDialogs::Request::Kind::Font);
    EXPECT_EQ(dialogs.Requests()[0].fontName, "MS Sans Serif");
    EXPECT_EQ(dialogs.Requests()[0].fontSize, 8);
}

TEST(FileDialogScript, AnUnexpectedDialogFailsTheTestAndIsCancelled)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedFileDialogs dialogs;
            TOpenDialog open;
            open.Title = "Insert File";
            EXPECT_FALSE(open.Execute());
        },
        "Unexpected open dialog: \"Insert File\"");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedFileDialogs dialogs;
            dialogs.ChooseFont("Arial", 10);
            TSaveDialog save;
            EXPECT_FALSE(save.Execute());
        },
        "a save dialog was shown");
    EXPECT_NONFATAL_FAILURE({ ScriptedFileDialogs dialogs; dialogs.Cancel(); }, "never asked for");
}

namespace {
// Answers the real dialog whose title is given, from inside its modal loop.
class DialogAnswerer {
public:
    DialogAnswerer(const char* title, WPARAM command) : title_(title), command_(command)
    {
        timer_.OnTimer = [this](TComponent*) {
            if (HWND dialog = FindWindowA(nullptr, title_)) {
                PostMessageA(dialog, WM_COMMAND, command_, 0);
                timer_.SetEnabled(false);
                answered = true;
            }
        };
        timer_.SetInterval(50);
    }
    bool answered = false;

private:
    const char* title_;
    WPARAM command_;
    TTimer timer_;
};

std::string TempFolder()
{
    char path[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, path);
    return path;
}
}

TEST(FileDialogSystem, TheRealOpenDialogCanBeCancelled)
{
    Application.Initialize();
    DialogAnswerer answerer("Quillo test open", IDCANCEL);
    TOpenDialog open;
    open.Title = "Quillo test open";
    open.Filter = "Any Supported File Types(*.txt; *.rtf;*.kbf)|*.txt; *.rtf; *.kbf;|Any File(*.*)|*.*";
    open.InitialDir = TempFolder();
    open.FileName = "kept.kbf";
    EXPECT_FALSE(open.Execute());
    EXPECT_TRUE(answerer.answered);
    EXPECT_EQ(open.FileName, "kept.kbf");
}

TEST(FileDialogSystem, AProposedNameTheDialogCannotUseStillOpensIt)
{
    Application.Initialize();
    DialogAnswerer answerer("Quillo test bad name", IDCANCEL);
    TOpenDialog open;
    open.Title = "Quillo test bad name";
    open.InitialDir = TempFolder();
    open.FileName = std::string(300, 'x') + "<>|\"";
    EXPECT_FALSE(open.Execute());
    EXPECT_TRUE(answerer.answered);
}

TEST(FileDialogSystem, TheRealSaveDialogReturnsTheNameAndFilterChosen)
{
    Application.Initialize();
    const std::string folder = TempFolder();
    const std::string path = folder + "quillo-dialog-test.kbf";
    DeleteFileA(path.c_str());
    DialogAnswerer answerer("Quillo test save", IDOK);
    TSaveDialog save;
    save.Title = "Quillo test save";
    save.Filter = "Quillo Outline(*.kbf)|*.kbf|Any File(*.*)|*.*";
    save.FilterIndex = 2;
    save.DefaultExt = "kbf";
    save.InitialDir = folder;
    save.FileName = path;
    save.Options = ofOverwritePrompt | ofHideReadOnly | ofEnableSizing;
    ASSERT_TRUE(save.Execute());
    EXPECT_TRUE(answerer.answered);
    EXPECT_TRUE(SameText(ExtractFileName(save.FileName), "quillo-dialog-test.kbf")) << save.FileName;
    EXPECT_EQ(save.FilterIndex, 2);
}
