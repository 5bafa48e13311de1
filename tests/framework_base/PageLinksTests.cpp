// Which texts count as links, and links between the pages of an outline.

#include "PageLinks.h"
#include "SamplePageTree.h"

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

namespace {
using Node = SamplePageTree::Node;

// Home
//   Projects
//     My Notes
//       Draft
//     Plan B
//   Ideas
//     Plan B      (a cousin with the same name)
class PageLinks : public ::testing::Test {
protected:
    SamplePageTree tree{"Home"};
    const Node* root = static_cast<const Node*>(tree.Root());
    const Node* projects = tree.Add(nullptr, "Projects");
    const Node* notes = tree.Add(projects, "My Notes");
    const Node* draft = tree.Add(notes, "Draft");
    const Node* planB = tree.Add(projects, "Plan B");
    const Node* ideas = tree.Add(nullptr, "Ideas");
    const Node* ideasPlanB = tree.Add(ideas, "Plan B");
};
}

TEST_F(PageLinks, EveryPageLinksToEveryOtherBothWaysAndToItselfAsZero)
{
    for (const Node& from : tree.Nodes()) {
        for (const Node& to : tree.Nodes()) {
            const std::string absolute = BuildAbsoluteLink(tree, &to);
            ASSERT_TRUE(absolute.starts_with("file::")) << absolute;
            EXPECT_EQ(ResolvePageLink(tree, &from, absolute), &to) << absolute;
            const std::string relative = BuildRelativeLink(tree, &from, &to);
            if (&from == &to) {
                EXPECT_EQ(relative, "0");
                continue;
            }
            ASSERT_TRUE(relative.starts_with("file:.")) << relative;
            EXPECT_EQ(ResolvePageLink(tree, &from, relative), &to) << from.title << " -> " << relative;
        }
    }
}

TEST_F(PageLinks, LinksSpellTheWayUpAndDown)
{
    const struct {
        const Node* from;
        const Node* to;
        const char* link;
    } rows[] = {
        {draft, notes, "file:.^"},
        {draft, projects, "file:.^\\\\^"},
        {notes, planB, "file:.^\\\\Plan_B"},
        {projects, draft, "file:.My_Notes\\\\Draft"},
        {draft, ideasPlanB, "file:.^\\\\^\\\\^\\\\Ideas\\\\Plan_B"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(BuildRelativeLink(tree, row.from, row.to), row.link);
    EXPECT_EQ(BuildAbsoluteLink(tree, root), "file::Home");
    EXPECT_EQ(BuildAbsoluteLink(tree, draft), "file::Home\\\\Projects\\\\My_Notes\\\\Draft");
}

TEST_F(PageLinks, PathsThatNameNoPageOrStopEarly)
{
    const struct {
        const Node* from;
        const char* link;
        const Node* page;
    } rows[] = {
        {draft, "file::Home", root},
        {draft, "file::Work", nullptr},
        {draft, "file::Home\\\\Projects\\\\", projects},
        {draft, "file::Home\\\\Plan_B", nullptr},
        // A missing middle element ends the walk, whatever follows it.
        {draft, "file::Home\\\\Gone\\\\Home", nullptr},
        {draft, "file::Home\\\\Projects\\\\My Notes", nullptr},
        {draft, "file::Home\\\\Projects\\\\My_Notes", notes},
        {root, "file:.^", nullptr},
        {notes, "file:.", nullptr},
        {notes, "file:.Draft\\\\", draft},
        {notes, "file:.^\\\\^\\\\^", nullptr},
        // Texts too short to hold a path.
        {notes, "", nullptr},
        {notes, "f", nullptr},
        {notes, "file", nullptr},
        {notes, "file:", nullptr},
        {notes, "http://x", nullptr},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ResolvePageLink(tree, row.from, row.link), row.page) << row.link;
}

TEST_F(PageLinks, OfSiblingsWithOneLinkNameTheFirstWins)
{
    const Node* twin = tree.Add(projects, "Plan_B");
    EXPECT_EQ(FindChildByName(tree, projects, "Plan_B"), planB);
    EXPECT_EQ(FindChildByName(tree, draft, "Plan_B"), nullptr);
    EXPECT_EQ(ResolvePageLink(tree, root, BuildAbsoluteLink(tree, twin)), planB);
    EXPECT_EQ(LinkName(" a  b "), "_a__b_");
}
