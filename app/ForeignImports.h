#pragma once
// Outlines of other outliners, each read into a new outline: TreePad text
// files (".hjt") and ActionOutline files (".ao").

#include <string>

// Each starts a new outline and reads the file into it. True when the file
// came in whole; false, with the message shown, when it cannot be opened or
// is damaged: the window then holds the pages read before the damage.
bool ImportTreePad(const std::string& path);
bool ImportActionOutline(const std::string& path);
