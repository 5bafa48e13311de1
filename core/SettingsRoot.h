#pragma once
// Where Quillo keeps its settings under the current user's hive. Tests point it
// at a key of their own so that a run never touches a user's real settings.

#include <string>

const std::string& SettingsRoot();
void SetSettingsRoot(const std::string& keyPath);

// The key Quillo uses when nobody has replaced it.
inline const char* const DefaultSettingsRoot = "Software\\Corvane\\Quillo\\1";
