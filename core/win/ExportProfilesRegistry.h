#pragma once
// The registry key of the export profiles. The profiles live for the run
// only, so the key holds no values; it is created beside the other settings
// keys so that the settings tree has the shape other tools expect.

// Creates "ExportProfiles" below SettingsRoot(), the path above it included
// (opened as one path, so a missing key in the middle never puts it
// elsewhere). Uses a registry object of its own, not the settings store's.
// True when the key exists afterwards.
bool CreateExportProfilesKey();
