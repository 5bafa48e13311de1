#include "HandlersNotBuilt.h"

#include <algorithm>

namespace {
const char* const NotBuilt[] = {
    // File.
    "mSaveAsWebPageClick", "mSaveCopyAsClick", "mPrintKBClick",
    // The page popup.
    "ppSavePageAsClick", "ppPrintPageClick",
};
}

std::span<const char* const> HandlersNotBuilt() { return NotBuilt; }

bool IsHandlerNotBuilt(std::string_view name)
{
    return std::any_of(std::begin(NotBuilt), std::end(NotBuilt), [name](const char* entry) { return name == entry; });
}
