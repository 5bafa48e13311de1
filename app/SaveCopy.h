#pragma once
// Writing a saved copy: the whole outline, the current branch or the selected
// page as text, RTF, a web page or an outline file, and what follows it. A
// copy never becomes the open outline's file, every type is written safely
// (a failed copy leaves an existing file as it was), and only a file that was
// written is opened or mailed.

#include <string>

// The save-copy dialog's file types, by filter index.
enum SaveCopyType { TextCopy = 1, RtfCopy = 2, WebPageCopy = 3, OutlineCopy = 4 };

// path, with the type's extension added when it has none; a name with any
// extension keeps it.
std::string WithSaveCopyExtension(const std::string& path, int type);

// Writes the items (TSaveExt::Items) in the type to path. False, with the
// failure shown, when the file was not written.
bool WriteSaveCopy(const std::string& path, int type, int items);

// The panel's after-save action (TSaveExt::After) on the written file.
void RunAfterSave(int after, const std::string& path);
