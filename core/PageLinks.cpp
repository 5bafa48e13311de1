#include "PageLinks.h"

#include <algorithm>
#include <vector>

namespace {
using Page = PageTreeView::Page;

// Schemes that make a link only at the start of the text.
constexpr std::string_view LeadingSchemes[] = {"mailto:", "telnet:", "news:"};
// Marks that make a link wherever they stand: a title like "See file:C:\x.kbf"
// is a link too.
constexpr std::string_view LinkMarks[] = {"file:", "://"};
constexpr std::string_view FileScheme = "file:";

// The pages from the root down to the page, both included.
std::vector<Page> PathFromRoot(const PageTreeView& tree, Page page)
{
    std::vector<Page> path;
    for (; page; page = tree.Parent(page))
        path.push_back(page);
    std::reverse(path.begin(), path.end());
    return path;
}

std::vector<std::string_view> SplitPath(std::string_view path)
{
    std::vector<std::string_view> elements;
    for (;;) {
        const size_t separator = path.find(PageLinkSeparator);
        elements.push_back(path.substr(0, separator));
        if (separator == std::string_view::npos)
            return elements;
        path.remove_prefix(separator + PageLinkSeparator.size());
    }
}

void AppendElement(std::string& link, bool& first, std::string_view element)
{
    if (!first)
        link += PageLinkSeparator;
    link += element;
    first = false;
}

// Walks the elements from the page; an empty last element stops where the
// walk is.
Page Walk(const PageTreeView& tree, Page page, const std::vector<std::string_view>& elements, size_t from)
{
    for (size_t i = from; i < elements.size() && page; ++i) {
        const std::string_view element = elements[i];
        if (element.empty() && i + 1 == elements.size())
            break;
        page = element == ParentStep ? tree.Parent(page) : FindChildByName(tree, page, element);
    }
    return page;
}
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

std::string LinkName(std::string_view title)
{
    std::string name(title);
    std::replace(name.begin(), name.end(), ' ', '_');
    return name;
}

std::string BuildAbsoluteLink(const PageTreeView& tree, Page target)
{
    std::string link(AbsolutePageLinkPrefix);
    bool first = true;
    for (const Page page : PathFromRoot(tree, target))
        AppendElement(link, first, LinkName(tree.Title(page)));
    return link;
}

std::string BuildRelativeLink(const PageTreeView& tree, Page selected, Page target)
{
    if (target == selected)
        return std::string(SamePageLink);
    const std::vector<Page> from = PathFromRoot(tree, selected);
    const std::vector<Page> to = PathFromRoot(tree, target);
    const size_t common = static_cast<size_t>(
        std::mismatch(from.begin(), from.end(), to.begin(), to.end()).first - from.begin());
    std::string link(RelativePageLinkPrefix);
    bool first = true;
    for (size_t up = common; up < from.size(); ++up)
        AppendElement(link, first, ParentStep);
    for (size_t down = common; down < to.size(); ++down)
        AppendElement(link, first, LinkName(tree.Title(to[down])));
    return link;
}

Page FindChildByName(const PageTreeView& tree, Page page, std::string_view element)
{
    for (Page child = tree.FirstChild(page); child; child = tree.NextSibling(child)) {
        if (LinkName(tree.Title(child)) == element)
            return child;
    }
    return nullptr;
}

Page ResolveAbsoluteLink(const PageTreeView& tree, std::string_view path)
{
    const std::vector<std::string_view> elements = SplitPath(path);
    const Page root = tree.Root();
    if (!root || elements.front() != LinkName(tree.Title(root)))
        return nullptr;
    return Walk(tree, root, elements, 1);
}

Page ResolveRelativeLink(const PageTreeView& tree, Page selected, std::string_view path)
{
    if (path.empty())
        return nullptr;
    return Walk(tree, selected, SplitPath(path), 0);
}

Page ResolvePageLink(const PageTreeView& tree, Page selected, std::string_view link)
{
    // "file:" and the character that tells the two kinds apart.
    if (!link.starts_with(FileScheme) || link.size() <= FileScheme.size())
        return nullptr;
    const bool absolute = link[FileScheme.size()] == ':';
    link.remove_prefix(FileScheme.size() + 1);
    return absolute ? ResolveAbsoluteLink(tree, link) : ResolveRelativeLink(tree, selected, link);
}
