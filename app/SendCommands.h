#pragma once
// Where the Send To commands put the outline.

#include <string>

// The floppy drive's root folder, "a:\". Tests put a folder of their own in
// its place (with a trailing backslash); an empty root brings "a:\" back.
std::string FloppyRoot();
void SetFloppyRoot(const std::string& root);
