// Save Copy As, Save As Web Page and Save Page As: the save-copy dialog with
// its options panel, then the copy written and opened or mailed.
#include "Main.h"

#include "ApDialogs.h"
#include "Application.h"
#include "ExportProfiles.h"
#include "FileHandle.h"
#include "FileIdentity.h"
#include "MessageBoxes.h"
#include "SaveCopy.h"
#include "SaveExtPanel.h"
#include "SettingsRecords.h"
#include "SharedState.h"

namespace {
const char* const PageFilter =
    "Text File(*.txt)|*.txt|Rich Text Format File(*.rtf)|*.rtf|Web Page(*.htm)|*.htm";
const char* const CopyFilter = "Text File(*.txt)|*.txt|Rich Text Format File(*.rtf)|*.rtf|Web Page(*.htm)|*.htm|"
                               "Quillo Outline(*.kbf)|*.kbf";

bool ConfirmOverwrite(const std::string& path)
{
    return Application.MessageBox(path + " already exists!\n Do you want to overwrite?", "Save File As",
                                  MB_YESNO | MB_ICONWARNING) == IDYES;
}

// The copy would replace the file of the outline open in this window: the
// outline on disk would become the copy, while the window shows it as saved.
bool IsOpenOutlineFile(const std::string& path)
{
    return CurrentFileName != UntitledFileName && NamesSameFile(path, CurrentFileName);
}

std::string OpenOutlineTargetText(const std::string& path)
{
    return path + " is the file of the outline open in this window.\n"
                  "A copy cannot replace the open outline. Please choose another name.";
}

// "Selected page" is the third entry; the outline type takes it away.
void EnsureSelectedPageEntry(TSaveExt& panel)
{
    if (panel.ItemsE.Items().Count() == 2)
        panel.ItemsE.Items().Add(TSaveExt::SelectedPageText);
}
// The menu item's Tag asks the next save copy to start on the web page type.
TComponent& WebPageItem()
{
    static TComponent none;
    TComponent* item = Main->FindComponent("mSaveAsWebPage");
    return item ? *item : none;
}

// Runs the save dialog with the panel docked in it; true when a name was
// chosen. The dialog shows and hides the panel as it docks it; the panel is
// prepared and read as shown all the same, so that a dialog answered without
// a window (or one whose system call failed) leaves the same lists and profile.
bool RunSaveCopyDialog(TApSaveDialog& dialog, TSaveExt& panel)
{
    panel.FormShow();
    const bool chosen = dialog.Execute();
    panel.FormHide();
    return chosen;
}

// Runs the dialog until it gives a name that may take the copy, with the
// type's extension added; false when the user cancels.
bool ChooseCopyTarget(TApSaveDialog& dialog, TSaveExt& panel, std::string& path)
{
    for (;;) {
        if (!RunSaveCopyDialog(dialog, panel))
            return false;
        path = WithSaveCopyExtension(dialog.FileName, dialog.FilterIndex);
        if (!IsOpenOutlineFile(path))
            return true;
        ShowInfoMessage(OpenOutlineTargetText(path));
        // Asked again with the refused name, for the user to change.
        dialog.FileName = path;
    }
}
} // namespace

void TMain::SaveCopyAs(bool pageOnly, int afterAction)
{
    TSaveExt& panel = EnsureSaveExt();
    dlgSaveCopy->InitialDir = OptionSettings.ExternalFolder;
    dlgSaveCopy->FileName.clear();
    if (WebPageItem().Tag == 1) {
        dlgSaveCopy->FilterIndex = WebPageCopy;
        WebPageItem().Tag = 0;
    }
    if (pageOnly) {
        // A copy in the outline type took the entry away; without it the
        // page's command would save the whole outline.
        EnsureSelectedPageEntry(panel);
        panel.ItemsE.SetItemIndex(TSaveExt::SelectedPage);
        panel.ItemsE.SetEnabled(false);
        dlgSaveCopy->Filter = PageFilter;
        // Three types: the outline type's index would fall back to the first.
        if (dlgSaveCopy->FilterIndex > WebPageCopy)
            dlgSaveCopy->FilterIndex = TextCopy;
        panel.AfterE.SetItemIndex(afterAction);
        dlgSaveCopy->Title = afterAction == TSaveExt::EmailFile ? "Save Attachment As" : "Save Page As";
    } else {
        dlgSaveCopy->Filter = CopyFilter;
        panel.ItemsE.SetEnabled(true);
        dlgSaveCopy->Title = "Save Copy As";
    }
    std::string path;
    if (!ChooseCopyTarget(*dlgSaveCopy, panel, path))
        return;
    const int type = dlgSaveCopy->FilterIndex;
    if (FileExists(path) && !ConfirmOverwrite(path))
        return;
    RememberFolder(OptionSettings, ExternalFolderKind, path);
    const int items = panel.ItemsE.ItemIndex();
    FExportProfiles->Current()->Settings.ExportSource = items == TSaveExt::AllPages ? 0 : 1;
    if (WriteSaveCopy(path, type, items))
        RunAfterSave(panel.AfterE.ItemIndex(), path);
}

void TMain::mSaveCopyAsClick(TComponent*) { SaveCopyAs(false, -1); }

void TMain::mSaveAsWebPageClick(TComponent*)
{
    WebPageItem().Tag = 1;
    SaveCopyAs(false, -1);
}

void TMain::ppSavePageAsClick(TComponent*) { SaveCopyAs(true, TSaveExt::AfterNone); }

void TMain::dlgSaveCopySelectionChange(TComponent*)
{
    if (!SaveExt)
        return;
    TSaveExt& panel = *SaveExt;
    TStrings& items = panel.ItemsE.Items();
    if (dlgSaveCopy->FilterIndex == OutlineCopy) {
        panel.EnableProfileGroup(false);
        if (items.Count() == 3) {
            const int chosen = panel.ItemsE.ItemIndex();
            items.Delete(TSaveExt::SelectedPage);
            panel.ItemsE.SetItemIndex(chosen == TSaveExt::SelectedPage ? -1 : chosen);
            if (panel.ItemsE.ItemIndex() < 0)
                panel.ItemsE.SetItemIndex(TSaveExt::AllPages);
        }
    } else {
        panel.EnableProfileGroup(true);
        EnsureSelectedPageEntry(panel);
        panel.ProfileEClick();
    }
    if (panel.ItemsE.ItemIndex() == TSaveExt::SelectedPage)
        panel.ItemsEClick();
}

void TMain::WireSaveCopyCommands()
{
    SetHandler("mSaveCopyAsClick", [this](TComponent* sender) { mSaveCopyAsClick(sender); });
    SetHandler("mSaveAsWebPageClick", [this](TComponent* sender) { mSaveAsWebPageClick(sender); });
    SetHandler("ppSavePageAsClick", [this](TComponent* sender) { ppSavePageAsClick(sender); });
    SetHandler("dlgSaveCopySelectionChange", [this](TComponent* sender) { dlgSaveCopySelectionChange(sender); });
}
