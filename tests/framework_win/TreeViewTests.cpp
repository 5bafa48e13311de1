#include "Form.h"
#include "Menus.h"
#include "TreeView.h"

#include <gtest/gtest.h>

#include <windowsx.h>

#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {
class TreeForm : public TForm {
public:
    TreeForm()
    {
        CreateParams params;
        params.caption = "Tree under test";
        params.left = 20;
        params.top = 20;
        params.width = 420;
        params.height = 520;
        CreateHandle(params);
        tree = std::make_unique<TTreeView>(this, this);
        tree->SetName("Tree");
        tree->SetBounds(0, 0, 400, 480);
    }
    std::unique_ptr<TTreeView> tree;
};

// Builds nodes from a shape such as "A(B,C(D)),E": children in parentheses.
class ShapeBuilder {
public:
    ShapeBuilder(TTreeNodes& items, std::map<std::string, TTreeNode*>& named) : items_(items), named_(named) {}
    void Build(const std::string& shape, TTreeNode* parent)
    {
        shape_ = shape;
        at_ = 0;
        List(parent);
    }

private:
    void List(TTreeNode* parent)
    {
        while (at_ < shape_.size() && shape_[at_] != ')') {
            std::string name;
            while (at_ < shape_.size() && shape_[at_] != ',' && shape_[at_] != '(' && shape_[at_] != ')')
                name += shape_[at_++];
            TTreeNode* node = items_.AddChild(parent, name);
            named_[name] = node;
            if (at_ < shape_.size() && shape_[at_] == '(') {
                ++at_;
                List(node);
                ++at_; // ')'
            }
            if (at_ < shape_.size() && shape_[at_] == ',')
                ++at_;
        }
    }
    TTreeNodes& items_;
    std::map<std::string, TTreeNode*>& named_;
    std::string shape_;
    size_t at_ = 0;
};

// The model's shape in the notation ShapeBuilder reads, by the children lists.
std::string ShapeOf(TTreeNode* first)
{
    std::string shape;
    for (TTreeNode* node = first; node; node = node->getNextSibling()) {
        if (!shape.empty())
            shape += ',';
        shape += node->Text();
        if (node->HasChildren()) {
            shape += '(';
            shape += ShapeOf(node->getFirstChild());
            shape += ')';
        }
    }
    return shape;
}

// The brute-force pre-order of the model, by recursion over the children.
void CollectPreOrder(TTreeNode* node, std::vector<TTreeNode*>& out)
{
    out.push_back(node);
    for (int i = 0; i < node->Count(); ++i)
        CollectPreOrder(node->Item(i), out);
}

std::vector<TTreeNode*> PreOrder(TTreeNodes& items)
{
    std::vector<TTreeNode*> out;
    for (int i = 0; i < items.TopLevelCount(); ++i)
        CollectPreOrder(items.TopLevelItem(i), out);
    return out;
}

