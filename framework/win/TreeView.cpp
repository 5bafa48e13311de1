// The tree view control and its mirror of the node model.

#include "TreeView.h"

#include "Menus.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <unordered_map>
#include <utility>

namespace {
// Counts a nesting level for as long as it lives, even when a handler throws.
class Nesting {
public:
    explicit Nesting(int& depth) : depth_(depth) { ++depth_; }
    ~Nesting() { --depth_; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

private:
    int& depth_;
};

// Holds the control's drawing back for the life of the object.
class UpdateHold {
public:
    UpdateHold(TTreeNodes& nodes, bool hold) : nodes_(hold ? &nodes : nullptr)
    {
        if (nodes_)
            nodes_->BeginUpdate();
    }
    ~UpdateHold()
    {
        if (nodes_)
            nodes_->EndUpdate();
    }
    UpdateHold(const UpdateHold&) = delete;
    UpdateHold& operator=(const UpdateHold&) = delete;

private:
    TTreeNodes* nodes_;
};

THitTests HitTestsFromFlags(UINT flags)
{
    THitTests tests = 0;
    const std::pair<UINT, THitTests> map[] = {
        {TVHT_ABOVE, htAbove},         {TVHT_BELOW, htBelow},
        {TVHT_NOWHERE, htNowhere},     {TVHT_ONITEMBUTTON, htOnButton},
        {TVHT_ONITEMICON, htOnIcon},   {TVHT_ONITEMINDENT, htOnIndent},
        {TVHT_ONITEMLABEL, htOnLabel}, {TVHT_ONITEMRIGHT, htOnRight},
        {TVHT_ONITEMSTATEICON, htOnStateIcon}, {TVHT_TOLEFT, htToLeft},
        {TVHT_TORIGHT, htToRight},
    };
    for (const auto& [flag, test] : map) {
        if (flags & flag)
            tests |= test;
    }
    if (flags & TVHT_ONITEM)
        tests |= htOnItem;
    return tests;
}

std::string NarrowText(const wchar_t* text)
{
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string narrow(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), size, nullptr, nullptr);
    narrow.resize(static_cast<size_t>(size - 1));
    return narrow;
}

// The nodes of a branch in pre-order.
std::vector<TTreeNode*> BranchInPreOrder(TTreeNode* branch)
{
    std::vector<TTreeNode*> nodes;
    std::vector<TTreeNode*> pending{branch};
    while (!pending.empty()) {
        TTreeNode* node = pending.back();
        pending.pop_back();
        nodes.push_back(node);
        for (int i = node->Count() - 1; i >= 0; --i)
            pending.push_back(node->Item(i));
    }
    return nodes;
}
}

TTreeView::TTreeView(TComponent* owner, TControl* parent) : TControl(owner, parent), items_(this)
{
    static const bool classesReady = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
        return InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)classesReady;
    CreateHandle(WC_TREEVIEWA,
                 WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_EDITLABELS | TVS_SHOWSELALWAYS,
                 WS_EX_CLIENTEDGE);
}

TTreeView::~TTreeView()
{
    // The window goes first, so that freeing the nodes afterwards sends the
    // control nothing. The program's page records are freed by the program's
    // own Clear before this point when it needs OnDeletion.
    DestroyHandle();
}

// ------------------------------------------------------------------ mirror

void TTreeView::FillItem(const TTreeNode& node, TVITEMA& item, UINT mask, UINT stateMask)
{
    item.mask = mask;
    if (mask & TVIF_TEXT)
        item.pszText = const_cast<char*>(node.text_.c_str());
    if (mask & TVIF_IMAGE)
        item.iImage = node.imageIndex_;
    if (mask & TVIF_SELECTEDIMAGE)
        item.iSelectedImage = node.selectedIndex_;
    if (mask & TVIF_PARAM)
        item.lParam = reinterpret_cast<LPARAM>(&node);
    if (mask & TVIF_CHILDREN)
        item.cChildren = node.children_.empty() ? 0 : 1;
    if (mask & TVIF_STATE) {
        // Four bits in the control; other numbers stay in the node only.
        const bool shown = node.stateIndex_ >= 1 && node.stateIndex_ <= 15;
        UINT state = shown ? INDEXTOSTATEIMAGEMASK(static_cast<UINT>(node.stateIndex_)) : 0;
        if (node.cut_)
            state |= TVIS_CUT;
        if (node.expanded_ && !node.children_.empty())
            state |= TVIS_EXPANDED;
        item.stateMask = stateMask;
        item.state = state & stateMask;
    }
}

