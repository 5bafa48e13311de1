#pragma once
// What the main window remembers about its own start and close.

#include "ControlFont.h"
#include "FileIdentity.h"

struct TMainLifecycle {
    // The first activation loads and applies the settings; later ones do not.
    bool firstActivation = true;
    // The start-up outline is chosen once.
    bool startupOutlineChosen = false;
    // Set while an automatic save runs, so that none starts inside it.
    bool autoSaving = false;
    // The outline's file as it was when an automatic save last left it
    // alone because another program or window had changed it.
    FileStamp autoSaveHeldAt;
    TControlFont treeFont;
    TControlFont editorFont;
};
