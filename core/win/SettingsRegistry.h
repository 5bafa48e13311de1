#pragma once
// The registry store of the settings records: every group's reader and
// writer, all going through one shared registry object under the current
// user's hive, below SettingsRoot().
//
// Each reader and writer opens its key's whole path from the root in one go
// and closes it when done, so no call can land in a key left open by another.

#include "Registry.h"
#include "SettingsRecords.h"

#include <functional>
#include <string>
#include <vector>

// The one registry object of the settings store, the recent-files list and
// the other look-ups that share it: HKEY_CURRENT_USER, full access. Created
// on first use, it lives for the run.
TRegistry& SettingsRegistry();

// Readers: true when the whole group was read. A missing key, or a missing or
// mistyped value, stops the read at once and gives false; what was read
// before the failure stays in the record, the rest keeps its former values.
// A missing string reads as "". Nothing is reported to the user.
bool ReadGeneralOptions(TOptionSettings& options);
bool ReadDateOptions(TOptionSettings& options);
bool ReadBehaviourOptions(TOptionSettings& options);
bool ReadFolderOptions(TOptionSettings& options);
bool ReadWebOptions(TOptionSettings& options);
bool ReadUserSettings(TUserSettings& user);
// Also fails when the Pages group is marked as holding values and
// PagesFileEdit reads back empty.
bool ReadDialogStates(TDialogStates& states);

// The check marks of the main window's Normal and Outline view items, which
// WriteGeneralOptions stores in place of the record's view fields.
struct ViewMenuChecks {
    bool normal = true;
    bool outline = false;
};

// Writers: every value of the group, in order. The Options and User writers
// do not create their key (CreateSettingsKeys does at start); WriteDialogStates
// creates "States" below an existing settings key. A value that cannot be
// written -- a missing key included -- raises ERegistryException
// "Failed to set data for '<name>'". Use WriteSettingsReporting where a
// failure must not stop the caller.
void WriteGeneralOptions(const TOptionSettings& options);
void WriteGeneralOptions(const TOptionSettings& options, const ViewMenuChecks& view);
void WriteDateOptions(const TOptionSettings& options);
void WriteBehaviourOptions(const TOptionSettings& options);
void WriteFolderOptions(const TOptionSettings& options);
void WriteWebOptions(const TOptionSettings& options);
void WriteUserSettings(const TUserSettings& user);
void WriteDialogStates(const TDialogStates& states);

// True unless "User", "Options" and "Reopen" all exist. Creates the settings
// key itself on the way, as the first run needs it anyway.
bool SettingsKeysMissing();
// Creates the settings key and "User", "Options" and "Reopen" below it; true
// when all of them exist afterwards.
bool CreateSettingsKeys();

// Where a registry write failure is shown. The core knows no windows; the
// program passes its message box. Nothing is shown until one is set.
using SettingsErrorReporter = std::function<void(const std::string& message)>;
void SetSettingsErrorReporter(SettingsErrorReporter reporter);

// Runs the writers in order for start-up and close, which must go on whatever
// the registry does: a writer that raises ERegistryException is abandoned and
// the next one runs. The first failure's text is reported once for the whole
// call. Returns true when every writer finished.
bool WriteSettingsReporting(const std::vector<std::function<void()>>& writers);
