// The File commands that bring another outline, or the saved state of this
// one, into the window: Open, Reopen, Revert To Saved and Up One Level.
#include "Main.h"

#include "AnsiStrings.h"
#include "Application.h"
#include "FileHandle.h"
#include "ForeignImports.h"
#include "Menus.h"
#include "MessageBoxes.h"
#include "OpenOutline.h"
#include "OutlineFile.h"
#include "PageHistory.h"
#include "Pages.h"
#include "ProductNames.h"
#include "RecentFiles.h"
#include "RecentMenu.h"
#include "SettingsRecords.h"
#include "SharedState.h"
#include "TreeView.h"

#include <windows.h>

namespace {
const char* const NotSavedText = "This file is not saved!";
const char* const RevertQuestion = "Abandon changes and revert to the saved file?";
const char* const ErrorLoadingText = "Error loading file!";

// Picks the reader by the extension exactly as written: "X.AO" is read as an
// outline file, like any other name.
bool ReadChosenFile(const std::string& path)
{
    const std::string extension = ExtractFileExt(path);
    if (extension == ".ao")
        return ImportActionOutline(path);
    if (extension == ".hjt")
        return ImportTreePad(path);
    return LoadOutline(path);
}

// The page clipboard, the shown page and the history belonged to the pages
// just replaced.
void ForgetReplacedPages()
{
    LastShownPage = nullptr;
    PageClipboard = TPageClipboard{};
    ClearHistory();
    PushHistory(Main->Tree->Selected());
}
}

void TMain::mOpenClick(TComponent*)
{
    OpenDB.InitialDir = OptionSettings.DocumentsFolder;
    OpenDB.FileName.clear();
    if (!OpenDB.Execute())
        return;
    const std::string path = OpenDB.FileName;
    RememberFolder(OptionSettings, DocumentsFolderKind, path);
    if (!SaveChangesFirst(SaveBeforeOpenQuestion))
        return;
    if (!ReadChosenFile(path)) {
        OutlineProperties.FileChanged = 0;
        bNewClick(nullptr);
        return;
    }
    // Imports and backup copies become unnamed outlines, so that a save
    // asks for a name instead of overwriting a file in another format.
    CurrentFileName = ExtractFileExt(path) == ".kbf" ? path : UntitledFileName;
    ForgetReplacedPages();
    // An outline opened here did not come from a link: Up One Level at its
    // root must not go back to an unrelated outline.
    ParentOutlineFile.clear();
    Retitle();
    // "Untitled" is no file; it must not enter the recent list.
    if (CurrentFileName != UntitledFileName)
        AddRecent(CurrentFileName);
    TreeClick();
}

void TMain::m0Click(TComponent* sender)
{
    const auto* item = dynamic_cast<const TMenuItem*>(sender);
    const std::string path = item ? RecentPathFromCaption(item->Caption()) : std::string();
    if (!path.empty())
        OpenOutline(path);
}

void TMain::mRevertClick(TComponent*)
{
    if (CurrentFileName == UntitledFileName) {
        ShowInfoMessage(NotSavedText);
        return;
    }
    if (Application.MessageBox(RevertQuestion, ProductCaption, MB_YESNO | MB_ICONINFORMATION) != IDYES)
        return;
    if (LoadOutline(CurrentFileName)) {
        LastShownPage = nullptr;
    } else {
        ShowInfoMessage(ErrorLoadingText);
        OutlineProperties.FileChanged = 0;
        bNewClick(nullptr);
    }
    ForgetReplacedPages();
    TreeClick();
}

void TMain::mUpOneLevelClick(TComponent*)
{
    TTreeNode* selected = Tree->Selected();
    if (!selected || !selected->Parent()) {
        const std::string origin = ParentOutlineFile;
        ParentOutlineFile.clear();
        if (origin.empty() || !FileExists(origin)) {
            UpdateMenus();
            return;
        }
        OpenOutline(origin);
        // Emptied again: a failed open's new outline or a kept outline (the
        // user cancelled the save question) has no origin either.
        ParentOutlineFile.clear();
        return;
    }
    if (Tree->CanFocus())
        Tree->SetFocus();
    if (Tree->IsEditing())
        selected->EndEdit(false);
    Tree->SetSelected(selected->Parent());
    TreeClick();
}
