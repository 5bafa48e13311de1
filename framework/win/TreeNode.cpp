// The node model of the tree view: structure, walks and the absolute index
// cache. Whatever touches the control goes through TTreeView.

#include "TreeView.h"

#include <algorithm>

// ---------------------------------------------------------------- TTreeNode

TTreeNode::TTreeNode(TTreeNodes* owner, TTreeNode* parent) : owner_(owner), parent_(parent) {}

TTreeNode::~TTreeNode()
{
    // An outline may be thousands of levels deep; destroying the branch by
    // recursion could run out of stack, so it is taken apart level by level.
    std::vector<std::unique_ptr<TTreeNode>> pending = std::move(children_);
    while (!pending.empty()) {
        std::unique_ptr<TTreeNode> node = std::move(pending.back());
        pending.pop_back();
        for (auto& child : node->children_)
            pending.push_back(std::move(child));
        node->children_.clear();
    }
}

TTreeView* TTreeNode::TreeView() const { return owner_->Owner(); }

void TTreeNode::SetText(const std::string& text)
{
    text_ = text;
    TreeView()->PushItem(this, TVIF_TEXT);
}

void TTreeNode::SetStateIndex(int32_t index)
{
    stateIndex_ = index;
    TreeView()->PushItem(this, TVIF_STATE);
}

void TTreeNode::SetImageIndex(int index)
{
    imageIndex_ = index;
    TreeView()->PushItem(this, TVIF_IMAGE);
}

void TTreeNode::SetSelectedIndex(int index)
{
    selectedIndex_ = index;
    TreeView()->PushItem(this, TVIF_SELECTEDIMAGE);
}

TTreeNode* TTreeNode::Parent() const { return parent_ && parent_->parent_ ? parent_ : nullptr; }

int TTreeNode::Level() const
{
    int level = 0;
    for (const TTreeNode* node = parent_; node && node->parent_; node = node->parent_)
        ++level;
    return level;
}

TTreeNode* TTreeNode::Item(int index) const
{
    if (index < 0 || static_cast<size_t>(index) >= children_.size())
        return nullptr;
    return children_[static_cast<size_t>(index)].get();
}

TTreeNode* TTreeNode::getFirstChild() const { return children_.empty() ? nullptr : children_.front().get(); }

TTreeNode* TTreeNode::GetLastChild() const { return children_.empty() ? nullptr : children_.back().get(); }

TTreeNode* TTreeNode::getNextSibling() const
{
    if (!parent_ || siblingIndex_ + 1 >= parent_->children_.size())
        return nullptr;
    return parent_->children_[siblingIndex_ + 1].get();
}

TTreeNode* TTreeNode::getPrevSibling() const
{
    if (!parent_ || siblingIndex_ == 0)
        return nullptr;
    return parent_->children_[siblingIndex_ - 1].get();
}