// What the control itself holds, read through its messages (tests only).
HTREEITEM ControlNext(HWND tree, UINT relation, HTREEITEM item)
{
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

std::vector<HTREEITEM> ControlChildren(HWND tree, HTREEITEM parent)
{
    std::vector<HTREEITEM> children;
    for (HTREEITEM child = ControlNext(tree, TVGN_CHILD, parent); child; child = ControlNext(tree, TVGN_NEXT, child))
        children.push_back(child);
    return children;
}

struct ControlItem {
    std::string text;
    LPARAM param = 0;
    UINT state = 0;
    int children = 0;
};

ControlItem ReadItem(HWND tree, HTREEITEM handle)
{
    char buffer[512] = {};
    TVITEMA item{};
    item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_PARAM | TVIF_STATE | TVIF_CHILDREN;
    item.hItem = handle;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    item.stateMask = 0xFFFF;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return ControlItem{buffer, item.lParam, item.state, item.cChildren};
}

UINT ShownStateImage(int32_t index) { return index >= 1 && index <= 15 ? static_cast<UINT>(index) : 0; }

// Every item the control holds matches its node: text, node pointer, state
// image, ghosting, button and, where it can be seen, expansion (a hidden item
// may keep an older one until it is shown); a node's items, where it has
// them, are its children in order.
void ExpectMirror(TTreeView& tree)
{
    const HWND window = tree.Handle();
    std::vector<TTreeNode*> topLevel;
    for (int i = 0; i < tree.Items().TopLevelCount(); ++i)
        topLevel.push_back(tree.Items().TopLevelItem(i));
    struct Level {
        HTREEITEM parentItem;
        std::vector<TTreeNode*> nodes;
        bool shown;
    };
    std::vector<Level> pending{{TVI_ROOT, topLevel, true}};
    while (!pending.empty()) {
        auto [parentItem, nodes, shown] = pending.back();
        pending.pop_back();
        const std::vector<HTREEITEM> children = ControlChildren(window, parentItem);
        if (children.empty() && parentItem != TVI_ROOT) {
            for (TTreeNode* node : nodes) {
                ASSERT_EQ(node->ItemId(), nullptr) << node->Text() << " has an item its parent does not show";
            }
            continue;
        }
        ASSERT_EQ(children.size(), nodes.size());
        for (size_t i = 0; i < nodes.size(); ++i) {
            TTreeNode* node = nodes[i];
            ASSERT_EQ(node->ItemId(), children[i]) << node->Text();
            const ControlItem item = ReadItem(window, children[i]);
            EXPECT_EQ(item.text, node->Text());
            EXPECT_EQ(item.param, reinterpret_cast<LPARAM>(node));
            EXPECT_EQ((item.state & TVIS_STATEIMAGEMASK) >> 12, ShownStateImage(node->StateIndex())) << node->Text();
            EXPECT_EQ((item.state & TVIS_CUT) != 0, node->Cut()) << node->Text();
            EXPECT_EQ(item.children != 0, node->HasChildren()) << node->Text();
            const bool open = (item.state & TVIS_EXPANDED) != 0;
            if (shown) {
                EXPECT_EQ(open, node->Expanded()) << node->Text();
            }
            std::vector<TTreeNode*> grandChildren;
            for (int c = 0; c < node->Count(); ++c)
                grandChildren.push_back(node->Item(c));
            if (shown && node->Expanded()) {
                EXPECT_EQ(ControlChildren(window, children[i]).size(), grandChildren.size()) << node->Text();
            }
            pending.push_back({children[i], grandChildren, shown && open});
        }
    }
}

// Absolute indexes, Item and Count agree with the brute-force pre-order.
void ExpectIndexes(TTreeNodes& items)
{
    const std::vector<TTreeNode*> order = PreOrder(items);
    ASSERT_EQ(items.Count(), static_cast<int>(order.size()));
    for (size_t i = 0; i < order.size(); ++i) {
        ASSERT_EQ(order[i]->AbsoluteIndex(), static_cast<int>(i)) << order[i]->Text();
        ASSERT_EQ(items.Item(static_cast<int>(i)), order[i]);
    }
    EXPECT_EQ(items.Item(static_cast<int>(order.size())), nullptr);
    EXPECT_EQ(items.Item(-1), nullptr);
}

class TreeTest : public ::testing::Test {
protected:
    std::map<std::string, TTreeNode*> Build(const std::string& shape, TTreeNode* parent = nullptr)
    {
        ShapeBuilder(items, named).Build(shape, parent);
        return named;
    }
    TTreeNode* N(const std::string& name) { return named.at(name); }
    POINT LabelPoint(TTreeNode* node)
    {
        const RECT rect = node->DisplayRect(true);
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    TreeForm form;
    TTreeView& tree = *form.tree;
    TTreeNodes& items = tree.Items();
    std::map<std::string, TTreeNode*> named;
};
}

// ------------------------------------------------------------------ walks

TEST_F(TreeTest, WalksGoThroughTheModelInPreOrderBothWays)
{
    Build("R(A(A1,A2(A21)),B,C(C1))");
    EXPECT_EQ(ShapeOf(items.GetFirstNode()), "R(A(A1,A2(A21)),B,C(C1))");
    std::vector<std::string> forward;
    for (TTreeNode* node = items.GetFirstNode(); node; node = node->GetNext())
        forward.push_back(node->Text());
    EXPECT_EQ(forward, (std::vector<std::string>{"R", "A", "A1", "A2", "A21", "B", "C", "C1"}));
    std::vector<std::string> backward;
    for (TTreeNode* node = N("C1"); node; node = node->GetPrev())
        backward.push_back(node->Text());
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(backward, forward);

    EXPECT_EQ(N("R")->Parent(), nullptr);
    EXPECT_EQ(N("A21")->Parent(), N("A2"));
    EXPECT_EQ(N("A21")->Level(), 3);
    EXPECT_EQ(N("R")->Level(), 0);
    EXPECT_EQ(N("B")->Index(), 1);
    EXPECT_EQ(N("R")->Count(), 3);
    EXPECT_EQ(N("R")->Item(2), N("C"));
    EXPECT_EQ(N("R")->Item(3), nullptr);
    EXPECT_EQ(N("R")->GetLastChild(), N("C"));
    EXPECT_EQ(N("B")->getPrevSibling(), N("A"));
    EXPECT_EQ(N("B")->getNextSibling(), N("C"));
    EXPECT_EQ(N("C")->getNextSibling(), nullptr);
    EXPECT_EQ(N("A")->getPrevSibling(), nullptr);
    EXPECT_TRUE(N("A21")->HasAsParent(N("R")));
    EXPECT_TRUE(N("A21")->HasAsParent(N("A")));
    EXPECT_FALSE(N("A21")->HasAsParent(N("A21")));
    EXPECT_FALSE(N("A")->HasAsParent(N("A21")));
    EXPECT_FALSE(N("B")->HasChildren());
    EXPECT_EQ(items.Count(), 8);
    ExpectIndexes(items);
}

TEST_F(TreeTest, TheAddingFunctionsPutNodesWhereTheySay)
{
    Build("R(A,B)");
    items.Add(N("A"), "last");
    items.AddFirst(N("B"), "first");
    items.AddChild(N("A"), "A-last");
    items.AddChildFirst(N("A"), "A-first");
    items.Insert(N("B"), "before-B");
    items.Add(nullptr, "top-last");
    items.AddChildFirst(nullptr, "top-first");
    int data = 7;
    TTreeNode* withData = items.AddChildObject(N("B"), "data", &data);
    EXPECT_EQ(withData->Data(), &data);
    EXPECT_EQ(ShapeOf(items.GetFirstNode()), "top-first,R(first,A(A-first,A-last),before-B,B(data),last),top-last");
    ExpectIndexes(items);
    ExpectMirror(tree);
}

// ------------------------------------------------------------ index cache

TEST_F(TreeTest, AbsoluteIndexesFollowEveryKindOfChangeAsTheyHappen)
{
    std::mt19937 random(20240611);
    const auto pick = [&](int bound) { return static_cast<int>(random() % static_cast<unsigned>(bound)); };
    items.AddChild(nullptr, "n0");
    int made = 1;
    for (int step = 0; step < 600; ++step) {
        TTreeNode* some = items.Item(pick(items.Count()));
        ASSERT_NE(some, nullptr);
        const std::string name = std::string(1, 'n').append(std::to_string(made++));
        switch (pick(9)) {
        case 0: items.Add(some, name); break;
        case 1: items.AddFirst(some, name); break;
        case 2: items.AddChild(some, name); break;
        case 3: items.AddChildFirst(some, name); break;
        case 4: items.Insert(some, name); break;
        case 5:
            if (items.Count() > 20)
                some->Delete();
            break;
        case 6: {
            TTreeNode* destination = items.Item(pick(items.Count()));
            const auto mode = static_cast<TNodeAttachMode>(pick(5));
            const bool allowed = destination != some && !destination->HasAsParent(some);
            EXPECT_EQ(some->MoveTo(destination, mode), allowed);
            break;
        }
        case 7: some->Expand(pick(2) == 0); break;
        default: some->Collapse(pick(2) == 0); break;
        }
        // Questions in between, out of order, so the cache is caught half built.
        TTreeNode* asked = items.Item(pick(items.Count()));
        const std::vector<TTreeNode*> order = PreOrder(items);
        ASSERT_EQ(asked, order[static_cast<size_t>(asked->AbsoluteIndex())]);
        if (step % 50 == 0) {
            ExpectIndexes(items);
            ExpectMirror(tree);
        }
    }
    ExpectIndexes(items);
    ExpectMirror(tree);
}

TEST_F(TreeTest, AFileBuiltByAppendingAndMovingComesOutInFileOrder)
{
    // The outline readers add each page under the root and then move it to
    // be the last child of the page with absolute index P.
    std::mt19937 random(7);
    TTreeNode* root = items.AddChild(nullptr, "0");
    std::vector<int> depth{0};
    std::vector<int> parentOf{-1};
    for (int i = 1; i < 3000; ++i) {
        // A parent among the nodes on the path to the previous node, so the
        // list is a valid pre-order.
        int candidate = i - 1;
        for (int up = static_cast<int>(random() % 4); up > 0 && candidate > 0; --up)
            candidate = parentOf[static_cast<size_t>(candidate)];
        parentOf.push_back(candidate);
        depth.push_back(depth[static_cast<size_t>(candidate)] + 1);
    }
    items.BeginUpdate();
    for (int i = 1; i < 3000; ++i) {
        TTreeNode* page = items.AddChild(root, std::to_string(i));
        ASSERT_TRUE(page->MoveTo(items.Item(parentOf[static_cast<size_t>(i)]), TNodeAttachMode::naAddChild));
        ASSERT_EQ(page->AbsoluteIndex(), i);
    }
    items.EndUpdate();
    for (int i = 0; i < 3000; ++i) {
        TTreeNode* node = items.Item(i);
        ASSERT_EQ(node->Text(), std::to_string(i));
        ASSERT_EQ(node->Level(), depth[static_cast<size_t>(i)]);
        if (i > 0) {
            ASSERT_EQ(node->Parent()->AbsoluteIndex(), parentOf[static_cast<size_t>(i)]);
        }
    }
    ExpectIndexes(items);
    ExpectMirror(tree);
}

// ------------------------------------------------------------------- moves

TEST_F(TreeTest, MoveToInEveryModePutsTheBranchWhereItSays)
{
    const struct {
        TNodeAttachMode mode;
        const char* destination;
        const char* shape;
    } cases[] = {
        {TNodeAttachMode::naAdd, "Y", "R(X,Y(Y1),Z,M(M1,M2(M21)))"},
        {TNodeAttachMode::naAddFirst, "Y", "R(M(M1,M2(M21)),X,Y(Y1),Z)"},
        {TNodeAttachMode::naAddChild, "Y", "R(X,Y(Y1,M(M1,M2(M21))),Z)"},
        {TNodeAttachMode::naAddChildFirst, "Y", "R(X,Y(M(M1,M2(M21)),Y1),Z)"},
        {TNodeAttachMode::naInsert, "Z", "R(X,Y(Y1),M(M1,M2(M21)),Z)"},
        {TNodeAttachMode::naInsert, "X", "R(M(M1,M2(M21)),X,Y(Y1),Z)"},
        {TNodeAttachMode::naInsert, "Y1", "R(X,Y(M(M1,M2(M21)),Y1),Z)"},
        {TNodeAttachMode::naAddChild, "R", "R(X,Y(Y1),Z,M(M1,M2(M21)))"},
        {TNodeAttachMode::naAdd, "R", "R(X,Y(Y1),Z),M(M1,M2(M21))"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(std::string(test.destination) + " -> " + test.shape);
        items.Clear();
        named.clear();
        Build("R(X,M(M1,M2(M21)),Y(Y1),Z)");
        int data[4] = {};
        N("M")->SetData(&data[0]);
        N("M2")->SetData(&data[2]);
        N("R")->Expand(false);
        N("M")->Expand(false);
        N("M2")->Expand(false);
        TTreeNode* moved = N("M");
        const std::vector<TTreeNode*> branch{N("M"), N("M1"), N("M2"), N("M21")};
        int deletions = 0;
        tree.OnDeletion = [&](TTreeNode*) { ++deletions; };

        ASSERT_TRUE(moved->MoveTo(N(test.destination), test.mode));
        tree.OnDeletion = nullptr;

        EXPECT_EQ(ShapeOf(items.GetFirstNode()), test.shape);
        EXPECT_EQ(deletions, 0);
        EXPECT_EQ(N("M"), branch[0]);
        EXPECT_EQ(N("M")->Data(), &data[0]);
        EXPECT_EQ(N("M2")->Data(), &data[2]);
        EXPECT_TRUE(N("M")->Expanded());
        EXPECT_TRUE(N("M2")->Expanded());
        EXPECT_FALSE(N("M1")->Expanded());
        EXPECT_EQ(items.Count(), 9);
        ExpectIndexes(items);
        ExpectMirror(tree);
    }
}

TEST_F(TreeTest, MoveToRefusesTheNodeItselfAndItsOwnBranch)
{
    Build("R(A(A1(A11),A2),B)");
    N("A")->Expand(true);
    const std::string before = ShapeOf(items.GetFirstNode());
    for (const auto mode : {TNodeAttachMode::naAdd, TNodeAttachMode::naAddFirst, TNodeAttachMode::naAddChild,
                            TNodeAttachMode::naAddChildFirst, TNodeAttachMode::naInsert}) {
        EXPECT_FALSE(N("A")->MoveTo(N("A"), mode));
        EXPECT_FALSE(N("A")->MoveTo(N("A1"), mode));
        EXPECT_FALSE(N("A")->MoveTo(N("A11"), mode));
        EXPECT_FALSE(N("A")->MoveTo(N("A2"), mode));
    }
    EXPECT_FALSE(N("A")->MoveTo(nullptr, TNodeAttachMode::naInsert));
    EXPECT_EQ(ShapeOf(items.GetFirstNode()), before);
    EXPECT_TRUE(N("A")->Expanded());
    EXPECT_TRUE(N("A1")->Expanded());
    ExpectIndexes(items);
    ExpectMirror(tree);
}

TEST_F(TreeTest, MovingTheSelectedNodeKeepsItSelectedWithoutSelectionEvents)
{
    Build("R(A(A1),B(B1))");
    N("R")->Expand(false);
    N("A")->Expand(false);
    tree.SetSelected(N("A1"));
    int changes = 0;
    tree.OnChange = [&](TTreeNode*) { ++changes; };
    tree.OnChanging = [&](TTreeNode*, bool&) { ++changes; };

    ASSERT_TRUE(N("A")->MoveTo(N("B1"), TNodeAttachMode::naAddChild));
    EXPECT_EQ(tree.Selected(), N("A1"));
    EXPECT_TRUE(N("A1")->Selected());
    EXPECT_EQ(ControlNext(tree.Handle(), TVGN_CARET, nullptr), N("A1")->ItemId());
    EXPECT_EQ(changes, 0);
    // The selection stays visible, so the branch it went into is open.
    EXPECT_TRUE(N("B")->Expanded());
    EXPECT_TRUE(N("B1")->Expanded());
    ExpectMirror(tree);

    ASSERT_TRUE(N("A1")->MoveTo(N("R"), TNodeAttachMode::naAddChildFirst));
    EXPECT_EQ(tree.Selected(), N("A1"));
    EXPECT_EQ(changes, 0);
    ExpectMirror(tree);
}

TEST_F(TreeTest, MovingIntoABranchThatWasNeverShownGivesItNoItemsUntilItIsOpened)
{
    Build("R(A(A1(A11)),B(B1))");
    N("R")->Expand(false);
    N("A")->Expand(true);
    EXPECT_NE(N("A11")->ItemId(), nullptr);
    ASSERT_TRUE(N("A")->MoveTo(N("B1"), TNodeAttachMode::naAddChild));
    EXPECT_EQ(N("A")->ItemId(), nullptr);
    EXPECT_TRUE(N("A1")->Expanded());
    ExpectMirror(tree);
    N("A11")->MakeVisible();
    EXPECT_NE(N("A11")->ItemId(), nullptr);
    EXPECT_TRUE(N("B")->Expanded());
    EXPECT_TRUE(N("B1")->Expanded());
    ExpectMirror(tree);
}

// ---------------------------------------------------------------- deletion

TEST_F(TreeTest, DeletionReportsChildrenBeforeTheirParentAndEveryNodeOnce)
{
    Build("R(A(A1(A11,A12),A2),B(B1)),S");
    std::vector<std::string> order;
    tree.OnDeletion = [&](TTreeNode* node) {
        // The node is still whole when it is reported.
        EXPECT_EQ(node->TreeView(), &tree);
        order.push_back(node->Text());
    };
    N("A")->Delete();
    EXPECT_EQ(order, (std::vector<std::string>{"A11", "A12", "A1", "A2", "A"}));
    EXPECT_EQ(ShapeOf(items.GetFirstNode()), "R(B(B1)),S");
    order.clear();
    N("R")->DeleteChildren();
    EXPECT_EQ(order, (std::vector<std::string>{"B1", "B"}));
    EXPECT_FALSE(N("R")->HasChildren());
    EXPECT_FALSE(N("R")->Expanded());
    order.clear();
    items.AddChild(N("R"), "new");
    items.Clear();
    EXPECT_EQ(order, (std::vector<std::string>{"new", "R", "S"}));
    EXPECT_EQ(items.Count(), 0);
    EXPECT_EQ(items.GetFirstNode(), nullptr);
    EXPECT_EQ(ControlNext(tree.Handle(), TVGN_ROOT, nullptr), nullptr);
}

TEST_F(TreeTest, DeletingTheSelectionReportsTheControlsNewSelection)
{
    Build("R(A(A1),B)");
    N("R")->Expand(true);
    tree.SetSelected(N("A1"));
    std::vector<TTreeNode*> changes;
    tree.OnChange = [&](TTreeNode* node) { changes.push_back(node); };
    N("A")->Delete();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], tree.Selected());
    ASSERT_NE(tree.Selected(), nullptr);
    EXPECT_TRUE(tree.Selected() == N("R") || tree.Selected() == N("B"));
    EXPECT_EQ(ControlNext(tree.Handle(), TVGN_CARET, nullptr), tree.Selected()->ItemId());
    EXPECT_EQ(items.Count(), 2);
    ExpectIndexes(items);
    ExpectMirror(tree);
}

