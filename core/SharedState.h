#pragma once
// State shared by the outline core and the main window for the whole run.

#include "OutlineProperties.h"
#include "StringList.h"

#include <cstdint>
#include <string>

class TTreeNode;

// The branch cut or copied in the page tree.
struct TPageClipboard {
    TTreeNode* Source = nullptr;
    std::uint8_t Cut = 0;
};

inline const char* const UntitledFileName = "Untitled";

// The outline to reopen with Up One Level from the root page.
extern std::string ParentOutlineFile;
// Recent outline paths, newest first.
extern TStringList RecentFiles;
// Text a dialog hands back to its caller.
extern std::string SharedResultText;
// Path of the open outline; exactly "Untitled" while it has no file.
extern std::string CurrentFileName;
// The selected page's title when label editing began.
extern std::string TitleBeforeEdit;
// The page whose text the editor holds.
extern TTreeNode* EditorPage;
// The page last loaded into the editor.
extern TTreeNode* LastShownPage;
extern TPageClipboard PageClipboard;
// The open outline's properties, FileChanged among them. The variable has the
// record's name, so where both are wanted the type is written
// "struct OutlineProperties".
extern struct OutlineProperties OutlineProperties;
// Minutes since the last autosave.
extern std::int32_t AutoSaveMinutes;

// Puts every shared value to its start state; called before the main window
// exists. FreeMainGlobals lets go of what they refer to after it is gone.
void InitMainGlobals();
void FreeMainGlobals();
