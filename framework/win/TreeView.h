#pragma once
// The page tree: node objects that hold the outline's structure, and the
// system tree view control that shows them.
//
// The structure lives in the node objects; the control only mirrors it. Every
// walk (next, previous, children, absolute index, count) goes through the
// objects, because under Wine each tree view message that names an item
// searches the control's whole item list and walking 65,535 items through
// the control takes seconds. For the same reason the control holds items only
// for branches it can show: a node gets its item when its parent is expanded
// (or made visible) for the first time.

#include "Control.h"
#include "DragManager.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TTreeNodes;
class TTreeView;

// Where MoveTo puts a node, relative to the destination node.
enum class TNodeAttachMode {
    naAdd,           // last among the destination's siblings
    naAddFirst,      // first among the destination's siblings
    naAddChild,      // last child of the destination
    naAddChildFirst, // first child of the destination
    naInsert,        // just before the destination
};

// What lies under a point of the tree's client area; a set of these flags.
using THitTests = unsigned;
inline constexpr THitTests htAbove = 1u << 0;
inline constexpr THitTests htBelow = 1u << 1;
inline constexpr THitTests htNowhere = 1u << 2;
inline constexpr THitTests htOnItem = 1u << 3; // on the label, the icon or the state icon
inline constexpr THitTests htOnButton = 1u << 4;
inline constexpr THitTests htOnIcon = 1u << 5;
inline constexpr THitTests htOnIndent = 1u << 6;
inline constexpr THitTests htOnLabel = 1u << 7;
inline constexpr THitTests htOnRight = 1u << 8;
inline constexpr THitTests htOnStateIcon = 1u << 9;
inline constexpr THitTests htToLeft = 1u << 10;
inline constexpr THitTests htToRight = 1u << 11;

class TTreeNode {
public:
    ~TTreeNode();
    TTreeNode(const TTreeNode&) = delete;
    TTreeNode& operator=(const TTreeNode&) = delete;

    TTreeNodes* Owner() const { return owner_; }
    TTreeView* TreeView() const;
    // The control's item, or null while the node lies in a branch the control
    // has not shown yet.
    HTREEITEM ItemId() const { return item_; }

    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    // The page's state number. The control's state image field has four bits,
    // so it shows 1..15 as they are and nothing for any other number; the node
    // keeps the number whatever it is.
    int32_t StateIndex() const { return stateIndex_; }
    void SetStateIndex(int32_t index);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    int SelectedIndex() const { return selectedIndex_; }
    void SetSelectedIndex(int index);
    // Belongs to the program, not to the node: free it in OnDeletion, and
    // as the view goes.
    void* Data() const { return data_; }
    void SetData(void* data) { data_ = data; }

    // Structure. Parent is null for top-level nodes; Level is 0 for them.
    TTreeNode* Parent() const;
    int Level() const;
    // Position among the siblings, from 0.
    int Index() const { return static_cast<int>(siblingIndex_); }
    int Count() const { return static_cast<int>(children_.size()); }
    bool HasChildren() const { return !children_.empty(); }
    TTreeNode* Item(int index) const;
    TTreeNode* getFirstChild() const;
    TTreeNode* GetLastChild() const;
    TTreeNode* getNextSibling() const;
    TTreeNode* getPrevSibling() const;
    // Pre-order over the whole tree: a node, then its children, each with
    // its own branch.
    TTreeNode* GetNext() const;
    TTreeNode* GetPrev() const;
    // Position in the pre-order walk of the whole tree, from 0. Cached: after
    // a change only the positions from the change onwards are worked out
    // again, once, on the next question.
    int AbsoluteIndex() const;
    // True when node is this node's parent, grandparent and so on.
    bool HasAsParent(const TTreeNode* node) const;

    // A node without children is never expanded.
    bool Expanded() const { return expanded_; }
    void SetExpanded(bool expanded);
    void Expand(bool recursive);
    void Collapse(bool recursive);
    bool Selected() const;
    void SetSelected(bool selected);
    // Selected in a tree that has the keyboard focus.
    bool Focused() const;
    // Drawn ghosted (a page on the page clipboard after Cut).
    bool Cut() const { return cut_; }
    void SetCut(bool cut);
    bool DropTarget() const;

