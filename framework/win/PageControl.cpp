#include "PageControl.h"

#include <commctrl.h>

#include <algorithm>

// --- Sheet ------------------------------------------------------------------

TTabSheet::TTabSheet(TComponent* owner, TPageControl* pageControl, const std::string& caption)
    : TCustomPanel(owner, pageControl, 0), pageControl_(pageControl), caption_(caption)
{
    pageControl_->AddPage(this);
}

TTabSheet::~TTabSheet()
{
    if (pageControl_ && Parent() == pageControl_)
        pageControl_->RemovePage(this);
}

int TTabSheet::PageIndex() const
{
    const auto& pages = pageControl_->pages_;
    const auto found = std::find(pages.begin(), pages.end(), this);
    return found == pages.end() ? -1 : static_cast<int>(found - pages.begin());
}

void TTabSheet::SetCaption(const std::string& caption)
{
    caption_ = caption;
    pageControl_->UpdateTab(PageIndex());
}

// --- Page control -----------------------------------------------------------

TPageControl::TPageControl(TComponent* owner, TControl* parent) : TControl(owner, parent)
{
    // The pages are the tab control's children; Tab walks into them.
    CreateHandle(WC_TABCONTROLA, WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT);
    SetBounds(0, 0, 289, 193);
}

TTabSheet* TPageControl::Pages(int index) const
{
    return index >= 0 && index < PageCount() ? pages_[static_cast<size_t>(index)] : nullptr;
}

void TPageControl::AddPage(TTabSheet* page)
{
    pages_.push_back(page);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    std::string caption = page->Caption();
    item.pszText = caption.data();
    SendMessageA(Handle(), TCM_INSERTITEMA, pages_.size() - 1, reinterpret_cast<LPARAM>(&item));
    PlacePages();
    if (activeIndex_ < 0)
        SetActivePageIndex(0);
}

void TPageControl::RemovePage(TTabSheet* page)
{
    const int index = page->PageIndex();
    if (index < 0)
        return;
    pages_.erase(pages_.begin() + index);
    if (Handle())
        SendMessageA(Handle(), TCM_DELETEITEM, index, 0);
    if (index == activeIndex_) {
        // Quietly: pages go away while their form is being taken down, when
        // no handler may run any more.
        activeIndex_ = pages_.empty() ? -1 : std::min(index, PageCount() - 1);
        if (TTabSheet* shown = Pages(activeIndex_); shown && Handle()) {
            SendMessageA(Handle(), TCM_SETCURSEL, activeIndex_, 0);
            ShowWindow(shown->Handle(), SW_SHOWNA);
        }
    } else if (index < activeIndex_) {
        --activeIndex_;
    }
}

void TPageControl::UpdateTab(int index)
{
    if (index < 0)
        return;
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    std::string caption = pages_[static_cast<size_t>(index)]->Caption();
    item.pszText = caption.data();
    SendMessageA(Handle(), TCM_SETITEMA, index, reinterpret_cast<LPARAM>(&item));
    PlacePages(); // a longer caption may wrap the tabs to another row
}

void TPageControl::SetActivePageIndex(int index)
{
    if (index < 0 || index >= PageCount() || index == activeIndex_)
        return;
    const int previous = activeIndex_;
    activeIndex_ = index;
    SendMessageA(Handle(), TCM_SETCURSEL, index, 0);
    ShowActivePage(previous);
}

void TPageControl::SetActivePage(TTabSheet* page)
{
    if (page && page->PageControl() == this)
        SetActivePageIndex(page->PageIndex());
}

void TPageControl::SelectNextPage(bool forward)
{
    if (PageCount() < 2 || !AllowChange())
        return;
    const int count = PageCount();
    SetActivePageIndex((activeIndex_ + (forward ? 1 : count - 1)) % count);
    if (OnChange)
        OnChange();
}

bool TPageControl::AllowChange()
{
    bool allow = true;
    if (OnChanging)
        OnChanging(allow);
    return allow;
}

void TPageControl::ShowActivePage(int previous)
{
    TTabSheet* shown = Pages(activeIndex_);
    TTabSheet* hidden = Pages(previous);
    if (shown) {
        SetWindowPos(shown->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        shown->Realign();
    }
    if (hidden && hidden != shown)
        ShowWindow(hidden->Handle(), SW_HIDE);
    if (hidden && hidden != shown && hidden->OnHide)
        hidden->OnHide();
    if (shown && shown->OnShow)
        shown->OnShow();
}

void TPageControl::PlacePages()
{
    RECT display = ClientRect();
    SendMessageA(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    for (TTabSheet* page : pages_)
        page->SetBounds(display.left, display.top, display.right - display.left, display.bottom - display.top);
}

LRESULT TPageControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SIZE)
        PlacePages();
    return TControl::WndProc(message, wParam, lParam);
}

bool TPageControl::HandleNotify(NMHDR& header, LRESULT& result)
{
    switch (header.code) {
    case TCN_SELCHANGING:
        result = AllowChange() ? FALSE : TRUE;
        return true;
    case TCN_SELCHANGE: {
        const auto selected = static_cast<int>(SendMessageA(Handle(), TCM_GETCURSEL, 0, 0));
        if (selected != activeIndex_ && selected >= 0) {
            const int previous = activeIndex_;
            activeIndex_ = selected;
            ShowActivePage(previous);
        }
        if (OnChange)
            OnChange();
        return true;
    }
    default:
        return false;
    }
}
