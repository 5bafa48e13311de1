#include "MessageBoxes.h"

#include "Application.h"
#include "ProductNames.h"

void ShowInfoMessage(const std::string& text) { Application.MessageBox(text, ProductCaption, MB_OK | MB_ICONINFORMATION); }