    // In the tree's client coordinates; empty when the node is not shown.
    RECT DisplayRect(bool textOnly) const;
    void MakeVisible();
    // Starts editing the label (OnEditing may refuse); true when an edit began.
    bool EditText();
    void EndEdit(bool cancel);

    void DeleteChildren();
    // Deletes this node and its branch; the object is gone afterwards.
    void Delete();
    // Moves the node with its branch; node objects, their data and their
    // expanded state survive, and no OnDeletion is raised. Refuses (false,
    // nothing changes) a destination that is the node itself or lies in its
    // branch. A null destination means the top level (not for naInsert).
    bool MoveTo(TTreeNode* destination, TNodeAttachMode mode);

    // Sorts the children by their labels (case-sensitive, or the view's
    // OnCompare).
    bool AlphaSort(bool recursive = false);
    bool CustomSort(const std::function<int(TTreeNode*, TTreeNode*)>& compare, bool recursive = false);

private:
    friend class TTreeNodes;
    friend class TTreeView;
    TTreeNode(TTreeNodes* owner, TTreeNode* parent);

    TTreeNodes* owner_;
    TTreeNode* parent_; // the invisible top node for top-level nodes
    std::vector<std::unique_ptr<TTreeNode>> children_;
    size_t siblingIndex_ = 0;
    std::string text_;
    int32_t stateIndex_ = -1;
    int imageIndex_ = 0;
    int selectedIndex_ = 0;
    void* data_ = nullptr;
    HTREEITEM item_ = nullptr;
    mutable int absoluteIndex_ = -1;
    bool expanded_ = false;
    // The children have their items in the control.
    bool populated_ = false;
    // The control shows the item open. Equal to expanded_ wherever the item
    // can be seen; below a closed item it may lag until the item is shown.
    bool itemExpanded_ = false;
    bool cut_ = false;
};

// The nodes of one tree view (TTreeView::Items()).
class TTreeNodes {
public:
    explicit TTreeNodes(TTreeView* view);
    ~TTreeNodes();
    TTreeNodes(const TTreeNodes&) = delete;
    TTreeNodes& operator=(const TTreeNodes&) = delete;

    TTreeView* Owner() const { return view_; }
    // Every node of the tree.
    int Count() const { return count_; }
    TTreeNode* GetFirstNode() const;
    // The node with this absolute index, or null.
    TTreeNode* Item(int absoluteIndex) const;
    TTreeNode* operator[](int absoluteIndex) const { return Item(absoluteIndex); }
    // The top-level nodes.
    int TopLevelCount() const;
    TTreeNode* TopLevelItem(int index) const;

    // Last among sibling's siblings (null: last top-level node).
    TTreeNode* Add(TTreeNode* sibling, const std::string& text);
    TTreeNode* AddObject(TTreeNode* sibling, const std::string& text, void* data);
    // First among sibling's siblings (null: first top-level node).
    TTreeNode* AddFirst(TTreeNode* sibling, const std::string& text);
    TTreeNode* AddObjectFirst(TTreeNode* sibling, const std::string& text, void* data);
    // Last child of parent (null: last top-level node).
    TTreeNode* AddChild(TTreeNode* parent, const std::string& text);
    TTreeNode* AddChildObject(TTreeNode* parent, const std::string& text, void* data);
    // First child of parent (null: first top-level node).
    TTreeNode* AddChildFirst(TTreeNode* parent, const std::string& text);
    TTreeNode* AddChildObjectFirst(TTreeNode* parent, const std::string& text, void* data);
    // Just before the given node (null: last top-level node).
    TTreeNode* Insert(TTreeNode* before, const std::string& text);
    TTreeNode* InsertObject(TTreeNode* before, const std::string& text, void* data);

