// The File commands that every other way of replacing or writing the outline
// goes through: a new empty outline, Save, and the retitle step; Save As and
// a new program window.
#include "Main.h"

#include "Application.h"
#include "BranchFiles.h"
#include "OpenOutline.h"
#include "OutlineFile.h"
#include "PageHistory.h"
#include "ProgramFolder.h"
#include "Pages.h"
#include "ProductNames.h"
#include "RecentMenu.h"
#include "SettingsRecords.h"
#include "SharedState.h"
#include "ShellOpen.h"
#include "TreeView.h"

void TMain::Retitle()
{
    SetCaption(OutlineTitle() + " - " + ProductCaption);
    Tray.SetHint(Caption());
    Application.SetTitle(Caption());
}

void TMain::bNewClick(TComponent*)
{
    if (!SaveChangesFirst(SaveBeforeNewQuestion))
        return;
    if (Tree->CanFocus())
        Tree->SetFocus();
    TTreeNode* root = Tree->Items().GetFirstNode();
    // The editor's text belongs to a page about to go; it is not kept.
    ClearEditorPage();
    root->DeleteChildren();
    AttachNewPageData(root);
    root->SetStateIndex(1);
    ResetOutlineProperties(OutlineProperties);
    CurrentFileName = UntitledFileName;
    root->SetText(UntitledFileName);
    Tree->SetSelected(root);
    Retitle();
    LastShownPage = nullptr;
    PageClipboard = TPageClipboard{};
    ClearHistory();
    PushHistory(Tree->Selected());
    ParentOutlineFile.clear();
    TreeClick();
}

bool TMain::mSaveClick(TComponent*)
{
    CommitTyping();
    std::string path = CurrentFileName;
    if (path == UntitledFileName) {
        SaveDB.InitialDir = OptionSettings.DocumentsFolder;
        SaveDB.FileName.clear();
        // Without a chosen name there is nothing to save to: a file called
        // "Untitled" in whatever the current folder is would surprise anyone.
        if (!SaveDB.Execute())
            return false;
        path = SaveDB.FileName;
        RememberFolder(OptionSettings, DocumentsFolderKind, path);
    }
    // The outline takes the chosen name only with a file written under it:
    // after a failed first save it is still unsaved, and Revert knows it.
    if (!SaveOutline(path))
        return false;
    // Noted only now: the recent menu drops paths whose file does not exist.
    AddRecent(CurrentFileName);
    if (OptionSettings.BackupCopy)
        BackupOutline(CurrentFileName);
    Retitle();
    return true;
}

void TMain::mSaveAsClick(TComponent*)
{
    CommitTyping();
    SaveDB.FileName.clear();
    SaveDB.InitialDir = OptionSettings.DocumentsFolder;
    if (!SaveDB.Execute())
        return;
    const std::string path = SaveDB.FileName;
    RememberFolder(OptionSettings, DocumentsFolderKind, path);
    if (!SaveOutline(path))
        return;
    CurrentFileName = path;
    AddRecent(CurrentFileName);
    Retitle();
}

void TMain::mNewWindowClick(TComponent*)
{
    // A second, independent instance; it opens its own start-up outline.
    OpenWithShell(ExePath());
}