namespace {
// The insertion order of the control's items that keeps inserting fast:
// nodes whose children get items too come first, those with the most
// children earliest, each after its parent.
class BusiestFirst {
public:
    void Add(TTreeNode* node)
    {
        heap_.push_back(node);
        std::push_heap(heap_.begin(), heap_.end(), Less);
    }
    bool Empty() const { return heap_.empty(); }
    TTreeNode* Take()
    {
        std::pop_heap(heap_.begin(), heap_.end(), Less);
        TTreeNode* node = heap_.back();
        heap_.pop_back();
        return node;
    }

private:
    static bool Less(const TTreeNode* first, const TTreeNode* second) { return first->Count() < second->Count(); }
    std::vector<TTreeNode*> heap_;
};

// Whether the node's children get items along with it.
bool ShowsChildren(const TTreeNode& node) { return node.Expanded() && node.HasChildren(); }

// The nodes given items so far, by parent and in sibling order, for placing
// each next one after the nearest earlier sibling that has its item.
class PlacedSiblings {
public:
    void Add(const TTreeNode& node) { placed_[node.Parent()].insert(node.Index()); }
    // That sibling's item, or TVI_FIRST when there is none.
    HTREEITEM ItemBefore(const TTreeNode& node) const
    {
        const auto found = placed_.find(node.Parent());
        if (found == placed_.end())
            return TVI_FIRST;
        const auto after = found->second.lower_bound(node.Index());
        if (after == found->second.begin())
            return TVI_FIRST;
        return node.Parent()->Item(*std::prev(after))->ItemId();
    }

private:
    std::unordered_map<const TTreeNode*, std::set<int>> placed_;
};
}