TEST_F(TreeTest, AVeryDeepOutlineIsWalkedAndFreedWithoutRecursion)
{
    TTreeNode* node = items.AddChild(nullptr, "level 0");
    for (int level = 1; level < 20000; ++level)
        node = items.AddChild(node, "level " + std::to_string(level));
    EXPECT_EQ(node->Level(), 19999);
    EXPECT_EQ(node->AbsoluteIndex(), 19999);
    int deletions = 0;
    std::string first;
    tree.OnDeletion = [&](TTreeNode* deleted) {
        if (deletions++ == 0)
            first = deleted->Text();
    };
    items.GetFirstNode()->Delete();
    EXPECT_EQ(deletions, 20000);
    EXPECT_EQ(first, "level 19999");
    EXPECT_EQ(items.Count(), 0);
}

// ------------------------------------------------------- node appearance

TEST_F(TreeTest, StateNumbersOutsideOneToFifteenStayInTheNodeAndShowNothing)
{
    Build("R(A,B,C,D)");
    N("R")->Expand(false);
    const std::pair<const char*, int32_t> states[] = {{"R", 1}, {"A", 15}, {"B", 20}, {"C", 0}, {"D", 16}};
    for (const auto& [name, state] : states)
        N(name)->SetStateIndex(state);
    for (const auto& [name, state] : states) {
        EXPECT_EQ(N(name)->StateIndex(), state);
        const UINT shown = (ReadItem(tree.Handle(), N(name)->ItemId()).state & TVIS_STATEIMAGEMASK) >> 12;
        EXPECT_EQ(shown, ShownStateImage(state)) << name;
    }
    // Moving re-creates the items; the numbers come through whole.
    ASSERT_TRUE(N("B")->MoveTo(N("A"), TNodeAttachMode::naInsert));
    ASSERT_TRUE(N("A")->MoveTo(N("D"), TNodeAttachMode::naAddChild));
    N("D")->Expand(false);
    EXPECT_EQ(N("B")->StateIndex(), 20);
    EXPECT_EQ(N("A")->StateIndex(), 15);
    EXPECT_EQ((ReadItem(tree.Handle(), N("A")->ItemId()).state & TVIS_STATEIMAGEMASK) >> 12, 15u);
    ExpectMirror(tree);
}

