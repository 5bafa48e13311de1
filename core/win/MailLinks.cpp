#include "MailLinks.h"

#include "ShellOpen.h"

void OpenMailto(const std::string& link) { OpenWithShell(link); }
