#pragma once
// The command line that hands a "mailto:" link to a mail client registered
// with a command of its own. The link comes from page text, which may come
// from an imported file, so it must reach the client as one argument and can
// never end that argument, add another or start a second command.

#include <string>

// The link with its double quotes and control characters percent-encoded,
// as a mail client decodes them anyway.
std::string EncodeLinkForCommand(const std::string& link);

// The registered command with its first "%1" replaced by the encoded link,
// quoted where the command leaves "%1" unquoted; a command without "%1" gets
// the quoted link appended.
std::string MailtoCommandLine(const std::string& command, const std::string& link);
