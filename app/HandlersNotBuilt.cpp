#include "HandlersNotBuilt.h"

#include <algorithm>

namespace {
const char* const NotBuilt[] = {
    // File.
    "mSaveAsWebPageClick", "mSaveCopyAsClick", "mPrintKBClick", "mSummeryClick",
    // Insert.
    "mDateClick", "mSymbolClick", "mHyperlinkClick",
    // Tools and Help.
    "mOrganizeTemplatesClick", "mOptionsClick", "mWebClick", "mAboutClick",
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
