#pragma once
// A read-only look at a tree of titled pages: what the page links and the
// exports need of the outline, without the tree control, so that they build
// and are tested natively. The main window gives one over its page tree.

#include <string>

class PageTreeView {
public:
    // A page of the tree, opaque to the reader; null is no page.
    using Page = const void*;

    virtual ~PageTreeView() = default;
    virtual Page Root() const = 0;
    // Null for the root.
    virtual Page Parent(Page page) const = 0;
    // The children in order; null when there is none (more).
    virtual Page FirstChild(Page page) const = 0;
    virtual Page NextSibling(Page page) const = 0;
    virtual std::string Title(Page page) const = 0;
};
