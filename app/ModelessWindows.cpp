#include "ModelessWindows.h"

#include "Application.h"
#include "Form.h"

std::unique_ptr<TForm> FindR;
std::unique_ptr<TForm> Symbol;
std::unique_ptr<TForm> OrganizeTemplates;

namespace {
void Free(std::unique_ptr<TForm>& window)
{
    // The close may come while one of these windows waits in a message box
    // of its own (the tray's Exit), so it goes once its handler is done.
    Application.ReleaseForm(std::move(window));
}
}

void FreeModelessWindows()
{
    Free(FindR);
    Free(Symbol);
    Free(OrganizeTemplates);
}

bool FindWindowIsActive() { return FindR && FindR->Handle() && GetActiveWindow() == FindR->Handle(); }