void TTreeView::InsertItem(TTreeNode* node, HTREEITEM insertAfter, bool open)
{
    TVINSERTSTRUCTA insert{};
    insert.hParent = node->parent_->item_;
    insert.hInsertAfter = insertAfter;
    FillItem(*node, insert.item, TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_CHILDREN,
             TVIS_STATEIMAGEMASK | TVIS_CUT | TVIS_EXPANDED);
    insert.item.state = open ? insert.item.state | TVIS_EXPANDED : insert.item.state & ~TVIS_EXPANDED;
    node->item_ = reinterpret_cast<HTREEITEM>(
        SendMessageA(Handle(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    node->itemExpanded_ = node->item_ && open;
}

void TTreeView::MaterializeBranch(TTreeNode* branch, HTREEITEM insertAfter)
{
    InsertItem(branch, insertAfter, false);
    // An expanded node shows its children, so they get their items now, while
    // its item is still closed, and it opens once; a collapsed one gets them
    // when it is first expanded.
    if (branch->item_ && ShowsChildren(*branch)) {
        PopulateBranches({branch});
        NativeExpand(branch, true);
    }
}

void TTreeView::PopulateBranches(const std::vector<TTreeNode*>& parents)
{
    if (!Mirrored())
        return;
    // The parents whose children get items: the given ones, and below them
    // every child that shows its own, in pre-order.
    std::vector<TTreeNode*> given;
    for (TTreeNode* parent : parents) {
        if (parent->item_ && !parent->populated_)
            given.push_back(parent);
    }
    std::vector<TTreeNode*> filled;
    std::vector<TTreeNode*> pending(given.rbegin(), given.rend());
    while (!pending.empty()) {
        TTreeNode* parent = pending.back();
        pending.pop_back();
        parent->populated_ = true;
        filled.push_back(parent);
        for (auto child = parent->children_.rbegin(); child != parent->children_.rend(); ++child) {
            if (ShowsChildren(**child))
                pending.push_back(child->get());
        }
    }
    if (filled.empty())
        return;
    UpdateHold hold(items_, filled.size() > 1);
    // The control finds an item named in a message by searching its items
    // from the oldest (under Wine), so an insert costs as many steps as its
    // parent has older items. Parents therefore go first, the busiest
    // earliest, and the other children after them.
    BusiestFirst parentsToInsert;
    PlacedSiblings placed;
    for (TTreeNode* parent : given) {
        for (auto& child : parent->children_) {
            if (ShowsChildren(*child))
                parentsToInsert.Add(child.get());
        }
    }
    while (!parentsToInsert.Empty()) {
        TTreeNode* node = parentsToInsert.Take();
        InsertItem(node, placed.ItemBefore(*node), true);
        placed.Add(*node);
        for (auto& child : node->children_) {
            if (ShowsChildren(*child))
                parentsToInsert.Add(child.get());
        }
    }
    // The other children: those after the last sibling with an item go last,
    // in order; every other run goes in after the sibling before it that has
    // its item (or first), last first. Naming no item saves its search. They
    // are made branch by branch, in the order in which the control frees the
    // items of a deleted branch, so that each is found early then.
    std::vector<std::pair<TTreeNode*, HTREEITEM>> others;
    for (TTreeNode* parent : filled) {
        auto& children = parent->children_;
        size_t tail = children.size();
        while (tail > 0 && !children[tail - 1]->item_)
            --tail;
        others.clear();
        HTREEITEM anchor = TVI_FIRST;
        for (size_t i = 0; i < tail; ++i) {
            if (children[i]->item_)
                anchor = children[i]->item_;
            else
                others.emplace_back(children[i].get(), anchor);
        }
        for (auto other = others.rbegin(); other != others.rend(); ++other)
            InsertItem(other->first, other->second, false);
        for (size_t i = tail; i < children.size(); ++i)
            InsertItem(children[i].get(), TVI_LAST, false);
    }
}

void TTreeView::PrepareToShowChildren(TTreeNode* node)
{
    if (!Mirrored() || !node->item_)
        return;
    // Hidden items may keep an open state older than their node's; they are
    // put right here, while the control still hides them, where changing them
    // costs little.
    std::vector<TTreeNode*> unpopulated;
    std::vector<TTreeNode*> stale;
    std::vector<TTreeNode*> pending{node};
    while (!pending.empty()) {
        TTreeNode* next = pending.back();
        pending.pop_back();
        if (!next->populated_) {
            unpopulated.push_back(next);
            continue;
        }
        for (auto child = next->children_.rbegin(); child != next->children_.rend(); ++child) {
            if (ShowsChildren(**child))
                pending.push_back(child->get());
        }
        for (auto& child : next->children_) {
            if (child->itemExpanded_ != ShowsChildren(*child))
                stale.push_back(child.get());
        }
    }
    PopulateBranches(unpopulated);
    // Closing an item costs a step for every open item after it, so the
    // last close first; opening a hidden item costs next to nothing.
    for (auto item = stale.rbegin(); item != stale.rend(); ++item) {
        if (!ShowsChildren(**item))
            NativeExpand(*item, false);
    }
    for (TTreeNode* item : stale) {
        if (ShowsChildren(*item))
            NativeExpand(item, true);
    }
}

void TTreeView::EnsureItem(TTreeNode* node)
{
    if (!Mirrored() || node->item_)
        return;
    std::vector<TTreeNode*> chain;
    for (TTreeNode* missing = node; !missing->item_; missing = missing->parent_)
        chain.push_back(missing);
    for (auto missing = chain.rbegin(); missing != chain.rend(); ++missing)
        PopulateBranches({(*missing)->parent_});
}

void TTreeView::ForgetItems(TTreeNode* node)
{
    std::vector<TTreeNode*> pending{node};
    while (!pending.empty()) {
        TTreeNode* next = pending.back();
        pending.pop_back();
        if (!next->item_)
            continue;
        next->item_ = nullptr;
        next->populated_ = false;
        next->itemExpanded_ = false;
        for (auto& child : next->children_)
            pending.push_back(child.get());
    }
}

void TTreeView::PlaceItem(TTreeNode* node, bool parentHadChildren)
{
    TTreeNode* parent = node->parent_;
    if (Mirrored() && parent->item_ && parent->populated_) {
        const size_t position = node->siblingIndex_;
        HTREEITEM after = TVI_LAST;
        if (position == 0)
            after = TVI_FIRST;
        else if (position + 1 < parent->children_.size() && parent->children_[position - 1]->item_)
            after = parent->children_[position - 1]->item_;
        MaterializeBranch(node, after);
    }
    ChildrenChanged(parent, parentHadChildren);
}

void TTreeView::PushItem(TTreeNode* node, UINT mask)
{
    if (!Mirrored() || !node->item_ || !node->parent_)
        return;
    if (deletingBranch_ && (node == deletingBranch_ || node->HasAsParent(deletingBranch_)))
        return;
    TVITEMA item{};
    FillItem(*node, item, mask, TVIS_STATEIMAGEMASK | TVIS_CUT);
    item.mask |= TVIF_HANDLE;
    item.hItem = node->item_;
    SendMessageA(Handle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void TTreeView::ChildrenChanged(TTreeNode* parent, bool hadChildren)
{
    const bool hasChildren = parent->HasChildren();
    if (hasChildren == hadChildren || !parent->parent_)
        return;
    if (!hasChildren)
        parent->expanded_ = false;
    if (!Mirrored() || !parent->item_)
        return;
    // The item is told whether to draw a button; a node without children is
    // collapsed, so a child added later does not show up already expanded.
    TVITEMA item{};
    item.mask = TVIF_HANDLE | TVIF_CHILDREN | TVIF_STATE;
    item.hItem = parent->item_;
    item.cChildren = hasChildren ? 1 : 0;
    item.stateMask = TVIS_EXPANDED;
    item.state = 0;
    SendMessageA(Handle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    parent->itemExpanded_ = false;
}

TTreeNode* TTreeView::NodeOfItem(HTREEITEM handle) const
{
    if (!handle || !Mirrored())
        return nullptr;
    TVITEMA item{};
    item.mask = TVIF_HANDLE | TVIF_PARAM;
    item.hItem = handle;
    if (!SendMessageA(Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return nullptr;
    return reinterpret_cast<TTreeNode*>(item.lParam);
}

TTreeNode* TTreeView::CaretNode() const
{
    if (!Mirrored())
        return nullptr;
    return NodeOfItem(reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

void TTreeView::SyncSelectionFromControl()
{
    TTreeNode* caret = CaretNode();
    if (caret == selected_)
        return;
    selected_ = caret;
    if (OnChange)
        OnChange(caret);
}

// ---------------------------------------------------------- expand, select

void TTreeView::NativeExpand(TTreeNode* node, bool expand)
{
    Nesting quiet(quietExpansion_);
    SendMessageA(Handle(), TVM_EXPAND, expand ? TVE_EXPAND : TVE_COLLAPSE, reinterpret_cast<LPARAM>(node->item_));
    node->itemExpanded_ = expand;
}

void TTreeView::SetBranchExpanded(TTreeNode* node, bool expand, bool recursive)
{
    const std::vector<TTreeNode*> nodes = recursive ? BranchInPreOrder(node) : std::vector<TTreeNode*>{node};
    for (TTreeNode* next : nodes)
        next->expanded_ = expand && next->HasChildren();
    if (!Mirrored() || !node->item_)
        return;
    if (!expand) {
        // The items below close when they are shown again.
        const bool selectionInside = selected_ && selected_->HasAsParent(node);
        if (node->itemExpanded_)
            NativeExpand(node, false);
        // The control moves the selection out of a branch it hides.
        if (selectionInside)
            SyncSelectionFromControl();
        return;
    }
    // A node without children has nothing to show.
    if (!node->expanded_)
        return;
    UpdateHold hold(items_, recursive);
    // The control's opening of an item costs time for every item it shows:
    // an open branch whose pages open too is closed while they are readied.
    const bool reopen = recursive && node->itemExpanded_;
    if (reopen) {
        Nesting quiet(quietSelection_);
        NativeExpand(node, false);
    }
    PrepareToShowChildren(node);
    if (!node->itemExpanded_)
        NativeExpand(node, true);
    if (reopen && selected_ && selected_->HasAsParent(node) && selected_->item_) {
        Nesting quiet(quietSelection_);
        SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(selected_->item_));
    }
}

void TTreeView::ExpandAncestors(TTreeNode* node)
{
    std::vector<TTreeNode*> ancestors;
    for (TTreeNode* ancestor = node->parent_; ancestor && ancestor->parent_; ancestor = ancestor->parent_)
        ancestors.push_back(ancestor);
    for (auto ancestor = ancestors.rbegin(); ancestor != ancestors.rend(); ++ancestor) {
        if (!(*ancestor)->itemExpanded_ || !(*ancestor)->populated_)
            SetBranchExpanded(*ancestor, true, false);
    }
    EnsureItem(node);
}

void TTreeView::SetSelected(TTreeNode* node)
{
    if (node && node->owner_ != &items_)
        return;
    if (!Mirrored()) {
        selected_ = node;
        return;
    }
    // Selecting a node shows it, as the control would for an item it holds.
    if (node)
        ExpandAncestors(node);
    SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node ? node->item_ : nullptr));
    SyncSelectionFromControl();
}

TTreeNode* TTreeView::TopItem() const
{
    if (!Mirrored())
        return nullptr;
    return NodeOfItem(reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0)));
}

void TTreeView::SetTopItem(TTreeNode* node)
{
    if (!Mirrored() || !node || node->owner_ != &items_)
        return;
    MakeNodeVisible(node);
    if (node->item_)
        SendMessageA(Handle(), TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(node->item_));
}

void TTreeView::SetDropTarget(TTreeNode* node)
{
    if (node && (node->owner_ != &items_ || !node->item_))
        node = nullptr;
    if (node == dropTarget_)
        return;
    dropTarget_ = node;
    if (Mirrored())
        SendMessageA(Handle(), TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(node ? node->item_ : nullptr));
}

void TTreeView::FullExpand()
{
    UpdateHold hold(items_, Mirrored());
    for (int i = 0; i < items_.TopLevelCount(); ++i)
        items_.TopLevelItem(i)->Expand(true);
}

void TTreeView::FullCollapse()
{
    UpdateHold hold(items_, Mirrored());
    for (int i = 0; i < items_.TopLevelCount(); ++i)
        items_.TopLevelItem(i)->Collapse(true);
}

void TTreeView::MakeNodeVisible(TTreeNode* node)
{
    if (!Mirrored())
        return;
    ExpandAncestors(node);
    if (node->item_)
        SendMessageA(Handle(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node->item_));
}

RECT TTreeView::ItemRect(const TTreeNode* node, bool textOnly) const
{
    RECT rect{};
    if (!Mirrored() || !node->item_)
        return rect;
    // The message takes the item in the rectangle's first bytes.
    const HTREEITEM item = node->item_;
    std::memcpy(&rect, &item, sizeof item);
    if (!SendMessageA(Handle(), TVM_GETITEMRECT, textOnly ? TRUE : FALSE, reinterpret_cast<LPARAM>(&rect)))
        return RECT{};
    return rect;
}

// -------------------------------------------------------------- label edit

void TTreeView::AskForEdit(bool asked)
{
    editAsked_ = asked;
    menusAtEditAsk_ = MenusOpened();
}

bool TTreeView::BeginLabelEdit(TTreeNode* node)
{
    if (!Mirrored() || ReadOnly())
        return false;
    MakeNodeVisible(node);
    if (!node->item_)
        return false;
    if (GetFocus() != Handle())
        ::SetFocus(Handle());
    AskForEdit(true);
    const bool begun = SendMessageA(Handle(), TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(node->item_)) != 0;
    editAsked_ = false;
    return begun;
}

void TTreeView::EndLabelEdit(bool cancel)
{
    if (Mirrored())
        SendMessageA(Handle(), TVM_ENDEDITLABELNOW, cancel ? TRUE : FALSE, 0);
}

void TTreeView::EndEditInside(const TTreeNode* branch, bool cancel)
{
    if (editOpen_ && editNode_ && (editNode_ == branch || editNode_->HasAsParent(branch)))
        EndLabelEdit(cancel);
}

bool TTreeView::IsEditing() const { return EditHandle() != nullptr; }

HWND TTreeView::EditHandle() const
{
    return Mirrored() ? reinterpret_cast<HWND>(SendMessageA(Handle(), TVM_GETEDITCONTROL, 0, 0)) : nullptr;
}

// ----------------------------------------------------------- move, delete

bool TTreeView::MoveNode(TTreeNode* node, TTreeNode* newParent, size_t position)
{
    // A title being typed into a moving page is kept, not lost with the item.
    EndEditInside(node, false);
    TTreeNode* oldParent = node->parent_;
    const auto inBranch = [node](const TTreeNode* other) {
        return other && (other == node || other->HasAsParent(node));
    };
    const bool selectionInside = inBranch(selected_);
    TTreeNode* dropTarget = inBranch(dropTarget_) ? dropTarget_ : nullptr;
    KeepScrollDuringMove(node);
    UpdateHold hold(items_, Mirrored() && node->item_);

    items_.InvalidateAt(node);
    if (Mirrored() && node->item_) {
        // The control has no move: the branch's items go and come back. The
        // control's own reaction to losing them is not the user's doing.
        Nesting quiet(quietSelection_);
        if (dropTarget)
            SetDropTarget(nullptr);
        SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node->item_));
    }
    ForgetItems(node);

    const size_t oldPosition = node->siblingIndex_;
    std::unique_ptr<TTreeNode> owned = std::move(oldParent->children_[oldPosition]);
    oldParent->children_.erase(oldParent->children_.begin() + static_cast<std::ptrdiff_t>(oldPosition));
    TTreeNodes::RenumberChildren(oldParent, oldPosition);
    ChildrenChanged(oldParent, true);

    const bool newParentHadChildren = newParent->HasChildren();
    position = std::min(position, newParent->children_.size());
    newParent->children_.insert(newParent->children_.begin() + static_cast<std::ptrdiff_t>(position),
                                std::move(owned));
    node->parent_ = newParent;
    TTreeNodes::RenumberChildren(newParent, position);
    items_.InvalidateAfterPlacing(node);
    PlaceItem(node, newParentHadChildren);

    if (selectionInside && Mirrored()) {
        ExpandAncestors(selected_);
        Nesting quiet(quietSelection_);
        SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(selected_->item_));
    }
    if (dropTarget)
        SetDropTarget(dropTarget);
    return true;
}

void TTreeView::KeepScrollDuringMove(const TTreeNode* node)
{
    if (!Mirrored() || !node->item_)
        return;
    if (!movesPending_) {
        movesPending_ = true;
        topBeforeMoves_ = TopItem();
        selectionMoved_ = false;
    }
    if (selected_ && (selected_ == node || selected_->HasAsParent(node)))
        selectionMoved_ = true;
}

void TTreeView::RestoreScrollAfterMoves()
{
    // With its drawing held back the control does not keep the rows' order
    // up to date, so bringing the moved selection into view then scrolls by
    // rows that are not there: under Wine the moved page went to the top
    // row, hiding everything above it. Once it draws again the top row is
    // what it was, and the selection is shown with the least scroll.
    if (!movesPending_ || items_.Updating() || !Mirrored())
        return;
    movesPending_ = false;
    TTreeNode* top = std::exchange(topBeforeMoves_, nullptr);
    if (top)
        SetTopItem(top);
    if (std::exchange(selectionMoved_, false) && selected_ && selected_->item_)
        SendMessageA(Handle(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(selected_->item_));
}

void TTreeView::RaiseDeletion(TTreeNode* branch)
{
    if (!OnDeletion || IsDestroying())
        return;
    // Children before their parent: the reverse of a walk that visits a node
    // and then its children from the last to the first.
    std::vector<TTreeNode*> order;
    std::vector<TTreeNode*> pending{branch};
    while (!pending.empty()) {
        TTreeNode* node = pending.back();
        pending.pop_back();
        order.push_back(node);
        for (auto& child : node->children_)
            pending.push_back(child.get());
    }
    // What the handler changes on these nodes is not shown any more: their
    // items go with them, and each change would cost the control a search.
    const TTreeNode* outer = deletingBranch_;
    deletingBranch_ = branch;
    try {
        for (auto node = order.rbegin(); node != order.rend(); ++node)
            OnDeletion(*node);
    } catch (...) {
        deletingBranch_ = outer;
        throw;
    }
    deletingBranch_ = outer;
}

void TTreeView::DeleteBranches(TTreeNode* parent, size_t first, size_t last)
{
    if (first >= last || last > parent->children_.size())
        return;
    std::vector<TTreeNode*> roots;
    for (size_t i = first; i < last; ++i)
        roots.push_back(parent->children_[i].get());
    // A node lies in the doomed branches when its ancestor among parent's
    // children is one of them.
    const auto doomed = [parent, first, last](const TTreeNode* node) {
        if (!node)
            return false;
        while (node->parent_ && node->parent_ != parent)
            node = node->parent_;
        return node->parent_ == parent && node->siblingIndex_ >= first && node->siblingIndex_ < last;
    };

    if (doomed(editNode_))
        EndLabelEdit(true);
    for (TTreeNode* root : roots)
        RaiseDeletion(root);

    const bool wholeTree = parent == items_.Top() && first == 0 && last == parent->children_.size();
    const bool selectionInside = doomed(selected_);
    if (doomed(dropTarget_))
        dropTarget_ = nullptr;
    if (doomed(topBeforeMoves_))
        topBeforeMoves_ = nullptr;
    if (doomed(editNode_)) {
        editNode_ = nullptr;
        editOpen_ = false;
    }
    if (wholeTree)
        items_.ResetOrder();
    else
        items_.InvalidateAt(roots.front());

    if (Mirrored()) {
        Nesting quiet(quietSelection_);
        if (wholeTree) {
            SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
        } else {
            // Each shown item deleted costs the control a pass over all it
            // shows, so a node losing all its children is closed first.
            if (first == 0 && last == parent->children_.size() && parent->itemExpanded_ && roots.size() > 1)
                NativeExpand(parent, false);
            for (TTreeNode* root : roots) {
                if (root->item_)
                    SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(root->item_));
            }
        }
    }
    TTreeNode* newSelection = selected_;
    if (selectionInside) {
        // The control has chosen the next selection already.
        newSelection = CaretNode();
        if (doomed(newSelection))
            newSelection = nullptr;
    }

    int removed = 0;
    for (TTreeNode* root : roots)
        removed += static_cast<int>(BranchInPreOrder(root).size());
    const bool hadChildren = parent->HasChildren();
    std::vector<std::unique_ptr<TTreeNode>> gone;
    gone.reserve(last - first);
    for (size_t i = first; i < last; ++i)
        gone.push_back(std::move(parent->children_[i]));
    parent->children_.erase(parent->children_.begin() + static_cast<std::ptrdiff_t>(first),
                            parent->children_.begin() + static_cast<std::ptrdiff_t>(last));
    TTreeNodes::RenumberChildren(parent, first);
    items_.count_ -= removed;
    ChildrenChanged(parent, hadChildren);
    gone.clear();

    if (selectionInside) {
        selected_ = newSelection;
        if (OnChange)
            OnChange(newSelection);
    }
}

// ------------------------------------------------------------------ sorting

int CALLBACK TTreeView::CompareByModel(LPARAM first, LPARAM second, LPARAM)
{
    const auto* a = reinterpret_cast<const TTreeNode*>(first);
    const auto* b = reinterpret_cast<const TTreeNode*>(second);
    return a->siblingIndex_ < b->siblingIndex_ ? -1 : a->siblingIndex_ > b->siblingIndex_ ? 1 : 0;
}

bool TTreeView::AlphaSort(TTreeNode* parent, bool recursive)
{
    return CustomSort(
        parent,
        [this](TTreeNode* first, TTreeNode* second) {
            if (OnCompare) {
                int compare = 0;
                OnCompare(first, second, compare);
                return compare;
            }
            // Case-sensitive by the user's locale: "a" < "b" < "B".
            return lstrcmpA(first->text_.c_str(), second->text_.c_str());
        },
        recursive);
}

bool TTreeView::CustomSort(TTreeNode* parent, const std::function<int(TTreeNode*, TTreeNode*)>& compare,
                           bool recursive)
{
    if (!compare || (parent && parent->owner_ != &items_))
        return false;
    TTreeNode* root = parent ? parent : items_.Top();
    UpdateHold hold(items_, recursive && Mirrored());
    std::vector<TTreeNode*> pending{root};
    while (!pending.empty()) {
        TTreeNode* next = pending.back();
        pending.pop_back();
        SortOneLevel(next, compare);
        if (recursive) {
            for (auto& child : next->children_)
                pending.push_back(child.get());
        }
    }
    return true;
}

void TTreeView::SortOneLevel(TTreeNode* parent, const std::function<int(TTreeNode*, TTreeNode*)>& compare)
{
    auto& children = parent->children_;
    if (children.size() < 2)
        return;
    // Sorting pointers first leaves the children untouched should the
    // comparison throw.
    std::vector<TTreeNode*> order;
    order.reserve(children.size());
    for (auto& child : children)
        order.push_back(child.get());
    std::stable_sort(order.begin(), order.end(),
                     [&compare](TTreeNode* first, TTreeNode* second) { return compare(first, second) < 0; });
    bool changed = false;
    for (size_t i = 0; i < order.size() && !changed; ++i)
        changed = order[i]->siblingIndex_ != i;
    if (!changed)
        return;
    std::vector<std::unique_ptr<TTreeNode>> sorted;
    sorted.reserve(children.size());
    for (TTreeNode* node : order)
        sorted.push_back(std::move(children[node->siblingIndex_]));
    children = std::move(sorted);
    TTreeNodes::RenumberChildren(parent, 0);
    items_.InvalidateChildrenOf(parent);
    if (Mirrored() && parent->item_ && parent->populated_) {
        // The control sorts its items into the model's new order.
        TVSORTCB sort{};
        sort.hParent = parent->item_;
        sort.lpfnCompare = &TTreeView::CompareByModel;
        sort.lParam = 0;
        SendMessageA(Handle(), TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
    }
}

// ------------------------------------------------------------- appearance

bool TTreeView::HasStyle(DWORD style) const
{
    return Handle() && (static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE)) & style) == style;
}

void TTreeView::SetStyle(DWORD style, bool on)
{
    if (!Handle())
        return;
    const LONG_PTR current = GetWindowLongPtrA(Handle(), GWL_STYLE);
    const LONG_PTR wanted = on ? (current | static_cast<LONG_PTR>(style)) : (current & ~static_cast<LONG_PTR>(style));
    if (wanted == current)
        return;
    SetWindowLongPtrA(Handle(), GWL_STYLE, wanted);
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate();
}

int TTreeView::Indent() const
{
    return Handle() ? static_cast<int>(SendMessageA(Handle(), TVM_GETINDENT, 0, 0)) : 0;
}

void TTreeView::SetIndent(int indent)
{
    if (Handle())
        SendMessageA(Handle(), TVM_SETINDENT, static_cast<WPARAM>(indent), 0);
}

void TTreeView::SetImages(HIMAGELIST images)
{
    images_ = images;
    if (Handle())
        SendMessageA(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
}

void TTreeView::SetStateImages(HIMAGELIST images)
{
    stateImages_ = images;
    if (Handle())
        SendMessageA(Handle(), TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(images));
}

// --------------------------------------------------------------- hit tests

THitTests TTreeView::GetHitTestInfoAt(int x, int y) const
{
    if (!Handle())
        return htNowhere;
    TVHITTESTINFO hit{};
    hit.pt = POINT{x, y};
    SendMessageA(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    return HitTestsFromFlags(hit.flags);
}

TTreeNode* TTreeView::GetNodeAt(int x, int y) const
{
    if (!Handle())
        return nullptr;
    TVHITTESTINFO hit{};
    hit.pt = POINT{x, y};
    return NodeOfItem(reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit))));
}

