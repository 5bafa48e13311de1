// Opening an outline by its path and the texts built from the open outline.
#include "OpenOutline.h"

#include "Application.h"
#include "AnsiStrings.h"
#include "FileHandle.h"
#include "MessageBoxes.h"
#include "Pages.h"
#include "Main.h"
#include "OutlineFile.h"
#include "PageHistory.h"
#include "ProductNames.h"
#include "RecentMenu.h"
#include "SharedState.h"
#include "TreeView.h"

#include <windows.h>

namespace {
const char* const CannotOpenInputFileText = "Cannot open input file!";
}

int AskToSaveChanges(const std::string& question)
{
    return Application.MessageBox(question, ProductCaption, MB_YESNOCANCEL | MB_ICONINFORMATION);
}

bool SaveChangesFirst(const std::string& question)
{
    // Typing still held by the editor is a change too; stored now, it is
    // asked about and saved with the rest.
    Main->CommitTyping();
    if (!OutlineProperties.FileChanged)
        return true;
    switch (AskToSaveChanges(question)) {
    case IDYES:
        // A save that failed or was cancelled must not let the caller throw
        // the outline away.
        return Main->mSaveClick(nullptr) && !OutlineProperties.FileChanged;
    case IDNO:
        return true;
    default:
        return false;
    }
}

void OpenOutline(const std::string& path)
{
    if (!SaveChangesFirst(SaveBeforeOpenQuestion))
        return;
    if (!LoadOutline(path)) {
        OutlineProperties.FileChanged = 0;
        Main->bNewClick(nullptr);
        return;
    }
    CurrentFileName = path;
    AddRecent(path);
    PageClipboard = TPageClipboard{};
    LastShownPage = nullptr;
    Main->Retitle();
    ClearHistory();
    PushHistory(Main->Tree->Selected());
    ParentOutlineFile.clear();
    Main->TreeClick();
}

void OpenLinkedOutline(const std::string& path)
{
    if (!FileExists(path)) {
        ShowInfoMessage(CannotOpenInputFileText);
        return;
    }
    const std::string origin = CurrentFileName;
    OpenOutline(path);
    // Kept when the user cancelled the question about unsaved changes: Up
    // One Level would only reopen the outline still in the window.
    if (CurrentFileName != origin)
        ParentOutlineFile = origin;
    UpdateMenus();
}

std::string OutlineTitle()
{
    if (CurrentFileName == UntitledFileName)
        return UntitledFileName;
    return ChangeFileExt(ExtractFileName(CurrentFileName), "");
}

std::string PropertiesText()
{
    const struct OutlineProperties& p = OutlineProperties;
    const std::string name = ChangeFileExt(ExtractFileName(CurrentFileName), "");
    const std::pair<const char*, std::string> lines[] = {
        {"Outline Name:  \t", name},
        {"Last saved by: \t", p.SavedBy},
        {"Subject:       \t", p.Subject},
        {"Description:   \t", p.Description},
        {"Created:       \t", p.Created},
        {"Modified:      \t", p.Modified},
        {"Revisions:     \t", std::to_string(p.Revisions)},
        {"Total pages:   \t", std::to_string(Main->Tree->Items().Count())},
    };
    std::string text;
    for (const auto& [label, value] : lines)
        text += label + value + "\r\n";
    return text;
}
