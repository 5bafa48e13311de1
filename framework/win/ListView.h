#pragma once
// A list of items shown as icons, a list or a report with columns. Each item
// is an object of the list view's: caption, texts of the further columns,
// image and a pointer for the program.

#include "Control.h"
#include "DragManager.h"

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TListView;

enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum class TSortType { stNone, stText };

class TListItem {
public:
    TListItem(const TListItem&) = delete;
    TListItem& operator=(const TListItem&) = delete;

    TListView& ListView() const { return owner_; }
    // The item's place in the list as shown now; -1 once deleted.
    int Index() const;

    const std::string& Caption() const { return caption_; }
    // In a list sorted by text the item moves to its place.
    void SetCaption(const std::string& caption);
    // The texts of the columns after the first.
    const std::vector<std::string>& SubItems() const { return subItems_; }
    void SetSubItems(const std::vector<std::string>& subItems);
    void SetSubItem(int index, const std::string& text);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    // Belongs to the program, not to the item.
    void* Data = nullptr;

    bool Selected() const;
    void SetSelected(bool selected);
    bool Focused() const;
    void SetFocused(bool focused);
    void MakeVisible();
    // The item's bounds in the list view's client coordinates.
    RECT DisplayRect() const;

private:
    friend class TListView;
    explicit TListItem(TListView& owner) : owner_(owner) {}

    TListView& owner_;
    std::string caption_;
    std::vector<std::string> subItems_;
    int imageIndex_ = -1;
};

class TListView : public TControl, public TDragClient {
public:
    TListView(TComponent* owner, TControl* parent, TViewStyle style = TViewStyle::vsReport);
    ~TListView() override;

    TViewStyle ViewStyle() const;
    void SetViewStyle(TViewStyle style);

    // Columns show in the report style.
    void AddColumn(const std::string& caption, int width);
    int ColumnCount() const;
    int ColumnWidth(int index) const;
    void SetColumnWidth(int index, int width);
    bool ShowColumnHeaders() const;
    void SetShowColumnHeaders(bool show);

    // Image lists are not owned; null removes them.
    void SetLargeImages(HIMAGELIST images);
    void SetSmallImages(HIMAGELIST images);

    // Selection covers the whole row in the report style.
    bool RowSelect() const;
    void SetRowSelect(bool rowSelect);
    // Read-only lists do not let the user edit captions.
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    bool HideSelection() const;
    void SetHideSelection(bool hide);
    bool MultiSelect() const;
    void SetMultiSelect(bool multiSelect);

    // stText keeps the items in the order of their captions, as lstrcmpA
    // compares them (the order the program's tree sorts in).
    TSortType SortType() const { return sortType_; }
    void SetSortType(TSortType sortType);
    void AlphaSort();

    int Count() const;
    TListItem* Item(int index) const;
    // A new item with an empty caption at the end (or at its sorted place).
    TListItem* Add();
    TListItem* AddItem(const std::string& caption, int imageIndex = -1, void* data = nullptr);
    TListItem* Insert(int index);
    void Delete(int index);
    void Delete(TListItem* item);
    void Clear();
    // Brackets many changes: no drawing and no sorting until the end.
    void BeginUpdate();
    void EndUpdate();

    // The first selected item, or null. Setting selects (and focuses) only it.
    TListItem* Selected() const;
    void SetSelected(TListItem* item);
    int ItemIndex() const;
    void SetItemIndex(int index);
    int SelCount() const;
    // The first item with this caption (exact, case-sensitive), or null.
    TListItem* FindCaption(const std::string& caption) const;
    // The item at a client point, or null.
    TListItem* ItemAt(int x, int y) const;

    // Starts a drag of the selected items with the drag manager; with
    // DragModeAutomatic the control starts one itself when the user drags.
    void BeginDrag();
    bool DragModeAutomatic = false;

    // An item changed (its selection included), by the user or by code.
    std::function<void(TListItem* item)> OnChange;
    // An item was selected or deselected.
    std::function<void(TListItem* item, bool selected)> OnSelectItem;
    // The user started dragging an item with the mouse (before an automatic
    // drag begins). The double click comes as OnDblClick.
    std::function<void(TListItem* item)> OnBeginDrag;
    // Drops onto the list, as on the tree: with OnDragOver set the list is a
    // drop target. A handler may set DragCursor for the drag in progress.
    std::function<void(TControl* source, int x, int y, TDragState state, bool& accept)> OnDragOver;
    std::function<void(TControl* source, int x, int y)> OnDragDrop;
    HCURSOR DragCursor = nullptr;

    // TDragClient
    bool WantsDrops() const override { return static_cast<bool>(OnDragOver); }
    void DragOver(TControl* source, int x, int y, TDragState state, bool& accept) override;
    void DragDrop(TControl* source, int x, int y) override;
    HCURSOR DropCursor() const override { return DragCursor; }

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool HandleNotify(NMHDR& header, LRESULT& result) override;

private:
    friend class TListItem;
    bool HasStyle(DWORD style) const;
    void SetStyle(DWORD style, bool on);
    bool HasExStyle(DWORD style) const;
    void SetExStyle(DWORD style, bool on);
    int IndexOf(const TListItem* item) const;
    int SortedPlace(const std::string& caption) const;
    TListItem* InsertAt(int index, const std::string& caption, int imageIndex, void* data);
    void CaptionChanged();
    TListItem* FromNotification(int index) const;

    std::vector<std::unique_ptr<TListItem>> items_;
    TSortType sortType_ = TSortType::stNone;
    int updateCount_ = 0;
    TRedrawSuspension redraw_;
};