TEST_F(TreeTest, TheCutFlagGhostsTheItemAndSurvivesAMove)
{
    Build("R(A,B)");
    N("R")->Expand(false);
    N("A")->SetCut(true);
    EXPECT_TRUE(ReadItem(tree.Handle(), N("A")->ItemId()).state & TVIS_CUT);
    ASSERT_TRUE(N("A")->MoveTo(N("B"), TNodeAttachMode::naAdd));
    EXPECT_TRUE(N("A")->Cut());
    EXPECT_TRUE(ReadItem(tree.Handle(), N("A")->ItemId()).state & TVIS_CUT);
    N("A")->SetCut(false);
    EXPECT_FALSE(ReadItem(tree.Handle(), N("A")->ItemId()).state & TVIS_CUT);
    ExpectMirror(tree);
}

TEST_F(TreeTest, StylesAndIndentFollowTheSetters)
{
    EXPECT_TRUE(tree.ShowButtons());
    EXPECT_TRUE(tree.ShowLines());
    EXPECT_FALSE(tree.ShowRoot());
    EXPECT_FALSE(tree.ReadOnly());
    EXPECT_FALSE(tree.HideSelection());
    tree.SetShowRoot(true);
    tree.SetReadOnly(true);
    tree.SetShowButtons(false);
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(tree.Handle(), GWL_STYLE));
    EXPECT_TRUE(style & TVS_LINESATROOT);
    EXPECT_FALSE(style & TVS_EDITLABELS);
    EXPECT_FALSE(style & TVS_HASBUTTONS);
    tree.SetIndent(19);
    EXPECT_EQ(tree.Indent(), 19);
    Build("R");
    EXPECT_FALSE(N("R")->EditText());
}