    void Delete(TTreeNode* node);
    // Deletes every node, raising OnDeletion for each, children first.
    void Clear();

    // Holds back the control's drawing until the matching EndUpdate; nests.
    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return updateCount_ > 0; }

private:
    friend class TTreeNode;
    friend class TTreeView;

    TTreeNode* Attach(TTreeNode* parent, size_t position, const std::string& text, void* data);
    TTreeNode* ParentOrTop(TTreeNode* node) const;
    TTreeNode* Top() const { return top_.get(); }
    static void RenumberChildren(TTreeNode* parent, size_t from);

    // The absolute index cache: order_[0, valid_) holds the first valid_
    // nodes in pre-order and each of them knows its position.
    bool IsCached(const TTreeNode* node) const;
    int IndexOf(const TTreeNode* node) const;
    void ExtendOrder(size_t upTo) const;
    void InvalidateAt(const TTreeNode* node);
    void InvalidateAfterPlacing(const TTreeNode* node);
    void InvalidateChildrenOf(const TTreeNode* parent);
    void ResetOrder();

    TTreeView* view_;
    std::unique_ptr<TTreeNode> top_;
    int count_ = 0;
    int updateCount_ = 0;
    TRedrawSuspension redraw_;
    mutable std::vector<TTreeNode*> order_;
    mutable size_t valid_ = 0;
};

class TTreeView : public TControl, public TDragClient {
public:
    TTreeView(TComponent* owner, TControl* parent);
    ~TTreeView() override;

    TTreeNodes& Items() { return items_; }
    const TTreeNodes& Items() const { return items_; }

    TTreeNode* Selected() const { return selected_; }
    // Selects the node (null: no selection) through the control, which asks
    // OnChanging and then reports OnChange.
    void SetSelected(TTreeNode* node);
    TTreeNode* DropTarget() const { return dropTarget_; }
    void SetDropTarget(TTreeNode* node);
    // The node shown in the top row, or null when none is shown.
    TTreeNode* TopItem() const;
    // Scrolls so that the node is in the top row, as far as the rows below
    // it fill the window.
    void SetTopItem(TTreeNode* node);
    bool IsEditing() const;
    // The label editor while a label is edited, else null.
    HWND EditHandle() const;

    TTreeNode* GetNodeAt(int x, int y) const;
    THitTests GetHitTestInfoAt(int x, int y) const;

    void FullExpand();
    void FullCollapse();

    // Image lists are not owned; null removes them.
    HIMAGELIST Images() const { return images_; }
    void SetImages(HIMAGELIST images);
    HIMAGELIST StateImages() const { return stateImages_; }
    void SetStateImages(HIMAGELIST images);

    bool ShowButtons() const { return HasStyle(TVS_HASBUTTONS); }
    void SetShowButtons(bool show) { SetStyle(TVS_HASBUTTONS, show); }
    bool ShowLines() const { return HasStyle(TVS_HASLINES); }
    void SetShowLines(bool show) { SetStyle(TVS_HASLINES, show); }
    bool ShowRoot() const { return HasStyle(TVS_LINESATROOT); }
    void SetShowRoot(bool show) { SetStyle(TVS_LINESATROOT, show); }
    bool ReadOnly() const { return !HasStyle(TVS_EDITLABELS); }
    void SetReadOnly(bool readOnly) { SetStyle(TVS_EDITLABELS, !readOnly); }
    bool HideSelection() const { return !HasStyle(TVS_SHOWSELALWAYS); }
    void SetHideSelection(bool hide) { SetStyle(TVS_SHOWSELALWAYS, !hide); }
    int Indent() const;
    void SetIndent(int indent);

    // Sorts the children of parent (null: the top level) by their labels,
    // case-sensitive like lstrcmpA ("a" < "b" < "B"), or by OnCompare when set.
    bool AlphaSort(TTreeNode* parent = nullptr, bool recursive = false);
    // compare < 0 puts the first node before the second. Equal nodes keep
    // their order.
    bool CustomSort(TTreeNode* parent, const std::function<int(TTreeNode*, TTreeNode*)>& compare,
                    bool recursive = false);

