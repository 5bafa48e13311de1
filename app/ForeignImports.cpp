#include "ForeignImports.h"

#include "MessageBoxes.h"

bool ImportTreePad(const std::string& /*path*/)
{
    ShowInfoMessage("TreePad files cannot be opened yet.");
    return false;
}

bool ImportActionOutline(const std::string& /*path*/)
{
    ShowInfoMessage("ActionOutline files cannot be opened yet.");
    return false;
}
