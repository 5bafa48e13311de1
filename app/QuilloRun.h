#pragma once

// The whole run of the main program, from the watcher check to the end-of-run
// handshake. Returns the process exit code.
int RunQuillo();
