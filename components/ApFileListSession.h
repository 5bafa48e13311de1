#pragma once
// The list, filter and toolbar options of the extended file dialog at work
// in one shown dialog: the shell view and its list subclassed (they are made
// anew on every folder change), the list restyled, the thread hooks, the
// filter passes and the lent toolbar. Everything it changed is put back when
// it goes, however the dialog ended.

#include "ApFileFilter.h"
#include "ApThreadHooks.h"
#include "ApToolBarOptions.h"
#include "ListView.h"
#include "ListViewOptions.h"
#include "WindowSubclass.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <vector>

// What the session needs of its dialog. The options are asked for each time:
// the dialog may replace them while it is shown.
class TApFileListHost {
public:
    virtual HWND DialogWindow() const = 0;
    virtual TApListViewStyles& ListViewStyles() = 0;
    virtual TApFileFilter& ExtFilter() = 0;
    virtual TApToolBarOptions& ToolBarOptions() = 0;
    virtual void SelectionStyleChanging(TViewStyle style, bool& allowChange) = 0;
    virtual void SelectionStyleChanged(TViewStyle style) = 0;

protected:
    ~TApFileListHost() = default;
};

class TApFileListSession : private TApHookTarget {
public:
    explicit TApFileListSession(TApFileListHost& host);
    ~TApFileListSession();
    TApFileListSession(const TApFileListSession&) = delete;
    TApFileListSession& operator=(const TApFileListSession&) = delete;

    // The show step, in its order: the toolbar options, then the hooks, and
    // last the first listing through the filter (it was filled before the
    // hooks could see its sort request). A folder change filters a list the
    // hooks did not see sorted: the filter was enabled later.
    void ShowToolbar();
    void StartHooks();
    void ShowDone();
    // After every folder change.
    void FolderChanged();
    // From the dialog's own WM_DESTROY, before its children go.
    void GiveBackCustomBar();

    // Subclasses the dialog's current shell view and list; true when the
    // list was new.
    bool RecreateHWnds();
    // Adds the options' extended styles to the list and takes label editing
    // away when renaming is off.
    void RefreshListViewStyles();
    HWND ListView() const { return listViewWnd_; }
    HWND ShellView() const { return shellViewWnd_; }

private:
    LRESULT NewLVProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT NewDVProc(UINT message, WPARAM wParam, LPARAM lParam);
    int SelectedCount() const;
    // One pass over the current list; remembered, so that the folder change
    // after a pass at the sort request does not read every name again.
    void RunFilter();
    bool SwallowsDeleteKey() override;
    void SortRequested(HWND window) override;

    TApFileListHost& host_;
    HWND shellViewWnd_ = nullptr;
    HWND listViewWnd_ = nullptr;
    HWND filteredList_ = nullptr;
    TWindowSubclass shellView_;
    TWindowSubclass listView_;
    std::unique_ptr<TApThreadHooks> hooks_;
    std::optional<TApCustomBarLoan> customBar_;
};

// Greys the menu's rename and delete items the options forbid, wherever
// they sit in the menu.
void GreyRestrictedItems(HMENU menu, const TApListViewStyles& styles);
// The view style of a list window (vsList without one).
TViewStyle ListViewSelStyle(HWND listView);
// The view style a list window style stands for.
TViewStyle ViewStyleOfWindowStyle(DWORD style);
// The item list of the folder a file dialog shows; empty when it has none.
std::vector<BYTE> FolderItemList(HWND dialog);
