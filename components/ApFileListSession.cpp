#include "ApFileListSession.h"

#include "ToolBar.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstdint>

namespace {
constexpr const char* ShellViewClass = "SHELLDLL_DefView";

HWND ShellViewOf(HWND dialog) { return dialog ? FindWindowExA(dialog, nullptr, ShellViewClass, nullptr) : nullptr; }

HWND ListOf(HWND shellView)
{
    return shellView ? FindWindowExA(shellView, nullptr, WC_LISTVIEWA, nullptr) : nullptr;
}
}

TViewStyle ViewStyleOfWindowStyle(DWORD style)
{
    switch (style & LVS_TYPEMASK) {
    case LVS_ICON:
        return TViewStyle::vsIcon;
    case LVS_REPORT:
        return TViewStyle::vsReport;
    case LVS_SMALLICON:
        return TViewStyle::vsSmallIcon;
    default:
        return TViewStyle::vsList;
    }
}

TViewStyle ListViewSelStyle(HWND listView)
{
    return listView ? ViewStyleOfWindowStyle(static_cast<DWORD>(GetWindowLongA(listView, GWL_STYLE)))
                    : TViewStyle::vsList;
}

std::vector<BYTE> FolderItemList(HWND dialog)
{
    if (!dialog)
        return {};
    const LRESULT size = SendMessageA(dialog, CDM_GETFOLDERIDLIST, 0, 0);
    if (size <= 0)
        return {};
    std::vector<BYTE> items(static_cast<size_t>(size) + sizeof(USHORT), 0);
    if (SendMessageA(dialog, CDM_GETFOLDERIDLIST, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(items.data())) <= 0)
        return {};
    return items;
}

TApFileListSession::TApFileListSession(TApFileListHost& host) : host_(host) {}

TApFileListSession::~TApFileListSession()
{
    GiveBackCustomBar();
    hooks_.reset();
    listView_.Detach();
    shellView_.Detach();
}

void TApFileListSession::ShowToolbar()
{
    const HWND dialog = host_.DialogWindow();
    const HWND toolbar = ApFindToolbar(dialog);
    const TApToolBarOptions& options = host_.ToolBarOptions();
    if (options.Flat)
        MakeFlatButtons(toolbar);
    if (options.CustomBar && options.CustomBar->Handle() && dialog)
        customBar_.emplace(*options.CustomBar, dialog, toolbar);
}

void TApFileListSession::StartHooks()
{
    if (!hooks_)
        hooks_ = std::make_unique<TApThreadHooks>(static_cast<TApHookTarget&>(*this), host_.ExtFilter().Enabled);
}

void TApFileListSession::ShowDone()
{
    RecreateHWnds();
    RunFilter();
}

void TApFileListSession::FolderChanged()
{
    RecreateHWnds();
    RefreshListViewStyles();
    if (listViewWnd_ != filteredList_)
        RunFilter();
}

void TApFileListSession::GiveBackCustomBar() { customBar_.reset(); }

bool TApFileListSession::RecreateHWnds()
{
    // A window is new when its handle differs or ours went with the old one.
    const HWND shellView = ShellViewOf(host_.DialogWindow());
    if (shellView != shellViewWnd_ || shellView_.Window() != shellView) {
        shellViewWnd_ = shellView;
        shellView_.Attach(shellView, [this](UINT m, WPARAM w, LPARAM l) { return NewDVProc(m, w, l); });
    }
    const HWND list = ListOf(shellView);
    if (list == listViewWnd_ && listView_.Window() == list)
        return false;
    listViewWnd_ = list;
    listView_.Attach(list, [this](UINT m, WPARAM w, LPARAM l) { return NewLVProc(m, w, l); });
    return list != nullptr;
}