// -------------------------------------------------------- expand, select

TEST_F(TreeTest, ABranchOpenedByTheUserGetsItsItemsAndReportsIt)
{
    Build("R(A(A1,A2),B)");
    N("R")->Expand(false);
    EXPECT_EQ(N("A1")->ItemId(), nullptr);
    std::vector<std::string> expanded;
    std::vector<std::string> collapsed;
    tree.OnExpanded = [&](TTreeNode* node) { expanded.push_back(node->Text()); };
    tree.OnCollapsed = [&](TTreeNode* node) { collapsed.push_back(node->Text()); };
    tree.SetSelected(N("A"));
    // The keyboard's "+" opens the selected branch.
    SendMessageA(tree.Handle(), WM_KEYDOWN, VK_ADD, 0);
    EXPECT_TRUE(N("A")->Expanded());
    EXPECT_NE(N("A1")->ItemId(), nullptr);
    EXPECT_EQ(expanded, std::vector<std::string>{"A"});
    ExpectMirror(tree);
    SendMessageA(tree.Handle(), WM_KEYDOWN, VK_SUBTRACT, 0);
    EXPECT_FALSE(N("A")->Expanded());
    EXPECT_EQ(collapsed, std::vector<std::string>{"A"});
    ExpectMirror(tree);
}

TEST_F(TreeTest, SelectingOrShowingADeepNodeOpensItsAncestors)
{
    Build("R(A(A1(A11)),B(B1(B11)))");
    std::vector<TTreeNode*> changes;
    tree.OnChange = [&](TTreeNode* node) { changes.push_back(node); };
    tree.SetSelected(N("A11"));
    EXPECT_EQ(tree.Selected(), N("A11"));
    EXPECT_EQ(changes, std::vector<TTreeNode*>{N("A11")});
    EXPECT_TRUE(N("R")->Expanded());
    EXPECT_TRUE(N("A")->Expanded());
    EXPECT_TRUE(N("A1")->Expanded());
    EXPECT_FALSE(N("B")->Expanded());
    N("B11")->MakeVisible();
    EXPECT_TRUE(N("B1")->Expanded());
    ExpectMirror(tree);
    tree.SetSelected(nullptr);
    EXPECT_EQ(tree.Selected(), nullptr);
    EXPECT_EQ(ControlNext(tree.Handle(), TVGN_CARET, nullptr), nullptr);
}

TEST_F(TreeTest, OnChangingCanKeepTheSelection)
{
    Build("R(A,B)");
    tree.SetSelected(N("A"));
    tree.OnChanging = [&](TTreeNode* node, bool& allow) { allow = node != N("B"); };
    tree.SetSelected(N("B"));
    EXPECT_EQ(tree.Selected(), N("A"));
    tree.SetSelected(N("R"));
    EXPECT_EQ(tree.Selected(), N("R"));
}

