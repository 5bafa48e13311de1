#pragma once
// Two machine-wide facts other settings are built from. Both read "" when the
// value is missing or cannot be read.

#include <string>

// "WinDir" of HKLM SOFTWARE\Microsoft\Windows\CurrentVersion\Setup.
std::string ReadWindowsDir();
// "RegisteredOwner" of HKLM SOFTWARE\Microsoft\Windows\CurrentVersion.
std::string ReadRegisteredOwner();
