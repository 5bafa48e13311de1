#include "PageHistory.h"

TPageHistory PageHistory;

void TPageHistory::Clear()
{
    entries_.clear();
    index_ = 0;
}

void TPageHistory::Push(TTreeNode* node)
{
    // A new visit ends whatever lay ahead of the current page.
    while (index_ < Count() - 1)
        entries_.pop_back();
    if (Count() >= MaxEntries) {
        entries_.erase(entries_.begin());
        if (index_ > 0)
            --index_;
    }
    if (index_ > 0 && entries_[static_cast<std::size_t>(index_)] == node)
        return;
    entries_.push_back(node);
    index_ = Count() - 1;
}

TTreeNode* TPageHistory::Back() { return BackBy(1); }

TTreeNode* TPageHistory::Forward() { return ForwardBy(1); }

// n below 1 is refused: 0 would hand back the current page as if it were a
// step, a negative n would step the other way past the end.
TTreeNode* TPageHistory::BackBy(int n)
{
    if (n < 1 || n > index_)
        return nullptr;
    index_ -= n;
    return entries_[static_cast<std::size_t>(index_)];
}

TTreeNode* TPageHistory::ForwardBy(int n)
{
    if (n < 1 || n > ForwardCount())
        return nullptr;
    index_ += n;
    return entries_[static_cast<std::size_t>(index_)];
}

std::string TPageHistory::BackEntryTitle(int n, const THistoryTitle& titleOf) const
{
    if (n < 1 || n > index_)
        return {};
    return TitleAt(index_ - n, titleOf);
}

std::string TPageHistory::ForwardEntryTitle(int n, const THistoryTitle& titleOf) const
{
    if (n < 1 || n > ForwardCount())
        return {};
    return TitleAt(index_ + n, titleOf);
}

std::string TPageHistory::TitleAt(std::int32_t position, const THistoryTitle& titleOf) const
{
    TTreeNode* node = entries_[static_cast<std::size_t>(position)];
    return titleOf && node ? titleOf(node) : std::string();
}

void ClearHistory(TPageHistory& history) { history.Clear(); }
void PushHistory(TTreeNode* node, TPageHistory& history) { history.Push(node); }

void PushVisitedPage(TTreeNode* node, TPageHistory& history)
{
    if (!(history.Index() == 0 && history.Count() > 0 && history.Entry(0) == node))
        history.Push(node);
}
TTreeNode* HistoryBack(TPageHistory& history) { return history.Back(); }
TTreeNode* HistoryForward(TPageHistory& history) { return history.Forward(); }
TTreeNode* HistoryBackBy(int n, TPageHistory& history) { return history.BackBy(n); }
TTreeNode* HistoryForwardBy(int n, TPageHistory& history) { return history.ForwardBy(n); }
bool CanGoBack(const TPageHistory& history) { return history.CanGoBack(); }
bool CanGoForward(const TPageHistory& history) { return history.CanGoForward(); }
std::int32_t PreviousHistoryIndex(const TPageHistory& history) { return history.PreviousIndex(); }
std::int32_t ForwardHistoryCount(const TPageHistory& history) { return history.ForwardCount(); }

std::string BackEntryTitle(int n, const THistoryTitle& titleOf, const TPageHistory& history)
{
    return history.BackEntryTitle(n, titleOf);
}

std::string ForwardEntryTitle(int n, const THistoryTitle& titleOf, const TPageHistory& history)
{
    return history.ForwardEntryTitle(n, titleOf);
}
