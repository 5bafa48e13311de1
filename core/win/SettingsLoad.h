#pragma once
// Reading every setting once at start, and repairing the store on the way:
// whatever group could not be read whole is written back, so that the next
// start finds every value.

#include "SettingsRegistry.h"

#include <string>

// Reads the user settings, the five option groups, the dialog states and the
// recent list into OptionSettings, UserSettings, DialogStates and RecentFiles.
//
// A store with none of the keys "User", "Options" and "Reopen" is a first run:
// the keys are made and only the user settings and option group 1 are
// written, from the records as they stand. A store missing only some of them
// gets just those made and is read as usual, so nothing the user set is lost
// to defaults. A failed user or general group resets both records to their
// defaults (programFolder completes the folder defaults) and writes
// everything; a later group that fails is written back with that group and
// the ones after it, from what was read and the former values for the rest.
// view is what WriteGeneralOptions stores for the view fields.
//
// Nothing is reported for a failed read; a failed write is reported once
// through the settings error reporter and the load goes on.
void LoadSettings(const std::string& programFolder, const ViewMenuChecks& view);