// ------------------------------------------------------------------- mouse

void TTreeView::FocusForMouse()
{
    // The focus moves first, so that an editor being left commits its typing
    // before the selection changes what it shows.
    if (Handle() && GetFocus() != Handle())
        ::SetFocus(Handle());
}

void TTreeView::SelectUnderMouse(int x, int y, UINT where)
{
    if (!Handle())
        return;
    TVHITTESTINFO hit{};
    hit.pt = POINT{x, y};
    const auto item = reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (item && (hit.flags & where)) {
        if (TTreeNode* node = NodeOfItem(item); node && node != selected_)
            SetSelected(node);
    }
}

void TTreeView::MouseDownAt(TMouseButton button, TShiftState shift, int x, int y)
{
    FocusForMouse();
    if (button != TMouseButton::mbMiddle)
        SelectUnderMouse(x, y, TVHT_ONITEM);
    if (OnMouseDown)
        OnMouseDown(button, shift, x, y);
}

bool TTreeView::OnSelectedTitle(int x, int y) const
{
    return selected_ && GetNodeAt(x, y) == selected_ && (GetHitTestInfoAt(x, y) & htOnLabel);
}

LRESULT TTreeView::LeftButtonDown(WPARAM wParam, LPARAM lParam)
{
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    // A click that only brings the focus back to the tree is no call for the
    // title editor, though the control's timer starts for it all the same.
    AskForEdit(GetFocus() == Handle() && OnSelectedTitle(x, y));
    FocusForMouse();
    LRESULT result = 0;
    {
        // The control selects a page clicked on its title or icon itself,
        // after its drag-detect loop (which may last until the button goes
        // up), and opens the title editor a moment later only when the
        // page was selected already. Selecting it here first would make
        // every click look like a second one.
        Nesting press(mousePress_);
        result = DefaultHandler(WM_LBUTTONDOWN, wParam, lParam);
    }
    TDragManager& drag = DragManager();
    if (drag.Source() == this && GetCapture() != Handle())
        SetCapture(Handle());
    // A click on the state icon leaves the control's selection alone.
    SelectUnderMouse(x, y, TVHT_ONITEMSTATEICON);
    if (OnMouseDown)
        OnMouseDown(TMouseButton::mbLeft, ShiftStateFromMouseKeys(wParam), x, y);
    return result;
}