TTreeNode* TTreeNode::GetNext() const
{
    if (!children_.empty())
        return children_.front().get();
    for (const TTreeNode* node = this; node->parent_; node = node->parent_) {
        const auto& siblings = node->parent_->children_;
        if (node->siblingIndex_ + 1 < siblings.size())
            return siblings[node->siblingIndex_ + 1].get();
    }
    return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const
{
    if (!parent_)
        return nullptr;
    if (siblingIndex_ == 0)
        return Parent();
    TTreeNode* node = parent_->children_[siblingIndex_ - 1].get();
    while (!node->children_.empty())
        node = node->children_.back().get();
    return node;
}

int TTreeNode::AbsoluteIndex() const { return owner_->IndexOf(this); }

bool TTreeNode::HasAsParent(const TTreeNode* node) const
{
    if (!node)
        return false;
    for (const TTreeNode* ancestor = parent_; ancestor; ancestor = ancestor->parent_) {
        if (ancestor == node)
            return true;
    }
    return false;
}

void TTreeNode::SetExpanded(bool expanded)
{
    if (expanded)
        Expand(false);
    else
        Collapse(false);
}

void TTreeNode::Expand(bool recursive) { TreeView()->SetBranchExpanded(this, true, recursive); }

void TTreeNode::Collapse(bool recursive) { TreeView()->SetBranchExpanded(this, false, recursive); }

bool TTreeNode::Selected() const { return TreeView()->Selected() == this; }

void TTreeNode::SetSelected(bool selected)
{
    TTreeView* view = TreeView();
    if (selected)
        view->SetSelected(this);
    else if (view->Selected() == this)
        view->SetSelected(nullptr);
}

bool TTreeNode::Focused() const { return Selected() && TreeView()->Focused(); }

void TTreeNode::SetCut(bool cut)
{
    cut_ = cut;
    TreeView()->PushItem(this, TVIF_STATE);
}

bool TTreeNode::DropTarget() const { return TreeView()->DropTarget() == this; }

RECT TTreeNode::DisplayRect(bool textOnly) const { return TreeView()->ItemRect(this, textOnly); }

void TTreeNode::MakeVisible() { TreeView()->MakeNodeVisible(this); }

bool TTreeNode::EditText() { return TreeView()->BeginLabelEdit(this); }

void TTreeNode::EndEdit(bool cancel) { TreeView()->EndLabelEdit(cancel); }

void TTreeNode::DeleteChildren()
{
    if (!children_.empty())
        TreeView()->DeleteBranches(this, 0, children_.size());
}

void TTreeNode::Delete() { TreeView()->DeleteBranches(parent_, siblingIndex_, siblingIndex_ + 1); }

bool TTreeNode::MoveTo(TTreeNode* destination, TNodeAttachMode mode)
{
    if (destination == this || (destination && (destination->owner_ != owner_ || destination->HasAsParent(this))))
        return false;
    if (!destination && mode == TNodeAttachMode::naInsert)
        return false;
    TTreeNode* top = owner_->top_.get();
    TTreeNode* newParent = nullptr;
    size_t position = 0; // among the new siblings, counted without this node
    switch (mode) {
    case TNodeAttachMode::naAdd:
    case TNodeAttachMode::naAddFirst:
        newParent = destination ? destination->parent_ : top;
        break;
    case TNodeAttachMode::naAddChild:
    case TNodeAttachMode::naAddChildFirst:
        newParent = destination ? destination : top;
        break;
    case TNodeAttachMode::naInsert:
        newParent = destination->parent_;
        break;
    }
    const size_t siblingsWithout = newParent->children_.size() - (newParent == parent_ ? 1 : 0);
    switch (mode) {
    case TNodeAttachMode::naAdd:
    case TNodeAttachMode::naAddChild:
        position = siblingsWithout;
        break;
    case TNodeAttachMode::naAddFirst:
    case TNodeAttachMode::naAddChildFirst:
        position = 0;
        break;
    case TNodeAttachMode::naInsert:
        position = destination->siblingIndex_;
        if (newParent == parent_ && siblingIndex_ < destination->siblingIndex_)
            --position;
        break;
    }
    if (newParent == parent_ && position == siblingIndex_)
        return true;
    return TreeView()->MoveNode(this, newParent, position);
}

bool TTreeNode::AlphaSort(bool recursive) { return TreeView()->AlphaSort(this, recursive); }

bool TTreeNode::CustomSort(const std::function<int(TTreeNode*, TTreeNode*)>& compare, bool recursive)
{
    return TreeView()->CustomSort(this, compare, recursive);
}

// --------------------------------------------------------------- TTreeNodes

TTreeNodes::TTreeNodes(TTreeView* view) : view_(view), top_(new TTreeNode(this, nullptr))
{
    // The invisible top node stands for the control's root; its children are
    // the top-level nodes, always mirrored.
    top_->item_ = TVI_ROOT;
    top_->populated_ = true;
    top_->expanded_ = true;
    top_->itemExpanded_ = true;
}

TTreeNodes::~TTreeNodes() = default;

TTreeNode* TTreeNodes::GetFirstNode() const { return top_->getFirstChild(); }

TTreeNode* TTreeNodes::Item(int absoluteIndex) const
{
    if (absoluteIndex < 0 || absoluteIndex >= count_)
        return nullptr;
    const size_t index = static_cast<size_t>(absoluteIndex);
    ExtendOrder(index + 1);
    return index < valid_ ? order_[index] : nullptr;
}

int TTreeNodes::TopLevelCount() const { return top_->Count(); }

TTreeNode* TTreeNodes::TopLevelItem(int index) const { return top_->Item(index); }

TTreeNode* TTreeNodes::ParentOrTop(TTreeNode* node) const { return node ? node : top_.get(); }

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const std::string& text) { return AddObject(sibling, text, nullptr); }

TTreeNode* TTreeNodes::AddObject(TTreeNode* sibling, const std::string& text, void* data)
{
    TTreeNode* parent = sibling ? sibling->parent_ : top_.get();
    return Attach(parent, parent->children_.size(), text, data);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* sibling, const std::string& text)
{
    return AddObjectFirst(sibling, text, nullptr);
}

