#pragma once
// The outlines opened and saved last: their registry form under the settings
// root's key "Reopen", and the rules the Reopen menus are rebuilt by. The
// list itself is RecentFiles (SharedState.h), newest first, full paths.
//
// Stored form: "Count" (REG_DWORD, at most 8), then the paths as REG_SZ values
// named "0" (the newest) to Count-1. Higher names left by earlier saves are
// ignored.

#include "StringList.h"

#include <memory>
#include <string>

// How many outlines the list and the menus hold.
inline constexpr int MaxRecentFiles = 8;

// A new list read from the registry: the first min(Count, 8) values, empty
// ones and repeats included, a missing one as "". A missing key or Count gives
// an empty list; a value of the wrong type ends the read with what was read
// before it. Nothing is reported.
std::unique_ptr<TStringList> LoadRecentFiles();

// Writes Count and the first 8 entries of list, creating "Reopen" below an
// existing settings key when it is missing. A failure -- a missing settings
// key included -- raises ERegistryException "Failed to set data for '<name>'",
// so WriteSettingsReporting can report it and go on.
void SaveRecentFiles(const TStrings& list);

// The list rules of a rebuild of the menus: at most 8 entries (the oldest
// go), and then no entry whose file is gone from the disk. An entry on a
// drive without a disk counts as gone, without the system asking for one.
void PruneRecentFiles(TStrings& list);

// True when list holds path, compared without regard to case.
bool RecentFilesHold(const TStrings& list, const std::string& path);

// The caption of entry index (from 0) in the Reopen menus: "&", the index, two
// blanks, the path. The reopen handlers take the path back with
// RecentPathFromCaption, so the two must stay in step.
std::string RecentCaption(int index, const std::string& path);
// The path of a caption made by RecentCaption.
std::string RecentPathFromCaption(const std::string& caption);
