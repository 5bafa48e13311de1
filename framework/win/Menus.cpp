#include "Menus.h"

bool TMainMenu::IsShortCut(WORD, TShiftState) { return false; }

void TPopupMenu::Popup(int, int) {}

bool DispatchMenuMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) { return false; }
