#include "Main.h"

#include "Application.h"
#include "ModelessWindows.h"
#include "Splash.h"
#include "WatcherHandshake.h"

TMain* Main = nullptr;

TMain::TMain()
{
    Main = this;
    CreateParams params;
    params.caption = Application.Title();
    params.width = 760;
    params.height = 540;
    CreateHandle(params);
    OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
    OnClose = [this](TCloseAction& action) { FormClose(action); };
    Show();
    CloseSplash();
}

TMain::~TMain()
{
    if (Main == this)
        Main = nullptr;
}

void TMain::FormCloseQuery(bool& /*canClose*/) {}

void TMain::FormClose(TCloseAction& /*action*/)
{
    // The watcher finds this window by its title and holds its closing window
    // until the window is gone, so the title changes before it starts.
    Application.SetTitle(ClosingTitle);
    SetCaption(Application.Title());
    StartWatcher();
    FreeModelessWindows();
}
