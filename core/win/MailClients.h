#pragma once

#include <windows.h>

#include <string>
#include <vector>

inline const char* const MailClientsPath = "Software\\Clients\\Mail";

// Names of the mail clients registered on the machine, sorted without regard
// to case. Tests pass a root and path of their own.
std::vector<std::string> ListMailClients();
std::vector<std::string> ListMailClients(HKEY root, const std::string& path);
