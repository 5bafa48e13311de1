// Insert File: an outline file comes in as a branch below the selected page;
// any other file is read as plain text (rich text loses its formatting) and
// goes in at the caret, or becomes a new sub page when the tree has the focus.
#include "Main.h"

#include "AnsiStrings.h"
#include "BranchFiles.h"
#include "ControlBusy.h"
#include "ConverterUse.h"
#include "PageData.h"
#include "PageHistory.h"
#include "Pages.h"
#include "RichEdit.h"
#include "SettingsRecords.h"
#include "SharedState.h"
#include "TreeView.h"

void TMain::mFileClick(TComponent*)
{
    Rich->Clear();
    OpenPage.InitialDir = OptionSettings.ExternalFolder;
    OpenPage.FileName.clear();
    if (!OpenPage.Execute())
        return;
    const std::string path = OpenPage.FileName;
    RememberFolder(OptionSettings, ExternalFolderKind, path);

    if (ExtractFileExt(path) == ".kbf") {
        const int pagesBefore = Tree->Items().Count();
        {
            TControlBusy busy(*RichEdit);
            ImportOutlineBranch(path);
        }
        // A file that could not be read at all added nothing to save.
        if (Tree->Items().Count() != pagesBefore)
            OutlineProperties.FileChanged = 1;
        PushHistory(Tree->Selected());
        TreeClick();
        return;
    }

    TConverterUse converter(*Rich);
    std::string text;
    {
        TControlBusy busy(*RichEdit);
        text = converter.PlainTextOf(path);
    }

    if (!Tree->Focused()) {
        // The text goes into the selected page as an edit of it, stored at
        // once: the editor may not have the focus to store it later.
        ShowSelectedPage();
        EditorPage = Tree->Selected();
        RichEdit->SetSelText(text);
        RichEdit->SetSelStart(RichEdit->GetSelection().cpMax);
        RichEdit->SetModified(true);
        RichEditExit();
        OutlineProperties.FileChanged = 1;
        return;
    }

    if (!CheckPageLimits())
        return;
    TTreeNode* page = AddChildPage(ChangeFileExt(ExtractFileName(path), ""));
    Tree->SetSelected(page);
    PageDataOf(page)->SetBodyText(text);
    OutlineProperties.FileChanged = 1;
    page->Parent()->Expand(false);
    PushHistory(page);
    TreeClick();
}
