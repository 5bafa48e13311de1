#include "QuilloRun.h"

#include "Application.h"
#include "ComponentCursors.h"
#include "Exceptions.h"
#include "GIFImage.h"
#include "IconClip.h"
#include "LocaleFormatSettings.h"
#include "Main.h"
#include "ProductNames.h"
#include "ProgramFolder.h"
#include "SettingsRecords.h"
#include "SettingsRegistry.h"
#include "SharedState.h"
#include "Splash.h"
#include "WatcherHandshake.h"

#include <windows.h>

namespace {
// The settings records hold their defaults before the main window exists.
void InitSettingsRecords()
{
    SetDefaultOptions(OptionSettings, ExeFolder());
    SetDefaultUserSettings(UserSettings, ExeFolder());
    ClearDialogStates(DialogStates);
    // A setting that cannot be written must neither stop the start nor trap
    // the program at close: the error is shown and the run goes on.
    SetSettingsErrorReporter([](const std::string& text) { Application.ShowException(Exception(text)); });
}

void RunApplication()
{
    Application.Initialize();
    RegisterComponentCursors();
    RegisterIconClipboardFormat();
    ApplyLocaleFormatSettings();
    InitSettingsRecords();
    Application.SetTitle(UntitledTitle);
    Application.SetHelpFile("Quillo.chm");
    RegisterGIFImage();
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
    UnregisterGIFImage();
    FreeMainGlobals();
    return 0;
}
