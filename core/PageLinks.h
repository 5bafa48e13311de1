#pragma once
// Links in page titles and page text: web, mail, news and file links, and
// links to other pages of the outline ("file::" from the root, "file:." from
// the page that holds the link).
//
// Portable on purpose: text in, answer out, no tree control.

#include <string_view>

// True when the text is a link: it starts with "mailto:", "telnet:" or
// "news:", or holds "file:" or "://" anywhere. Case counts, so "Mailto:x"
// is no link, and neither is a bare host name.
bool IsUrl(std::string_view text);
