#pragma once
// The main window's page tree seen as a tree of titled pages, for the page
// links and the exports (whatever reads the outline without the control).

#include "PageTreeView.h"

class TTreeNode;
class TTreeView;

class TreePages : public PageTreeView {
public:
    explicit TreePages(const TTreeView& tree) : tree_(tree) {}

    static Page Of(const TTreeNode* node) { return node; }
    static TTreeNode* Node(Page page) { return const_cast<TTreeNode*>(static_cast<const TTreeNode*>(page)); }

    Page Root() const override;
    Page Parent(Page page) const override;
    Page FirstChild(Page page) const override;
    Page NextSibling(Page page) const override;
    std::string Title(Page page) const override;
    int State(Page page) const override;
    const std::string& Body(Page page) const override;
    int Level(Page page) const override;
    int Index(Page page) const override;

private:
    const TTreeView& tree_;
};