TEST_F(TreeTest, CollapsingAroundTheSelectionMovesItToTheCollapsedNode)
{
    Build("R(A(A1(A11)),B)");
    tree.SetSelected(N("A11"));
    std::vector<TTreeNode*> changes;
    tree.OnChange = [&](TTreeNode* node) { changes.push_back(node); };
    N("A")->Collapse(true);
    EXPECT_FALSE(N("A")->Expanded());
    EXPECT_FALSE(N("A1")->Expanded());
    EXPECT_EQ(tree.Selected(), N("A"));
    EXPECT_EQ(changes, std::vector<TTreeNode*>{N("A")});
    ExpectMirror(tree);
}

TEST_F(TreeTest, FullExpandAndFullCollapseReachEveryNode)
{
    Build("R(A(A1(A11)),B(B1)),S(S1)");
    tree.FullExpand();
    for (TTreeNode* node = items.GetFirstNode(); node; node = node->GetNext()) {
        EXPECT_EQ(node->Expanded(), node->HasChildren()) << node->Text();
        EXPECT_NE(node->ItemId(), nullptr) << node->Text();
    }
    ExpectMirror(tree);
    tree.FullCollapse();
    for (TTreeNode* node = items.GetFirstNode(); node; node = node->GetNext())
        EXPECT_FALSE(node->Expanded()) << node->Text();
    ExpectMirror(tree);
}

TEST_F(TreeTest, WholeBranchesOpenInOrderAndShowTheirPagesAsExpandedWhenOpenedAgain)
{
    // Pages with sub pages between pages without, where the items are made
    // out of order.
    Build("R(a,A(A1(A11),a2,A3(A31,a32)),b,B(B1),c),S(S1)");
    tree.SetSelected(N("A31"));
    tree.FullExpand();
    ExpectMirror(tree);
    EXPECT_EQ(tree.Selected(), N("A31"));
    tree.FullCollapse();
    N("R")->Expand(false);
    N("A")->Expand(false);
    EXPECT_FALSE(N("A3")->Expanded());
    ExpectMirror(tree);
    N("A")->Expand(true);
    EXPECT_TRUE(N("A3")->Expanded());
    ExpectMirror(tree);
}

// -------------------------------------------------------------- label edit

namespace {
// Sends the end-of-edit notification the way the control does.
void SendEndEdit(TreeForm& form, TTreeNode* node, const char* text)
{
    std::string buffer = text ? text : "";
    NMTVDISPINFOA info{};
    info.hdr.hwndFrom = form.tree->Handle();
    info.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(form.tree->Handle()));
    info.hdr.code = TVN_ENDLABELEDITA;
    info.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_HANDLE;
    info.item.hItem = node->ItemId();
    info.item.lParam = reinterpret_cast<LPARAM>(node);
    info.item.pszText = text ? buffer.data() : nullptr;
    SendMessageA(form.Handle(), WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
}
}

TEST_F(TreeTest, AnAcceptedEditIsReportedOnceThoughTheEndComesTwice)
{
    Build("R(A)");
    N("R")->Expand(false);
    std::vector<std::string> edited;
    tree.OnEdited = [&](TTreeNode* node, std::string& text) {
        EXPECT_EQ(node, N("A"));
        edited.push_back(text);
    };
    ASSERT_TRUE(N("A")->EditText());
    EXPECT_TRUE(tree.IsEditing());
    SendEndEdit(form, N("A"), "Renamed");
    SendEndEdit(form, N("A"), "Renamed");
    EXPECT_EQ(edited, std::vector<std::string>{"Renamed"});
    EXPECT_EQ(N("A")->Text(), "Renamed");
    N("A")->EndEdit(true);
    EXPECT_FALSE(tree.IsEditing());
    EXPECT_EQ(edited.size(), 1u);
    EXPECT_EQ(ReadItem(tree.Handle(), N("A")->ItemId()).text, "Renamed");
}

TEST_F(TreeTest, ACancelledEditChangesNothingEvenWhenTheSecondEndCarriesText)
{
    Build("R(A)");
    N("R")->Expand(false);
    int edits = 0;
    tree.OnEdited = [&](TTreeNode*, std::string&) { ++edits; };
    ASSERT_TRUE(N("A")->EditText());
    SendEndEdit(form, N("A"), nullptr);
    SendEndEdit(form, N("A"), "Typed but cancelled");
    EXPECT_EQ(edits, 0);
    EXPECT_EQ(N("A")->Text(), "A");
    EXPECT_EQ(ReadItem(tree.Handle(), N("A")->ItemId()).text, "A");
    N("A")->EndEdit(true);
}

TEST_F(TreeTest, RealEditsEndOnceWithTheTypedTextOrNotAtAll)
{
    Build("R(A,B)");
    N("R")->Expand(false);
    std::vector<std::string> edited;
    tree.OnEdited = [&](TTreeNode*, std::string& text) { edited.push_back(text); };

    ASSERT_TRUE(N("A")->EditText());
    SetWindowTextA(tree.EditHandle(), "Typed title");
    N("A")->EndEdit(false);
    EXPECT_EQ(edited, std::vector<std::string>{"Typed title"});
    EXPECT_EQ(N("A")->Text(), "Typed title");
    EXPECT_EQ(ReadItem(tree.Handle(), N("A")->ItemId()).text, "Typed title");

    ASSERT_TRUE(N("B")->EditText());
    SetWindowTextA(tree.EditHandle(), "Thrown away");
    N("B")->EndEdit(true);
    EXPECT_EQ(edited.size(), 1u);
    EXPECT_EQ(N("B")->Text(), "B");
    EXPECT_EQ(ReadItem(tree.Handle(), N("B")->ItemId()).text, "B");
    EXPECT_FALSE(tree.IsEditing());
}

