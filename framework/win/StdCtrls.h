#pragma once
// The standard controls: buttons, check boxes, radio buttons, labels, edits,
// memos, combo boxes and list boxes, each over its system window class.
//
// Which changes made by code fire events matters to the program's dialogs:
// setting Checked on a check box or radio button fires OnClick, as a click
// would; setting a single-line edit's text fires OnChange (the control reports
// the change itself); a memo's text, and the selection of a combo box or list
// box set by code, fire nothing. UserSelect does what a user's choice does.

#include "Control.h"
#include "Form.h"
#include "StringList.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class TButtonControl : public TControl {
public:
    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& caption) { SetText(caption); }
    // Presses the control as a mouse click does (BM_CLICK): the focus moves
    // to it and its events run. Nothing happens while it is disabled.
    void Click();

protected:
    TButtonControl(TComponent* owner, TControl* parent, const std::string& caption, DWORD style);
};

class TButton : public TButtonControl {
public:
    TButton(TComponent* owner, TControl* parent, const std::string& caption = "");

    // Enter presses the default button of a modal or modeless form (unless
    // another push button has the focus); Esc presses its cancel button.
    bool Default() const { return default_; }
    void SetDefault(bool isDefault);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool isCancel) { cancel_ = isCancel; }
    // A click sets the form's ModalResult to this, before OnClick runs (which
    // may set it back to mrNone to keep a modal form open). mrNone leaves the
    // form's result alone.
    int ModalResult = mrNone;

protected:
    bool HandleCommand(WORD code) override;

private:
    bool default_ = false;
    bool cancel_ = false;
};

class TCheckBox : public TButtonControl {
public:
    TCheckBox(TComponent* owner, TControl* parent, const std::string& caption = "");
    bool Checked() const;
    // Fires OnClick when the state changes, as a click would.
    void SetChecked(bool checked);
};

// Radio buttons with the same parent form one group: one of them is checked,
// Tab enters the group at that one and the arrow keys move within it.
class TRadioButton : public TButtonControl {
public:
    TRadioButton(TComponent* owner, TControl* parent, const std::string& caption = "");
    bool Checked() const;
    // Checking unchecks the others of the group and fires OnClick, whether by
    // code or by a click; unchecking, or checking a checked one, fires nothing.
    void SetChecked(bool checked);

protected:
    bool HandleCommand(WORD code) override;
};

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

class TLabel : public TControl {
public:
    TLabel(TComponent* owner, TControl* parent, const std::string& caption = "");

    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& caption) { SetText(caption); }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wrap);
    // "&x" underlines x; in a dialog Alt+x then moves to the control after
    // the label in the tab order.
    bool ShowAccelChar() const;
    void SetShowAccelChar(bool show);
    // A text that does not fit is shortened with "..." in its middle, the
    // way paths are.
    void SetPathEllipsis(bool ellipsis);
    // The control the access key moves to. Setting it puts the label just
    // before the control in the tab order (both must have the same parent).
    TControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TControl* control);

private:
    void UpdateStyle();

    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool wordWrap_ = false;
    TControl* focusControl_ = nullptr;
};

// What edits and memos share.
class TCustomEdit : public TControl {
public:
    // 0: no limit.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int length);
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    // Character positions, CR LF counting two.
    int SelStart() const;
    void SetSelStart(int start);
    int SelLength() const;
    void SetSelLength(int length);
    std::string SelText() const;
    // Replaces the selection as typing does (fires OnChange).
    void SetSelText(const std::string& text);
    void SelectAll();
    void Clear();
    bool Modified() const;
    void SetModified(bool modified);

    std::function<void()> OnChange;

protected:
    TCustomEdit(TComponent* owner, TControl* parent, DWORD style, const std::string& text);
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool HandleCommand(WORD code) override;

private:
    int maxLength_ = 0;
};

class TEdit : public TCustomEdit {
public:
    TEdit(TComponent* owner, TControl* parent, const std::string& text = "");
};

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// A multi-line edit. Its text has CR LF between lines; Enter starts a line.
class TMemo : public TCustomEdit {
public:
    TMemo(TComponent* owner, TControl* parent);

