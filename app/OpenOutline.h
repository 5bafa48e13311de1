#pragma once
// The one way an outline is opened by its path (File > Open's outlines, the
// recent files, the start-up outline, links to other outlines), and the two
// texts built from the open outline.

#include <string>

// Asks about unsaved changes, reads the file and, when it was read, makes it
// the current outline; a file that cannot be read leaves a new empty outline.
// Answering Yes and then not saving (the save failed or was cancelled) keeps
// the open outline as it is.
void OpenOutline(const std::string& path);
// Opens the outline a link names in this window, remembering the outline it
// came from for Up One Level (also when the file fails to load and a new
// outline takes its place). A file that does not exist is reported and
// changes nothing: the open outline stays.
void OpenLinkedOutline(const std::string& path);

// "Untitled" while the outline has no file, else its file name without folder
// and extension.
std::string OutlineTitle();

// Eight lines, each ended by CR LF: name, last saved by, subject,
// description, created, modified, revisions and the number of pages.
std::string PropertiesText();

// Asked before the open outline is replaced: Yes/No/Cancel with the
// information icon; the result is the button's modal result.
int AskToSaveChanges(const std::string& question);
inline const char* const SaveBeforeOpenQuestion =
    "Current file is changed. Whould you like to save changes before open another file?";
inline const char* const SaveBeforeNewQuestion =
    "Current file is changed. Whould you like to save changes before create a new file?";
// Runs the question when the outline is changed: true when the caller may go
// on (not changed, No, or Yes and the save succeeded).
bool SaveChangesFirst(const std::string& question);
