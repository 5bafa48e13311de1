#include "BranchFiles.h"

#include "AnsiStrings.h"
#include "KbfFormat.h"
#include "Main.h"
#include "MessageBoxes.h"
#include "OutlineFile.h"
#include "PageData.h"
#include "Pages.h"
#include "Progress.h"
#include "SafeFileWriter.h"
#include "SettingsRecords.h"
#include "SharedState.h"
#include "TreeView.h"

#include <windows.h>

namespace {
// Makes every missing folder of the path; true when the folder exists after.
bool ForceFolders(const std::string& folder)
{
    const std::string path = ExcludeTrailingBackslash(folder);
    if (path.empty() || DirectoryExists(path))
        return !path.empty();
    const std::string parent = ExtractFileDir(path);
    if (!parent.empty() && parent != path && !ForceFolders(parent))
        return false;
    return CreateDirectoryA(path.c_str(), nullptr) != 0 || DirectoryExists(path);
}
}

bool ExportOutlineBranch(const std::string& path)
{
    Main->CommitTyping();
    SafeWriteResult result;
    std::exception_ptr thrown;
    {
        TProgressScope progress(OutlineStatusText("exporting", path));
        TTreeView& tree = *Main->Tree;
        TTreeNode* top = tree.Selected() ? tree.Selected() : tree.Items().GetFirstNode();
        // The branch file's own properties: the open outline's are not touched.
        struct OutlineProperties fresh;
        result = SaveBranchFile(path, top, fresh, progress, &thrown);
    }
    if (result != SafeWriteResult::Ok) {
        ShowSaveFailure(result, thrown);
        return false;
    }
    return true;
}

bool ImportOutlineBranch(const std::string& path)
{
    KbfReadResult result = KbfReadResult::Ok;
    {
        TProgressScope progress(OutlineStatusText("importing", path));
        KbfOutline outline;
        if (ReadOutlineFile(path, outline, result)) {
            TTreeView& tree = *Main->Tree;
            Main->CommitTyping();
            TTreeNode* top = nullptr;
            {
                TTreeCover cover(false);
                top = AddChildPage(KbfUntitled);
                tree.SetSelected(top);
                AddOutlinePages(top, outline, progress);
                cover.Resume();
                if (result == KbfReadResult::Ok && outline.rootRecordRead) {
                    const KbfPage& root = outline.pages[0];
                    PageDataOf(top)->SetBodyText(root.body);
                    top->SetText(root.title);
                    top->SetStateIndex(root.state);
                }
                if (result == KbfReadResult::Ok)
                    top->Collapse(true);
            }
            if (result == KbfReadResult::Ok) {
                ClearEditorPage();
                Main->TreeClick();
            }
        }
    }
    if (result != KbfReadResult::Ok) {
        ShowInfoMessage(KbfReadMessage(result));
        return false;
    }
    return true;
}

void BackupOutline(const std::string& path)
{
    if (path.empty() || !FileExists(path))
        return;
    const std::string folder = OptionSettings.BackupFolder;
    // The default folder usually does not exist yet; without it no backup
    // would ever be made.
    if (!ForceFolders(folder))
        return;
    const std::string target = IncludeTrailingBackslash(folder) + ChangeFileExt(ExtractFileName(path), ".bak");
    // Safely: a copy that fails half way must not leave the last good backup
    // cut short.
    CopyFileSafely(path, target);
}
