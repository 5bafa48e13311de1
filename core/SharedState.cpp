#include "SharedState.h"

#include "PageHistory.h"

std::string ParentOutlineFile;
TStringList RecentFiles;
std::string SharedResultText;
std::string CurrentFileName = UntitledFileName;
std::string TitleBeforeEdit;
TTreeNode* EditorPage = nullptr;
TTreeNode* LastShownPage = nullptr;
TPageClipboard PageClipboard;
struct OutlineProperties OutlineProperties;
std::int32_t AutoSaveMinutes = 0;

void InitMainGlobals()
{
    ParentOutlineFile.clear();
    RecentFiles.Clear();
    SharedResultText.clear();
    CurrentFileName = UntitledFileName;
    TitleBeforeEdit.clear();
    EditorPage = nullptr;
    LastShownPage = nullptr;
    PageClipboard = TPageClipboard{};
    ResetOutlineProperties(OutlineProperties);
    OutlineProperties.FileChanged = 0;
    AutoSaveMinutes = 0;
    ClearHistory();
}

void FreeMainGlobals()
{
    ClearHistory();
    RecentFiles.Clear();
    EditorPage = nullptr;
    LastShownPage = nullptr;
    PageClipboard = TPageClipboard{};
}
