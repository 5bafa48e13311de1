// Which texts count as links.

#include "PageLinks.h"

#include <gtest/gtest.h>

#include <utility>

TEST(IsUrl, SchemesLeadMarksCountAnywhereAndCaseMatters)
{
    const std::pair<const char*, bool> rows[] = {
        {"http://example.com", true}, {"a://b", true},           {"see file:C:\\notes.kbf", true},
        {"file:.^", true},            {"mailto:ann@x.org", true}, {"telnet:host", true},
        {"news:comp.lang", true},     {"Mailto:ann@x.org", false}, {"write to mailto:ann", false},
        {"FILE:C:\\x.kbf", false},    {"www.example.com", false}, {"example.com", false},
        {"", false},
    };
    for (const auto& [text, isLink] : rows)
        EXPECT_EQ(IsUrl(text), isLink) << '"' << text << '"';
}
