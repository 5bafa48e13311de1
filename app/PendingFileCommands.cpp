// PENDING: stand-ins for the file commands until they are merged.
#include "Main.h"

#include "Application.h"
#include "OutlineFile.h"
#include "SharedState.h"

void TMain::Retitle()
{
    std::string name = CurrentFileName;
    const auto slash = name.find_last_of("\\/");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    const auto dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    Application.SetTitle(name + " - Corvane Quillo");
    SetCaption(Application.Title());
    Tray.SetHint(Application.Title());
}

bool TMain::mSaveClick(TComponent*)
{
    if (CurrentFileName == UntitledFileName)
        return false;
    return SaveOutline(CurrentFileName);
}
