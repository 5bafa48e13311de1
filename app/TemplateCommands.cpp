// The commands that start a new outline from a template and insert a
// template into the open outline.
#include "Main.h"

#include "BranchFiles.h"
#include "ControlBusy.h"
#include "FromTemplateDialog.h"
#include "NewDialog.h"
#include "OpenOutline.h"
#include "RecentFiles.h"
#include "RecentMenu.h"
#include "RichEdit.h"
#include "SettingsRecords.h"
#include "SharedState.h"
#include "TemplateFolder.h"
#include "TextImport.h"
#include "TreeView.h"

#include <memory>

void TMain::mNewClick(TComponent*)
{
    const auto dialog = std::make_unique<TNew>();
    if (dialog->ShowModal() != mrOk)
        return;
    if (dialog->TemplateName().empty()) {
        bNewClick(this);
        return;
    }
    const std::string path = TemplateFileOfKind(OptionSettings.TemplatesFolder, dialog->TemplateName(),
                                                TemplateKind::Outline);
    // Asked here rather than by the opening, so that Cancel is known to have
    // left the open outline, name and all, as it was.
    if (!SaveChangesFirst(SaveBeforeOpenQuestion))
        return;
    OutlineProperties.FileChanged = 0;
    // Opening notes the template as recent; an entry the user had before stays.
    const bool wasRecent = RecentFilesHold(RecentFiles, path);
    OpenOutline(path);
    // A template that cannot be read leaves a new empty outline.
    if (CurrentFileName != path)
        return;
    if (!wasRecent && RecentFiles.Count() > 0 && RecentFiles[0] == CurrentFileName) {
        RecentFiles.Delete(0);
        RebuildRecentMenu(RecentFiles);
    }
    // The new outline has no file yet: saving must ask for one, never write
    // over the template.
    CurrentFileName = UntitledFileName;
    ParentOutlineFile.clear();
    Retitle();
}

void TMain::mFromTemplateClick(TComponent*)
{
    const auto dialog = std::make_unique<TFromTemplate>();
    if (dialog->ShowModal() != mrOk)
        return;
    // The tab the template was chosen on decides its file, so a page and an
    // outline template of one name each insert what was picked.
    const std::string path =
        TemplateFileOfKind(OptionSettings.TemplatesFolder, dialog->TemplateName(), dialog->ChosenKind());
    bool inserted = false;
    if (dialog->ChosenKind() == TemplateKind::Page) {
        inserted = ImportTextFile(path);
    } else {
        const int pagesBefore = Tree->Items().Count();
        {
            const TControlBusy busy(*RichEdit);
            ImportOutlineBranch(path);
        }
        // A damaged file still adds the pages read before the damage.
        inserted = Tree->Items().Count() > pagesBefore;
        if (inserted)
            OutlineProperties.FileChanged = 1;
    }
    TTreeNode* selected = Tree->Selected();
    if (inserted && selected && !selected->HasChildren())
        EditTitle(selected);
}