LRESULT TTreeView::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    TDragManager& drag = DragManager();
    // While the control's own button-down handling runs, it juggles the
    // capture itself; a drag it started must not end because of that.
    if (drag.Source() == this && !(message == WM_CAPTURECHANGED && mousePress_ > 0) &&
        drag.HandleSourceMessage(this, message, wParam, lParam))
        return 0;
    if (message == WM_TIMER && wParam == DragScrollTimer) {
        DragScrollTick();
        return 0;
    }
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_CHAR || message == WM_KILLFOCUS ||
        message == WM_RBUTTONDOWN)
        editAsked_ = false;
    if (message == WM_LBUTTONDOWN)
        return LeftButtonDown(wParam, lParam);
    if (message == WM_RBUTTONDOWN) {
        // The right button selects the page before the control's procedure
        // opens the popup menu from inside its own handling.
        FocusForMouse();
        SelectUnderMouse(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), TVHT_ONITEM);
        LRESULT result = 0;
        {
            Nesting press(mousePress_);
            result = TControl::WndProc(message, wParam, lParam);
        }
        if (drag.Source() == this && GetCapture() != Handle())
            SetCapture(Handle());
        return result;
    }
    return TControl::WndProc(message, wParam, lParam);
}

// ----------------------------------------------------------- notifications

