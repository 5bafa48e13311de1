// The end of a run: the questions before the main window may close, and what
// every close writes.
#include "Main.h"

#include "Application.h"
#include "ProductNames.h"
#include "RecentFiles.h"
#include "SettingsRecords.h"
#include "SettingsRegistry.h"
#include "SharedState.h"
#include "WindowWork.h"

namespace {

const char* const SaveOutlineQuestion = "Current file is changed. Would you like to save changes?";
const char* const SaveOptionsQuestion = "Would you like to save changes made to options?";

int Ask(const char* question)
{
    return Application.MessageBox(question, ProductCaption, MB_YESNOCANCEL | MB_ICONINFORMATION);
}

} // namespace

void TMain::FormCloseQuery(bool& canClose)
{
    // An export reads the tree and the profiles that a close would free.
    if (WindowWorkRunning()) {
        canClose = false;
        return;
    }
    // Typing not yet handed to its page is a change to ask about and save.
    CommitTyping();

    // Every question comes before anything is saved, so Cancel in any of
    // them leaves everything as it was.
    bool saveOutline = false;
    if (OutlineProperties.FileChanged) {
        if (OptionSettings.SaveExit) {
            saveOutline = true;
        } else {
            const int answer = Ask(SaveOutlineQuestion);
            if (answer == IDCANCEL) {
                canClose = false;
                return;
            }
            saveOutline = answer == IDYES;
        }
    }
    bool saveSettings = true;
    if (OptionSettings.SaveOptions) {
        const int answer = Ask(SaveOptionsQuestion);
        if (answer == IDCANCEL) {
            canClose = false;
            return;
        }
        saveSettings = answer == IDYES;
    }
    // The user asked to keep the changes: an outline that was not written
    // (a failed save, a cancelled save dialog) keeps the window open.
    if (saveOutline && !mSaveClick(this)) {
        canClose = false;
        return;
    }
    UserSettings.LastDb = CurrentFileName;
    if (saveSettings) {
        KeepPlacement();
        SaveSettings();
    }
}

void TMain::WriteCloseState()
{
    WriteSettingsReporting({[] { SaveRecentFiles(RecentFiles); }, [] { WriteDialogStates(DialogStates); }});
}