TEST_F(TreeTest, TheEditedHandlerCanChangeTheTextAndOnEditingCanRefuse)
{
    Build("R(A)");
    N("R")->Expand(false);
    tree.OnEdited = [](TTreeNode*, std::string& text) { text = "[" + text + "]"; };
    ASSERT_TRUE(N("A")->EditText());
    SetWindowTextA(tree.EditHandle(), "x");
    N("A")->EndEdit(false);
    EXPECT_EQ(N("A")->Text(), "[x]");
    EXPECT_EQ(ReadItem(tree.Handle(), N("A")->ItemId()).text, "[x]");

    int asked = 0;
    tree.OnEditing = [&](TTreeNode*, bool& allow) {
        ++asked;
        allow = false;
    };
    EXPECT_FALSE(N("A")->EditText());
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(tree.IsEditing());
}

TEST_F(TreeTest, MovingANodeWhoseTitleIsBeingEditedKeepsTheTyping)
{
    Build("R(A,B)");
    N("R")->Expand(false);
    ASSERT_TRUE(N("A")->EditText());
    SetWindowTextA(tree.EditHandle(), "Half typed");
    ASSERT_TRUE(N("A")->MoveTo(N("B"), TNodeAttachMode::naAdd));
    EXPECT_EQ(N("A")->Text(), "Half typed");
    ExpectMirror(tree);
}

// ----------------------------------------------------------------- sorting

TEST_F(TreeTest, AlphaSortIsCaseSensitiveKeepsIdentityAndReordersTheControl)
{
    Build("R(B,b,a,c)");
    N("R")->Expand(false);
    const std::map<std::string, TTreeNode*> before = named;
    ASSERT_TRUE(tree.AlphaSort(N("R")));
    std::vector<std::string> model;
    for (TTreeNode* node = N("R")->getFirstChild(); node; node = node->getNextSibling()) {
        model.push_back(node->Text());
        EXPECT_EQ(node, before.at(node->Text()));
    }
    EXPECT_EQ(model, (std::vector<std::string>{"a", "b", "B", "c"}));
    std::vector<std::string> control;
    for (HTREEITEM item : ControlChildren(tree.Handle(), N("R")->ItemId()))
        control.push_back(ReadItem(tree.Handle(), item).text);
    EXPECT_EQ(control, model);
    ExpectIndexes(items);
    ExpectMirror(tree);
}

TEST_F(TreeTest, CustomSortAndRecursiveSortsReachEveryLevel)
{
    Build("Z(z2,z1),Y(y3(y32,y31),y1)");
    N("Y")->Expand(true);
    ASSERT_TRUE(tree.AlphaSort(nullptr, true));
    EXPECT_EQ(ShapeOf(items.GetFirstNode()), "Y(y1,y3(y31,y32)),Z(z1,z2)");
    ExpectMirror(tree);
    ASSERT_TRUE(tree.CustomSort(nullptr, [](TTreeNode* a, TTreeNode* b) { return b->Text().compare(a->Text()); }));
    EXPECT_EQ(ShapeOf(items.GetFirstNode()), "Z(z1,z2),Y(y1,y3(y31,y32))");
    tree.OnCompare = [](TTreeNode* a, TTreeNode* b, int& compare) { compare = b->Text().compare(a->Text()); };
    ASSERT_TRUE(N("Y")->AlphaSort(true));
    EXPECT_EQ(ShapeOf(items.GetFirstNode()), "Z(z1,z2),Y(y3(y32,y31),y1)");
    ExpectIndexes(items);
    ExpectMirror(tree);
}

// ------------------------------------------------------------------- mouse

TEST_F(TreeTest, APressSelectsTheNodeUnderTheMouseBeforeOnMouseDown)
{
    Build("R(A,B)");
    N("R")->Expand(false);
    tree.SetSelected(N("R"));
    std::vector<std::string> seen;
    tree.OnMouseDown = [&](TMouseButton button, TShiftState, int, int) {
        seen.push_back((button == TMouseButton::mbRight ? "right:" : "left:") +
                       (tree.Selected() ? tree.Selected()->Text() : std::string("none")));
    };
    const POINT onB = LabelPoint(N("B"));
    tree.MouseDownAt(TMouseButton::mbLeft, 0, onB.x, onB.y);
    const POINT onA = LabelPoint(N("A"));
    tree.MouseDownAt(TMouseButton::mbRight, 0, onA.x, onA.y);
    const RECT last = N("B")->DisplayRect(false);
    tree.MouseDownAt(TMouseButton::mbLeft, 0, 5, last.bottom + 40);
    const RECT labelB = N("B")->DisplayRect(true);
    tree.MouseDownAt(TMouseButton::mbLeft, 0, labelB.right + 30, (labelB.top + labelB.bottom) / 2);
    EXPECT_EQ(seen, (std::vector<std::string>{"left:B", "right:A", "left:A", "left:A"}));
    EXPECT_TRUE(tree.Focused());
}

TEST_F(TreeTest, APressOnTheStateIconSelectsToo)
{
    HIMAGELIST states = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 0);
    HBITMAP strip = CreateBitmap(64, 16, 1, 32, nullptr);
    ImageList_Add(states, strip, nullptr);
    tree.SetStateImages(states);
    Build("R(A,B)");
    N("R")->Expand(false);
    N("B")->SetStateIndex(2);
    tree.SetSelected(N("A"));
    const RECT label = N("B")->DisplayRect(true);
    const int x = label.left - 8;
    const int y = (label.top + label.bottom) / 2;
    EXPECT_TRUE(tree.GetHitTestInfoAt(x, y) & htOnStateIcon);
    EXPECT_TRUE(tree.GetHitTestInfoAt(x, y) & htOnItem);
    tree.MouseDownAt(TMouseButton::mbLeft, 0, x, y);
    EXPECT_EQ(tree.Selected(), N("B"));
    tree.SetStateImages(nullptr);
    ImageList_Destroy(states);
    DeleteObject(strip);
}

