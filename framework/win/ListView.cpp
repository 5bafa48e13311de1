#include "ListView.h"

#include "DragManager.h"
#include "Exceptions.h"

#include <algorithm>

namespace {
DWORD StyleBits(TViewStyle style)
{
    switch (style) {
    case TViewStyle::vsIcon:
        return LVS_ICON;
    case TViewStyle::vsSmallIcon:
        return LVS_SMALLICON;
    case TViewStyle::vsList:
        return LVS_LIST;
    default:
        return LVS_REPORT;
    }
}

int CALLBACK CompareCaptions(LPARAM first, LPARAM second, LPARAM)
{
    return lstrcmpA(reinterpret_cast<const TListItem*>(first)->Caption().c_str(),
                    reinterpret_cast<const TListItem*>(second)->Caption().c_str());
}
}

// --- Item -------------------------------------------------------------------

int TListItem::Index() const { return owner_.IndexOf(this); }

void TListItem::SetCaption(const std::string& caption)
{
    caption_ = caption;
    const int index = Index();
    if (index < 0)
        return;
    ListView_SetItemText(owner_.Handle(), index, 0, caption_.data());
    owner_.CaptionChanged();
}

void TListItem::SetSubItems(const std::vector<std::string>& subItems)
{
    const size_t previous = subItems_.size();
    subItems_ = subItems;
    const int index = Index();
    if (index < 0)
        return;
    for (size_t i = 0; i < std::max(previous, subItems_.size()); ++i) {
        std::string text = i < subItems_.size() ? subItems_[i] : std::string();
        ListView_SetItemText(owner_.Handle(), index, static_cast<int>(i) + 1, text.data());
    }
}

void TListItem::SetSubItem(int index, const std::string& text)
{
    if (index < 0)
        return;
    std::vector<std::string> subItems = subItems_;
    if (static_cast<size_t>(index) >= subItems.size())
        subItems.resize(static_cast<size_t>(index) + 1);
    subItems[static_cast<size_t>(index)] = text;
    SetSubItems(subItems);
}

void TListItem::SetImageIndex(int index)
{
    imageIndex_ = index;
    const int position = Index();
    if (position < 0)
        return;
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = position;
    item.iImage = index;
    SendMessageA(owner_.Handle(), LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

bool TListItem::Selected() const
{
    const int index = Index();
    return index >= 0 && ListView_GetItemState(owner_.Handle(), index, LVIS_SELECTED) != 0;
}

void TListItem::SetSelected(bool selected)
{
    const int index = Index();
    if (index >= 0)
        ListView_SetItemState(owner_.Handle(), index, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

bool TListItem::Focused() const
{
    const int index = Index();
    return index >= 0 && ListView_GetItemState(owner_.Handle(), index, LVIS_FOCUSED) != 0;
}

void TListItem::SetFocused(bool focused)
{
    const int index = Index();
    if (index >= 0)
        ListView_SetItemState(owner_.Handle(), index, focused ? LVIS_FOCUSED : 0, LVIS_FOCUSED);
}

void TListItem::MakeVisible()
{
    const int index = Index();
    if (index >= 0)
        ListView_EnsureVisible(owner_.Handle(), index, FALSE);
}

RECT TListItem::DisplayRect() const
{
    RECT rect{};
    const int index = Index();
    if (index >= 0)
        ListView_GetItemRect(owner_.Handle(), index, &rect, LVIR_BOUNDS);
    return rect;
}

// --- List view --------------------------------------------------------------

TListView::TListView(TComponent* owner, TControl* parent, TViewStyle style) : TControl(owner, parent)
{
    CreateHandle(WC_LISTVIEWA, WS_VISIBLE | WS_TABSTOP | LVS_SHAREIMAGELISTS | LVS_SHOWSELALWAYS | StyleBits(style),
                 WS_EX_CLIENTEDGE);
    SetBounds(0, 0, 250, 150);
}

TListView::~TListView()
{
    TDragManager::Instance().ForgetControl(this);
    // The window goes first: it must not outlive the items its rows point to.
    DestroyHandle();
}

bool TListView::HasStyle(DWORD style) const { return (GetWindowLongPtrA(Handle(), GWL_STYLE) & style) == style; }

void TListView::SetStyle(DWORD style, bool on)
{
    const auto current = static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE));
    const DWORD changed = on ? current | style : current & ~style;
    if (changed != current)
        SetWindowLongPtrA(Handle(), GWL_STYLE, static_cast<LONG_PTR>(changed));
}

bool TListView::HasExStyle(DWORD style) const
{
    return (ListView_GetExtendedListViewStyle(Handle()) & style) == style;
}

void TListView::SetExStyle(DWORD style, bool on)
{
    ListView_SetExtendedListViewStyleEx(Handle(), style, on ? style : 0);
}

TViewStyle TListView::ViewStyle() const
{
    switch (GetWindowLongPtrA(Handle(), GWL_STYLE) & LVS_TYPEMASK) {
    case LVS_ICON:
        return TViewStyle::vsIcon;
    case LVS_SMALLICON:
        return TViewStyle::vsSmallIcon;
    case LVS_LIST:
        return TViewStyle::vsList;
    default:
        return TViewStyle::vsReport;
    }
}

void TListView::SetViewStyle(TViewStyle style)
{
    const auto current = static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE));
    SetWindowLongPtrA(Handle(), GWL_STYLE, static_cast<LONG_PTR>((current & ~LVS_TYPEMASK) | StyleBits(style)));
}

