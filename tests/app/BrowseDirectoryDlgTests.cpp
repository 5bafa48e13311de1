// The folder picker: its tables and status fitting without a window, then
// the shell's real browser, closed from its own initialisation.
#include "BrowseDirectoryDlg.h"

#include "TestFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {
// Twice the characters, a dot counting half: every shortening step narrows it.
int HalfDots(const std::string& text)
{
    return static_cast<int>(2 * text.size()) - static_cast<int>(std::count(text.begin(), text.end(), '.'));
}

int Characters(const std::string& text) { return static_cast<int>(text.size()); }

void PressButton(HWND window, int id) { PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

// Ends a browser that never reports what the test waits for, so that the
// test fails instead of hanging.
void CALLBACK CancelBrowser(HWND window, UINT, UINT_PTR, DWORD) { PressButton(window, IDCANCEL); }
void CancelBrowserIfStillOpenAfter(HWND window, UINT milliseconds) { SetTimer(window, 1, milliseconds, CancelBrowser); }

std::string StatusLine(HWND window)
{
    char text[1024] = "";
    GetWindowTextA(GetDlgItem(window, BrowseStatusControlId), text, sizeof text);
    return text;
}
} // namespace

TEST(FolderPicker, RootsMapToShellFoldersAndCommonOnesFallBackOutsideNT)
{
    struct Row {
        TRootID root;
        int nt;
        int other;
    };
    for (const Row& row : {Row{TRootID::idDesktop, 0x00, 0x00}, Row{TRootID::idStartMenu, 0x0B, 0x0B},
                           Row{TRootID::idDesktopDirectory, 0x10, 0x10}, Row{TRootID::idDrives, 0x11, 0x11},
                           Row{TRootID::idCommonStartMenu, 0x16, 0x0B}, Row{TRootID::idCommonPrograms, 0x17, 0x02},
                           Row{TRootID::idCommonStartup, 0x18, 0x07},
                           Row{TRootID::idCommonDesktopDirectory, 0x19, 0x10}, Row{TRootID::idAppData, 0x1A, 0x1A},
                           Row{TRootID::idPrintHood, 0x1B, 0x1B}, Row{TRootID::idDesktopExpanded, 0xFEFE, 0xFEFE}}) {
        EXPECT_EQ(RootFolderId(row.root, true), row.nt) << static_cast<int>(row.root);
        EXPECT_EQ(RootFolderId(row.root, false), row.other) << static_cast<int>(row.root);
    }
}

TEST(FolderPicker, OptionsSetTheBrowseFlagBits)
{
    EXPECT_EQ(BrowseInfoFlags(0, false), 0u);
    EXPECT_EQ(BrowseInfoFlags(0, true), 0x0004u);
    EXPECT_EQ(BrowseInfoFlags(bfDirectoriesOnly, true), 0x0005u);
    EXPECT_EQ(BrowseInfoFlags(bfEditBox, false), 0x0030u);
    EXPECT_EQ(BrowseInfoFlags(bfDomainOnly | bfAncestors | bfComputers | bfPrinters | bfIncludeFiles, false),
              0x700Au);
}

TEST(FolderPicker, AFolderPathGivesWayFolderByFolderFromTheFront)
{
    const std::string path = "C:\\one\\two\\three\\four";
    struct Case {
        int width;
        std::string shown;
    };
    for (const Case& c : {Case{42, path}, Case{41, "C:\\...\\two\\three\\four"}, Case{38, "C:\\...\\three\\four"},
                          Case{30, "C:\\...\\four"}, Case{18, "...\\four"}, Case{12, "four"}, Case{0, "four"}})
        EXPECT_EQ(FitStatusText(path, true, c.width, HalfDots), c.shown) << c.width;
    EXPECT_EQ(FitStatusText("\\\\server\\share\\folder", true, 0, Characters), "folder");
}

TEST(FolderPicker, PlainTextLosesItsEndAndStopsAtTheEllipsisAlone)
{
    EXPECT_EQ(FitStatusText("abcdef", false, 6, Characters), "abcdef");
    EXPECT_EQ(FitStatusText("abcdef", false, 5, Characters), "ab...");
    // Narrower than "..." itself: nothing is left to drop, and it ends.
    EXPECT_EQ(FitStatusText("abcdef", false, 2, Characters), "...");
    EXPECT_EQ(FitStatusText("abcdef", false, 0, Characters), "...");
}

