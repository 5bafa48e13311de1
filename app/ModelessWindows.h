#pragma once
// The modeless windows: created once when first needed, kept for the run and
// freed when the main window closes.

#include <memory>

class TForm;

extern std::unique_ptr<TForm> FindR;
extern std::unique_ptr<TForm> Symbol;
extern std::unique_ptr<TForm> OrganizeTemplates;

void FreeModelessWindows();

// The Find window exists and is this thread's active window: the edit
// commands then act on its text box.
bool FindWindowIsActive();
