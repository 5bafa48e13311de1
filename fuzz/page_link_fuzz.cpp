// Link texts of any bytes, resolved in a tree the input also shapes: no crash,
// no page from outside the tree, and every page's own links lead back to it.

#include "PageLinks.h"
#include "RelativePaths.h"
#include "../tests/framework_base/SamplePageTree.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

namespace {
// The first bytes shape the tree: each makes a page below an earlier one,
// titled from a short list so that names repeat, blanks and "^" included.
SamplePageTree TreeFrom(std::string_view& input)
{
    static const char* const titles[] = {"Home", "a b", "a_b", "^", "", "x", "Plan B", "\\", "file:"};
    SamplePageTree tree("Home");
    const size_t pages = input.empty() ? 0 : static_cast<unsigned char>(input.front()) % 24;
    input.remove_prefix(input.empty() ? 0 : 1);
    for (size_t i = 0; i < pages && !input.empty(); ++i) {
        const auto byte = static_cast<unsigned char>(input.front());
        input.remove_prefix(1);
        const auto& nodes = tree.Nodes();
        tree.Add(&nodes[byte % nodes.size()], titles[(byte / 7) % std::size(titles)]);
    }
    return tree;
}

// A link cannot name a page on whose way from the root a title is empty, is
// "^" or holds a backslash (they read as a stop, a step up or a separator),
// nor a page below a later sibling with the link name of an earlier one.
bool Linkable(const SamplePageTree::Node& page)
{
    for (const SamplePageTree::Node* node = &page; node; node = node->parent) {
        if (node->title.empty() || node->title == "^" || node->title.find('\\') != std::string::npos)
            return false;
        if (node != &page && node->parent) {
            for (size_t i = 0; i < node->place; ++i) {
                if (LinkName(node->parent->children[i]->title) == LinkName(node->title))
                    return false;
            }
        }
    }
    return true;
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const SamplePageTree tree = TreeFrom(input);
    std::set<PageTreeView::Page> pages;
    for (const auto& node : tree.Nodes())
        pages.insert(&node);

    const std::string link(input);
    (void)IsUrl(link);
    for (const auto& from : tree.Nodes()) {
        const PageTreeView::Page found = ResolvePageLink(tree, &from, link);
        if (found && !pages.count(found))
            std::abort();
    }
    // A path made relative to a folder on its drive names the same file again.
    const std::string folder = "C:\\Notes\\Work";
    const std::string relative = ExtractRelativePath(folder, link);
    if (relative != link && ExpandRelativePath(folder, relative).empty())
        std::abort();
    (void)ExpandRelativePath(link, "..\\a.txt");

    // Links built for a page lead back to it, or to an earlier twin with the
    // same link names, which resolves to itself.
    const auto& nodes = tree.Nodes();
    const auto& selected = nodes[link.size() % nodes.size()];
    for (const auto& target : nodes) {
        if (!Linkable(target))
            continue;
        for (const std::string& built : {BuildAbsoluteLink(tree, &target), BuildRelativeLink(tree, &selected, &target)}) {
            if (built == SamePageLink)
                continue;
            const PageTreeView::Page found = ResolvePageLink(tree, &selected, built);
            if (!found || BuildAbsoluteLink(tree, found) != BuildAbsoluteLink(tree, &target))
                std::abort();
        }
    }
    return 0;
}