    // What a press of the right button does before the control's own
    // handling, and what a left click has done once the control selected the
    // page: focus, select the node under the point (on its label, icon or
    // state icon), then OnMouseDown. A left button-down reaches the control
    // first, which selects the page itself and opens the title editor only
    // for a click on the page already selected in a tree that had the focus;
    // OnMouseDown follows.
    void MouseDownAt(TMouseButton button, TShiftState shift, int x, int y);

    // A drag of the selected node starts by itself when the control reports
    // one (TVN_BEGINDRAG); otherwise call BeginDrag.
    bool DragModeAutomatic = false;
    void BeginDrag();
    // Shown while a drag over this tree is accepted; null: the default.
    HCURSOR DragCursor = nullptr;
    // While a drag rests within a row of the top or bottom edge, the tree
    // scrolls a row towards it every so many milliseconds, so that pages out
    // of view can be reached. The ticks come from a timer of the tree's
    // window with this number.
    unsigned DragScrollInterval = 100;
    static constexpr UINT_PTR DragScrollTimer = 0x5153;

    std::function<void(TTreeNode* node)> OnChange;
    std::function<void(TTreeNode* node, bool& allowChange)> OnChanging;
    // Expanding or collapsing by the user (programmatic Expand/Collapse is quiet).
    std::function<void(TTreeNode* node)> OnExpanded;
    std::function<void(TTreeNode* node)> OnCollapsed;
    // Only for an edit that was asked for: EditText, or a click on the
    // selected title while the tree had the focus. The view refuses any other.
    std::function<void(TTreeNode* node, bool& allowEdit)> OnEditing;
    // Once per accepted label edit; the handler may change the text.
    std::function<void(TTreeNode* node, std::string& text)> OnEdited;
    // Once per label edit, however it ended (after OnEdited when it was
    // accepted); the label editor still exists then.
    std::function<void(TTreeNode* node)> OnEditEnded;
    // For every deleted node, children before their parent, while the node is
    // still in the tree. A view that is being destroyed raises no events and
    // frees its nodes silently: the owner frees the nodes' data itself.
    std::function<void(TTreeNode* node)> OnDeletion;
    std::function<void(TTreeNode* first, TTreeNode* second, int& compare)> OnCompare;
    std::function<void()> OnStartDrag;
    // target is null when nothing was dropped.
    std::function<void(TControl* target, int x, int y)> OnEndDrag;
    std::function<void(TControl* source, int x, int y, TDragState state, bool& accept)> OnDragOver;
    std::function<void(TControl* source, int x, int y)> OnDragDrop;

    // TDragClient
    bool WantsDrops() const override { return static_cast<bool>(OnDragOver); }
    void DragOver(TControl* source, int x, int y, TDragState state, bool& accept) override;
    void DragDrop(TControl* source, int x, int y) override;
    HCURSOR DropCursor() const override { return DragCursor; }
    void ShowDropFeedback(int x, int y, bool accepted) override;
    void HideDropFeedback() override;
    void DragStarted() override;
    void DragEnded(TControl* target, int x, int y) override;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool HandleNotify(NMHDR& header, LRESULT& result) override;

private:
    friend class TTreeNode;
    friend class TTreeNodes;

    bool HasStyle(DWORD style) const;
    void SetStyle(DWORD style, bool on);
    void FocusForMouse();
    // Selects the node under the point when the point is on one of where's
    // parts (TVHT_ flags).
    void SelectUnderMouse(int x, int y, UINT where);
    LRESULT LeftButtonDown(WPARAM wParam, LPARAM lParam);
    bool OnSelectedTitle(int x, int y) const;