    std::vector<std::string> Lines() const;
    // The lines joined with CR LF; fires nothing, like any text set by code.
    void SetLines(const std::vector<std::string>& lines);
    int LineCount() const;
    // Initially word wrap on, no scroll bars. The edit control fixes both at
    // creation, so changing them makes the window again, keeping text,
    // selection, font, bounds and tab order.
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wrap);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle scrollBars);

private:
    DWORD MemoStyle() const;
    void Recreate();

    bool wordWrap_ = true;
    TScrollStyle scrollBars_ = TScrollStyle::ssNone;
};

// The items of a list box or combo box, kept in the control itself. A sorted
// list places each added item by case-insensitive comparison, the order the
// system's sorted lists use.
class TListControlItems : public TStrings {
public:
    struct Messages {
        UINT count, getText, getTextLength, insert, remove, reset, getData, setData, getSelection, setSelection;
    };
    TListControlItems(const TControl& control, const Messages& messages) : control_(control), messages_(messages) {}

    std::string Get(int index) const override;
    void Put(int index, const std::string& text) override;
    void* GetObject(int index) const override;
    void PutObject(int index, void* object) override;
    int Count() const override;
    void Insert(int index, const std::string& text) override;
    void Delete(int index) override;
    void Clear() override;
    int AddObject(const std::string& text, void* object) override;

    bool Sorted() const { return sorted_; }
    // Sorting an unsorted list reorders it now, keeping the selected item.
    void SetSorted(bool sorted);
    void Assign(const std::vector<std::string>& items);

protected:
    void SetUpdateState(bool updating) override;
    int CompareStrings(const std::string& a, const std::string& b) const override;

private:
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    void CheckIndex(int index) const;

    const TControl& control_;
    TRedrawSuspension redraw_;
    const Messages& messages_;
    bool sorted_ = false;
};

enum class TComboBoxStyle { csDropDown, csDropDownList };

class TComboBox : public TControl {
public:
    TComboBox(TComponent* owner, TControl* parent, TComboBoxStyle style = TComboBoxStyle::csDropDown);

    TComboBoxStyle Style() const { return style_; }
    TStrings& Items() { return items_; }
    const TStrings& Items() const { return items_; }
    void SetItems(const std::vector<std::string>& items) { items_.Assign(items); }
    bool Sorted() const { return items_.Sorted(); }
    void SetSorted(bool sorted) { items_.SetSorted(sorted); }
    // -1: none. Setting it fires nothing.
    int ItemIndex() const;
    void SetItemIndex(int index);
    // The edit's text, or the chosen item's in a drop-down list; setting the
    // text of a drop-down list chooses the item with that text (or none).
    std::string Text() const { return TControl::Text(); }
    void SetText(const std::string& text);
    // Items the open list shows without scrolling.
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int count);
    bool DroppedDown() const;
    void SetDroppedDown(bool dropped);
    // Chooses the item as the user does: OnClick, then OnSelect (or OnChange
    // when OnSelect is not set).
    void UserSelect(int index);

    // The text was edited, or (without OnSelect) an item was chosen.
    std::function<void()> OnChange;
    // An item was chosen from the list.
    std::function<void()> OnSelect;

protected:
    bool HandleCommand(WORD code) override;

private:
    TComboBoxStyle style_;
    TListControlItems items_;
    int dropDownCount_ = 8;
};

class TListBox : public TControl {
public:
    TListBox(TComponent* owner, TControl* parent, bool multiSelect = false);

    TStrings& Items() { return items_; }
    const TStrings& Items() const { return items_; }
    void SetItems(const std::vector<std::string>& items) { items_.Assign(items); }
    bool Sorted() const { return items_.Sorted(); }
    void SetSorted(bool sorted) { items_.SetSorted(sorted); }
    // The selected item (with multiple selection: the one with the focus
    // rectangle); -1: none. Setting it selects that item only and fires nothing.
    int ItemIndex() const;
    void SetItemIndex(int index);
    bool MultiSelect() const { return multiSelect_; }
    bool Selected(int index) const;
    void SetSelected(int index, bool selected);
    int SelCount() const;
    // The item at a client point, or -1.
    int ItemAt(int x, int y) const;
    // Selects the item as a click does, firing OnClick.
    void UserSelect(int index);

    // OnClick: the user changed the selection. OnDblClick: an item was
    // double-clicked.

protected:
    bool HandleCommand(WORD code) override;

private:
    TListControlItems items_;
    bool multiSelect_;
};
