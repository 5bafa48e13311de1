#pragma once
// Whether two names lead to one file. Each name is read as the system reads
// it (a relative name from the current folder, a short 8.3 name in its long
// form) and the two are compared without regard to case, as the file system
// compares them; two names of one existing file (a second link to it) are
// the same file too.

#include <string>

// The full path of the name, its short names made long where it exists; the
// name as given when the system cannot read it.
std::string FullLongPath(const std::string& path);

bool NamesSameFile(const std::string& first, const std::string& second);