TTreeNode* TTreeNodes::AddObjectFirst(TTreeNode* sibling, const std::string& text, void* data)
{
    return Attach(sibling ? sibling->parent_ : top_.get(), 0, text, data);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::string& text)
{
    return AddChildObject(parent, text, nullptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* parent, const std::string& text, void* data)
{
    TTreeNode* owner = ParentOrTop(parent);
    return Attach(owner, owner->children_.size(), text, data);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* parent, const std::string& text)
{
    return AddChildObjectFirst(parent, text, nullptr);
}

TTreeNode* TTreeNodes::AddChildObjectFirst(TTreeNode* parent, const std::string& text, void* data)
{
    return Attach(ParentOrTop(parent), 0, text, data);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* before, const std::string& text) { return InsertObject(before, text, nullptr); }

TTreeNode* TTreeNodes::InsertObject(TTreeNode* before, const std::string& text, void* data)
{
    if (!before)
        return Attach(top_.get(), top_->children_.size(), text, data);
    return Attach(before->parent_, before->siblingIndex_, text, data);
}

TTreeNode* TTreeNodes::Attach(TTreeNode* parent, size_t position, const std::string& text, void* data)
{
    auto created = std::unique_ptr<TTreeNode>(new TTreeNode(this, parent));
    created->text_ = text;
    created->data_ = data;
    TTreeNode* node = created.get();
    const bool hadChildren = parent->HasChildren();
    parent->children_.insert(parent->children_.begin() + static_cast<std::ptrdiff_t>(position), std::move(created));
    RenumberChildren(parent, position);
    ++count_;
    InvalidateAfterPlacing(node);
    view_->PlaceItem(node, hadChildren);
    return node;
}

void TTreeNodes::RenumberChildren(TTreeNode* parent, size_t from)
{
    auto& children = parent->children_;
    for (size_t i = from; i < children.size(); ++i)
        children[i]->siblingIndex_ = i;
}

void TTreeNodes::Delete(TTreeNode* node)
{
    if (node)
        node->Delete();
}

void TTreeNodes::Clear()
{
    if (!top_->children_.empty())
        view_->DeleteBranches(top_.get(), 0, top_->children_.size());
}

void TTreeNodes::BeginUpdate()
{
    if (updateCount_++ == 0 && view_->Handle())
        redraw_.Suspend(view_->Handle());
}

void TTreeNodes::EndUpdate()
{
    if (updateCount_ == 0)
        return;
    if (--updateCount_ == 0 && view_->Handle()) {
        redraw_.Resume(view_->Handle());
        InvalidateRect(view_->Handle(), nullptr, TRUE);
        view_->RestoreScrollAfterMoves();
    }
}

// The absolute index cache. Positions before a change stay right, so a change
// only shortens the valid prefix to where it happened, and the next question
// extends the prefix again by walking on from its end. Building a tree in
// pre-order (as the file readers do) therefore costs one step per node.

bool TTreeNodes::IsCached(const TTreeNode* node) const
{
    return node->absoluteIndex_ >= 0 && static_cast<size_t>(node->absoluteIndex_) < valid_ &&
           order_[static_cast<size_t>(node->absoluteIndex_)] == node;
}

void TTreeNodes::ExtendOrder(size_t upTo) const
{
    if (valid_ >= upTo)
        return;
    if (order_.size() < static_cast<size_t>(count_))
        order_.resize(static_cast<size_t>(count_));
    TTreeNode* next = valid_ == 0 ? GetFirstNode() : order_[valid_ - 1]->GetNext();
    while (next && valid_ < upTo) {
        order_[valid_] = next;
        next->absoluteIndex_ = static_cast<int>(valid_);
        ++valid_;
        next = next->GetNext();
    }
}

int TTreeNodes::IndexOf(const TTreeNode* node) const
{
    if (!node || node == top_.get())
        return -1;
    if (IsCached(node))
        return node->absoluteIndex_;
    if (order_.size() < static_cast<size_t>(count_))
        order_.resize(static_cast<size_t>(count_));
    TTreeNode* next = valid_ == 0 ? GetFirstNode() : order_[valid_ - 1]->GetNext();
    while (next) {
        order_[valid_] = next;
        next->absoluteIndex_ = static_cast<int>(valid_);
        ++valid_;
        if (next == node)
            return next->absoluteIndex_;
        next = next->GetNext();
    }
    return -1;
}

void TTreeNodes::InvalidateAt(const TTreeNode* node)
{
    if (IsCached(node))
        valid_ = static_cast<size_t>(node->absoluteIndex_);
}

void TTreeNodes::InvalidateAfterPlacing(const TTreeNode* node)
{
    const TTreeNode* before = node->GetPrev();
    if (!before)
        valid_ = 0;
    else if (IsCached(before))
        valid_ = std::min(valid_, static_cast<size_t>(before->absoluteIndex_) + 1);
}

void TTreeNodes::InvalidateChildrenOf(const TTreeNode* parent)
{
    if (parent == top_.get())
        valid_ = 0;
    else if (IsCached(parent))
        valid_ = std::min(valid_, static_cast<size_t>(parent->absoluteIndex_) + 1);
}

void TTreeNodes::ResetOrder()
{
    order_.clear();
    valid_ = 0;
}
