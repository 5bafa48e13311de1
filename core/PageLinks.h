#pragma once
// Links in page titles and page text: web, mail, news and file links, and
// links to other pages of the outline ("file::" from the root, "file:." from
// the page that holds the link).
//
// Portable on purpose: text in, answer out, over a read-only view of the tree.
//
// A page link is a path of link names (titles with every blank made "_")
// separated by two backslashes; "^" steps to the parent. Absolute:
// "file::Root\\Projects\\Plan_B"; relative: "file:.^\\Plan_B". Link names
// compare exactly; of two siblings with the same link name the first wins.

#include "PageTreeView.h"

#include <string>
#include <string_view>

// True when the text is a link: it starts with "mailto:", "telnet:" or
// "news:", or holds "file:" or "://" anywhere. Case counts, so "Mailto:x"
// is no link, and neither is a bare host name.
bool IsUrl(std::string_view text);

inline constexpr std::string_view AbsolutePageLinkPrefix = "file::";
inline constexpr std::string_view RelativePageLinkPrefix = "file:.";
inline constexpr std::string_view PageLinkSeparator = "\\\\";
inline constexpr std::string_view ParentStep = "^";
// What BuildRelativeLink gives for a link from a page to itself.
inline constexpr std::string_view SamePageLink = "0";

// The title with every blank replaced by "_".
std::string LinkName(std::string_view title);

// "file::" and the link names from the root down to the target.
std::string BuildAbsoluteLink(const PageTreeView& tree, PageTreeView::Page target);
// "file:." and the steps from the selected page to the target: up to their
// nearest common ancestor by "^", then down by link names. "0" when the
// target is the selected page.
std::string BuildRelativeLink(const PageTreeView& tree, PageTreeView::Page selected, PageTreeView::Page target);

// The first child of the page, in order, whose link name is the element.
PageTreeView::Page FindChildByName(const PageTreeView& tree, PageTreeView::Page page, std::string_view element);
// The page a path after "file::" names, or null. The first element is the
// root's link name; an empty last element (a trailing separator) stops at the
// page reached.
PageTreeView::Page ResolveAbsoluteLink(const PageTreeView& tree, std::string_view path);
// The page a path after "file:." names from the selected page, or null. An
// empty path names no page; an empty last element stops at the page reached.
PageTreeView::Page ResolveRelativeLink(const PageTreeView& tree, PageTreeView::Page selected, std::string_view path);
// The page a whole link text names: "file:" then ":" for an absolute path,
// any other character for a relative one. Null for a text too short to hold
// a path, or one that does not start with "file:".
PageTreeView::Page ResolvePageLink(const PageTreeView& tree, PageTreeView::Page selected, std::string_view link);
