#pragma once
// The pages the user visited, for Back and Forward and their menus of the
// last pages. Entries refer to tree nodes, they are not copies: a title is
// asked from its node when it is wanted, through a function the caller
// passes, so the core needs no tree control. No entry may outlive its node:
// whoever frees tree nodes (deleting pages, opening or starting an outline)
// calls ClearHistory first.
//
// Portable on purpose: the nodes are opaque here.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TTreeNode;

// The title a node shows; the caller knows how to ask the node.
using THistoryTitle = std::function<std::string(const TTreeNode* node)>;

class TPageHistory {
public:
    static constexpr int MaxEntries = 100;

    // Empties the list; the index goes back to 0.
    void Clear();
    // Drops the forward entries, then the oldest entry when the list is
    // full, then appends node unless it is the current entry. The repeat test
    // is skipped while the index is 0, so right after Clear the first page
    // can be pushed twice.
    void Push(TTreeNode* node);

    // One step, or n steps (n >= 1), back or forward: the node there, or null
    // with nothing changed when the history does not reach that far.
    TTreeNode* Back();
    TTreeNode* Forward();
    TTreeNode* BackBy(int n);
    TTreeNode* ForwardBy(int n);

    bool CanGoBack() const { return index_ >= 1; }
    bool CanGoForward() const { return index_ < Count() - 1; }
    // index - 1: the back menus show index entries.
    std::int32_t PreviousIndex() const { return index_ - 1; }
    // Entries after the current one.
    std::int32_t ForwardCount() const { return Count() - index_ - 1; }

    // Title of the node n steps back or forward (n >= 1); "" out of reach.
    std::string BackEntryTitle(int n, const THistoryTitle& titleOf) const;
    std::string ForwardEntryTitle(int n, const THistoryTitle& titleOf) const;

    std::int32_t Count() const { return static_cast<std::int32_t>(entries_.size()); }
    // The current entry's position; 0 when the list is empty.
    std::int32_t Index() const { return index_; }
    // Oldest first.
    TTreeNode* Entry(int position) const { return entries_.at(static_cast<std::size_t>(position)); }

private:
    std::string TitleAt(std::int32_t position, const THistoryTitle& titleOf) const;

    std::vector<TTreeNode*> entries_;
    std::int32_t index_ = 0;
};

// The history of the run; empty at start.
extern TPageHistory PageHistory;

// The operations on the run's history (or on another record, for tests).
void ClearHistory(TPageHistory& history = PageHistory);
void PushHistory(TTreeNode* node, TPageHistory& history = PageHistory);
// Records a page the user went to; right after the history was cleared its
// first entry may be this very page, which is then not recorded twice.
void PushVisitedPage(TTreeNode* node, TPageHistory& history = PageHistory);
TTreeNode* HistoryBack(TPageHistory& history = PageHistory);
TTreeNode* HistoryForward(TPageHistory& history = PageHistory);
TTreeNode* HistoryBackBy(int n, TPageHistory& history = PageHistory);
TTreeNode* HistoryForwardBy(int n, TPageHistory& history = PageHistory);
bool CanGoBack(const TPageHistory& history = PageHistory);
bool CanGoForward(const TPageHistory& history = PageHistory);
std::int32_t PreviousHistoryIndex(const TPageHistory& history = PageHistory);
std::int32_t ForwardHistoryCount(const TPageHistory& history = PageHistory);
std::string BackEntryTitle(int n, const THistoryTitle& titleOf, const TPageHistory& history = PageHistory);
std::string ForwardEntryTitle(int n, const THistoryTitle& titleOf, const TPageHistory& history = PageHistory);
