#pragma once
// "mailto:" links, opened by the mail program the options choose.

#include <string>

// Hands the link to the system's default mail program through the shell.
void OpenMailto(const std::string& link);
