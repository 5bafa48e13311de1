// The File commands that every other way of replacing or writing the outline
// goes through: a new empty outline, Save, and the retitle step; Save As and
// a new program window.
#include "Main.h"

#include "AnsiStrings.h"
#include "Application.h"
#include "BranchFiles.h"
#include "FileIdentity.h"
#include "MainLifecycle.h"
#include "OpenOutline.h"
#include "OutlineFile.h"
#include "PageHistory.h"
#include "ProgramFolder.h"
#include "Pages.h"
#include "ProductNames.h"
#include "Progress.h"
#include "RecentMenu.h"
#include "SettingsRecords.h"
#include "SharedState.h"
#include "ShellOpen.h"
#include "StatusBar.h"
#include "TreeView.h"

namespace {
std::string ChangedElsewhereQuestion(const std::string& path)
{
    return "The file " + path +
           " was changed by another program or another Quillo window after this window opened or saved it.\n\n"
           "Replace it with the outline shown here? No keeps that file as it is; Save As can then save this "
           "outline under another name.";
}

std::string AutoSaveHeldNote(const std::string& path)
{
    return "Not saved automatically: another program or window changed " + ExtractFileName(path) + ".";
}
} // namespace

bool TMain::MayReplaceOutlineFile(const std::string& path)
{
    if (!OutlineFileChangedElsewhere(path))
        return true;
    // Nobody is there to answer an automatic save: it leaves the file alone
    // and says so once, and the next Save asks.
    if (lifecycle_->autoSaving) {
        const FileStamp now = StampOfFile(path);
        if (now != lifecycle_->autoSaveHeldAt) {
            lifecycle_->autoSaveHeldAt = now;
            HideBusyNote();
            StatusBar->Panel(0).SetText(AutoSaveHeldNote(path));
        }
        return false;
    }
    return Application.MessageBox(ChangedElsewhereQuestion(path), ProductCaption, MB_YESNO | MB_ICONINFORMATION) ==
           IDYES;
}

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
    // What another program or window wrote there since is not replaced unasked.
    if (!MayReplaceOutlineFile(path))
        return false;
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
