#include "TreePages.h"

#include "TreeView.h"

PageTreeView::Page TreePages::Root() const { return tree_.Items().GetFirstNode(); }

PageTreeView::Page TreePages::Parent(Page page) const { return Node(page)->Parent(); }

PageTreeView::Page TreePages::FirstChild(Page page) const { return Node(page)->getFirstChild(); }

PageTreeView::Page TreePages::NextSibling(Page page) const { return Node(page)->getNextSibling(); }

std::string TreePages::Title(Page page) const { return Node(page)->Text(); }
