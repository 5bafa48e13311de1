#pragma once

#include <string>

// The program's information box: the text, the product caption, an OK button.
void ShowInfoMessage(const std::string& text);