TEST(FolderPicker, PathsAreSentWithoutATrailingBackslashButDrivesWithOne)
{
    EXPECT_EQ(PathForBrowser("C:"), "C:\\");
    EXPECT_EQ(PathForBrowser("C:\\"), "C:\\");
    EXPECT_EQ(PathForBrowser("C:\\Data\\"), "C:\\Data");
    EXPECT_EQ(PathForBrowser("C:\\Data"), "C:\\Data");
}

TEST(FolderPicker, DirExistsKnowsDrivesByLetterAndFoldersByExactPath)
{
    TestFolder folder;
    WriteFileBytes(folder / "file.txt", "x");
    CreateDirectoryA((folder / "Data").c_str(), nullptr);
    EXPECT_TRUE(DirExists(folder.Path()));
    EXPECT_TRUE(DirExists(folder.Path() + "\\"));
    EXPECT_TRUE(DirExists(folder / "Data"));
    EXPECT_TRUE(DirExists("C:\\"));
    EXPECT_TRUE(DirExists("c:\\"));
    EXPECT_FALSE(DirExists(folder / "Da*"));
    EXPECT_FALSE(DirExists(folder / "D?ta"));
    EXPECT_FALSE(DirExists(folder / "file.txt"));
    EXPECT_FALSE(DirExists(folder / "missing"));
    EXPECT_FALSE(DirExists("1:\\"));
    EXPECT_FALSE(DirExists("\\:\\"));
    EXPECT_FALSE(DirExists(""));
}

TEST(FolderPicker, SelectionOfAnExistingFolderGetsABackslash)
{
    TestFolder folder;
    TBrowseDirectoryDlg picker;
    EXPECT_EQ(picker.Version(), "TBrowseDirectoryDlg v1.0");
    picker.SetVersion("other");
    EXPECT_EQ(picker.Version(), "TBrowseDirectoryDlg v1.0");
    picker.SetSelection(folder.Path());
    EXPECT_EQ(picker.Selection(), folder.Path() + "\\");
    picker.SetSelection(folder / "missing");
    EXPECT_EQ(picker.Selection(), folder / "missing");
    EXPECT_EQ(picker.DisplayName(), folder / "missing");
}

TEST(FolderPicker, OkOnAFolderChoosesItCentredAndWithoutBackslash)
{
    TestFolder folder;
    TBrowseDirectoryDlg picker;
    picker.Options = bfDirectoriesOnly;
    picker.SetSelection(folder.Path());
    picker.SetCaption("Pick one");
    RECT bounds{};
    std::string caption;
    picker.OnCreate = [&](TComponent*) {
        GetWindowRect(picker.Window(), &bounds);
        caption = picker.Caption();
        PressButton(picker.Window(), IDOK);
    };
    ASSERT_TRUE(picker.Execute());
    EXPECT_EQ(picker.Selection(), folder.Path());
    EXPECT_NE(picker.SelectionPIDL(), nullptr);
    EXPECT_EQ(picker.DisplayName(), folder.Path());
    EXPECT_EQ(picker.Window(), nullptr);
    EXPECT_EQ(caption, "Pick one");
    EXPECT_EQ(bounds.left, (GetSystemMetrics(SM_CXSCREEN) - (bounds.right - bounds.left)) / 2);
    EXPECT_EQ(bounds.top, (GetSystemMetrics(SM_CYSCREEN) - (bounds.bottom - bounds.top)) / 2);
}

TEST(FolderPicker, ASelectionWrittenWhileOpenIsSentAndChosen)
{
    TestFolder folder;
    CreateDirectoryA((folder / "Other").c_str(), nullptr);
    TBrowseDirectoryDlg picker;
    picker.Options = bfDirectoriesOnly;
    picker.SetSelection(folder / "Other");
    std::vector<std::string> changes;
    // Wine's browser reports a new selection after the call that asked for
    // it has returned, and does not always find a folder below the shown one
    // that it has not listed yet: the test moves to the shown folder's parent,
    // which the browser has on screen, and presses OK once it is reported.
    picker.OnSelChanged = [&](TComponent*, const std::string& path, LPCITEMIDLIST) {
        changes.push_back(path);
        if (path == folder.Path())
            PressButton(picker.Window(), IDOK);
    };
    picker.OnCreate = [&](TComponent*) {
        CancelBrowserIfStillOpenAfter(picker.Window(), 10000);
        picker.SetSelection(folder.Path());
    };
    ASSERT_TRUE(picker.Execute());
    EXPECT_EQ(picker.Selection(), folder.Path());
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.back(), folder.Path());
    EXPECT_GE(picker.ImageIndex, 0);
}

