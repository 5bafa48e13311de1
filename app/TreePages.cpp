#include "TreePages.h"

#include "PageData.h"
#include "TreeView.h"

PageTreeView::Page TreePages::Root() const { return tree_.Items().GetFirstNode(); }

PageTreeView::Page TreePages::Parent(Page page) const { return Node(page)->Parent(); }

PageTreeView::Page TreePages::FirstChild(Page page) const { return Node(page)->getFirstChild(); }

PageTreeView::Page TreePages::NextSibling(Page page) const { return Node(page)->getNextSibling(); }

std::string TreePages::Title(Page page) const { return Node(page)->Text(); }

int TreePages::State(Page page) const { return Node(page)->StateIndex(); }

const std::string& TreePages::Body(Page page) const
{
    if (const auto* data = static_cast<const PageData*>(Node(page)->Data()))
        return data->BodyText();
    return PageTreeView::Body(page);
}

int TreePages::Level(Page page) const { return Node(page)->Level(); }

int TreePages::Index(Page page) const { return Node(page)->Index(); }
