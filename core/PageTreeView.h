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

    // The state icon number as loaded (1 is none); trees without states
    // have none.
    virtual int State(Page) const { return 1; }
    // The page text, CR LF line ends as the editor stores them.
    virtual const std::string& Body(Page) const
    {
        static const std::string none;
        return none;
    }
    // 0 for the root. A tree that knows it faster says so.
    virtual int Level(Page page) const
    {
        int level = 0;
        for (Page up = Parent(page); up; up = Parent(up))
            ++level;
        return level;
    }
    // The place among its siblings, from 0.
    virtual int Index(Page page) const
    {
        const Page parent = Parent(page);
        int index = 0;
        for (Page sibling = parent ? FirstChild(parent) : Root(); sibling && sibling != page;
             sibling = NextSibling(sibling))
            ++index;
        return index;
    }
    // The page after this one in tree order (pre-order), staying inside the
    // branch of within when it is given; null after the last.
    Page Next(Page page, Page within = nullptr) const
    {
        if (Page child = FirstChild(page))
            return child;
        for (Page at = page; at && at != within; at = Parent(at))
            if (Page sibling = NextSibling(at))
                return sibling;
        return nullptr;
    }
};
