#pragma once
// Outlines of other outliners, each read into a new outline: TreePad text
// files (".hjt") and ActionOutline files (".ao").

#include <string>

// True when the file became the open outline. Until their readers exist both
// say that the format cannot be read and return false, so the caller starts a
// new empty outline as after any failed read.
bool ImportTreePad(const std::string& path);
bool ImportActionOutline(const std::string& path);