TEST(FolderPicker, CancelChoosesNothing)
{
    TestFolder folder;
    TBrowseDirectoryDlg picker;
    int platformAsked = 0;
    picker.IsWindowsNT = [&] {
        ++platformAsked;
        return false;
    };
    picker.Root = TRootID::idCommonDesktopDirectory;
    picker.SetSelection(folder.Path());
    picker.OnCreate = [&](TComponent*) { PressButton(picker.Window(), IDCANCEL); };
    EXPECT_FALSE(picker.Execute());
    EXPECT_EQ(platformAsked, 1);
    EXPECT_EQ(picker.Selection(), "");
    EXPECT_EQ(picker.SelectionPIDL(), nullptr);
}

TEST(FolderPicker, ADeepSelectionIsFittedIntoTheStatusLine)
{
    TestFolder folder;
    std::string deep = folder.Path();
    for (const char* name : {"a-rather-long-folder-name-number-one", "a-rather-long-folder-name-number-two",
                             "a-rather-long-folder-name-number-three", "last"}) {
        deep += std::string("\\") + name;
        CreateDirectoryA(deep.c_str(), nullptr);
    }
    TBrowseDirectoryDlg picker;
    picker.Options = bfDirectoriesOnly;
    picker.ShowSelectionInStatus = true;
    picker.SetSelection(deep);
    std::string status;
    picker.OnCreate = [&](TComponent*) {
        status = StatusLine(picker.Window());
        PressButton(picker.Window(), IDCANCEL);
    };
    picker.Execute();
    EXPECT_EQ(picker.StatusText(), deep);
    ASSERT_FALSE(status.empty());
    EXPECT_NE(status, deep);
    EXPECT_NE(status.find("..."), std::string::npos) << status;
    EXPECT_EQ(status.substr(status.size() - 5), "\\last") << status;
}

TEST(FolderPicker, APathLongerThanTheShellTakesIsSentWholeAndNotPreselected)
{
    TestFolder folder;
    std::string longPath = folder.Path();
    while (longPath.size() < 400)
        longPath += "\a-folder-that-is-not-there";
    TBrowseDirectoryDlg picker;
    picker.SetSelection(longPath);
    picker.OnCreate = [&](TComponent*) {
        EXPECT_EQ(picker.SelectionPIDL(), nullptr);
        EXPECT_EQ(picker.Selection(), longPath);
        PressButton(picker.Window(), IDCANCEL);
    };
    EXPECT_FALSE(picker.Execute());
}

TEST(FolderPicker, AnItemWithoutAFolderPathIsNoChoice)
{
    // "My Computer" preselected: the browser returns it, but it has no path.
    TBrowseDirectoryDlg picker;
    picker.Options = bfDirectoriesOnly;
    LPITEMIDLIST computer = nullptr;
    ASSERT_TRUE(SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer)));
    picker.SetSelectionPIDL(computer);
    picker.OnCreate = [&](TComponent*) { PressButton(picker.Window(), IDOK); };
    EXPECT_FALSE(picker.Execute());
    EXPECT_EQ(picker.Selection(), "");
    EXPECT_EQ(picker.SelectionPIDL(), nullptr);
}

TEST(FolderPicker, ValidateFailedKeepsTheBrowserOpenUnlessTheHandlerCancels)
{
    TBrowseDirectoryDlg picker;
    std::string typed;
    bool cancel = false;
    picker.OnValidateFailed = [&](TComponent*, const std::string& path, bool& cancelNow) {
        typed = path;
        cancelNow = cancel;
    };
    const auto data = reinterpret_cast<LPARAM>(&picker);
    const auto text = reinterpret_cast<LPARAM>("no such folder");
    EXPECT_EQ(TBrowseDirectoryDlg::BrowseCallback(nullptr, BFFM_VALIDATEFAILEDA, text, data), 1);
    EXPECT_EQ(typed, "no such folder");
    cancel = true;
    EXPECT_EQ(TBrowseDirectoryDlg::BrowseCallback(nullptr, BFFM_VALIDATEFAILEDA, text, data), 0);
    EXPECT_EQ(TBrowseDirectoryDlg::BrowseCallback(nullptr, 99, 0, data), 0);
}
