#pragma once
// Tabbed pages: a tab control whose pages are panels holding controls. Only
// the active page is visible.

#include "ExtCtrls.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class TPageControl;

class TTabSheet : public TCustomPanel {
public:
    // Appends the page to the page control; the first page becomes active.
    TTabSheet(TComponent* owner, TPageControl* pageControl, const std::string& caption = "");
    ~TTabSheet() override;

    TPageControl* PageControl() const { return pageControl_; }
    int PageIndex() const;
    // The text of the page's tab.
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

    // The page became, or stopped being, the visible one.
    std::function<void()> OnShow;
    std::function<void()> OnHide;

private:
    TPageControl* pageControl_;
    std::string caption_;
};

class TPageControl : public TControl {
public:
    TPageControl(TComponent* owner, TControl* parent);

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int index) const;
    // -1 (null) when there are no pages. Setting it fires no OnChange.
    int ActivePageIndex() const { return activeIndex_; }
    void SetActivePageIndex(int index);
    TTabSheet* ActivePage() const { return Pages(activeIndex_); }
    void SetActivePage(TTabSheet* page);
    // Moves to the next (or previous) page, round, as the user does with
    // Ctrl+Tab: OnChanging and OnChange fire.
    void SelectNextPage(bool forward = true);

    // The user is about to leave the active page; false keeps it.
    std::function<void(bool& allowChange)> OnChanging;
    // The user chose another page.
    std::function<void()> OnChange;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool HandleNotify(NMHDR& header, LRESULT& result) override;

private:
    friend class TTabSheet;
    void AddPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void UpdateTab(int index);
    void PlacePages();
    void ShowActivePage(int previous);
    bool AllowChange();

    std::vector<TTabSheet*> pages_;
    int activeIndex_ = -1;
};