void TListView::AddColumn(const std::string& caption, int width)
{
    std::string text = caption;
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = text.data();
    column.cx = width;
    column.iSubItem = ColumnCount();
    SendMessageA(Handle(), LVM_INSERTCOLUMNA, ColumnCount(), reinterpret_cast<LPARAM>(&column));
}

int TListView::ColumnCount() const
{
    const HWND header = ListView_GetHeader(Handle());
    return header ? std::max(Header_GetItemCount(header), 0) : 0;
}

int TListView::ColumnWidth(int index) const { return ListView_GetColumnWidth(Handle(), index); }

void TListView::SetColumnWidth(int index, int width) { ListView_SetColumnWidth(Handle(), index, width); }

bool TListView::ShowColumnHeaders() const { return !HasStyle(LVS_NOCOLUMNHEADER); }

void TListView::SetShowColumnHeaders(bool show) { SetStyle(LVS_NOCOLUMNHEADER, !show); }

void TListView::SetLargeImages(HIMAGELIST images) { ListView_SetImageList(Handle(), images, LVSIL_NORMAL); }

void TListView::SetSmallImages(HIMAGELIST images) { ListView_SetImageList(Handle(), images, LVSIL_SMALL); }

bool TListView::RowSelect() const { return HasExStyle(LVS_EX_FULLROWSELECT); }

void TListView::SetRowSelect(bool rowSelect) { SetExStyle(LVS_EX_FULLROWSELECT, rowSelect); }

bool TListView::ReadOnly() const { return !HasStyle(LVS_EDITLABELS); }

void TListView::SetReadOnly(bool readOnly) { SetStyle(LVS_EDITLABELS, !readOnly); }

bool TListView::HideSelection() const { return !HasStyle(LVS_SHOWSELALWAYS); }

void TListView::SetHideSelection(bool hide) { SetStyle(LVS_SHOWSELALWAYS, !hide); }

bool TListView::MultiSelect() const { return !HasStyle(LVS_SINGLESEL); }

void TListView::SetMultiSelect(bool multiSelect) { SetStyle(LVS_SINGLESEL, !multiSelect); }

void TListView::SetSortType(TSortType sortType)
{
    sortType_ = sortType;
    if (sortType_ == TSortType::stText)
        AlphaSort();
}

void TListView::AlphaSort() { SendMessageA(Handle(), LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(&CompareCaptions)); }

void TListView::CaptionChanged()
{
    if (sortType_ == TSortType::stText && updateCount_ == 0)
        AlphaSort();
}

int TListView::Count() const { return ListView_GetItemCount(Handle()); }

