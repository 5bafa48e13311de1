#include "ShutdownWatcherApp.h"

#include "ShutdownHandshake.h"
#include "ShutdownWatcherDlg.h"

bool CShutdownWatcherApp::InitInstance()
{
    // Started by hand, or after Quillo already closed: nothing to wait for,
    // so no window and no mutex.
    if (!shutdown_handshake::ClosingWindowExists())
        return false;

    CShutdownWatcherDlg dialog(instance_);
    dialog.DoModal();
    return false;
}