bool TTreeView::HandleNotify(NMHDR& header, LRESULT& result)
{
    result = 0;
    switch (header.code) {
    case TVN_SELCHANGINGA:
    case TVN_SELCHANGINGW: {
        if (quietSelection_)
            return true;
        const auto& notice = reinterpret_cast<const NMTREEVIEWA&>(header);
        bool allow = true;
        if (OnChanging)
            OnChanging(reinterpret_cast<TTreeNode*>(notice.itemNew.lParam), allow);
        result = allow ? FALSE : TRUE;
        return true;
    }
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW: {
        if (quietSelection_)
            return true;
        const auto& notice = reinterpret_cast<const NMTREEVIEWA&>(header);
        editAsked_ = false;
        selected_ = notice.itemNew.hItem ? reinterpret_cast<TTreeNode*>(notice.itemNew.lParam) : nullptr;
        if (OnChange)
            OnChange(selected_);
        return true;
    }
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW: {
        // What the user opens is readied while it is still hidden; our own
        // openings are readied before they start.
        const auto& notice = reinterpret_cast<const NMTREEVIEWA&>(header);
        auto* node = reinterpret_cast<TTreeNode*>(notice.itemNew.lParam);
        if (!quietExpansion_ && node && notice.itemNew.hItem && (notice.action & TVE_EXPAND))
            PrepareToShowChildren(node);
        return true;
    }
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDEDW: {
        const auto& notice = reinterpret_cast<const NMTREEVIEWA&>(header);
        auto* node = reinterpret_cast<TTreeNode*>(notice.itemNew.lParam);
        // Our own openings and closings keep the node's state themselves.
        if (quietExpansion_ || !node || !notice.itemNew.hItem)
            return true;
        const auto state = static_cast<UINT>(SendMessageA(Handle(), TVM_GETITEMSTATE,
                                                          reinterpret_cast<WPARAM>(notice.itemNew.hItem), TVIS_EXPANDED));
        node->expanded_ = (state & TVIS_EXPANDED) && node->HasChildren();
        node->itemExpanded_ = node->expanded_;
        if (node->expanded_ && OnExpanded)
            OnExpanded(node);
        else if (!node->expanded_ && OnCollapsed)
            OnCollapsed(node);
        return true;
    }
    case TVN_BEGINLABELEDITA:
    case TVN_BEGINLABELEDITW: {
        const auto& notice = reinterpret_cast<const NMTVDISPINFOA&>(header);
        auto* node = reinterpret_cast<TTreeNode*>(notice.item.lParam);
        // A menu that came up since (its letters would run its commands
        // while the title is typed) drops the ask.
        const bool asked = std::exchange(editAsked_, false) && !MenuIsOpen() && MenusOpened() == menusAtEditAsk_;
        bool allow = asked && node != nullptr && !ReadOnly();
        if (allow && OnEditing)
            OnEditing(node, allow);
        editOpen_ = allow;
        editNode_ = allow ? node : nullptr;
        result = allow ? FALSE : TRUE;
        return true;
    }
    case TVN_ENDLABELEDITA:
    case TVN_ENDLABELEDITW: {
        // Wine ends an edit twice (and the second time, even for a cancelled
        // edit, with the typed text): only the first end counts.
        result = FALSE;
        if (!editOpen_)
            return true;
        editOpen_ = false;
        TTreeNode* node = editNode_;
        editNode_ = nullptr;
        const auto& notice = reinterpret_cast<const NMTVDISPINFOA&>(header);
        if (!node)
            return true;
        if (notice.item.pszText) {
            std::string text = header.code == TVN_ENDLABELEDITW
                                   ? NarrowText(reinterpret_cast<const wchar_t*>(notice.item.pszText))
                                   : std::string(notice.item.pszText);
            if (OnEdited)
                OnEdited(node, text);
            // The node's text is set here, the handler's version included,
            // and the control is told to keep it rather than the editor's.
            node->SetText(text);
        }
        if (OnEditEnded)
            OnEditEnded(node);
        return true;
    }
    case TVN_BEGINDRAGA:
    case TVN_BEGINDRAGW: {
        const auto& notice = reinterpret_cast<const NMTREEVIEWA&>(header);
        auto* node = reinterpret_cast<TTreeNode*>(notice.itemNew.lParam);
        // What is dragged is the selected node.
        if (node && node != selected_)
            SetSelected(node);
        if (DragModeAutomatic)
            BeginDrag();
        return true;
    }
    case TVN_DELETEITEMA:
    case TVN_DELETEITEMW:
        // Deletion events come from the model's own walk, children first;
        // items also go away while branches move, which is no deletion.
        return true;
    default:
        return false;
    }
}

// -------------------------------------------------------------------- drag

void TTreeView::BeginDrag() { DragManager().BeginDrag(this); }

void TTreeView::DragOver(TControl* source, int x, int y, TDragState state, bool& accept)
{
    accept = false;
    FollowDragEdge(state == TDragState::dsDragLeave ? 0 : DragEdgeAt(y));
    if (OnDragOver)
        OnDragOver(source, x, y, state, accept);
}

void TTreeView::DragDrop(TControl* source, int x, int y)
{
    if (OnDragDrop)
        OnDragDrop(source, x, y);
}

void TTreeView::ShowDropFeedback(int x, int y, bool accepted) { SetDropTarget(accepted ? GetNodeAt(x, y) : nullptr); }

void TTreeView::HideDropFeedback()
{
    // A drop, a cancel or the drag leaving: nothing is to scroll any more.
    FollowDragEdge(0);
    SetDropTarget(nullptr);
}

void TTreeView::DragStarted()
{
    if (OnStartDrag)
        OnStartDrag();
}

void TTreeView::DragEnded(TControl* target, int x, int y)
{
    if (OnEndDrag)
        OnEndDrag(target, x, y);
}