TEST_F(TreeTest, ARealButtonPressGoesThroughTheSameOrder)
{
    Build("R(A,B)");
    N("R")->Expand(false);
    tree.SetSelected(N("A"));
    std::string seen;
    tree.OnMouseDown = [&](TMouseButton, TShiftState, int, int) { seen = tree.Selected()->Text(); };
    const POINT onB = LabelPoint(N("B"));
    const LPARAM at = MAKELPARAM(onB.x, onB.y);
    // The button-up waits in the queue for the control's drag-detect loop.
    PostMessageA(tree.Handle(), WM_LBUTTONUP, 0, at);
    SendMessageA(tree.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
    EXPECT_EQ(seen, "B");
    EXPECT_EQ(tree.Selected(), N("B"));
}

TEST_F(TreeTest, HitTestsNameThePartUnderThePoint)
{
    Build("R(A,B)");
    N("R")->Expand(false);
    const POINT onA = LabelPoint(N("A"));
    EXPECT_EQ(tree.GetHitTestInfoAt(onA.x, onA.y), htOnItem | htOnLabel);
    EXPECT_EQ(tree.GetNodeAt(onA.x, onA.y), N("A"));
    const RECT label = N("A")->DisplayRect(true);
    EXPECT_EQ(tree.GetHitTestInfoAt(label.right + 20, onA.y), htOnRight);
    EXPECT_EQ(tree.GetNodeAt(label.right + 20, onA.y), N("A"));
    const RECT last = N("B")->DisplayRect(false);
    EXPECT_TRUE(tree.GetHitTestInfoAt(5, last.bottom + 40) & htNowhere);
    EXPECT_EQ(tree.GetNodeAt(5, last.bottom + 40), nullptr);
    EXPECT_TRUE(tree.GetHitTestInfoAt(-5, onA.y) & htToLeft);
    const RECT whole = N("A")->DisplayRect(false);
    EXPECT_LE(whole.left, label.left);
    EXPECT_GE(whole.right, label.right);
    EXPECT_EQ(N("R")->getFirstChild()->DisplayRect(true).top, label.top);
}

namespace {
class RecordingPopup : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    void Popup(int screenX, int screenY) override
    {
        ++opened;
        at = POINT{screenX, screenY};
    }
    int opened = 0;
    POINT at{};
};
}

TEST_F(TreeTest, TheContextMenuTheTreeSendsToItsParentOpensTheTreesPopup)
{
    RecordingPopup popup(&form);
    tree.SetPopupMenu(&popup);
    SendMessageA(form.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree.Handle()), MAKELPARAM(100, 120));
    EXPECT_EQ(popup.opened, 1);
    EXPECT_EQ(popup.at.x, 100);
    EXPECT_EQ(popup.PopupComponent, &tree);
    tree.SetPopupMenu(nullptr);
    SendMessageA(form.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree.Handle()), MAKELPARAM(100, 120));
    EXPECT_EQ(popup.opened, 1);
}

TEST_F(TreeTest, ARealRightClickSelectsAndOpensThePopupOnce)
{
    RecordingPopup popup(&form);
    tree.SetPopupMenu(&popup);
    Build("R(A,B)");
    N("R")->Expand(false);
    tree.SetSelected(N("A"));
    const POINT onB = LabelPoint(N("B"));
    const LPARAM at = MAKELPARAM(onB.x, onB.y);
    PostMessageA(tree.Handle(), WM_RBUTTONUP, 0, at);
    SendMessageA(tree.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, at);
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
    EXPECT_EQ(tree.Selected(), N("B"));
    EXPECT_EQ(popup.opened, 1);
    tree.SetPopupMenu(nullptr);
}

// ------------------------------------------------------------------- size

TEST_F(TreeTest, SixtyFiveThousandNodesInsertWalkAndIndex)
{
    constexpr int total = 65535;
    std::mt19937 random(3);
    items.BeginUpdate();
    TTreeNode* root = items.AddChild(nullptr, "root");
    std::vector<TTreeNode*> path{root};
    for (int i = 1; i < total; ++i) {
        const unsigned roll = random() % 10;
        if (roll < 3 && path.size() < 8)
            path.push_back(path.back()->GetLastChild() ? path.back()->GetLastChild() : path.back());
        else if (roll > 7 && path.size() > 1)
            path.pop_back();
        TTreeNode* node = items.AddChild(path.back(), "page " + std::to_string(i));
        node->SetStateIndex(static_cast<int32_t>(i % 20));
    }
    root->Expand(false);
    items.EndUpdate();
    ASSERT_EQ(items.Count(), total);
    int walked = 0;
    for (TTreeNode* node = items.GetFirstNode(); node; node = node->GetNext())
        ASSERT_EQ(node->AbsoluteIndex(), walked++);
    EXPECT_EQ(walked, total);
    EXPECT_EQ(items.Item(total - 1)->GetNext(), nullptr);
    EXPECT_EQ(items.Item(total - 1)->Text(), "page " + std::to_string(total - 1));
    EXPECT_EQ(items.Item(4321)->Text(), "page 4321");
    EXPECT_EQ(items.Item(4321)->StateIndex(), 4321 % 20);
    ExpectMirror(tree);
    items.Clear();
    EXPECT_EQ(items.Count(), 0);
}

TEST_F(TreeTest, AnUpdateLeavesTheTreeAsVisibleAsItWas)
{
    tree.SetVisible(false);
    items.BeginUpdate();
    Build("A(B),C");
    items.EndUpdate();
    EXPECT_FALSE(tree.Visible()) << "a hidden tree, like the one that covers the page tree, stays hidden";
    tree.SetVisible(true);
    items.BeginUpdate();
    Build("D");
    items.EndUpdate();
    EXPECT_TRUE(tree.Visible());
}
