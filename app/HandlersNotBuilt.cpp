#include "HandlersNotBuilt.h"

#include <algorithm>

namespace {
const char* const NotBuilt[] = {
    // Menu refreshes, when a menu opens or the selection changes.
    "FileClick", "EditClick", "ViewClick", "InsertClick",
    "PopupPagePopup", "PopupSelPopup", "PopupEditPopup", "PopupSortPopup",
    "RichEditSelectionChange",
    // File.
    "mSaveAsWebPageClick", "mSaveCopyAsClick", "mPrintKBClick", "mSummeryClick",
    // Edit.
    "mUndoClick", "mCutClick", "mCopyClick", "mPasteClick", "mSelectAllClick", "mCaseClick",
    // View and history.
    "mBackClick", "mForwardClick", "PopupBackPopup", "PopupForwardPopup", "pb0Click", "pf0Click",
    // Insert.
    "mDateClick", "mSymbolClick", "mHyperlinkClick",
    // Tools and Help.
    "mFindClick", "mFindNextClick", "mOrganizeTemplatesClick", "mOptionsClick", "mWebClick", "mAboutClick",
    // The page popup.
    "ppSavePageAsClick", "ppPrintPageClick", "ppInsertHyperlinkClick",
    "ppEditHyperlinkClick", "ppOpenClick", "ppCopyHyperlinkClick",
    // The notification-area icon.
    "ptOpenClick", "TrayLButtonUp",
};
}

std::span<const char* const> HandlersNotBuilt() { return NotBuilt; }

bool IsHandlerNotBuilt(std::string_view name)
{
    return std::any_of(std::begin(NotBuilt), std::end(NotBuilt), [name](const char* entry) { return name == entry; });
}
