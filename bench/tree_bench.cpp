// Times the page tree with a full-size outline (65,535 pages, the most a file
// may hold) in a hidden window: building it, walking it, numbering it, moving
// pages the way the file readers do, opening every branch and deleting it all.

#include "BenchReport.h"
#include "BenchTreeForm.h"
#include "Form.h"
#include "TreeView.h"

#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {
constexpr int PageCount = 65535;

class BenchForm : public BenchTreeForm {
public:
    BenchForm() : BenchTreeForm("Tree benchmark") {}
};

// The parent of each page of a realistic outline in file order: one root,
// sections and sub pages down to level 8, branches of varying size.
std::vector<int> OutlineParents()
{
    std::mt19937 random(1);
    std::vector<int> parents{-1};
    std::vector<int> levels{0};
    std::vector<int> path{0};
    for (int page = 1; page < PageCount; ++page) {
        // Deeper under the page just added, back up a level, or stay.
        const unsigned roll = random() % 10;
        const int previous = page - 1;
        if (roll < 3 && levels[static_cast<size_t>(previous)] < 8 && path.back() != previous)
            path.push_back(previous);
        else if (roll > 7 && path.size() > 1)
            path.pop_back();
        parents.push_back(path.back());
        levels.push_back(levels[static_cast<size_t>(path.back())] + 1);
    }
    return parents;
}

void Build(TTreeNodes& items, const std::vector<int>& parents)
{
    std::vector<TTreeNode*> nodes;
    nodes.reserve(parents.size());
    nodes.push_back(items.AddChild(nullptr, "Outline"));
    for (size_t page = 1; page < parents.size(); ++page) {
        TTreeNode* node = items.AddChild(nodes[static_cast<size_t>(parents[page])], "Page " + std::to_string(page));
        node->SetStateIndex(static_cast<int32_t>(page % 16));
        nodes.push_back(node);
    }
}
}

int main()
{
    BenchForm form;
    TTreeView& tree = *form.tree;
    TTreeNodes& items = tree.Items();
    int deletions = 0;
    tree.OnDeletion = [&](TTreeNode*) { ++deletions; };
    const std::vector<int> parents = OutlineParents();

    auto start = BenchClock::now();
    items.BeginUpdate();
    Build(items, parents);
    items.GetFirstNode()->Expand(false);
    items.EndUpdate();
    Report("insert 65,535 pages (update held, root open)", MillisecondsSince(start), 500);

    start = BenchClock::now();
    size_t characters = 0;
    int walked = 0;
    for (TTreeNode* node = items.GetFirstNode(); node; node = node->GetNext()) {
        characters += node->Text().size();
        ++walked;
    }
    Report("walk all pages in pre-order through the nodes", MillisecondsSince(start), 5);

    // A page added at the top and taken away again moves every later index.
    items.Delete(items.AddChildFirst(items.GetFirstNode(), "Moves everything"));
    start = BenchClock::now();
    long long indexSum = 0;
    for (TTreeNode* node = items.GetFirstNode(); node; node = node->GetNext())
        indexSum += node->AbsoluteIndex();
    Report("absolute index of every page after a change", MillisecondsSince(start), 20);

    items.Delete(items.AddChildFirst(items.GetFirstNode(), "Moves everything"));
    start = BenchClock::now();
    for (int i = PageCount - 1; i >= 0; --i)
        indexSum -= items.Item(i)->AbsoluteIndex();
    Report("page by absolute index, every index, last first", MillisecondsSince(start), 20);

    start = BenchClock::now();
    tree.FullExpand();
    Report("open every branch (all items in the control)", MillisecondsSince(start), 2000);

    start = BenchClock::now();
    items.Clear();
    Report("delete all (every branch open)", MillisecondsSince(start), 1000);

    // The file readers add each page under the root, then move it to its
    // parent by absolute index.
    start = BenchClock::now();
    items.BeginUpdate();
    TTreeNode* root = items.AddChild(nullptr, "Outline");
    root->Expand(false);
    for (size_t page = 1; page < parents.size(); ++page) {
        TTreeNode* node = items.AddChild(root, "Page " + std::to_string(page));
        node->SetStateIndex(static_cast<int32_t>(page % 16));
        node->MoveTo(items.Item(parents[page]), TNodeAttachMode::naAddChild);
    }
    items.EndUpdate();
    Report("load pattern: append under the root, move to parent", MillisecondsSince(start), 500);

    start = BenchClock::now();
    items.Clear();
    Report("delete all (root open)", MillisecondsSince(start), 500);

    std::printf("pages walked %d, characters %zu, index check %lld, deletions %d\n", walked, characters, indexSum,
                deletions);
    return 0;
}
