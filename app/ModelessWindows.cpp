#include "ModelessWindows.h"

#include "Application.h"
#include "Form.h"

std::unique_ptr<TForm> FindR;
std::unique_ptr<TForm> Symbol;
std::unique_ptr<TForm> OrganizeTemplates;

namespace {
void Free(std::unique_ptr<TForm>& window)
{
    if (window)
        Application.RemoveModelessWindow(window->Handle());
    window.reset();
}
}

void FreeModelessWindows()
{
    Free(FindR);
    Free(Symbol);
    Free(OrganizeTemplates);
}