TListItem* TListView::Item(int index) const
{
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (index < 0 || !SendMessageA(Handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return nullptr;
    return reinterpret_cast<TListItem*>(item.lParam);
}

int TListView::IndexOf(const TListItem* item) const
{
    LVFINDINFOA find{};
    find.flags = LVFI_PARAM;
    find.lParam = reinterpret_cast<LPARAM>(item);
    return static_cast<int>(SendMessageA(Handle(), LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

int TListView::SortedPlace(const std::string& caption) const
{
    // After any equal captions, so equal items keep the order they came in.
    int low = 0;
    int high = Count();
    while (low < high) {
        const int middle = (low + high) / 2;
        if (lstrcmpA(Item(middle)->Caption().c_str(), caption.c_str()) <= 0)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

TListItem* TListView::InsertAt(int index, const std::string& caption, int imageIndex, void* data)
{
    auto owned = std::unique_ptr<TListItem>(new TListItem(*this));
    TListItem* created = owned.get();
    created->caption_ = caption;
    created->imageIndex_ = imageIndex;
    created->Data = data;
    items_.push_back(std::move(owned));
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = index;
    item.pszText = created->caption_.data();
    item.iImage = imageIndex;
    item.lParam = reinterpret_cast<LPARAM>(created);
    if (SendMessageA(Handle(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)) < 0) {
        items_.pop_back();
        throw EOutOfResources("Cannot add an item to the list");
    }
    return created;
}

TListItem* TListView::Add() { return AddItem(""); }

TListItem* TListView::AddItem(const std::string& caption, int imageIndex, void* data)
{
    const int index = sortType_ == TSortType::stText && updateCount_ == 0 ? SortedPlace(caption) : Count();
    return InsertAt(index, caption, imageIndex, data);
}

TListItem* TListView::Insert(int index)
{
    return InsertAt(std::clamp(index, 0, Count()), "", -1, nullptr);
}

void TListView::Delete(int index) { Delete(Item(index)); }

void TListView::Delete(TListItem* item)
{
    if (!item)
        return;
    const int index = IndexOf(item);
    if (index >= 0)
        SendMessageA(Handle(), LVM_DELETEITEM, index, 0);
    std::erase_if(items_, [item](const std::unique_ptr<TListItem>& owned) { return owned.get() == item; });
}

void TListView::Clear()
{
    SendMessageA(Handle(), LVM_DELETEALLITEMS, 0, 0);
    items_.clear();
}

void TListView::BeginUpdate()
{
    if (updateCount_++ == 0)
        redraw_.Suspend(Handle());
}

void TListView::EndUpdate()
{
    if (updateCount_ == 0 || --updateCount_ > 0)
        return;
    if (sortType_ == TSortType::stText)
        AlphaSort();
    redraw_.Resume(Handle());
    Invalidate();
}

TListItem* TListView::Selected() const
{
    return Item(ListView_GetNextItem(Handle(), -1, LVNI_SELECTED));
}

void TListView::SetSelected(TListItem* item)
{
    ListView_SetItemState(Handle(), -1, 0, LVIS_SELECTED);
    if (!item)
        return;
    const int index = IndexOf(item);
    if (index < 0)
        return;
    ListView_SetItemState(Handle(), index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

int TListView::ItemIndex() const { return ListView_GetNextItem(Handle(), -1, LVNI_SELECTED); }

void TListView::SetItemIndex(int index) { SetSelected(Item(index)); }

int TListView::SelCount() const { return ListView_GetSelectedCount(Handle()); }

TListItem* TListView::FindCaption(const std::string& caption) const
{
    for (int i = 0; i < Count(); ++i) {
        if (TListItem* item = Item(i); item && item->Caption() == caption)
            return item;
    }
    return nullptr;
}

TListItem* TListView::ItemAt(int x, int y) const
{
    LVHITTESTINFO hit{};
    hit.pt = POINT{x, y};
    const int index = ListView_HitTest(Handle(), &hit);
    return index >= 0 && (hit.flags & LVHT_ONITEM) ? Item(index) : nullptr;
}

void TListView::BeginDrag() { TDragManager::Instance().BeginDrag(this); }

void TListView::DragOver(TControl* source, int x, int y, TDragState state, bool& accept)
{
    accept = false;
    if (OnDragOver)
        OnDragOver(source, x, y, state, accept);
}

void TListView::DragDrop(TControl* source, int x, int y)
{
    if (OnDragDrop)
        OnDragDrop(source, x, y);
}

LRESULT TListView::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // While a drag from this list runs, its mouse and keys belong to the drag.
    if (TDragManager& drag = TDragManager::Instance();
        drag.Source() == this && drag.HandleSourceMessage(this, message, wParam, lParam)) {
        // The control saw the button go down; it must see it come up too.
        const bool buttonUp = message == WM_LBUTTONUP || message == WM_RBUTTONUP;
        return buttonUp ? DefaultHandler(message, wParam, lParam) : 0;
    }
    return TControl::WndProc(message, wParam, lParam);
}

TListItem* TListView::FromNotification(int index) const { return index >= 0 ? Item(index) : nullptr; }

bool TListView::HandleNotify(NMHDR& header, LRESULT&)
{
    switch (header.code) {
    case LVN_ITEMCHANGED: {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        TListItem* item = FromNotification(change.iItem);
        if (!item)
            return true;
        if (OnChange)
            OnChange(item);
        if ((change.uChanged & LVIF_STATE) && ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) && OnSelectItem)
            OnSelectItem(item, (change.uNewState & LVIS_SELECTED) != 0);
        return true;
    }
    case LVN_BEGINDRAG:
    case LVN_BEGINRDRAG: {
        const auto& drag = reinterpret_cast<const NMLISTVIEW&>(header);
        if (OnBeginDrag)
            OnBeginDrag(FromNotification(drag.iItem));
        if (DragModeAutomatic)
            BeginDrag();
        return true;
    }
    default:
        return false;
    }
}
