#pragma once
// Addresses of pages in the help file, and the two ways of opening it.

#include <string>

inline const char* const HelpFileName = "Quillo.chm";

// helpFile + "::/html/" + page + ".htm>Topic": a page in the Topic window.
std::string HelpTopicAddress(const std::string& helpFile, const std::string& page);
// The topic page of a window: its form class name in lower case.
std::string FormHelpTopicAddress(const std::string& helpFile, const std::string& formClassName);
// The tutorial, in the Tcard window.
std::string TutorialHelpAddress(const std::string& helpFile);

// Opens a help address (display-topic command), with no owner window.
void ShowHelpTopic(const std::string& address);
// Opens the help file at its table of contents.
void ShowHelpContents(const std::string& helpFile);
