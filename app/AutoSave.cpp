// The automatic save, every AutoSave minutes.
#include "Main.h"

#include "Application.h"
#include "FlagScope.h"
#include "MainLifecycle.h"
#include "Progress.h"
#include "SettingsRecords.h"
#include "SharedState.h"

bool TMain::AutoSaveBlocked() const
{
    // A modal dialog or message box disables the main window (one owned by
    // a modeless window such as Organize Templates need not); a long
    // operation shows its progress; a save may be the autosave's own, still
    // waiting in its save dialog.
    return lifecycle_->autoSaving || Application.InModalState() || !IsWindowEnabled(Handle()) ||
           ProgressDepth() > 0;
}

void TMain::TimerTimer()
{
    // A save in the middle of another command's question or operation could
    // write a half-done outline, or open a second save dialog over the first.
    if (AutoSaveBlocked())
        return;
    ++AutoSaveMinutes;
    // Reached, not only equalled: a shorter interval chosen in the Options
    // dialog after the count had passed it must not stop the saves for good.
    if (OptionSettings.AutoSave <= 0 || AutoSaveMinutes < OptionSettings.AutoSave)
        return;
    {
        const TFlagScope saving(lifecycle_->autoSaving);
        // It comes in the middle of the person's typing: what they type
        // meanwhile waits and goes where they typed it, as the save itself
        // lets nothing through.
        const TQueuedInputKept typing;
        mSaveClick(this);
    }
    AutoSaveMinutes = 0;
}
