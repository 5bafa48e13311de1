#include "HelpTopics.h"

#include "HtmlHelp.h"

#include <algorithm>

std::string HelpTopicAddress(const std::string& helpFile, const std::string& page)
{
    return helpFile + "::/html/" + page + ".htm>Topic";
}

std::string FormHelpTopicAddress(const std::string& helpFile, const std::string& formClassName)
{
    std::string page = formClassName;
    std::transform(page.begin(), page.end(), page.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return HelpTopicAddress(helpFile, page);
}

std::string TutorialHelpAddress(const std::string& helpFile) { return helpFile + "::/html/tutorial.htm>Tcard"; }

void ShowHelpTopic(const std::string& address) { HtmlHelp(nullptr, address, HelpDisplayTopic, 0); }

void ShowHelpContents(const std::string& helpFile) { HtmlHelp(nullptr, helpFile, HelpDisplayContents, 0); }
