#pragma once
// A branch of the outline (a page with all its descendants) as a ".kbf" file
// of its own, and the backup copy made after a save.

#include <string>

// Writes the selected page (the root when nothing is selected) and its branch
// to path, safely as `SaveOutline` does, with fresh stamped properties; the
// open outline's properties, file name and changed flag stay. False, with the
// message shown, when the file could not be written; callers that open, mail
// or list the file must stop then.
bool ExportOutlineBranch(const std::string& path);
// Reads the file as a new branch, the last child of the selected page, which
// becomes selected and is collapsed with its branch. False, with the message
// shown, when the file cannot be read; a file damaged after its header keeps
// the pages read before the damage.
bool ImportOutlineBranch(const std::string& path);
// Copies the outline file into the backup folder as <name>.bak, replacing an
// earlier copy and making the folder when it is missing. Silent.
void BackupOutline(const std::string& path);