void TApFileListSession::RefreshListViewStyles()
{
    if (!listViewWnd_)
        return;
    const TApListViewStyles& styles = host_.ListViewStyles();
    auto exStyle = static_cast<std::uint32_t>(SendMessageA(listViewWnd_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    if (RefreshLVExStyle(styles, exStyle))
        SendMessageA(listViewWnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(exStyle));
    auto style = static_cast<std::uint32_t>(GetWindowLongA(listViewWnd_, GWL_STYLE));
    if (RefreshLVStyle(styles, style))
        SetWindowLongA(listViewWnd_, GWL_STYLE, static_cast<LONG>(style));
}

LRESULT TApFileListSession::NewLVProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_STYLECHANGING || static_cast<int>(wParam) != GWL_STYLE)
        return listView_.CallPrevious(message, wParam, lParam);
    auto& change = *reinterpret_cast<STYLESTRUCT*>(lParam);
    const TViewStyle next = ViewStyleOfWindowStyle(change.styleNew);
    if (next == ViewStyleOfWindowStyle(change.styleOld))
        return listView_.CallPrevious(message, wParam, lParam);
    bool allow = true;
    host_.SelectionStyleChanging(next, allow);
    if (!allow) {
        // Only the view is kept; other style changes still go through.
        change.styleNew = (change.styleNew & ~LVS_TYPEMASK) | (change.styleOld & LVS_TYPEMASK);
        return listView_.CallPrevious(message, wParam, lParam);
    }
    const LRESULT result = listView_.CallPrevious(message, wParam, lParam);
    host_.SelectionStyleChanged(next);
    return result;
}

int TApFileListSession::SelectedCount() const
{
    return listViewWnd_ ? static_cast<int>(SendMessageA(listViewWnd_, LVM_GETSELECTEDCOUNT, 0, 0)) : 0;
}

LRESULT TApFileListSession::NewDVProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CONTEXTMENU:
        if (!ContextMenuAllowed(host_.ListViewStyles(), SelectedCount()))
            return 1;
        break;
    case WM_INITMENUPOPUP: {
        // Greyed after the shell view has prepared the menu, so it cannot
        // enable them again.
        const LRESULT result = shellView_.CallPrevious(message, wParam, lParam);
        if (LOWORD(lParam) == 0 && !HIWORD(lParam) && SelectedCount() > 0)
            GreyRestrictedItems(reinterpret_cast<HMENU>(wParam), host_.ListViewStyles());
        return result;
    }
    default:
        break;
    }
    return shellView_.CallPrevious(message, wParam, lParam);
}

void GreyRestrictedItems(HMENU menu, const TApListViewStyles& styles)
{
    const int count = GetMenuItemCount(menu);
    if (count <= 0)
        return;
    std::vector<std::uint32_t> ids;
    for (int i = 0; i < count; ++i)
        ids.push_back(GetMenuItemID(menu, i));
    for (std::size_t position : MenuItemsToGrey(styles, ids))
        EnableMenuItem(menu, static_cast<UINT>(position), MF_BYPOSITION | MF_GRAYED);
}

void TApFileListSession::RunFilter()
{
    if (!listViewWnd_ || !host_.ExtFilter().Enabled)
        return;
    const std::vector<BYTE> folder = FolderItemList(host_.DialogWindow());
    if (folder.empty())
        return;
    filteredList_ = listViewWnd_;
    host_.ExtFilter().ProcessViaFilter(listViewWnd_, reinterpret_cast<LPCITEMIDLIST>(folder.data()));
}

bool TApFileListSession::SwallowsDeleteKey()
{
    if (host_.ListViewStyles().EnableDelete)
        return false;
    const HWND focus = GetFocus();
    return focus && focus == ListOf(ShellViewOf(host_.DialogWindow()));
}

void TApFileListSession::SortRequested(HWND window)
{
    const HWND dialog = host_.DialogWindow();
    if (!dialog || GetParent(GetParent(window)) != dialog)
        return;
    RecreateHWnds();
    // The same number means another request to another kind of window.
    if (window == listViewWnd_)
        RunFilter();
}