    // The mirror in the control.
    bool Mirrored() const { return Handle() != nullptr; }
    static void FillItem(const TTreeNode& node, TVITEMA& item, UINT mask, UINT stateMask);
    // Open: the item shows its children (which get their items alongside).
    void InsertItem(TTreeNode* node, HTREEITEM insertAfter, bool open);
    // Gives the node its item and, when it is expanded, its branch what it
    // shows.
    void MaterializeBranch(TTreeNode* node, HTREEITEM insertAfter);
    // Gives the children of each parent (which has an item, its children
    // none) their items, and so on down every expanded child.
    void PopulateBranches(const std::vector<TTreeNode*>& parents);
    // Readies everything that opening the node's item will show: items for
    // the pages on expanded paths below it, each open as its node is.
    void PrepareToShowChildren(TTreeNode* node);
    void EnsureItem(TTreeNode* node);
    static void ForgetItems(TTreeNode* node);
    void PlaceItem(TTreeNode* node, bool parentHadChildren);
    void PushItem(TTreeNode* node, UINT mask);
    void ChildrenChanged(TTreeNode* parent, bool hadChildren);
    void NativeExpand(TTreeNode* node, bool expand);
    void ExpandAncestors(TTreeNode* node);
    void SetBranchExpanded(TTreeNode* node, bool expand, bool recursive);
    RECT ItemRect(const TTreeNode* node, bool textOnly) const;
    void MakeNodeVisible(TTreeNode* node);
    bool BeginLabelEdit(TTreeNode* node);
    void EndLabelEdit(bool cancel);
    void SortOneLevel(TTreeNode* parent, const std::function<int(TTreeNode*, TTreeNode*)>& compare);
    static int CALLBACK CompareByModel(LPARAM first, LPARAM second, LPARAM);
    bool MoveNode(TTreeNode* node, TTreeNode* newParent, size_t position);
    void KeepScrollDuringMove(const TTreeNode* node);
    void RestoreScrollAfterMoves();
    // Scrolling while a drag rests at an edge (TreeDragScroll.cpp): -1 up,
    // 1 down, 0 not at all.
    int DragEdgeAt(int y) const;
    void FollowDragEdge(int direction);
    void DragScrollTick();
    // Deletes the branches of parent's children [first, last).
    void DeleteBranches(TTreeNode* parent, size_t first, size_t last);
    void RaiseDeletion(TTreeNode* branch);
    void EndEditInside(const TTreeNode* branch, bool cancel);
    TTreeNode* NodeOfItem(HTREEITEM item) const;
    TTreeNode* CaretNode() const;
    void SyncSelectionFromControl();

    TTreeNodes items_;
    TTreeNode* selected_ = nullptr;
    TTreeNode* dropTarget_ = nullptr;
    TTreeNode* editNode_ = nullptr;
    // The branch whose deletion is being reported, while it is.
    const TTreeNode* deletingBranch_ = nullptr;
    // Set when a label edit begins; the first end-of-edit notification clears
    // it, so a second one (Wine sends two) changes nothing.
    bool editOpen_ = false;
    // A label edit that begins now was asked for: by EditText, or by a click
    // on the selected title of a tree that had the focus. The control opens
    // the editor a moment after such a click, on whatever page is selected
    // by then, so a new selection, a key, the right button, the focus
    // leaving or a menu opening drops the ask.
    bool editAsked_ = false;
    // MenusOpened() when the edit was asked for.
    unsigned menusAtEditAsk_ = 0;
    void AskForEdit(bool asked);
    // While above zero the control's selection notifications come from our
    // own rebuilding and are not the user's.
    int quietSelection_ = 0;
    int quietExpansion_ = 0;
    int mousePress_ = 0;
    // What the top row showed before the moves of an update span, and whether
    // one of them carried the selection; put back once the control draws
    // again (see RestoreScrollAfterMoves).
    TTreeNode* topBeforeMoves_ = nullptr;
    bool selectionMoved_ = false;
    bool movesPending_ = false;
    // Where the drag over this tree rests: -1 at the top edge, 1 at the
    // bottom, 0 elsewhere; the timer runs while it is not 0.
    int dragEdge_ = 0;
    HIMAGELIST images_ = nullptr;
    HIMAGELIST stateImages_ = nullptr;
};
