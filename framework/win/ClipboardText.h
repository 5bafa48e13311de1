#pragma once
// Plain text on the system clipboard.

#include <string>

// Replaces the clipboard's content with the text; false when the clipboard
// could not be opened or the memory not had.
bool SetClipboardText(const std::string& text);
// The clipboard's text; empty when it holds none.
std::string ClipboardText();
