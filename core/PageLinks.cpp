#include "PageLinks.h"

namespace {
// Schemes that make a link only at the start of the text.
constexpr std::string_view LeadingSchemes[] = {"mailto:", "telnet:", "news:"};
// Marks that make a link wherever they stand: a title like "See file:C:\x.kbf"
// is a link too.
constexpr std::string_view LinkMarks[] = {"file:", "://"};
}

bool IsUrl(std::string_view text)
{
    for (const std::string_view scheme : LeadingSchemes) {
        if (text.starts_with(scheme))
            return true;
    }
    for (const std::string_view mark : LinkMarks) {
        if (text.find(mark) != std::string_view::npos)
            return true;
    }
    return false;
}
