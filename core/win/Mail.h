#pragma once
// Mail goes to the client that the options name ("System Default": the one
// the system registers as the default). Messages are handed over through
// Simple MAPI; the client shows its own message window.

#include <string>

// A new message to the address (none when empty) with the file attached
// (none when empty). Nothing is reported: a client that cannot be found or
// loaded means no message window.
void SendMailMapi(const std::string& address, const std::string& attachment);

// Follows a "mailto:" link with the chosen client.
void OpenMailto(const std::string& link);
