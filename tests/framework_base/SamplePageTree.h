#pragma once
// A tree of titled pages in memory, for the page link and export tests and
// the fuzzers.

#include "PageTreeView.h"

#include <deque>
#include <string>
#include <vector>

class SamplePageTree : public PageTreeView {
public:
    struct Node {
        std::string title;
        Node* parent = nullptr;
        std::vector<Node*> children;
        size_t place = 0;
        int state = 1;
        std::string body;
    };

    explicit SamplePageTree(std::string rootTitle) { nodes_.push_back(Node{std::move(rootTitle), nullptr, {}, 0, 1, {}}); }

    // A new last child of the parent (the root when null).
    const Node* Add(const Node* parent, std::string title)
    {
        Node* owner = parent ? const_cast<Node*>(parent) : &nodes_.front();
        Node& node = nodes_.emplace_back(Node{std::move(title), owner, {}, owner->children.size(), 1, {}});
        owner->children.push_back(&node);
        return &node;
    }
    // A new last child with a state and a page text.
    const Node* Add(const Node* parent, std::string title, int state, std::string body)
    {
        Node& node = const_cast<Node&>(*Add(parent, std::move(title)));
        node.state = state;
        node.body = std::move(body);
        return &node;
    }
    Node& RootNode() { return nodes_.front(); }
    const std::deque<Node>& Nodes() const { return nodes_; }

    Page Root() const override { return &nodes_.front(); }
    Page Parent(Page page) const override { return At(page).parent; }
    Page FirstChild(Page page) const override
    {
        const Node& node = At(page);
        return node.children.empty() ? nullptr : node.children.front();
    }
    Page NextSibling(Page page) const override
    {
        const Node& node = At(page);
        if (!node.parent || node.place + 1 >= node.parent->children.size())
            return nullptr;
        return node.parent->children[node.place + 1];
    }
    std::string Title(Page page) const override { return At(page).title; }
    int State(Page page) const override { return At(page).state; }
    const std::string& Body(Page page) const override { return At(page).body; }

private:
    static const Node& At(Page page) { return *static_cast<const Node*>(page); }
    std::deque<Node> nodes_;
};
