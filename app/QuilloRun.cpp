#include "QuilloRun.h"

#include "Application.h"
#include "ComponentCursors.h"
#include "Exceptions.h"
#include "LocaleFormatSettings.h"
#include "Main.h"
#include "ProductNames.h"
#include "SharedState.h"
#include "Splash.h"
#include "WatcherHandshake.h"

#include <windows.h>

namespace {
void RunApplication()
{
    Application.Initialize();
    RegisterComponentCursors();
    ApplyLocaleFormatSettings();
    Application.SetTitle(UntitledTitle);
    Application.SetHelpFile("Quillo.chm");
    ShowSplash();
    Application.CreateForm<TMain>();
    Application.Run();
}
}

int RunQuillo()
{
    InitMainGlobals();
    if (!WatcherFilePresent()) {
        // Nothing of the program exists yet, so this is a plain box without owner.
        MessageBoxA(nullptr, "Cannot find '_Dorwick.exe', please re-install Quillo", ProductCaption,
                    MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    try {
        RunApplication();
    } catch (const std::exception& error) {
        Application.HandleException(error);
    }
    WaitForWatcherReady();
    CloseSplash();
    Application.DestroyForms();
    FreeMainGlobals();
    return 0;
}
