#pragma once

#include <string>

// The full path of the running program.
std::string ExePath();
// The folder of the running program, with a trailing backslash. The files
// Quillo ships (the watcher, help, tutorial, templates) sit there.
std::string ExeFolder();
