#pragma once
// The temporary files of the safe writer. Each lies beside its target and is
// named after it and after the process writing it, "Notes.kbf.1234.saving"
// for Notes.kbf written by process 1234, so that a person who finds one left
// by a save that never ended (the program was killed) sees what it is, and
// the next save of that target can take it away.

#include <string>

// The temporary file this process writes path through; empty when that name
// would be longer than the system's paths may be.
std::string SavingFileOf(const std::string& path);

// Deletes the temporary files that saves of path left behind: those whose
// process has ended and that nobody holds open. A file of a process still
// running is never touched, whatever its save is doing; so are names that
// only look alike (another target's, or no process number).
void RemoveLeftoverSavingFiles(const std::string& path);
